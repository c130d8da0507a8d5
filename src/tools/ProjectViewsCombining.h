#pragma once

#include <QList>
#include <QPainterPath>
#include <QRectF>
#include <QSet>
#include <QSizeF>
#include <QString>

class FTMoc;
class FTPerson;
class FTProjectView;

// A new project view made of two others by a set operation on their members (an ancestral view's members are its
// root and the root's ancestors): AND both, IOR either, XOR exactly one, NOT the first less the second. The result
// follows every change of the two views and the operator; it is stored as a plain view on request, and the last
// view stored this way can be deleted again.
//
//   ProjectViewsCombining combining(moc);
//   combining.setViews(family, ancestral);
//   combining.setOperator(ProjectViewsCombining::NOT);
//   combining.people();                        // in no particular order
//   combining.createCombinedProjectView();     // "Family NOT Victoria's ancestors"
class ProjectViewsCombining {
public:
    enum Operator { AND = 0, IOR = 1, XOR = 2, NOT = 3 };

    explicit ProjectViewsCombining(FTMoc* moc);

    // Every view of the database, by name: what the two choices offer.
    QList<FTProjectView*> allViews() const;

    void setViews(FTProjectView* first, FTProjectView* second);
    void setOperator(int op);
    int booleanOperator() const { return m_operator; }
    FTProjectView* projectView1() const { return m_view1; }
    FTProjectView* projectView2() const { return m_view2; }
    // The explanation of the operator.
    QString message() const;
    // The operator's word in a new view's name.
    static QString operatorWord(int op);

    // The members of `first` combined with those of `second` by `op`; empty for an unknown operator.
    static QSet<FTPerson*> combine(FTProjectView* first, FTProjectView* second, int op);
    // The result, in no particular order; empty until both views are chosen.
    const QList<FTPerson*>& people() const { return m_people; }
    bool hasResult() const { return m_hasResult; }

    // Stores the result as a new plain view named "<first> <word> <second>" (undoable); null, doing nothing,
    // until both views are chosen. Each call makes a further view.
    FTProjectView* createCombinedProjectView();
    FTProjectView* newProjectView() const { return m_newProjectView; }
    // Deletes the view made last here, once; nothing without one.
    void deleteNewProjectView();

private:
    void createPeopleArray();

    FTMoc* m_moc;
    FTProjectView* m_view1 = nullptr;
    FTProjectView* m_view2 = nullptr;
    int m_operator = AND;
    QList<FTPerson*> m_people;
    bool m_hasResult = false;
    FTProjectView* m_newProjectView = nullptr;
};

// The two-circle picture of an operator in a w by h area (y grows downwards): circles of diameter
// min(w, h) * 0.9 * 0.7 side by side 10 points from the sides, centred in height; the area the operator selects
// (coloured) as a path; and the two label boxes, d by d, whose top lies 8 points above the circles' centre line.
// Far apart (a view much wider than high) the circles do not meet: AND then colours nothing and XOR both whole.
struct VennGeometry {
    static VennGeometry forSize(const QSizeF& size, int op);

    qreal diameter = 0;
    QRectF circle1;
    QRectF circle2;
    QPainterPath coloured;
    QRectF label1;
    QRectF label2;
    bool hasLabels = false;
};
