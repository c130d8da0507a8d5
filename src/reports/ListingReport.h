#pragma once

#include <QString>
#include <QStringList>

class RtfWriter;

// What the listing reports (filtered people, sources, statistics, pictures, people without ancestors) share: an
// A4 file in the reports folder under the first free name, with the standard colours and the styles each asks.
namespace ListingReport {
// Names, creates and opens the file for `baseName`, then writes the header with the first `colours` standard
// colours, `styles` and the page footer. False, after the writer's message, when the file could not be made.
bool begin(RtfWriter& writer, const QString& baseName, int colours, const QStringList& styles);
// "<database>_<localized report name>", the base name of a database's report.
QString baseName(const QString& modelName, const QString& reportKey);
// The whole number a filter field's text starts with ("1800", " 1800s"), 0 when it starts with none.
int leadingInteger(const QString& text);

// The line end that closes each written piece.
inline const QString kCrLf = QStringLiteral("\r\n");
// The text of a "Localizable" key.
QString label(const char* key);
// User text, or a label that may hold any letter, made safe inside RTF (no paragraph breaks).
QString rtf(const QString& text);
}
