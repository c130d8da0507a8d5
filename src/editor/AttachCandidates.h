#pragma once

#include <QList>
#include <QSet>
#include <QString>

#include <vector>

class FTMoc;
class FTPerson;

// The people the attach dialogs offer: as a child of a parent, a parent of a child, or a spouse of the focal
// person. Each list holds the people of the database of one gender born within a span of years around the given
// person's birth year (0 when it has none), less those already linked, sorted by name without regard to case.
// Birth years are read as the birth event's year (0 without one).
//
// An object reads the database's people once, by birth year, so that a dialog's list follows each change of an
// age at once however large the database; it is meant for the life of one modal dialog, while the people stay
// as they are.
//
//   AttachCandidates people(moc);
//   const AttachCandidates::Years years = AttachCandidates::childYears(mother, 18, 45);
//   QList<FTPerson*> sons = people.childCandidates(mother, 18, 45, true);
//   QString text = AttachCandidates::childDetails(mother, sons.value(0));
class AttachCandidates {
public:
    explicit AttachCandidates(const FTMoc* moc);

    // The ages of the child and parent dialogs: a minimum below 10 is taken as 10, a maximum above 80 as 80.
    static constexpr int kLowestAge = 10;
    static constexpr int kHighestAge = 80;
    static constexpr int kDefaultMinimumAge = 18;
    static constexpr int kDefaultMaximumAge = 45;
    static constexpr int kDefaultAgeRange = 5;

    enum class AgeField { Minimum, Maximum, Range };
    // The value a typed age field stands for: the minimum at least 10, the maximum at most 80, the spouse's
    // range as typed; an emptied field (or one without a number) 10, 80 or 0.
    static int ageForText(AgeField field, const QString& typed);
    static int clampedMinimum(int age) { return age < kLowestAge ? kLowestAge : age; }
    static int clampedMaximum(int age) { return age > kHighestAge ? kHighestAge : age; }

    struct Years {
        int earliest = 0;
        int latest = 0;
        bool operator==(const Years&) const = default;
    };
    // Children born when the parent was `minimumAge` to `maximumAge` years old.
    static Years childYears(const FTPerson* parent, int minimumAge, int maximumAge);
    // Parents who were `minimumAge` to `maximumAge` years old at the child's birth.
    static Years parentYears(const FTPerson* child, int minimumAge, int maximumAge);
    // Spouses born up to `ageRange` years before or after the person.
    static Years spouseYears(const FTPerson* person, int ageRange);

    // Sons (or daughters) of a plausible age who are not the parent's children yet.
    QList<FTPerson*> childCandidates(const FTPerson* parent, int minimumAge, int maximumAge, bool sons) const;
    // Fathers (or mothers) of a plausible age who are not the child's parents yet.
    QList<FTPerson*> parentCandidates(const FTPerson* child, int minimumAge, int maximumAge, bool fathers) const;
    // People of the other gender (or, for a same-sex couple, of the person's own), neither the person nor one of
    // the person's spouses.
    QList<FTPerson*> spouseCandidates(const FTPerson* person, int ageRange, bool sameSex) const;

    // The candidate's name, birth, death and natural parents, one per paragraph.
    static QString details(const FTPerson* candidate);
    // The details with the warning of each dialog: the candidate already has a natural parent of the parent's
    // gender; the child already has a natural parent of the candidate's gender; the candidate already has spouses.
    static QString childDetails(const FTPerson* parent, const FTPerson* candidate);
    static QString parentDetails(const FTPerson* child, const FTPerson* candidate);
    static QString spouseDetails(const FTPerson* candidate);

    // The message of an empty list of parents: a title with the years searched, and the ages.
    static QString noParentsTitle(bool fathers, const Years& years);
    static QString noParentsInfo(int minimumAge, int maximumAge);

private:
    QList<FTPerson*> candidates(const QString& gender, const Years& years, const QSet<const FTPerson*>& excluded) const;

    struct Entry {
        int year;
        QString gender;
        FTPerson* person;
    };
    // By birth year.
    std::vector<Entry> m_people;
};
