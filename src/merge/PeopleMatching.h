#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <climits>
#include <memory>

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

// Who a search text finds. The text is split at blanks. In a text field (name, title, birth or death place) each
// word must begin the field or one of its words (after a blank, a no-break space or an underscore), ignoring case
// and accents: "an" finds Anne Smith and Mary Ann, not Joanna. A year or id search takes the number the first word
// begins with (0 when none): "1850 Smith" is the year 1850. A text without words finds everyone.
class PeopleSearch {
public:
    using Field = PeopleMatching::SearchField;

    PeopleSearch() = default;
    PeopleSearch(Field field, const QString& text);

    bool isEmpty() const { return !m_words && !m_number; }
    Field field() const { return m_field; }
    bool isTextSearch() const { return bool(m_words); }

    bool matches(const FTPerson* person) const;
    // For a text search: whether the field's text, folded (fold()), is found.
    bool matchesFolded(const QString& folded) const;
    // For a year or id search: whether the field's number (fieldNumber()) is the one searched.
    bool matchesNumber(int value) const { return m_number && value == *m_number; }
    // The text of a text field of a person, and the number of a year or id field (kNoNumber without a birth or
    // death event: a search for the year 0 finds the events without a year, not the people without an event).
    static QString fieldText(Field field, const FTPerson* person);
    static constexpr int kNoNumber = INT_MIN;
    static int fieldNumber(Field field, const FTPerson* person);
    // TextMatch::fold(), character by character with each letter's folding remembered: the same result, several
    // times faster over the names of a whole database.
    static QString fold(const QString& text);

private:
    Field m_field = Field::Name;
    std::shared_ptr<const QStringList> m_words; // folded
    std::shared_ptr<const int> m_number;
};
