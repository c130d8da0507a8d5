#include "editor/ui/EventsTableDelegate.h"

#include "editor/EventsTableLayout.h"
#include "editor/ui/InfoArea_Events.h"
#include "editor/ui/InfoArea_Events_TableView.h"

#include "shell/SpellChecker.h"
#include "shell/UtilsFunctions.h"
#include "shell/ui/SpellCheckHighlighter.h"
#include "shell/ui/ThemeIcon.h"

#include "model/EventInfo.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QLineEdit>
#include <QPainter>
#include <QTextDocument>
#include <QTextEdit>

using Layout = EventsTableLayout;

namespace {
// The band of a row that one line of text takes: rows taller than a line keep their other cells' text at the top.
QRect firstLine(const QRect& cell, long lineHeight)
{
    QRect r = cell;
    r.setHeight(std::min<int>(cell.height(), int(lineHeight) + Layout::kRowPadding));
    return r;
}

// The notes editor, its text placed where the cell draws it.
class NotesCellEditor : public QTextEdit {
public:
    NotesCellEditor(QWidget* parent, int top)
        : QTextEdit(parent)
    {
        setViewportMargins(Layout::kCellMargin, top, Layout::kCellMargin, 0);
    }
};

// How far below a row's top its first line of text starts.
int textTop(const QFont& font, long lineHeight)
{
    return std::max(0, (int(lineHeight) + Layout::kRowPadding - QFontMetrics(font).height()) / 2);
}
}

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
    const QRect band = firstLine(option.rect, m_table->page()->layout().lineHeight());
    const int side = std::min({ 16, band.height() - 2, band.width() - 2 });
    if (side <= 0)
        return;
    const QRect icon(band.center().x() - side / 2 + 1, band.center().y() - side / 2 + 1, side, side);
    themeIcon(QStringLiteral("document-properties")).paint(painter, icon);
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
    const QRect cell = option.rect.adjusted(Layout::kCellMargin, 0, -Layout::kCellMargin, 0);
    const bool inFull = (multiLine || selected) && row->rowHeight() > float(layout.lineHeight() + 1);
    painter->save();
    painter->setClipRect(option.rect);
    painter->setFont(option.font);
    if (inFull) {
        // Laid out as the row's height was measured.
        QTextDocument document;
        document.setDocumentMargin(0);
        document.setDefaultFont(option.font);
        document.setPlainText(text);
        document.setTextWidth(std::max(1, cell.width()));
        painter->translate(cell.left(), cell.top() + textTop(option.font, layout.lineHeight()));
        QAbstractTextDocumentLayout::PaintContext context;
        context.palette.setColor(QPalette::Text, colour);
        context.clip = QRectF(0, 0, cell.width(), cell.height());
        document.documentLayout()->draw(painter, context);
    } else {
        QString line = text;
        for (QChar& c : line)
            if (c == u'\n' || c == u'\r' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
                c = u' ';
        const QRect band = firstLine(cell, layout.lineHeight());
        painter->setPen(colour);
        painter->drawText(band, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
            option.fontMetrics.elidedText(line, Qt::ElideRight, band.width()));
    }
    painter->restore();
}

QWidget* EventsTableDelegate::createEditor(
    QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    InfoArea_Events* page = m_table->page();
    const QPersistentModelIndex at(index);
    if (index.column() == Layout::Notes) {
        auto* edit = new NotesCellEditor(parent, textTop(option.font, page->layout().lineHeight()));
        edit->setAcceptRichText(false);
        edit->setFrameShape(QFrame::NoFrame);
        edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        edit->setTabChangesFocus(false);
        edit->setFont(option.font);
        edit->document()->setDocumentMargin(0);
        SpellCheckHighlighter::attach(edit, SpellChecker::shared());
        connect(edit, &QTextEdit::textChanged, page, [page, at, edit] { page->textDidChange(at, edit); });
        return edit;
    }
    auto* edit = new QLineEdit(parent);
    edit->setFrame(false);
    edit->setFont(option.font);
    connect(edit, &QLineEdit::textEdited, page, [page, at, edit] { page->textDidChange(at, edit); });
    return edit;
}

void EventsTableDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    const QString text = index.data(Qt::EditRole).toString();
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        line->setText(text);
        line->end(false);
    } else if (auto* notes = qobject_cast<QTextEdit*>(editor)) {
        const QSignalBlocker quiet(notes);
        notes->setPlainText(text);
        notes->moveCursor(QTextCursor::End);
    }
}

void EventsTableDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    model->setData(index, EditorTableView::editorText(editor), Qt::EditRole);
}

void EventsTableDelegate::updateEditorGeometry(
    QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    if (index.column() == Layout::Notes)
        editor->setGeometry(option.rect);
    else
        editor->setGeometry(firstLine(option.rect, m_table->page()->layout().lineHeight()));
}
