#pragma once

#include "shell/RtfWriter.h"

#include <QString>

// A comma-separated listing in the reports folder. The file is an RtfWriter of type "csv": the first free name,
// never over an existing file, a UTF-8 byte-order mark first, a message when it cannot be made. The listings
// differ only in how a field is quoted; each rule is one function here, named for what it does to the text.
//
//   CsvWriter csv;
//   if (!csv.create(databaseName + "_Sources")) return;
//   csv.writeLine({CsvWriter::escapedQuoted(source->title()), ...});
//   csv.close(); csv.handOver();
class CsvWriter : public RtfWriter {
public:
    CsvWriter();

    // Names and creates the file (first free name for `baseName` in the reports folder). False after a message.
    bool create(const QString& baseName);
    // The fields joined by commas and a line feed, as UTF-8.
    bool writeLine(const QStringList& fields);
    bool close() { return closeOutputFile(); }

    // Empty stays empty, unquoted; otherwise line feeds become the two characters "\n", carriage returns "\r",
    // quotes are doubled and the whole is quoted. One line per record, whatever the text holds.
    static QString escapedQuoted(const QString& text);
    // Empty stays empty, unquoted; otherwise quotes are doubled and the whole is quoted. Line breaks stay inside
    // the quotes (RFC 4180): a record may span lines.
    static QString quoted(const QString& text);
    // A date that a spreadsheet must not turn into a number: empty stays empty, otherwise its quotes doubled and
    // three quotes on each side.
    static QString tripleQuoted(const QString& text);
    // 0 gives an empty field, any other number its digits.
    static QString number(long long value);
};
