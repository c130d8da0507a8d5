// The context diagram as a table: its header, its grid of 2^N rows and who it lists.

#include "PublishFixture.h"

namespace {
using TabularDiagram = PublishFixture;

int count(const QString& text, const QString& what)
{
    return int(text.count(what));
}

TEST_F(TabularDiagram, OneGenerationShowsChildrenSelfAndBothParentsOnTwoRows)
{
    const Family f = makeFamily();
    ASSERT_TRUE(publish(0));
    const QString link = generator->pageLinkTo(f.patrick);
    EXPECT_EQ(generator->createTableFor(f.john, 1),
              "<table class='contextDiagram' cols='3'>\n<tr>\n<td><b>Children</b></td>\n"
              "<td><b>Self + Spouses</b></td>\n<td><b>Parents</b></td>\n</tr>\n"
              "<tr>\n<td  nowrap rowspan='2'>\n" + generator->referenceTo(f.sean) + "<br/>\n</td>\n"
              "<td align='center' rowspan='2'>John O'Brien (1850 - 1920)<br/><br/>+<br/><br/>" +
                  generator->referenceTo(f.ann) + "<br/><br/>" + generator->referenceTo(f.mary) + "<br/></td>\n"
              "<td rowspan='1'><a href='" + link + "'>  Patrick O'Brien (1820 - 1880)</a></td>\n</tr>\n"
              "<tr><td rowspan='1'>" + generator->referenceTo(f.bridget) + "</td>\n</tr>\n</table>\n");
}

TEST_F(TabularDiagram, GenerationsSetTheClassColumnsHeaderAndRows)
{
    const Family f = makeFamily();
    ASSERT_TRUE(publish(0));
    struct Case {
        int generations;
        const char* opening;
        QStringList lastHeaders;
        int rows;
    };
    const Case cases[] = {
        {3, "<table class='contextDiagram' cols='5'>", {"Grandparents", "Great Grandparents"}, 8},
        {6, "<table class='ancestorsTable' cols='8'>",
         {"Great Grandparents", "2x Great Grandparents", "3x Great Grandparents", "4x Great Grandparents"}, 64},
    };
    for (const Case& c : cases) {
        const QString table = generator->createTableFor(f.john, c.generations);
        EXPECT_TRUE(table.startsWith(c.opening)) << c.generations;
        QStringList headers;
        QRegularExpressionMatchIterator it = QRegularExpression("<td><b>([^<]*)</b></td>").globalMatch(table);
        while (it.hasNext())
            headers << it.next().captured(1);
        EXPECT_EQ(headers.size(), c.generations + 2);
        EXPECT_EQ(headers.mid(headers.size() - c.lastHeaders.size()), c.lastHeaders);
        // One header row and 2^N body rows; every ancestor cell of a generation spans 2^(N - generation) rows.
        EXPECT_EQ(count(table, "</tr>\n"), c.rows + 1) << c.generations;
        EXPECT_EQ(count(table, "rowspan='1'>"), c.rows) << c.generations;
        EXPECT_EQ(count(table, "rowspan='2'>"), c.rows / 2) << c.generations;
        EXPECT_EQ(count(table, QString("rowspan='%1'").arg(c.rows)), 2) << c.generations;
    }
}

TEST_F(TabularDiagram, APersonWithoutParentsOrSpousesStillGetsTheWholeGridAndOnlyNaturalChildren)
{
    FTPerson* lone = born("Nora Quinn", F(), 1800, 1870);
    FTPerson* natural = born("Ned Quinn", M(), 1825, 1890);
    FTPerson* step = born("Sam Quinn", M(), 1826, 1890);
    FTPerson* adopted = born("Amy Quinn", F(), 1827, 1890);
    FTPerson* foster = born("Fay Quinn", F(), 1828, 1890);
    link(lone, natural);
    link(lone, step, FTPcRel::kStep);
    link(lone, adopted, FTPcRel::kAdopted);
    link(lone, foster, FTPcRel::kFoster);
    ASSERT_TRUE(publish(0));
    const QString table = generator->createTableFor(lone, 3);
    EXPECT_TRUE(table.contains("<td align='center' rowspan='8'>Nora Quinn (1800 - 1870)</td>\n"));
    EXPECT_FALSE(table.contains("+<br/>"));
    EXPECT_TRUE(table.contains("Ned Quinn"));
    for (const char* other : {"Sam Quinn", "Amy Quinn", "Fay Quinn"})
        EXPECT_FALSE(table.contains(other)) << other;
    EXPECT_EQ(count(table, "<br/><br/></td>"), 14);
}
} // namespace
