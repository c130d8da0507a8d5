// What the File menu exports of the diagram's people, and the file names the diagram is saved under.
#include "DiagramFixture.h"

#include "diagrams/DiagramFileName.h"
#include "diagrams/DiagramPeople.h"

namespace {

class DiagramPeopleTest : public DiagramFixture {
protected:
    QStringList names(const QSet<FTPerson*>& people) const
    {
        QStringList out;
        for (const FTPerson* p : people)
            out << p->name();
        out.sort();
        return out;
    }
};

TEST_F(DiagramPeopleTest, TheBoxesUpToTheGenerationsShownAndOnRequestEverySpouse)
{
    makeFamily();
    FTPerson* greatGrandad = person("Greatgrandad", M(), 1840);
    link(greatGrandad, grandad);
    // Dad's second wife is not in the diagram, nor is Son's wife.
    FTPerson* stepmum = person("Stepmum", F(), 1910);
    dad->addSpouseRel(stepmum);
    FTPerson* daughterInLaw = person("Daughter-in-law", F(), 1956);
    son->addSpouseRel(daughterInLaw);
    options.maxAncLevel = 3;
    options.showGhostOutlines = true;
    build();
    ASSERT_TRUE(layout.findPerson(greatGrandad));
    bool ghosts = false;
    for (const auto& box : layout.cdPersonsArray())
        ghosts |= box->isGhost();
    ASSERT_TRUE(ghosts); // Me's mother's slot, at least

    // The generations stepper lowered since the boxes were made.
    options.maxAncLevel = 2;
    layout.setOptions(options);
    EXPECT_EQ(names(DiagramPeople::peopleToExport(layout, false)),
              (QStringList {"Dad", "Daughter", "Grandad", "Me", "Son", "Wife"}));
    EXPECT_EQ(names(DiagramPeople::peopleToExport(layout, true)),
              (QStringList {"Dad", "Daughter", "Daughter-in-law", "Grandad", "Me", "Son", "Stepmum", "Wife"}));
}

TEST_F(DiagramPeopleTest, TheFileNameIsOneNameInsideTheFolder)
{
    // Names as an import may leave them: written as they came, without the cleaning that typing gets.
    const struct {
        QString name;
        QString expected;
    } cases[] = {
        {"Mary Brown", "Mary Brown (1862 - )"},
        {"AC/DC", "AC|DC (1862 - )"},
        {"../../etc/passwd", "|..|etc|passwd (1862 - )"},
        {"Line\nbreak\ttab", "Linebreaktab (1862 - )"},
        {QString(300, QChar(0x4E2D)), QString(66, QChar(0x4E2D))},
    };
    for (const auto& c : cases) {
        FTPerson* p = person("Someone", F(), 1862);
        p->setPrimitiveValue(Key("name"), c.name);
        const QString base = DiagramFileName::baseName(p);
        EXPECT_EQ(base, c.expected) << c.name.toStdString();
        EXPECT_LE(base.toUtf8().size(), 200);
        EXPECT_EQ(DiagramFileName::path("/reports", p, "PDF"), "/reports/" + base + ".PDF");
    }
    EXPECT_EQ(DiagramFileName::baseName(nullptr), "Family Diagram");
}

} // namespace
