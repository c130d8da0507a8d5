#include "editor/ui/InfoArea_Hierarchy_OutlineView.h"

#include "editor/HierarchyOutlineRules.h"
#include "editor/RelativesPageRows.h"
#include "editor/ui/HierarchyTreeModel.h"
#include "editor/ui/PersonRowDelegate.h"
#include "editor/ui/PlaceField.h"

#include "shell/DisplayMsg.h"

#include "model/FTPerson.h"
#include "model/Hierarchy.h"

#include "platform/Localizer.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

using Rules = HierarchyOutlineRules;

namespace {
class HierarchyDelegate : public PersonRowDelegate {
public:
    explicit HierarchyDelegate(InfoArea_Hierarchy_OutlineView* outline)
        : PersonRowDelegate(outline, HierarchyTreeModel::DetailsButton, HierarchyTreeModel::FamilyButton)
        , m_outline(outline)
    {
    }

protected:
    bool hasPerson(const QModelIndex& index) const override { return m_outline->hierarchyModel()->person(index); }
    bool isPlace(int column) const override { return column == Rules::BirthPlace; }
    bool multiLine(int column) const override { return column == Rules::BirthNotes; }
    void completePlaceAt(QWidget* editor, const QPersistentModelIndex&) const override
    {
        completePlace(qobject_cast<QLineEdit*>(editor), m_outline->moc());
    }

private:
    InfoArea_Hierarchy_OutlineView* m_outline;
};
}

InfoArea_Hierarchy_OutlineView::InfoArea_Hierarchy_OutlineView(QWidget* parent)
    : PersonRowsView(HierarchyTreeModel::DetailsButton, HierarchyTreeModel::FamilyButton, parent)
{
    setObjectName(QStringLiteral("olv"));
    setUniformRowHeights(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setExpandsOnDoubleClick(false);
    setItemsExpandable(true);
    setIndentation(14);
    setAllColumnsShowFocus(true);
    setTreePosition(Rules::Name);
    header()->setStretchLastSection(false);
    header()->setMinimumSectionSize(0);
    header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header()->setSectionsMovable(false);
    setItemDelegate(new HierarchyDelegate(this));
}

HierarchyTreeModel* InfoArea_Hierarchy_OutlineView::hierarchyModel() const
{
    return qobject_cast<HierarchyTreeModel*>(model());
}

void InfoArea_Hierarchy_OutlineView::setColumnWidths()
{
    if (!model())
        return;
    m_lastVisibleWidth = viewport()->width();
    // The generation's heading and a date are never cut off: the room comes from the other columns.
    const int level = QFontMetrics(header()->font()).horizontalAdvance(model()->headerData(0, Qt::Horizontal).toString()) + 14;
    applyColumnWidths(
        RelativesPageRows::fitMinimums(Rules::columnWidths(textColumnsRoom()), {level, 0, 0, dateColumnMinimum()}));
}

QModelIndex InfoArea_Hierarchy_OutlineView::selectedIndex() const
{
    const QModelIndexList rows = selectionModel() ? selectionModel()->selectedRows() : QModelIndexList();
    return rows.isEmpty() ? QModelIndex() : rows.first();
}

void InfoArea_Hierarchy_OutlineView::setBranchExpanded(const QModelIndex& top, int lastLevel, bool expand)
{
    HierarchyTreeModel* m = hierarchyModel();
    if (!m || !top.isValid())
        return;
    // Every row of the branch, parents before children; set from the deepest up, so that the rows hidden
    // under a closed one only note their state and the outline is laid out once.
    QList<QModelIndex> rows;
    QList<QModelIndex> pending{top.siblingAtColumn(0)};
    while (!pending.isEmpty()) {
        const QModelIndex at = pending.takeLast();
        Hierarchy* n = m->node(at);
        if (!n || n->level() > lastLevel)
            continue;
        rows << at;
        const int count = m->rowCount(at);
        for (int r = 0; r < count; ++r)
            pending << m->index(r, 0, at);
    }
    for (qsizetype i = rows.size() - 1; i >= 0; --i) {
        const QModelIndex& at = rows[i];
        if (!expand)
            collapse(at);
        else if (m->rowCount(at) > 0)
            QTreeView::expand(at);
    }
}

void InfoArea_Hierarchy_OutlineView::expandBranch(const QModelIndex& index, int generations)
{
    HierarchyTreeModel* m = hierarchyModel();
    Hierarchy* n = m ? m->node(index) : nullptr;
    if (!n)
        return;
    endEditing();
    collapseBranch(index);
    const int lastLevel = n->level() + generations - 1;
    m->fetchBranch(index, lastLevel);
    setBranchExpanded(index, lastLevel, true);
}

void InfoArea_Hierarchy_OutlineView::collapseBranch(const QModelIndex& index)
{
    endEditing();
    setBranchExpanded(index, INT_MAX, false);
}

void InfoArea_Hierarchy_OutlineView::expandToLevel(int level)
{
    HierarchyTreeModel* m = hierarchyModel();
    if (!m)
        return;
    const QModelIndex top = m->rootIndex();
    m->fetchBranch(top, level);
    setBranchExpanded(top, level, true);
}

// ---- Editing ----------------------------------------------------------------------------------------------------

FTPerson* InfoArea_Hierarchy_OutlineView::rowPerson(const QModelIndex& index) const
{
    HierarchyTreeModel* m = hierarchyModel();
    return m ? m->person(index) : nullptr;
}

int InfoArea_Hierarchy_OutlineView::fieldTag(int column) const
{
    return Rules::fieldTag(column);
}

bool InfoArea_Hierarchy_OutlineView::editorKeyPress(QWidget*, QKeyEvent* event)
{
    if (event->key() != Qt::Key_Up && event->key() != Qt::Key_Down)
        return false;
    // The row before or after; at either end the selection stays in the outline.
    const QModelIndex from = editingIndex();
    const QModelIndex to = event->key() == Qt::Key_Down ? indexBelow(from) : indexAbove(from);
    if (endEditing() && to.isValid())
        setCurrentIndex(to.siblingAtColumn(0));
    return true;
}

// ---- Mouse -------------------------------------------------------------------------------------------------------

void InfoArea_Hierarchy_OutlineView::mousePressEvent(QMouseEvent* event)
{
    if (holdRefusedEdit(event))
        return;
    const QPoint at = event->position().toPoint();
    const QModelIndex index = indexAt(at);
    if (!index.isValid())
        return QTreeView::mousePressEvent(event);
    if (event->button() == Qt::LeftButton && (event->modifiers() & Qt::AltModifier)) {
        event->accept();
        DisplayMsg(LocalizedString("UseExpandButton"));
        return;
    }
    FTPerson* person = rowPerson(index);
    if (!person) {
        event->accept();
        return;
    }
    if (currentEditor() && editingIndex() == index)
        return QTreeView::mousePressEvent(event);
    // The disclosure triangle before the name opens or closes the row as usual.
    if (index.column() == Rules::Name && at.x() < visualRect(index).left())
        return QTreeView::mousePressEvent(event);
    if (event->button() != Qt::LeftButton)
        return QTreeView::mousePressEvent(event);
    clickPersonCell(event, index, person);
}

void InfoArea_Hierarchy_OutlineView::resizeEvent(QResizeEvent* event)
{
    QTreeView::resizeEvent(event);
    if (viewport()->width() != m_lastVisibleWidth)
        setColumnWidths();
}
