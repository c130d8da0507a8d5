#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class FTPerson;
class ModelProgress;

// The people index as a CSV file for a spreadsheet: the people it shows, in its order, one line each, with the
// columns the user chose (the "piCsvInclude..." user defaults). Text fields are quoted with their quotes doubled
// and line breaks written as "\n" and "\r"; dates get three quotes on each side so that a spreadsheet keeps them
// as typed; numbers are bare and years and numbers of 0 empty. Spouses go in one field, or one field each, padded
// to the largest count in the list so that every line has as many fields.
//
//   PeopleIndexCsv csv = PeopleIndexCsv::fromDefaults();
//   const QString path = csv.write(index.shown(), doc->modelName(), progress);   // empty after a message
class PeopleIndexCsv {
public:
    enum Column {
        Database, PersonId, FullName, GivenNames, FamilyName, Gender, BirthDate, BirthYear, BirthPlace, DeathDate,
        DeathYear, DeathPlace, FathersId, FathersName, MothersId, MothersName, ToDo, SpousesOneCol, SpousesMCol,
        ColumnCount
    };
    // "piCsvIncludeDatabase" ... "piCsvIncludeSpousesMCol".
    static QString defaultsKey(Column column);
    // The column's header label and name in the options ("IndexCsvIncludeDatabase" ...).
    static QString columnLabel(Column column);

    bool include[ColumnCount] = {};
    static PeopleIndexCsv fromDefaults();
    static PeopleIndexCsv everything();

    // The largest number of couples among `people` (0 for nobody).
    static int maxSpouses(const QList<FTPerson*>& people);
    QString headerLine(int spouseColumns) const;
    QString personLine(const FTPerson* person, const QString& databaseName, int spouseColumns) const;

    // Writes "<database>_Index.csv" (the first free name; an earlier listing is kept) and answers its path; empty
    // after a message when the file could not be made or written.
    QString write(const QList<FTPerson*>& people, const QString& databaseName, ModelProgress* progress = nullptr) const;

    // A partner in the one-field form: line breaks as "\n" and "\r", quotes as blanks.
    static QString oneFieldName(const QString& text);
};
