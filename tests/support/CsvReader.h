#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// An independent RFC 4180 reader for the listings the program writes: fields separated by commas, a quoted field
// may hold commas, doubled quotes and line breaks; records end with LF or CR LF; a leading UTF-8 byte-order mark
// is skipped. It knows nothing of the writer's own rules (the "\n" escapes, the triple-quoted dates): a test sees
// those as the spreadsheet would.
//
//   const QList<QStringList> rows = CsvReader::parse(fileBytes);
namespace CsvReader {
inline QList<QStringList> parse(const QByteArray& bytes, bool* wellFormed = nullptr)
{
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    QList<QStringList> rows;
    QStringList row;
    QString field;
    bool inQuotes = false, fieldStarted = false, ok = true;
    auto endField = [&] {
        row << field;
        field.clear();
        fieldStarted = false;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (inQuotes) {
            if (c == u'"') {
                if (i + 1 < text.size() && text[i + 1] == u'"') {
                    field += u'"';
                    ++i;
                } else {
                    inQuotes = false;
                }
            } else {
                field += c;
            }
        } else if (c == u'"') {
            if (!field.isEmpty())
                ok = false;  // a quote inside an unquoted field
            inQuotes = true;
            fieldStarted = true;
        } else if (c == u',') {
            endField();
        } else if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            continue;
        } else if (c == u'\n') {
            endField();
            rows << row;
            row.clear();
        } else {
            field += c;
            fieldStarted = true;
        }
    }
    if (inQuotes)
        ok = false;
    if (fieldStarted || !row.isEmpty()) {
        endField();
        rows << row;
    }
    if (wellFormed)
        *wellFormed = ok;
    return rows;
}
}
