#pragma once

#include <QTextCharFormat>

// The text formats of the comparison's views, printouts and report.
namespace CompareFormats {
// Runs without formats of their own: the document's default font.
QTextCharFormat plain();
// "Arial Bold" 12 points: labels, the report's heading block and summaries.
QTextCharFormat bold();
// The same in red (255, 0, 0): a person without a match, the heading of a pair's differences.
QTextCharFormat boldRed();
// "Arial Bold" 18 points, underlined: the headings of a printed pair.
QTextCharFormat header();
// What marks a difference: a light cyan background (200, 255, 255), added to the text's own format.
QTextCharFormat highlight();
// The default font of the documents made here: the word processor's usual 12-point text face.
QFont documentFont();
}
