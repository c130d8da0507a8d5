#pragma once

#include <QTableView>

class FTPerson;
class FTSourceRel;
class QMenu;
class SourcesAddModDel;

// The sources editor's table of the citations of the selected source. A right click (or a Control-click) on a
// row selects it alone and, when the citation names a person, offers to make that person the focal person.
// Drawing hides the editor's sorting indicator, so the indicator shows only while a sort keeps the table from
// drawing.
class WhereUsedTableView : public QTableView {
    Q_OBJECT
public:
    explicit WhereUsedTableView(SourcesAddModDel* delegate, QWidget* parent = nullptr);

    // What a right click at `pos` (viewport coordinates) does: nothing below the last row; otherwise editing ends,
    // the row alone is selected and its menu shown at `globalPos`. Answers the citation of the row.
    FTSourceRel* rightMouseDown(const QPoint& pos, const QPoint& globalPos);
    // The context menu of a citation: one item promoting its person to focal person; null for a citation without
    // a person (of a couple's event or of a picture).
    QMenu* popupMenuFor(FTSourceRel* citation, QWidget* parent = nullptr);
    void promoteToFocalPerson(FTPerson* person);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    SourcesAddModDel* m_delegate;
};
