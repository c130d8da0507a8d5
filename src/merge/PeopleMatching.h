#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class FTPerson;
class ModelProgress;

// Finding a person of the other database among the open database's people: the order of both lists, the search
// that narrows them, the match of one person, and the pass that leaves only the other database's people that
// have no identical counterpart.
//
// The match mode (user default "matchMode") is 0 to match by name, and by birth date and id among people of the
// same name; 1 to match by id.
//
//   PeopleMatching::sortPeople(people, mode);
//   const QList<int> rows = PeopleMatching::findMatchForPerson(theirs, ourPeopleAsShown, mode);
class PeopleMatching {
public:
    static int matchMode();
    static void setMatchMode(int mode);

    // Mode 0: by name ignoring letter case, then birth year, then id; mode 1: by id, then name, then birth year.
    static void sortPeople(QList<FTPerson*>& people, int matchMode);

    // The fields a search looks in, in the order of the search menu.
    enum class SearchField { Name, Title, BirthPlace, BirthYear, DeathPlace, DeathYear, Id };
    static QStringList searchMenuTitles();
    using Filter = std::function<bool(const FTPerson*)>;
    // Who a search text finds. The text is split at blanks; in a text field each word must begin the field or one
    // of its words (after a blank, a no-break space or an underscore), ignoring case and accents; a year or id
    // search takes the number the first word begins with (0 when none). Null when the text has no words: the
    // lists are not filtered then.
    static Filter searchFilter(SearchField field, const QString& text);

    // The rows of `arranged` (the open database's list as shown) that match `person`: mode 1 the first of the
    // same id; mode 0 every one of the same name, unless one of them also has the person's birth date: then that
    // one (the last such one) and the same-named ones after it, or the first that also has the person's id alone.
    static QList<int> findMatchForPerson(const FTPerson* person, const QList<FTPerson*>& arranged, int matchMode);

    // The same answers for many people at once: the rows of each name and id are looked up, not searched for.
    class MatchIndex {
    public:
        MatchIndex(const QList<FTPerson*>& arranged, int matchMode);
        QList<int> findMatchForPerson(const FTPerson* person) const;

    private:
        const QList<FTPerson*>& m_arranged;
        int m_mode;
        QHash<QString, QList<int>> m_rowsByName;
        QHash<int, int> m_firstRowById;
    };

    // The people of `source` (the other database's list) that no matched person of `target` equals in every
    // compared respect, in the order of `source`. Progress: "<i> of <count>" every tenth person, the share done.
    static QList<FTPerson*> removeMatchedRecords(
        const QList<FTPerson*>& source, const QList<FTPerson*>& target, int matchMode, ModelProgress* progress);
    // "<i> of <count>", the progress text of the passes over the other database.
    static QString countText(qsizetype i, qsizetype count);
};
