#pragma once

#include "tools/ProjectViewsCombining.h"

#include <QDialog>
#include <QList>

class FTMoc;
class FTProjectView;
class QButtonGroup;
class QComboBox;
class QLabel;
class QListWidget;
class VennDiagram;

// Combining two project views: a first and a second view, an operator (AND, IOR, XOR, NOT) with its explanation
// and its picture, and the people that result, following every change. The result is stored as a new view on
// request; the view made last can be deleted again. A sheet on the database's main window.
class ProjectViewsCombine : public QDialog {
    Q_OBJECT
public:
    explicit ProjectViewsCombine(FTMoc* moc, QWidget* parent = nullptr);

    ProjectViewsCombining& combining() { return m_combining; }

    // ---- Actions ----
    void changeBooleanOperator(int op);
    void createPeopleArray();
    void createCombinedProjectView();
    void deleteNewProjectView();
    void helpForProjectViewsCombine();
    void close();

    QComboBox* pv1ComboBox() const { return m_pv1; }
    QComboBox* pv2ComboBox() const { return m_pv2; }
    QButtonGroup* operators() const { return m_operators; }
    QLabel* messageLabel() const { return m_message; }
    QListWidget* peopleTableView() const { return m_people; }
    VennDiagram* vennDiagram() const { return m_venn; }

private:
    void fillViews();

    FTMoc* m_moc;
    ProjectViewsCombining m_combining;
    QList<FTProjectView*> m_views;
    QComboBox* m_pv1 = nullptr;
    QComboBox* m_pv2 = nullptr;
    QButtonGroup* m_operators = nullptr;
    QLabel* m_message = nullptr;
    QListWidget* m_people = nullptr;
    VennDiagram* m_venn = nullptr;
};
