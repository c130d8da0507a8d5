#include "editor/ui/NotesCell.h"

#include "shell/SpellChecker.h"
#include "shell/ui/SpellCheckHighlighter.h"
#include "shell/ui/ThemeIcon.h"

#include <QAbstractTextDocumentLayout>
#include <algorithm>
#include <QLineEdit>
#include <QPainter>
#include <QStyleOptionViewItem>
#include <QTextDocument>
#include <QTextEdit>

namespace {
// The editor's text placed where the cell draws it.
class NotesCellEditor : public QTextEdit {
public:
    NotesCellEditor(QWidget* parent, int top)
        : QTextEdit(parent)
    {
        setViewportMargins(NotesCell::kCellMargin, top, NotesCell::kCellMargin, 0);
    }
};
}

QRect NotesCell::firstLine(const QRect& cell, long lineHeight)
{
    QRect r = cell;
    r.setHeight(std::min<int>(cell.height(), int(lineHeight) + kRowPadding));
    return r;
}

void NotesCell::paintButtonIcon(QPainter* painter, const QRect& cell, long lineHeight, const QString& iconName)
{
    const QRect band = firstLine(cell, lineHeight);
    const int side = std::min({16, band.height() - 2, band.width() - 2});
    if (side <= 0)
        return;
    const QRect icon(band.center().x() - side / 2 + 1, band.center().y() - side / 2 + 1, side, side);
    themeIcon(iconName).paint(painter, icon);
}

int NotesCell::textTop(const QFont& font, long lineHeight)
{
    return std::max(0, (int(lineHeight) + kRowPadding - QFontMetrics(font).height()) / 2);
}

void NotesCell::paint(QPainter* painter, const QStyleOptionViewItem& option, const QString& text, const QColor& colour,
    bool inFull, long lineHeight)
{
    const QRect cell = option.rect.adjusted(kCellMargin, 0, -kCellMargin, 0);
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
        painter->translate(cell.left(), cell.top() + textTop(option.font, lineHeight));
        QAbstractTextDocumentLayout::PaintContext context;
        context.palette.setColor(QPalette::Text, colour);
        context.clip = QRectF(0, 0, cell.width(), cell.height());
        document.documentLayout()->draw(painter, context);
    } else {
        QString line = text;
        for (QChar& c : line)
            if (c == u'\n' || c == u'\r' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
                c = u' ';
        const QRect band = firstLine(cell, lineHeight);
        painter->setPen(colour);
        painter->drawText(band, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
            option.fontMetrics.elidedText(line, Qt::ElideRight, band.width()));
    }
    painter->restore();
}

QWidget* NotesCell::createEditor(
    QWidget* parent, const QFont& font, long lineHeight, bool notes, std::function<void(QWidget*)> changed)
{
    if (!notes) {
        auto* line = new QLineEdit(parent);
        line->setFrame(false);
        line->setFont(font);
        QObject::connect(line, &QLineEdit::textEdited, line, [line, changed] {
            if (changed)
                changed(line);
        });
        return line;
    }
    auto* edit = new NotesCellEditor(parent, textTop(font, lineHeight));
    edit->setAcceptRichText(false);
    edit->setFrameShape(QFrame::NoFrame);
    edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edit->setTabChangesFocus(false);
    edit->setFont(font);
    edit->document()->setDocumentMargin(0);
    SpellCheckHighlighter::attach(edit, SpellChecker::shared());
    QObject::connect(edit, &QTextEdit::textChanged, edit, [edit, changed] {
        if (changed)
            changed(edit);
    });
    return edit;
}

void NotesCell::setEditorData(QWidget* editor, const QString& text)
{
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        line->setText(text);
        line->end(false);
    } else if (auto* notes = qobject_cast<QTextEdit*>(editor)) {
        const QSignalBlocker quiet(notes);
        notes->setPlainText(text);
        notes->moveCursor(QTextCursor::End);
    }
}

void NotesCell::placeEditor(QWidget* editor, const QRect& cell, bool notes, long lineHeight)
{
    editor->setGeometry(notes ? cell : firstLine(cell, lineHeight));
}
