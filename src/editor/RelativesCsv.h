#pragma once

#include "model/Relative.h"

#include <QByteArray>
#include <QList>
#include <QString>

class FTPerson;

// The relatives page's list as a comma-separated file in the reports folder: a UTF-8 byte-order mark, the
// header text "RelativesCsvHeaderLine" as the string table gives it (its own line end included), then one line
// per row, ended by a line feed, of ten fields: number, relationship (as it stands), name, birth date, birth
// year, birth place, death date, death year, death place and age at death. A separator row is nine commas.
//
//   RelativesCsv::generateCsvReport(person, rows);   // writes, tells the user, opens the file
class RelativesCsv {
public:
    // A number: empty for 0, else its digits.
    static QString stringFromInt(int value);
    // A text: empty when empty, else between double quotes with its own double quotes doubled.
    static QString cleanString(const QString& text);
    // A date: empty when empty, else between three double quotes on each side, its double quotes doubled.
    static QString cleanDateString(const QString& text);

    static QString line(const Relative& row);
    // The whole file.
    static QByteArray contents(const QList<Relative>& rows);
    // "<folder>/<name>_<Relatives>.csv"; a "/" or a control character of the name cannot lead out of the folder.
    static QString pathFor(const FTPerson* person, const QString& reportsFolder);
    // Writes the file all or nothing, replacing one of that name. False with the reason in `error`.
    static bool write(const QList<Relative>& rows, const QString& path, QString* error = nullptr);

    // The page's command: writes the file for the person, says it was written ("CsvNote") and opens it with the
    // first application that opens it. A failed write says so with the path and opens nothing. Answers the
    // path written, empty when none was.
    static QString generateCsvReport(const FTPerson* person, const QList<Relative>& rows);
};
