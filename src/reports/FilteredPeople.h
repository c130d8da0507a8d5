#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

class FTMoc;
class FTPerson;
class ModelProgress;
class RtfWriter;

// The people of a database narrowed by name, family name, title, birth and death place, ranges of birth and
// death years and cause of death, sorted by name and then birth year, and written as an RTF listing: one line or
// one block per person, the filters used printed at the top. A field left empty filters nothing; text matches
// ignore case and diacritics; a year field counts by the whole number it starts with.
//
//   FilteredPeople report(moc);
//   report.filters.lastName = "son";
//   report.modelName = doc->modelName();
//   RtfWriter writer;
//   writer.setFileType("rtf");
//   if (report.generate(writer, report.people(), progress)) writer.handOver();
class FilteredPeople {
public:
    // The filter fields, in the order the report lists them.
    enum Field {
        Name, LastName, Title, BirthPlace, DeathPlace, BirthYearBefore, BirthYearAfter, DeathYearBefore,
        DeathYearAfter, CauseOfDeath, FieldCount
    };
    // The field's name: the key of its label and of its text field in the sheet ("nameFilter", "lastNameFilter"...).
    static QString fieldKey(Field field);

    explicit FilteredPeople(FTMoc* moc);

    QString filters[FieldCount];
    bool oneLinePerPerson = false;
    // The database's name, in the file name and the title.
    QString modelName;
    // The moment the title names (now unless set; tests fix it).
    QDateTime moment;

    bool matches(const FTPerson* person) const;
    // Every person who matches, by name, then birth year.
    QList<FTPerson*> people() const;
    // The pages the report of `count` people will take; a report above 100 asks first.
    static int estimatedPages(qsizetype count, bool oneLinePerPerson);
    // "Name contains 'Ann' and Born before <= 1800", or "None".
    QString filtersDescription() const;

    // Writes the report of `people` in their order under the first free "<database>_FilteredReport" name. False,
    // after the writer's message, when the file could not be made or written.
    bool generate(RtfWriter& writer, const QList<FTPerson*>& people, ModelProgress* progress = nullptr) const;

private:
    QString oneLine(const FTPerson* person) const;
    QString block(const FTPerson* person) const;

    FTMoc* m_moc;
};
