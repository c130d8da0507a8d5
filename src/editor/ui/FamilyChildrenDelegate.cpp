#include "editor/ui/FamilyChildrenDelegate.h"

#include "editor/FamilyChildrenLayout.h"
#include "editor/ui/EventsTableDelegate.h"
#include "editor/ui/FamilyChildrenModel.h"
#include "editor/ui/FamilyTableView.h"
#include "editor/ui/NotesCell.h"


#include "platform/Localizer.h"

#include <QApplication>
#include <QPainter>

using Layout = FamilyChildrenLayout;

using NotesCell::firstLine;

static_assert(Layout::kRowPadding == NotesCell::kRowPadding && Layout::kCellMargin == NotesCell::kCellMargin);

FamilyChildrenDelegate::FamilyChildrenDelegate(FamilyTableView* table)
    : QStyledItemDelegate(table)
    , m_table(table)
{
}

void FamilyChildrenDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    FamilyChildrenModel* children = m_table->childrenModel();
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &opt, painter, widget);
    const int column = children ? children->layoutColumn(index.column()) : -1;
    const long lineHeight = m_table->layout().lineHeight();
    if (column == Layout::ChildsDetails || column == Layout::ChildsFamily) {
        if (!children->child(index.row()))
            return;
        NotesCell::paintButtonIcon(painter, option.rect, lineHeight,
            QString::fromLatin1(column == Layout::ChildsDetails ? "document-properties" : "system-users"));
        return;
    }
    if (Layout::isNotesColumn(column)) {
        paintNotes(painter, opt, index);
        return;
    }
    opt.rect = firstLine(opt.rect, lineHeight);
    opt.textElideMode = Qt::ElideRight;
    // The empty last row says what it is for.
    if (column == Layout::Name && children->isNewChildRow(index.row()) && !m_table->isEditRefused()
        && m_table->editingIndex() != index) {
        opt.text = LocalizedString(QStringLiteral("FamilyNewChildHint"));
        opt.font.setItalic(true);
        opt.palette.setColor(QPalette::Text, opt.palette.color(QPalette::PlaceholderText));
        opt.palette.setColor(QPalette::HighlightedText, opt.palette.color(QPalette::PlaceholderText));
    }
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
}

bool FamilyChildrenDelegate::isNotes(const QModelIndex& index) const
{
    const FamilyChildrenModel* children = m_table->childrenModel();
    return children && Layout::isNotesColumn(children->layoutColumn(index.column()));
}

void FamilyChildrenDelegate::paintNotes(
    QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QString text = index.data(Qt::DisplayRole).toString();
    const ChildInfo* row = m_table->childrenModel()->row(index.row());
    if (text.isEmpty() || !row)
        return;
    const FamilyChildrenLayout& layout = m_table->layout();
    const bool selected = m_table->isRowSelected(index.row());
    const bool multiLine = m_table->multiLineNotes();
    QColor colour = option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
    if (layout.notesAreCutOff(*row, selected, multiLine))
        colour = EventsTableDelegate::cutOffNotesColour();
    const bool inFull = (multiLine || selected) && row->rowHeight() > float(layout.lineHeight() + 1);
    NotesCell::paint(painter, option, text, colour, inFull, layout.lineHeight());
}

QWidget* FamilyChildrenDelegate::createEditor(
    QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QPersistentModelIndex at(index);
    return NotesCell::createEditor(parent, option.font, m_table->layout().lineHeight(), isNotes(index),
        [table = m_table, at](QWidget* editor) { table->textDidChange(at, editor); });
}

void FamilyChildrenDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    NotesCell::setEditorData(editor, index.data(Qt::EditRole).toString());
}

void FamilyChildrenDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    model->setData(index, EditorTableView::editorText(editor), Qt::EditRole);
}

void FamilyChildrenDelegate::updateEditorGeometry(
    QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    NotesCell::placeEditor(editor, option.rect, isNotes(index), m_table->layout().lineHeight());
}
