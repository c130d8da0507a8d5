#include "RelativesTestSupport.h"

#include "model/Relatives.h"

// The grouped, labelled relatives list.

namespace {
QStringList rows(const Relatives& list)
{
    QStringList out;
    for (const Relative& r : list.pArray())
        out << (r.isSeparator() ? QStringLiteral("--") : r.person()->name() + ": " + r.relationship());
    return out;
}
}

TEST_F(PeopleFixture, RelativesListGroupsAndLabelsAFamily)
{
    FTPerson* grandpa = person("Gus Smith", M());
    FTPerson* dad = person("Dan Smith", M());
    FTPerson* mum = person("Meg Smith", F());
    FTPerson* fosterParent = person("Pat Green");
    FTPerson* me = person("Ian Smith", M());
    FTPerson* brother = person("Bob Smith", M());
    FTPerson* wife = person("Wyn Jones", F());
    FTPerson* partner = person("Pam Black", F());
    FTPerson* wifesMother = person("Wendy Jones", F());
    FTPerson* son = person("Sid Smith", M());
    FTPerson* stepDaughter = person("Sal Jones", F());
    FTPerson* sonsWife = person("Sara Smith", F());
    FTPerson* grandson = person("Gil Smith", M());
    FTPerson* greatGrandchild = person("Kit Smith");
    FTPerson* uncle = person("Hal Smith", M());
    FTPerson* cousin = person("Carl Smith", M());
    FTPerson* nephew = person("Ned Smith", M());
    link(grandpa, dad);
    link(grandpa, uncle);
    link(uncle, cousin);
    for (FTPerson* child : { me, brother }) {
        link(dad, child);
        link(mum, child);
    }
    link(fosterParent, me, FTPcRel::kFoster);
    date(couple(me, wife), "marriage", 1, 1, 1950);
    couple(me, partner);
    link(wifesMother, wife);
    link(me, son);
    link(me, stepDaughter, FTPcRel::kStep);
    couple(son, sonsWife);
    link(son, grandson);
    link(grandson, greatGrandchild);
    link(brother, nephew);
    year(son, "birth", 1951);
    year(stepDaughter, "birth", 1952);

    Relatives list;
    list.createRelsArray(me);
    // The partner without a marriage comes before the wife: couples are ordered by their marriage date.
    EXPECT_EQ(rows(list),
        (QStringList {
            "Gus Smith: Grandfather", "--", //
            "Wendy Jones: Mother in Law", "--", //
            "Dan Smith: Father", "Meg Smith: Mother", "Pat Green: Foster Parent", "--", //
            "Ian Smith: Self", "--", //
            "Pam Black: Spouse/Partner", "Wyn Jones: Wife", "--", //
            "Sid Smith: Son", "Sal Jones: Step Daughter", "--", //
            "Bob Smith: Brother", "--", //
            "Sara Smith: Daughter in Law", "--", //
            "Gil Smith: Grandson", "--", //
            "Hal Smith: Uncle", "--", //
            "Carl Smith: Cousin", "--", //
            "Ned Smith: Nephew", "--", //
        }));
    EXPECT_EQ(list.relativesCount(), 16);

    // The person editor's choices: great-grandchildren in, cousins out.
    Relatives::Options options;
    options.groups = Relatives::Options::GreatGrandChildren;
    list.createRelsArray(me, options);
    EXPECT_EQ(rows(list),
        (QStringList { "Dan Smith: Father", "Meg Smith: Mother", "Pat Green: Foster Parent", "--", "Ian Smith: Self",
            "--", "Pam Black: Spouse/Partner", "Wyn Jones: Wife", "--", "Kit Smith: Great Grandchild", "--" }));

    // Rebuilding for nobody leaves an empty list.
    list.createRelsArray(nullptr);
    EXPECT_TRUE(list.pArray().isEmpty());
}

TEST_F(PeopleFixture, RelativesListOfALonePersonIsSelfAndOneSeparator)
{
    FTPerson* me = person("Ian Smith", M());
    Relatives list;
    list.createRelsArray(me);
    EXPECT_EQ(rows(list), (QStringList { "Ian Smith: Self", "--" }));
    EXPECT_EQ(list.relativesCount(), 1);
}

// Siblings are labelled by the parents the two share: two natural parents make a brother, one a half brother,
// two adoptive ones a brother by adoption, anything else a step brother.
TEST_F(PeopleFixture, SiblingLabelsCountSharedNaturalAndAdoptiveParents)
{
    const int N = FTPcRel::kNatural;
    const int A = FTPcRel::kAdopted;
    const int S = FTPcRel::kStep;
    const struct {
        int mineToFather, mineToMother, theirsToFather, theirsToMother;
        const char* label; // the list's own rule
        const char* editorLabel; // adoptive with natural counts as adoptive
    } cases[] = {
        { N, N, N, N, "Brother", "Brother" },
        { N, A, N, N, "Half Brother", "Half Brother" }, // one natural pair wins over an adoptive one
        { N, 0, N, 0, "Half Brother", "Half Brother" },
        { A, A, A, A, "Brother by Adoption", "Brother by Adoption" },
        { A, A, N, N, "Step Brother", "Brother by Adoption" },
        { S, S, N, N, "Step Brother", "Step Brother" },
        { A, S, A, N, "Step Brother", "Step Brother" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.label) + " / " + c.editorLabel);
        FTPerson* father = person("Dan Smith", M());
        FTPerson* mother = person("Meg Smith", F());
        FTPerson* me = person("Ian Smith", M());
        FTPerson* him = person("Bob Smith", M());
        link(father, me, c.mineToFather);
        link(father, him, c.theirsToFather);
        if (c.mineToMother)
            link(mother, me, c.mineToMother);
        if (c.theirsToMother)
            link(mother, him, c.theirsToMother);
        EXPECT_EQ(Relatives::siblingLabel(me, him, false), c.label);
        EXPECT_EQ(Relatives::siblingLabel(me, him, true), c.editorLabel);
    }
    FTPerson* father = person("Dan Smith", M());
    FTPerson* me = person("Ian Smith", M());
    FTPerson* sibling = person("Lee Smith");
    link(father, me);
    link(father, sibling);
    EXPECT_EQ(Relatives::siblingLabel(me, sibling, false), "Half Sibling");
}

TEST_F(PeopleFixture, SpouseAndParentLabelsOfUnknownGender)
{
    FTPerson* me = person("Ian Smith", M());
    FTPerson* married = person("Lee Jones");
    FTPerson* parent = person("Pat Smith");
    date(couple(me, married), "marriage", 1, 1, 1950);
    link(parent, me);
    Relatives list;
    list.createRelsArray(me);
    // A married partner of unknown gender is not called a wife.
    EXPECT_EQ(rows(list),
        (QStringList { "Pat Smith: Parent", "--", "Ian Smith: Self", "--", "Lee Jones: Spouse/Partner", "--" }));
}

TEST_F(PeopleFixture, ThePersonEditorsGroupsComeFromTheUserDefaults)
{
    for (const char* key : { "includeGrandParents", "includeInLaws", "includeChildren", "includeSiblings",
             "includeGrandChildren", "includeGreatGrandChildren", "includeAuntsAndUncles", "includeNephewsAndNieces" })
        defaults().setBool(key, false);
    defaults().setBool("includeCousins", true);
    const Relatives::Options options = Relatives::Options::fromUserDefaults();
    EXPECT_EQ(options.groups, unsigned(Relatives::Options::Cousins));
    EXPECT_TRUE(options.adoptedWithNaturalCountsAsAdoptive);
}
