#pragma once

#include <QString>
#include <QVariant>

#include <utility>
#include <vector>

// The text comparisons of fetches and searches. By default they ignore case and diacritics ("[cd]": "Zoë" equals
// "zoe"); pass Exact to compare as written. A value that is a number is matched as its decimal text, so a search
// for "19" finds the year 1901 with contains(). `like` matches the whole text against a pattern where * stands
// for any run of characters and ? for one character.
namespace TextMatch {
enum Option { Exact = 0, CaseInsensitive = 1, DiacriticInsensitive = 2, CaseAndDiacriticInsensitive = 3 };

// The form under which two texts compare equal for the options.
QString fold(const QString& text, int options = CaseAndDiacriticInsensitive);
// A value as the text it is matched as: numbers as decimal text, nil as the empty text.
QString textOf(const QVariant& value);
// Whether the value is of one of the integer types (a whole number, matched and stored as one).
bool isWholeNumber(const QVariant& value);

bool equals(const QString& text, const QString& other, int options = CaseAndDiacriticInsensitive);
bool contains(const QString& text, const QString& part, int options = CaseAndDiacriticInsensitive);
bool beginsWith(const QString& text, const QString& prefix, int options = CaseAndDiacriticInsensitive);
bool endsWith(const QString& text, const QString& suffix, int options = CaseAndDiacriticInsensitive);
bool like(const QString& text, const QString& pattern, int options = CaseAndDiacriticInsensitive);

// Word starts, for searches that match a word at the start of a text or of one of its words (after a blank, an
// underscore or an opening parenthesis): the folded text from each start of a word on, cut to kWordStartLength
// characters (never inside a surrogate pair), once each; the one from the text's start comes marked with
// kFirstWordMark before it. A folded word W begins a word of the text exactly when one of them begins with
// cutWordStart(W) (or the mark and it), if W is no longer than that; a longer one needs a look at the text.
constexpr int kWordStartLength = 16;
constexpr QChar kFirstWordMark = QChar(u'\x0001');
QStringList wordStarts(const QString& foldedText);
QString cutWordStart(const QString& foldedWord);
// The fold (ignoring case and diacritics) as UTF-8, appended to `utf8`: the same bytes as fold(text).toUtf8().
void appendFolded(const QString& text, QByteArray& utf8);
// The word starts of a folded text as UTF-8, for writing many without a string each: the text's UTF-8 lies in
// `buffer` from `at` to `end`, right after kFirstWordMark; where each start lies in it is appended to `starts` as
// (offset, size). (Starts that are not a part of it, in a text with characters outside the BMP, are appended to
// the buffer first.) The same bytes as wordStarts() of the text gives, each toUtf8().
void wordStartsInUtf8(
    QByteArray& buffer, qsizetype at, qsizetype end, std::vector<std::pair<qsizetype, qsizetype>>& starts);
// Whether the word begins the text or one of its words, ignoring case and diacritics.
bool beginsWord(const QString& text, const QString& word);

bool equals(const QVariant& value, const QString& other, int options = CaseAndDiacriticInsensitive);
bool contains(const QVariant& value, const QString& part, int options = CaseAndDiacriticInsensitive);
bool beginsWith(const QVariant& value, const QString& prefix, int options = CaseAndDiacriticInsensitive);
bool endsWith(const QVariant& value, const QString& suffix, int options = CaseAndDiacriticInsensitive);
bool like(const QVariant& value, const QString& pattern, int options = CaseAndDiacriticInsensitive);
}
