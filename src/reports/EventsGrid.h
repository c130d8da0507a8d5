#pragma once

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

class FTEvent;
class FTMoc;
class FTPerson;
class ModelProgress;

// The people of a database narrowed by name words and by a type of other personal event (having one, or not), and
// their events as a CSV grid: one row a person, one column a decade, each cell the person's events of that decade.
//
//   EventsGrid grid(moc);
//   grid.setNameFilter("ann ro");                 // a word of the name begins with "ann", another with "ro"
//   grid.setEventType("OCCU");                    // people with an occupation (setNotTheEventType: without)
//   QString path;
//   grid.generate(grid.shownPeople(), &path);     // "<database>_<EventsReportFileName>.csv"
class EventsGrid {
public:
    explicit EventsGrid(FTMoc* moc);

    QString modelName;
    // The moment whose decade is the last the heading shows at least (now unless set; tests fix it).
    QDateTime moment;

    // The entries of the event-type button: "Occupation (3)" for each subtype of the other personal events, by
    // tag, then the text of "None".
    QStringList eventTypeEntries() const;

    // The people shown, in the order chosen (by name at first).
    QList<FTPerson*> shownPeople() const;
    // The name filter: each word of the trimmed text must begin a word of the name (at its start, after a blank,
    // an underscore, a no-break space or an opening parenthesis), case and diacritics ignored. Empty: everyone.
    void setNameFilter(const QString& text);
    // The type filter: people with an other personal event of the tag (without one, once inverted); an empty tag
    // or the text of "None" takes the filter off.
    void setEventType(const QString& tag);
    void setNotTheEventType(bool inverted);
    QString selectedEventSubtype() const { return m_subtype; }
    bool notTheEventSubtype() const { return m_inverted; }
    // Orders the people by family name, then name; sortByName() goes back to name alone.
    void sortByFamilyName();
    void sortByName();

    // Whether each of the folded `words` begins a word of `name`.
    static bool nameMatches(const QString& name, const QStringList& foldedWords);

    // The grid's events of `people`: for each person who has a birth, death or other personal event with a year,
    // the marriages with a year first, then those events, ordered by date, then tag.
    struct Events {
        QHash<const FTPerson*, QList<FTEvent*>> lists;
        int firstDecade = 0; // the decade of the earliest own event after the year 100 (0: none)
        int lastYear = 0;    // the latest year in any list
    };
    static Events eventsOf(const QList<FTPerson*>& people, ModelProgress* progress = nullptr);
    // The heading line: the five leading columns, the "previous" column of the first decade, then a column for
    // each decade from `firstDecade` to `lastDecade`.
    static QString headerLine(int firstDecade, int lastDecade);
    // One person's row, its cells from `events` in the columns of the heading that starts at `firstDecade`.
    static QString rowLine(const FTPerson* person, const QList<FTEvent*>& events, int firstDecade);
    // The grid of `people` under the first free name; false, after a message, when it could not be made or written
    // whole. `path` gets the file's path.
    bool generate(const QList<FTPerson*>& people, QString* path, ModelProgress* progress = nullptr) const;

    // A name field's text: line ends written as "\n" and "\r", quotes doubled (the row puts the quotes around it).
    static QString cleanCsvString(const QString& text);
    // A year column: the year, or for none "0" in the birth column and "?" in the death column.
    static QString stringFromInt(int year, const QString& column);

    // A person's own events (birth, death, other events) by date, then tag; the dates the other way round with
    // `dateAscending` false.
    static QList<FTEvent*> eventsOfPerson(const FTPerson* person, bool dateAscending);

private:
    void sortPeople();
    FTMoc* m_moc;
    QList<FTPerson*> m_people;
    bool m_byFamilyName = false;
    QStringList m_words;
    QString m_subtype;
    bool m_inverted = false;
    QSet<const FTPerson*> m_typePeople;
};
