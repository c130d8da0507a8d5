#include "editor/ui/EventsTableDelegate.h"

#include "editor/EventsTableLayout.h"
#include "editor/ui/InfoArea_Events.h"
#include "editor/ui/InfoArea_Events_TableView.h"
#include "editor/ui/NotesCell.h"

#include "shell/UtilsFunctions.h"

#include "model/EventInfo.h"

#include <QApplication>
#include <QPainter>

using Layout = EventsTableLayout;

using NotesCell::firstLine;

static_assert(Layout::kRowPadding == NotesCell::kRowPadding && Layout::kCellMargin == NotesCell::kCellMargin);

EventsTableDelegate::EventsTableDelegate(InfoArea_Events_TableView* table)
    : QStyledItemDelegate(table)
    , m_table(table)
{
}

QColor EventsTableDelegate::cutOffNotesColour()
{
    return RGB(128, 0, 0);
}

void EventsTableDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &opt, painter, widget);
    switch (index.column()) {
    case Layout::DetailsButtons:
        paintDetailsButton(painter, opt, index);
        return;
    case Layout::Notes:
        paintNotes(painter, opt, index);
        return;
    default:
        opt.rect = firstLine(opt.rect, m_table->page()->layout().lineHeight());
        opt.textElideMode = Qt::ElideRight;
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
    }
}

void EventsTableDelegate::paintDetailsButton(
    QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const EventInfo* row = m_table->rowAt(index.row());
    if (!row || !row->pEvent())
        return;
    NotesCell::paintButtonIcon(
        painter, option.rect, m_table->page()->layout().lineHeight(), QStringLiteral("document-properties"));
}

void EventsTableDelegate::paintNotes(
    QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    // The notes as stored (the style's text has its line breaks changed).
    const QString text = index.data(Qt::DisplayRole).toString();
    const EventInfo* row = m_table->rowAt(index.row());
    if (text.isEmpty() || !row)
        return;
    const InfoArea_Events* page = m_table->page();
    const EventsTableLayout& layout = page->layout();
    const bool selected = m_table->isRowSelected(index.row());
    const bool multiLine = page->multiLineNotes();
    QColor colour = option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
    if (layout.notesAreCutOff(*row, selected, multiLine))
        colour = cutOffNotesColour();
    const bool inFull = (multiLine || selected) && row->rowHeight() > float(layout.lineHeight() + 1);
    NotesCell::paint(painter, option, text, colour, inFull, layout.lineHeight());
}

QWidget* EventsTableDelegate::createEditor(
    QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    InfoArea_Events* page = m_table->page();
    const QPersistentModelIndex at(index);
    return NotesCell::createEditor(parent, option.font, page->layout().lineHeight(), index.column() == Layout::Notes,
        [page, at](QWidget* editor) { page->textDidChange(at, editor); });
}

void EventsTableDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    NotesCell::setEditorData(editor, index.data(Qt::EditRole).toString());
}

void EventsTableDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    model->setData(index, EditorTableView::editorText(editor), Qt::EditRole);
}

void EventsTableDelegate::updateEditorGeometry(
    QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    InfoArea_Events* page = m_table->page();
    NotesCell::placeEditor(editor, option.rect, index.column() == Layout::Notes, page->layout().lineHeight());
}
