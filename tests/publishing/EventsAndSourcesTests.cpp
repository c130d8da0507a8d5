// The events table with its notes, the near-relatives table and the source references of a person page.

#include "PublishFixture.h"

namespace {
using EventsAndSources = PublishFixture;

TEST_F(EventsAndSources, LongNotesMoveBelowTheTableNumberedFromOne)
{
    FTPerson* p = born("Ida Lane", F(), 1800, 1870);
    struct Case {
        QString notes;
        QString cell;
    };
    const Case cases[] = {
        {QString(30, 'a'), QString(30, 'a')},
        {QString(31, 'b'), "<a href='#Note1'>Note 1</a>"},
        {"two\nlines", "<a href='#Note1'>Note 1</a>"},
        {"  <b>short</b>  ", "&lt;b&gt;short&lt;/b&gt;"},
        {"", ""},
    };
    for (const Case& c : cases) {
        p->birth()->setNotes(c.notes);
        ASSERT_TRUE(publish(0));
        QString out;
        generator->writeEventsFor(p, out);
        EXPECT_TRUE(out.contains("<td class='notes'>" + c.cell + "</td>\n")) << qPrintable(c.notes);
        const bool below = c.cell.startsWith("<a ");
        EXPECT_EQ(out.contains("<tr><td><a name='Note1'><b>Note 1:</b> "), below) << qPrintable(c.notes);
        // The notes table follows the events table even when it holds nothing.
        EXPECT_TRUE(out.endsWith(below ? "</a></td></tr>\n</table>\n" : "<table class='notesTable'>\n</table>\n"));
    }
}

TEST_F(EventsAndSources, APersonWithoutEventsHasNeitherTable)
{
    FTPerson* p = person("Nobody Known", M());
    ASSERT_TRUE(publish(0));
    QString out;
    generator->writeEventsFor(p, out);
    EXPECT_EQ(out, "");
}

TEST_F(EventsAndSources, SourceNumbersAreSortedAndLinkToTheSourcesOfThePage)
{
    const Family f = makeFamily();
    ASSERT_TRUE(publish(0));
    EXPECT_EQ(generator->referencesToEventSources(f.john->birth()), "<a href='#Source3'>3</a>, <a href='#Source12'>12</a>");
    QString sources;
    generator->writeSourcesFor(f.john, sources);
    // Both links lead to their source; the parish register is cited twice (by the birth and by John).
    EXPECT_EQ(sources, "<table class='notesTable'>\n<tr><td><b>Source References:</b></td></tr>\n"
                       "<tr><td>\n<a name='Source3'></a><b>3.</b> Title: Census 1881</td></tr>\n"
                       "<tr></tr>\n"
                       "<tr><td>\n<a name='Source12'></a><b>12.</b> Title: Parish register</td></tr>\n"
                       "<tr><td>\n    -    Reference = folio 7</td></tr>\n"
                       "<tr><td>\n    -    Reference = p. 4</td></tr>\n</table>\n");

    // Without the sources section the numbers stay, unlinked.
    options.includeSources = false;
    ASSERT_TRUE(publish(0));
    EXPECT_EQ(generator->referencesToEventSources(f.john->birth()), "3, 12");
}

TEST_F(EventsAndSources, NearRelativesRowsKeepSevenCellsAndNeverNameAHiddenRelative)
{
    const Family f = makeFamily();
    options.includeNearRelatives = true;
    ASSERT_TRUE(publish(0));
    QString out;
    generator->writeRelativesOf(f.sean, out);
    EXPECT_FALSE(out.contains("Lorna"));
    EXPECT_FALSE(out.contains("Rory"));
    // Sean himself: bold, not linked.
    EXPECT_TRUE(out.contains("<tr>\n<td><b>Self</b></td>\n<td><b>Sean O'Brien</b></td>\n<td><b>1876</b></td>\n"));
    const QStringList rows = out.split("<tr>\n");
    int hidden = 0;
    for (QString row : rows.mid(2)) {
        row.remove("</table>\n");
        if (row.contains("colspan='7'"))
            continue;
        EXPECT_EQ(row.count("<td"), 7) << qPrintable(row);
        if (row.contains("Living or recently deceased")) {
            ++hidden;
            EXPECT_TRUE(row.endsWith("<td>Living or recently deceased</td>\n<td></td>\n<td></td>\n<td></td>\n"
                                     "<td></td>\n<td></td>\n</tr>\n"));
        }
    }
    EXPECT_EQ(hidden, 2);
    EXPECT_TRUE(out.contains("<td><a href='" + generator->pageLinkTo(f.john) + "'>John O'Brien</a></td>\n"));
}

TEST_F(EventsAndSources, OthersEventsNameTheirOwnerByALinkOnlyWhenTheyHaveAPage)
{
    const Family f = makeFamily();
    ASSERT_TRUE(publish(1));
    QString out;
    generator->writeEventsFor(f.sean, out);
    // John has a page in a run of one level around him; Sean's son Rory is hidden, his daughter Lorna too.
    EXPECT_TRUE(out.contains("Death of father <a href='" + generator->pageLinkTo(f.john) + "'>John O'Brien</a>"));
    EXPECT_FALSE(out.contains("Rory"));
    EXPECT_FALSE(out.contains("Lorna"));

    options.includeOthersEvents = false;
    ASSERT_TRUE(publish(1));
    out.clear();
    generator->writeEventsFor(f.sean, out);
    EXPECT_FALSE(out.contains("John O'Brien"));
}
} // namespace
