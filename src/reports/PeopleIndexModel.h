#pragma once

#include <QHash>
#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class FTMoc;
class FTPerson;

// The list behind the people index of one database: every person, narrowed by the index's filter fields, sorted
// by name on request, reduced to likely duplicates on request, and the relationship of a person to the focal
// person. The window only shows shown() and forwards what the user types.
//
//   PeopleIndexModel index(moc);
//   index.refresh();                          // everybody, filters emptied (the spouse name excepted)
//   index.filters.familyName = "Root & Lane";
//   index.changeFilter();                     // shown(): the Roots with a Lane for a spouse
//
// Text filters ignore case and diacritics. Each person's folded texts are made once per list and kept until the
// list is refreshed or that person changes (personChanged), so typing into a filter over a large database does
// not fold every name again.
class PeopleIndexModel {
public:
    struct Filters {
        QString id;
        // "X & Y": the person's family (given) name contains X, a spouse's contains Y.
        QString familyName;
        QString givenNames;
        // A year with an optional comparison in front: "=", "<=", "<", ">=", ">". With 0, "=" asks for an
        // event without a year, "<" for no event and "<=" for either. Blanks are removed (written back here).
        QString birthYear;
        QString deathYear;
        QString title;
        // A spouse's full name; kept by refresh().
        QString spousesName;
        // Only people within that many steps of the focal person; 0 is off.
        int kinship = 0;
        bool hasSourceReferences = false;
    };

    explicit PeopleIndexModel(FTMoc* moc);
    ~PeopleIndexModel();

    FTMoc* moc() const { return m_moc; }
    Filters filters;

    // Stores the family name of every person who has none stored yet (derived from the name) and saves when any
    // was set.
    void populateFamilyNames();
    // Everybody again, in the database's order; every filter emptied but the spouse name, which stays without
    // filtering until the next changeFilter().
    void refresh();
    // Applies the filter fields (then the spouse parts of "&" and the spouse name) to everybody. `progress` is
    // told the kinship search's percentage.
    void changeFilter(const std::function<void(int)>& progress = {});

    // The people shown, in the shown order.
    const QList<FTPerson*>& shown() const { return m_shown; }
    // Everybody the list holds.
    const QList<FTPerson*>& everybody() const { return m_people; }

    // A person about to be deleted leaves the list.
    void removePerson(FTPerson* person);
    // A person's name, title or dates changed: their folded texts are made again when next needed.
    void personChanged(const FTPerson* person);

    // Sorts by family name, given names, gender, birth year and number. Above kLargeList people the first sort of
    // the run asks first (the sort for duplicates only says so): continue, names only (no birth year), or not
    // at all. False when the user chose not to sort.
    static constexpr int kLargeList = 4000;
    bool sortByFamilyName(bool forDuplicates = false);
    // Whether the next large sort of this run still warns (tests set it again).
    static bool& largeListWarningPending();

    // Neighbours in name order that look like the same person: same gender letter and name in any case, and
    // the same birth year (NameBirth) and death year (NameBirthDeath) as well; an event's missing year counts as 0.
    enum DuplicateChoice { NameBirthDeath, NameBirth, NameOnly };
    // Asks which comparison to use, then shows only the pairs found, sorted; "NoDuplicates" and the list as it
    // was when there are none. False when cancelled or none were found.
    bool showDuplicates();
    bool showDuplicates(DuplicateChoice choice);

    // What `person` is to the focal person: the blood relationship ("Uncle of ..."), or "No blood relationship to
    // <focal name>"; `commonAncestor` receives their nearest common ancestor. Empty without a focal person.
    QString relationshipToFocalPerson(FTPerson* person, FTPerson** commonAncestor = nullptr) const;

    // The development-mode tidying of a name: "- " and " -" become "-", no trailing "-", no double blanks,
    // "_and " and " and_" become "_and_", "UNKNOWN" in any case becomes "Unknown".
    static QString tidiedName(const QString& name);

    // The blanks taken out of a year filter.
    static QString withoutBlanks(const QString& text);

private:
    struct Keys;
    const Keys& keysOf(const FTPerson* person) const;
    bool matchesFields(const FTPerson* person, const QString& family, const QString& given, const QString& title,
                       const std::optional<int>& id) const;
    void keepPartnersOf(const std::function<bool(const Keys&)>& matches);
    void narrowToSpouses(const QString& familyText, const QString& givenText);
    void refineSearch();

    FTMoc* m_moc;
    QList<FTPerson*> m_people;
    QList<FTPerson*> m_shown;
    mutable QHash<const FTPerson*, std::shared_ptr<Keys>> m_keys;
};
