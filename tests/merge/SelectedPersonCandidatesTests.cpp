// The people of another database offered for the selected person: name alike ignoring case and accents, the
// same gender, and the one to choose first only when a single one has the same name and life years.

#include "MergeFixture.h"

#include "merge/SelectedPersonCandidates.h"

namespace {
QStringList names(const QList<FTPerson*>& people)
{
    QStringList out;
    for (const FTPerson* p : people)
        out << p->nameWithBirthAndDeathYears() + " " + p->gender();
    return out;
}
}

using SelectedPersonCandidatesTest = MergeFixture;

TEST_F(SelectedPersonCandidatesTest, SameNameAndGenderOnlyTheExactOnePreselected)
{
    FTPerson* selected = person(open.get(), "Zoe Smith", "F", "1900");
    person(other.get(), "zoë SMITH", "F", "1901");
    person(other.get(), "Zoe Smith", "F", "1900");
    person(other.get(), "Zoe Smith", "M", "1900"); // another gender: never offered
    person(other.get(), "Zoe Smithson", "F", "1900");
    person(other.get(), "Zoe Smith", "", "1900");

    QList<FTPerson*> found = SelectedPersonCandidates::search(other.get(), selected);
    EXPECT_EQ(names(found), QStringList({ "Zoe Smith (1900 - ) F", "zoë SMITH (1901 - ) F" }));
    EXPECT_EQ(SelectedPersonCandidates::preselected(found, selected), 0);

    // A second exact one: neither is chosen.
    person(other.get(), "Zoe Smith", "F", "1900");
    found = SelectedPersonCandidates::search(other.get(), selected);
    EXPECT_EQ(found.size(), 3);
    EXPECT_EQ(SelectedPersonCandidates::preselected(found, selected), -1);

    // Only the years differ: offered, not chosen.
    FTPerson* later = person(open.get(), "Zoe Smith", "F", "1950");
    EXPECT_EQ(SelectedPersonCandidates::preselected(SelectedPersonCandidates::search(other.get(), later), later), -1);
    EXPECT_TRUE(SelectedPersonCandidates::search(nullptr, later).isEmpty());
}
