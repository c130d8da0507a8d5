#pragma once

#include <QDateTime>
#include <QString>

#include <memory>

class FTSource;
class QTextDocument;

// One source with all its citations as a short RTF report, from the review of a source's citations: a title line
// with the database and the time, the source's filled fields under red headings, then each citation in blue (who
// or what cites the source, with its page reference) with its notes. It is written to the first free
// "<reports>/<database>_<LatestChangesFilename>.rtf" (then "_1", "_2" ... without end, never over an existing file)
// and opened in the user's RTF application.
//
//   SourceReferencesReport::print(source);      // the path written; empty after telling the user why not
class SourceReferencesReport {
public:
    // The report as rich text, dated `now`.
    static std::unique_ptr<QTextDocument> document(const FTSource* source, const QDateTime& now);
    // Writes the report and opens it; a file that cannot be made or written is named in a message and no file
    // is left behind. Answers the path written, empty when none.
    static QString print(const FTSource* source, const QDateTime& now = QDateTime::currentDateTime());
};
