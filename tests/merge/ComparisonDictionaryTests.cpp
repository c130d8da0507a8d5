// Two people side by side: the texts of each kind of data, the highlighted part of the other database's side and
// the count of the kinds that differ.

#include "MergeFixture.h"

#include "merge/ComparisonDictionary.h"

#include <QTextCursor>
#include <QTextDocument>

using Range = ComparisonDictionary::Range;

namespace {
// The highlighted text of side 1 for a single kind of data holding `a` against `b`.
struct Highlight {
    QString text;
    QString highlighted;
    int differences;
};
Highlight highlightOf(const QString& a, const QString& b)
{
    const QString label = L("CompareDictTitlOccu");
    ComparisonDictionary::Dictionary d1, d2;
    if (!a.isNull())
        d1.insert(label, a);
    if (!b.isNull())
        d2.insert(label, b);
    ComparisonDictionary::Options options;
    options.doubleSpaced = false;
    int differences = -1;
    const ComparisonDictionary::SideText side = ComparisonDictionary::makeSideText(1, d1, d2, options, &differences);
    QString highlighted;
    for (const Range& r : side.highlight)
        highlighted += '[' + side.text.mid(r.start, r.length) + ']';
    return { side.text, highlighted, differences };
}
}

using ComparisonDictionaryTest = MergeFixture;

TEST_F(ComparisonDictionaryTest, TheOtherSideIsHighlightedFromWhereItDiffers)
{
    const QString title = L("CompareDictTitlOccu") + ": ";
    struct Case {
        QString a, b, text, highlighted;
        int differences;
    };
    const Case cases[] = {
        { "Smith", "Smyth", title + "Smith", "[ith]", 1 },
        // Equal over the shorter length: the whole longer text is marked.
        { "1850 London", "1850", title + "1850 London", "[1850 London]", 1 },
        // Nothing on this side: a band of seven blanks where the other has text.
        { QString(), "1850", title + "       ", "[       ]", 1 },
        { "1850", "1850", QString(), QString(), 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.a.toStdString() + " / " + c.b.toStdString());
        const Highlight h = highlightOf(c.a, c.b);
        EXPECT_EQ(h.text, c.text);
        EXPECT_EQ(h.highlighted, c.highlighted);
        EXPECT_EQ(h.differences, c.differences);
    }
}

TEST_F(ComparisonDictionaryTest, EachKindOfDataIsWrittenAsThePersonHoldsIt)
{
    FTPerson* p = person(other.get(), "John Smith", "M", "1 Jan 1850");
    FTEvent* undated = event(p, "RESI", {}, {});
    undated->setNotes("With his uncle");
    event(p, "OCCU", "1880", "Leeds")->setName("Farmer");
    FTPerson* mary = person(other.get(), "Mary Brown", "F", "1852");
    FTPerson* ann = person(other.get(), "Ann Grey", "F");
    marry(p, mary, "5 May 1875", "York");
    marry(p, ann);
    parentOf(p, person(other.get(), "Tom Smith", "M", "1876"));
    FTPerson* joe = person(other.get(), "Joe Smith");
    joe->setValueForKeyPath("death.place", "Hull");

    const ComparisonDictionary::Dictionary d = ComparisonDictionary::loadDictionaryFor(p);
    EXPECT_EQ(d.value(L("CompareDictBorn")), "01 Jan 1850");
    EXPECT_EQ(d.value(L("CompareDictDied")), "");
    EXPECT_FALSE(d.contains(L("CompareDictTitlOccu")));
    EXPECT_EQ(d.value(L("Children")), "Tom Smith (1876)");
    // Two marriages: each on its own line with its number, the undated one first; a couple without a marriage
    // event is "+".
    EXPECT_EQ(d.value(L("Spouses")), "\n +.(1) Ann Grey \n m.(2) 05 May 1875 Mary Brown  at York");
    // An event without a date or place shows "??" there.
    EXPECT_EQ(d.value(L("CompareDictPerEvents")),
        "\nOCCU, Farmer on 1880 at Leeds. Notes = (null)\n\nRESI, " + undated->name() + " on ?? at ??. Notes = With his uncle");

    EXPECT_EQ(ComparisonDictionary::loadDictionaryFor(joe).value(L("CompareDictDied")), "Hull");
    marry(joe, person(other.get(), "Kate Wood", "F"), "1900");
    EXPECT_EQ(ComparisonDictionary::loadDictionaryFor(joe).value(L("Spouses")), " m. 1900 Kate Wood ");
}

TEST_F(ComparisonDictionaryTest, APairIsShownWithItsDifferencesOnlyAndAMissingMatchIsNamed)
{
    FTPerson* s = person(other.get(), "John Smith", "M", "1 Jan 1850", "Leeds");
    FTPerson* t = person(open.get(), "John Smith", "M", "1 Jan 1850", "Leeds");
    s->setNumericId(t->numericId());
    ComparisonDictionary::Options options;
    ComparisonDictionary::Details d = ComparisonDictionary::setPersonDetailsFor(s, t, options);
    EXPECT_EQ(d.person1Details.text, "\n");
    EXPECT_EQ(d.person2Details.text, "\n");
    EXPECT_EQ(d.numDifferences, 0);

    t->setValueForKeyPath("birth.place", "York");
    d = ComparisonDictionary::setPersonDetailsFor(s, t, options);
    EXPECT_EQ(d.person1Details.text, "\n" + L("CompareDictBorn") + ": 01 Jan 1850 at Leeds");
    EXPECT_EQ(d.person2Details.text, "\n" + L("CompareDictBorn") + ": 01 Jan 1850 at York");
    EXPECT_EQ(d.numDifferences, 1);
    options.showDifferencesOnly = false;
    options.doubleSpaced = false;
    d = ComparisonDictionary::setPersonDetailsFor(s, t, options);
    EXPECT_TRUE(d.person1Details.text.startsWith(L("CompareDictId") + ": " + QString::number(s->numericId()) + "\n"
        + L("CompareDictName") + ": John Smith\n"));

    // No match on the right: the heading names the missing person by the match mode.
    for (int mode : { 0, 1 }) {
        options.matchMode = mode;
        d = ComparisonDictionary::setPersonDetailsFor(s, nullptr, options);
        EXPECT_EQ(d.person2Details.text, "\n\n" + L(mode == 0 ? "NoMatchingName" : "NoMatchingID") + ": John Smith");
        EXPECT_EQ(d.person2Details.bold, QList<Range>({ { 0, int(L(mode == 0 ? "NoMatchingName" : "NoMatchingID").size()) + 4 } }));
    }

    // Shown in a document: bold labels, the highlight laid over the differing part only.
    options = {};
    d = ComparisonDictionary::setPersonDetailsFor(s, t, options);
    QTextDocument shown;
    QTextCursor cursor(&shown);
    ComparisonDictionary::append(cursor, d.person1Details);
    EXPECT_EQ(shown.toPlainText(), d.person1Details.text);
    auto formatAt = [&](int position) {
        QTextCursor c(&shown);
        c.setPosition(position + 1);
        return c.charFormat();
    };
    const int leeds = int(d.person1Details.text.indexOf("Leeds"));
    EXPECT_TRUE(formatAt(1).fontWeight() == QFont::Bold);
    EXPECT_EQ(formatAt(leeds).background().color(), QColor(200, 255, 255));
    EXPECT_EQ(formatAt(leeds - 2).background().style(), Qt::NoBrush);
}
