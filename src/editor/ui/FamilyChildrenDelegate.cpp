#include "editor/ui/FamilyChildrenDelegate.h"

#include "editor/FamilyChildrenLayout.h"
#include "editor/ui/EventsTableDelegate.h"
#include "editor/ui/FamilyChildrenModel.h"
#include "editor/ui/FamilyTableView.h"

#include "shell/SpellChecker.h"
#include "shell/ui/SpellCheckHighlighter.h"
#include "shell/ui/ThemeIcon.h"

#include "platform/Localizer.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QLineEdit>
#include <QPainter>
#include <QTextDocument>
#include <QTextEdit>

using Layout = FamilyChildrenLayout;

namespace {
// The band of a row that one line of text takes: rows taller than a line keep their other cells' text at the top.
QRect firstLine(const QRect& cell, long lineHeight)
{
    QRect r = cell;
    r.setHeight(std::min<int>(cell.height(), int(lineHeight) + Layout::kRowPadding));
    return r;
}

// How far below a row's top its first line of text starts.
int textTop(const QFont& font, long lineHeight)
{
    return std::max(0, (int(lineHeight) + Layout::kRowPadding - QFontMetrics(font).height()) / 2);
}

class NotesCellEditor : public QTextEdit {
public:
    NotesCellEditor(QWidget* parent, int top)
        : QTextEdit(parent)
    {
        setViewportMargins(Layout::kCellMargin, top, Layout::kCellMargin, 0);
    }
};
}

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
        const QRect band = firstLine(option.rect, lineHeight);
        const int side = std::min({16, band.height() - 2, band.width() - 2});
        if (side <= 0)
            return;
        const QRect icon(band.center().x() - side / 2 + 1, band.center().y() - side / 2 + 1, side, side);
        themeIcon(QString::fromLatin1(column == Layout::ChildsDetails ? "document-properties" : "system-users"))
            .paint(painter, icon);
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
    const QRect cell = option.rect.adjusted(Layout::kCellMargin, 0, -Layout::kCellMargin, 0);
    const bool inFull = (multiLine || selected) && row->rowHeight() > float(layout.lineHeight() + 1);
    painter->save();
    painter->setClipRect(option.rect);
    painter->setFont(option.font);
    if (inFull) {
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

QWidget* FamilyChildrenDelegate::createEditor(
    QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    FamilyTableView* table = m_table;
    const QPersistentModelIndex at(index);
    FamilyChildrenModel* children = table->childrenModel();
    if (children && Layout::isNotesColumn(children->layoutColumn(index.column()))) {
        auto* edit = new NotesCellEditor(parent, textTop(option.font, table->layout().lineHeight()));
        edit->setAcceptRichText(false);
        edit->setFrameShape(QFrame::NoFrame);
        edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        edit->setTabChangesFocus(false);
        edit->setFont(option.font);
        edit->document()->setDocumentMargin(0);
        SpellCheckHighlighter::attach(edit, SpellChecker::shared());
        connect(edit, &QTextEdit::textChanged, table, [table, at, edit] { table->textDidChange(at, edit); });
        return edit;
    }
    auto* edit = new QLineEdit(parent);
    edit->setFrame(false);
    edit->setFont(option.font);
    connect(edit, &QLineEdit::textEdited, table, [table, at, edit] { table->textDidChange(at, edit); });
    return edit;
}

void FamilyChildrenDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
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

void FamilyChildrenDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    model->setData(index, EditorTableView::editorText(editor), Qt::EditRole);
}

void FamilyChildrenDelegate::updateEditorGeometry(
    QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    FamilyChildrenModel* children = m_table->childrenModel();
    if (children && Layout::isNotesColumn(children->layoutColumn(index.column())))
        editor->setGeometry(option.rect);
    else
        editor->setGeometry(firstLine(option.rect, m_table->layout().lineHeight()));
}
