#include "editor/ui/InfoArea_Hierarchy_OutlineView.h"

#include "editor/HierarchyOutlineRules.h"
#include "editor/PersonFields.h"
#include "editor/RelativesPageRows.h"
#include "editor/ui/EditorTableView.h"
#include "editor/ui/InfoArea_Relatives_TableView.h"
#include "editor/ui/LineEditDateField.h"
#include "editor/ui/HierarchyTreeModel.h"
#include "editor/ui/PersonRowDelegate.h"
#include "editor/ui/PlaceField.h"

#include "shell/DisplayMsg.h"
#include "shell/Utils.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/Hierarchy.h"

#include "platform/Localizer.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTimer>

using Rules = HierarchyOutlineRules;

namespace {
constexpr int kButtonColumnWidth = 28;

bool isButtonColumn(int column)
{
    return column == HierarchyTreeModel::DetailsButton || column == HierarchyTreeModel::FamilyButton;
}

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
    : QTreeView(parent)
{
    setObjectName(QStringLiteral("olv"));
    setAlternatingRowColors(true);
    setUniformRowHeights(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setExpandsOnDoubleClick(false);
    setItemsExpandable(true);
    setIndentation(14);
    setAllColumnsShowFocus(true);
    setWordWrap(false);
    setTreePosition(Rules::Name);
    header()->setStretchLastSection(false);
    header()->setMinimumSectionSize(0);
    header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header()->setSectionsMovable(false);
    setItemDelegate(new HierarchyDelegate(this));
    QPalette p = palette();
    const QColor highlight = Utils::tableViewHighlightColour();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        p.setColor(group, QPalette::Highlight, highlight);
        p.setColor(group, QPalette::HighlightedText, p.color(group, QPalette::Text));
    }
    setPalette(p);
}

HierarchyTreeModel* InfoArea_Hierarchy_OutlineView::hierarchyModel() const
{
    return qobject_cast<HierarchyTreeModel*>(model());
}

void InfoArea_Hierarchy_OutlineView::setColumnWidths()
{
    if (!model())
        return;
    const int visible = viewport()->width();
    m_lastVisibleWidth = visible;
    // The generation's heading and a date are never cut off: the room comes from the other columns.
    const QFontMetrics metrics(font());
    const int level = QFontMetrics(header()->font()).horizontalAdvance(model()->headerData(0, Qt::Horizontal).toString()) + 14;
    const int date = metrics.horizontalAdvance(QStringLiteral("00 Mmm 0000")) + 12;
    const QList<int> widths = RelativesPageRows::fitMinimums(
        Rules::columnWidths(std::max(0, visible - 2 * kButtonColumnWidth)), {level, 0, 0, date});
    endEditing();
    for (int c = 0; c < widths.size(); ++c)
        setColumnWidth(c, widths[c]);
    setColumnWidth(HierarchyTreeModel::DetailsButton, kButtonColumnWidth);
    setColumnWidth(HierarchyTreeModel::FamilyButton, kButtonColumnWidth);
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

bool InfoArea_Hierarchy_OutlineView::editCell(const QModelIndex& index)
{
    if (!index.isValid() || !(index.flags() & Qt::ItemIsEditable))
        return false;
    if (currentEditor() && m_editIndex == index)
        return true;
    if (!endEditing())
        return false;
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    return edit(index, QAbstractItemView::AllEditTriggers, nullptr);
}

bool InfoArea_Hierarchy_OutlineView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    if (!QTreeView::edit(index, trigger, event))
        return false;
    QWidget* editor = indexWidget(index);
    if (editor && editor != m_editor) {
        m_editor = editor;
        m_editIndex = index;
        m_refused = false;
        editor->installEventFilter(this);
    }
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        line->deselect();
        line->end(false);
    }
    return true;
}

bool InfoArea_Hierarchy_OutlineView::shouldEndEditing(const QModelIndex& index, QWidget* editor)
{
    HierarchyTreeModel* m = hierarchyModel();
    FTPerson* person = m ? m->person(index) : nullptr;
    const int tag = Rules::fieldTag(index.column());
    const QString typed = EditorTableView::editorText(editor);
    if (!person || tag < 0 || typed == index.data(Qt::EditRole).toString())
        return true;
    auto* line = qobject_cast<QLineEdit*>(editor);
    if (!line)
        return true;
    LineEditDateField field(line);
    const FieldValidation v = PersonFields::validate(tag, field, tag == PersonFields::BirthDate ? person : nullptr);
    if (tag == PersonFields::BirthDate)
        return v.accepted;
    // A refused name keeps what was typed; a title is corrected to one line, said so, and ends corrected.
    if (v.accepted || tag != PersonFields::Name)
        EditorTableView::setEditorText(editor, v.text);
    const bool accepted = v.report();
    return accepted || tag == PersonFields::Title;
}

void InfoArea_Hierarchy_OutlineView::commitData(QWidget* editor)
{
    if (m_committing)
        return;
    if (editor != m_editor)
        return QTreeView::commitData(editor);
    m_committing = true;
    const bool accepted = shouldEndEditing(m_editIndex, editor);
    m_committing = false;
    m_refused = !accepted;
    if (accepted)
        QTreeView::commitData(editor);
}

void InfoArea_Hierarchy_OutlineView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    if (editor == m_editor && m_refused && hint != QAbstractItemDelegate::RevertModelCache) {
        editor->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (editor == m_editor) {
        editor->removeEventFilter(this);
        m_editor = nullptr;
        m_editIndex = QPersistentModelIndex();
        m_refused = false;
    }
    QTreeView::closeEditor(editor, hint);
}

bool InfoArea_Hierarchy_OutlineView::endEditing()
{
    QWidget* editor = currentEditor();
    if (!editor)
        return true;
    commitData(editor);
    if (m_refused)
        return false;
    closeEditor(editor, QAbstractItemDelegate::NoHint);
    return true;
}

void InfoArea_Hierarchy_OutlineView::abandonEditing()
{
    if (QWidget* editor = currentEditor())
        closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
}

bool InfoArea_Hierarchy_OutlineView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_editor)
        return QTreeView::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (m_refused && key->key() != Qt::Key_Escape)
            m_refused = false;
        if (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) {
            // The row before or after; at either end the selection stays in the outline.
            const QModelIndex from = m_editIndex;
            const QModelIndex to = key->key() == Qt::Key_Down ? indexBelow(from) : indexAbove(from);
            if (endEditing() && to.isValid())
                setCurrentIndex(to.siblingAtColumn(0));
            return true;
        }
        return false;
    }
    if (event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (m_committing || reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason)
            return true;
        QWidget* editor = m_editor;
        if (QWidget* focus = QApplication::focusWidget(); focus && editor->isAncestorOf(focus))
            return false;
        if (!endEditing()) {
            QPointer<QWidget> keep(editor);
            QTimer::singleShot(0, this, [keep] {
                if (keep && keep->isVisible())
                    keep->setFocus(Qt::OtherFocusReason);
            });
        }
        return true;
    }
    return QTreeView::eventFilter(watched, event);
}

// ---- Mouse -------------------------------------------------------------------------------------------------------

void InfoArea_Hierarchy_OutlineView::mousePressEvent(QMouseEvent* event)
{
    if (isEditRefused()) {
        event->accept();
        m_editor->setFocus(Qt::OtherFocusReason);
        return;
    }
    const QPoint at = event->position().toPoint();
    const QModelIndex index = indexAt(at);
    if (!index.isValid())
        return QTreeView::mousePressEvent(event);
    if (event->button() == Qt::LeftButton && (event->modifiers() & Qt::AltModifier)) {
        event->accept();
        DisplayMsg(LocalizedString("UseExpandButton"));
        return;
    }
    HierarchyTreeModel* m = hierarchyModel();
    FTPerson* person = m ? m->person(index) : nullptr;
    if (!person) {
        event->accept();
        return;
    }
    if (currentEditor() && m_editIndex == index)
        return QTreeView::mousePressEvent(event);
    // The disclosure triangle before the name opens or closes the row as usual.
    if (index.column() == Rules::Name && at.x() < visualRect(index).left())
        return QTreeView::mousePressEvent(event);
    if (event->button() != Qt::LeftButton)
        return QTreeView::mousePressEvent(event);
    event->accept();
    if (!endEditing())
        return;
    if (event->modifiers() & Qt::ControlModifier) {
        InfoArea_Relatives_TableView::promoteToFocalPerson(person);
        return;
    }
    if (isButtonColumn(index.column())) {
        setCurrentIndex(index.siblingAtColumn(0));
        Q_EMIT buttonClicked(index, index.column());
        return;
    }
    if (!editCell(index))
        setCurrentIndex(index.siblingAtColumn(0));
}

void InfoArea_Hierarchy_OutlineView::mouseDoubleClickEvent(QMouseEvent* event)
{
    event->accept();
}

void InfoArea_Hierarchy_OutlineView::contextMenuEvent(QContextMenuEvent* event)
{
    event->accept();
    const QModelIndex index = indexAt(event->pos());
    HierarchyTreeModel* m = hierarchyModel();
    if (!index.isValid() || !m || !m->person(index) || !endEditing())
        return;
    Q_EMIT contextMenuRequested(index.siblingAtColumn(0), event->globalPos());
}

void InfoArea_Hierarchy_OutlineView::paintEvent(QPaintEvent* event)
{
    QTreeView::paintEvent(event);
    if (m_moc && m_moc->hasChanges())
        m_moc->deferredSave();
}

void InfoArea_Hierarchy_OutlineView::resizeEvent(QResizeEvent* event)
{
    QTreeView::resizeEvent(event);
    if (viewport()->width() != m_lastVisibleWidth)
        setColumnWidths();
}
