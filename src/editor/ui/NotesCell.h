#pragma once

#include <QColor>
#include <QRect>
#include <QString>

#include <functional>

class QFont;
class QPainter;
class QStyleOptionViewItem;
class QTextEdit;
class QWidget;

// How the person editor's tables draw and edit a notes cell (the events page's, the children tables'): the text of
// a row taller than a line stays in its first line, notes are drawn in full or cut to one line, and the notes are
// typed into a text editor laid out as the cell draws them.
namespace NotesCell {
// Rows are this much higher than their text; text stands this far in from a cell's sides.
constexpr int kRowPadding = 3;
constexpr int kCellMargin = 3;

// The band of a cell that one line of text takes.
QRect firstLine(const QRect& cell, long lineHeight);
// A button's icon (a freedesktop icon name), at most 16 pixels square, centred in the cell's first line.
void paintButtonIcon(QPainter* painter, const QRect& cell, long lineHeight, const QString& iconName);
// How far below a row's top its first line of text starts.
int textTop(const QFont& font, long lineHeight);
// The notes in `colour`: in full (wrapped as the row's height was measured), or on one line with the line breaks
// as blanks, cut with an ellipsis.
void paint(QPainter* painter, const QStyleOptionViewItem& option, const QString& text, const QColor& colour,
    bool inFull, long lineHeight);
// A cell's editor: for notes a plain-text editor, spelling underlined, its text where the cell draws it; else a
// frameless line editor. `changed` is told of every change the user types.
QWidget* createEditor(QWidget* parent, const QFont& font, long lineHeight, bool notes,
    std::function<void(QWidget* editor)> changed);
// Shows the cell's text in its editor, the caret at the end.
void setEditorData(QWidget* editor, const QString& text);
// A notes editor takes the whole cell, any other its first line.
void placeEditor(QWidget* editor, const QRect& cell, bool notes, long lineHeight);
}
