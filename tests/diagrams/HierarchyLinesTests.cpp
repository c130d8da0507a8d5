// The text of the hierarchy boxes: the tagged lines each box gets, and the styled document made of them.
#include "HierarchyFixture.h"

#include "model/FTModelDefaults.h"
#include "model/FTProjectView.h"

#include <QDate>
#include <QTextBlock>

#include <gmock/gmock.h>

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Not;

namespace {

const QString nb(QChar(0x00A0));

MATCHER_P(HasText, part, "") { return arg.contains(part); }

class HierarchyLines : public HierarchyFixture {
protected:
    void SetUp() override
    {
        HierarchyFixture::SetUp();
        options.nameOnly = false;
    }
    // The paragraphs of a box's document, pictures as U+FFFC.
    QStringList paragraphs(Hierarchy* n, bool pictures = true)
    {
        std::unique_ptr<QTextDocument> doc = layout.getAttributedStringFor(n, pictures);
        QStringList out;
        for (QTextBlock b = doc->begin(); b.isValid(); b = b.next())
            out << b.text();
        return out;
    }
    FTPerson* withLife(FTPerson* p, int born, const QString& bornAt, int died, const QString& diedAt)
    {
        if (born)
            year(p, "birth", born);
        if (!bornAt.isEmpty())
            p->setValueForKeyPath("birth.place", bornAt);
        if (died)
            year(p, "death", died);
        if (!diedAt.isEmpty())
            p->setValueForKeyPath("death.place", diedAt);
        return p;
    }
};

// The root shows its title, birth, spouses and death whatever the options; other boxes follow the options.
TEST_F(HierarchyLines, TheRootAlwaysShowsItsLifeAndTheOthersFollowTheOptions)
{
    options.title = options.birthInfo = options.spouses = options.deathInfo = false;
    options.idNo = true;
    FTPerson* rob = withLife(person("Rob Root", M()), 1900, "Leeds", 1970, "York");
    rob->setTitle("Duke");
    FTPerson* sue = withLife(person("Sue Wed", F()), 1901, "", 0, "");
    year(couple(rob, sue), "marriage", 1925);
    FTPerson* dad = withLife(person("Dan Root", M()), 1870, "Hull", 1940, "");
    dad->setTitle("Earl");
    link(dad, rob);

    build(rob, true);
    EXPECT_THAT(layout.rootHierarchy()->lines(),
        ElementsAre("Name:Rob Root", "Title:Duke", QString("IdNo:Id No. %1").arg(rob->numericId()),
            "Birth:b. 1900 at Leeds", "Spouse:m. 1925 Sue Wed  (1901" + nb + "-" + nb + ")",
            "Death:d. 1970 at York, aged 70"));
    EXPECT_THAT(node(dad)->lines(), ElementsAre("Name:Dan Root", QString("IdNo:Id No. %1").arg(dad->numericId())));

    options.title = options.birthInfo = options.spouses = options.deathInfo = true;
    options.idNo = false;
    build(rob, true);
    EXPECT_THAT(node(dad)->lines(), ElementsAre("Name:Dan Root", "Title:Earl", "Birth:b. 1870 at Hull", "Death:d. 1940, aged 70"));

    options.nameOnly = true;
    build(rob, true);
    EXPECT_THAT(layout.rootHierarchy()->lines(), ElementsAre("Name:Rob Root\n(1900" + nb + "-" + nb + "1970)"));
}

TEST_F(HierarchyLines, NamesAndYearsAsTheOptionsAsk)
{
    FTPerson* ann = withLife(person("Ann Old", F()), 987, "", 1020, "");
    FTPerson* kid = withLife(person("Kit Young", ""), 2000, "Leeds", 0, "");
    year(couple(kid, ann), "marriage", 2020);
    options.birthInfo = false;
    options.fullName = false;
    options.showGender = true;
    options.excludeBirthDatesOfLiving = true;

    build(kid, false);
    // Unknown gender: no sign. Living: the birth date goes, the place stays; the year leaves the name.
    EXPECT_THAT(layout.rootHierarchy()->lines(),
        ElementsAre("Name:Kit Young", "Birth:b.  at Leeds", "Spouse:m. 2020 Ann Old  (987" + nb + "-" + nb + "1020)"));
    EXPECT_EQ(layout.getPersonsNameString(ann), "Ann Old\n(0987" + nb + "-" + nb + "1020)");
    options.horizontal = true;
    build(ann, false);
    EXPECT_EQ(layout.rootHierarchy()->lines().first(), QString::fromUtf8("Name:♀ Ann Old (0987") + nb + "-" + nb + "1020)");
    options.birthInfo = true; // the birth line carries the dates
    build(ann, false);
    EXPECT_EQ(layout.getPersonsNameString(ann), "Ann Old");
}

TEST_F(HierarchyLines, RepeatsFoldsAndLinkTypesMarkTheNameLine)
{
    options.nameOnly = true;
    options.includeAdoptedChildren = options.includeStepChildren = true;
    FTPerson* rob = person("Rob Root", M());
    FTPerson* ada = person("Ada Adopted", F());
    FTPerson* sam = person("Sam Step", M());
    link(rob, ada, FTPcRel::kAdopted);
    link(rob, sam, FTPcRel::kStep);
    link(sam, ada); // Ada again, under Sam
    layout.contractedPeople().insert(sam->objectURI());

    const struct {
        bool horizontal;
        QStringList ada, sam;
    } cases[] = {
        { false, { "Name:Ada Adopted (adopted)" }, { "Name:Sam Step\n(Descendants hidden) (step child)" } },
        { true, { "Name:Ada Adopted (adopted)" }, { "Name:Sam Step\n  ...(Descendants hidden) (step child)" } },
    };
    for (const auto& c : cases) {
        options.horizontal = c.horizontal;
        build(rob, false);
        EXPECT_EQ(node(ada)->lines(), c.ada);
        EXPECT_EQ(node(sam)->lines(), c.sam);
    }
    layout.contractedPeople().clear();
    options.horizontal = false;
    build(rob, false);
    EXPECT_THAT(nodesOf(ada)[1]->lines(), ElementsAre("Name:Ada Adopted", "Refer:(See elsewhere for Descendants)"));
    options.horizontal = true;
    build(rob, false);
    EXPECT_THAT(nodesOf(ada)[1]->lines(), ElementsAre("Name:Ada Adopted (see above)"));
}

TEST_F(HierarchyLines, ConsanguinityWithTheRootOfTheCurrentView)
{
    options.showConsanguinity = true;
    FTPerson* kim = person("Kim Gold", F());
    FTPerson* pat = person("Pat Gold", M());
    link(pat, kim);
    FTPerson* stranger = person("Stu Other", M());
    link(stranger, pat);
    FTProjectView* view = FTProjectView::initInMoc(moc.get());
    view->setRootPersonInAncestralView(kim);
    moc->modelDefaults()->setCurrentView(view);

    build(kim, true);
    ASSERT_TRUE(layout.consanguinitySet());
    EXPECT_TRUE(layout.consanguinitySet()->contains(stranger));
    EXPECT_THAT(layout.rootHierarchy()->lines(), ElementsAre("Name:Kim Gold")) << "the same person: no line";
    EXPECT_THAT(node(pat)->lines(), ElementsAre("Name:Pat Gold", "Consanguinity: Father of Kim Gold"));

    FTPerson* val = person("Val Else", F());
    build(val, false);
    EXPECT_THAT(layout.rootHierarchy()->lines(), ElementsAre("Name:Val Else", "Consanguinity: No blood relationship to Kim Gold"));
    // A living root's birth year stays out of both lines while birth dates of the living are excluded.
    const int born = QDate::currentDate().year() - 30;
    year(kim, "birth", born);
    for (const bool exclude : {false, true}) {
        SCOPED_TRACE(exclude);
        options.excludeBirthDatesOfLiving = exclude;
        const QString years = exclude ? QString() : QString(" (%1-)").arg(born);
        build(val, false);
        EXPECT_EQ(layout.rootHierarchy()->lines().value(1), "Consanguinity: No blood relationship to Kim Gold" + years);
        build(kim, true);
        EXPECT_EQ(node(pat)->lines().value(1), "Consanguinity: Father of Kim Gold" + years);
    }

    options.showConsanguinity = false;
    build(kim, true);
    EXPECT_EQ(layout.consanguinitySet(), nullptr);
    EXPECT_THAT(node(pat)->lines(), ElementsAre("Name:Pat Gold"));
}

TEST_F(HierarchyLines, SiblingListsWithAndWithoutDescendants)
{
    options.includeAllSiblings = true;
    FTPerson* pa = person("Pa Kin", M());
    const QList<FTPerson*> kids = children(pa, { "Al Kin", "Bo Kin", "Cy Kin" });
    year(kids[1], "birth", 1950);
    FTPerson* wife = person("Di Wed", F());
    couple(kids[1], wife);
    children(kids[1], { "Ed Kin" });
    children(kids[2], { "Fi Kin" });

    // In the order of siblings(): undated first, then by birth.
    const QString bo = nb + " Bo Kin (1950) + Di Wed", cy = nb + " Cy Kin";
    const QString ed = nb + "     -Ed Kin", fi = nb + "     -Fi Kin";
    build(kids[0], true);
    EXPECT_THAT(layout.rootHierarchy()->lines(),
        ElementsAre("Name:Al Kin", ":\n", "SiblingsList:\nBrothers and sisters (2):\n" + cy + "\n" + bo));
    EXPECT_THAT(node(pa)->lines(), ElementsAre("Name:Pa Kin")) << "no siblings, no list";

    options.includeAllSiblingsChildren = true;
    build(kids[0], true);
    EXPECT_EQ(layout.rootHierarchy()->lines().last(),
        "SiblingsList:\nBrothers and sisters (2) and their descendants:\n" + cy + "\n" + fi + "\n" + bo + "\n" + ed);
    EXPECT_EQ(layout.numPeopleInDiagram(), 2 + 4);

    // The root's siblings as boxes of their own instead.
    options.rootsSiblings = true;
    build(kids[0], true);
    EXPECT_THAT(layout.rootHierarchy()->lines(),
        ElementsAre("Name:Al Kin", ":\n", "Siblings:Al's Siblings\n", "Name:Cy Kin", ":\n", "Name:Bo Kin",
            "Birth:b. 1950", "Spouse:+. Di Wed "));
}

// Bo's son Cid is also Bo's parent, a loop an import can bring in: nobody is listed below themselves.
TEST_F(HierarchyLines, ALoopOfLinksDoesNotRepeatAListUpToItsDepth)
{
    options.includeAllSiblings = options.includeAllSiblingsChildren = options.includeAllSiblingsGrandchildren = true;
    options.maxSiblingsDescendants = 6;
    FTPerson* pa = person("Pa Kin", M());
    const QList<FTPerson*> kids = children(pa, { "Al Kin", "Bo Kin" });
    FTPerson* cid = children(kids[1], { "Cid Kin" })[0];
    link(cid, kids[1]);
    build(kids[0], true);
    EXPECT_EQ(layout.rootHierarchy()->lines().last(),
        "SiblingsList:\nBrothers and sisters (1) and their descendants:\n" + nb + " Bo Kin\n" + nb + "     -Cid Kin");
}

TEST_F(HierarchyLines, SpousesAncestorsForThreeGenerations)
{
    options.includeSpousesAncestors = true;
    FTPerson* rob = person("Rob Root", M());
    FTPerson* sue = person("Sue Wed", F());
    couple(rob, sue);
    FTPerson* up = sue;
    for (const char* name : { "P1 Wed", "P2 Wed", "P3 Wed", "P4 Wed" }) {
        FTPerson* parent = person(name, M());
        link(parent, up);
        up = parent;
    }
    build(rob, false);
    EXPECT_EQ(layout.rootHierarchy()->lines().last(),
        "SpousesAncestorsList:\nSpouse Sue Wed was a descendant of:\n" + nb + "     -P1 Wed\n" + nb
            + "          -P2 Wed\n" + nb + "               -P3 Wed");
}

TEST_F(HierarchyLines, AParentLineShowsOnlyUnderAParentWithSeveralSpouses)
{
    FTPerson* dad = person("Dad Two", M());
    FTPerson* w1 = person("Wyn One", F());
    FTPerson* w2 = person("Wyn Two", F());
    couple(dad, w1);
    FTPerson* kid = person("Kid Two", M());
    link(dad, kid);
    link(w1, kid);

    build(dad, false);
    EXPECT_THAT(node(kid)->lines(), Contains("Mother:(son of Wyn One)"));
    EXPECT_THAT(paragraphs(node(kid)), Not(Contains("(son of Wyn One)"))) << "one wife: the box above says it";
    couple(dad, w2);
    build(dad, false);
    EXPECT_THAT(paragraphs(node(kid)), Contains("(son of Wyn One)"));
    EXPECT_THAT(paragraphs(node(kid)), Not(Contains("(son of Dad Two)")));
    build(w1, false); // under the mother the father's line would show, but she has one husband
    EXPECT_THAT(paragraphs(node(kid)), Not(Contains("(son of Dad Two)")));
    build(kid, true);
    EXPECT_THAT(layout.rootHierarchy()->lines(), Not(Contains(HasText(QStringLiteral("son of")))));

    // A child of unknown gender is nobody's daughter.
    FTPerson* other = person("Pat Two", "");
    link(dad, other);
    link(w2, other);
    build(dad, false);
    EXPECT_THAT(paragraphs(node(other)), Contains("(child of Wyn Two)"));
}

TEST_F(HierarchyLines, LongNotesAndLinesAreCut)
{
    options.notes = true;
    FTPerson* rob = person("Rob Root", M());
    rob->setNotes(QString(300, 'n') + "\nmore");
    build(rob, false);
    EXPECT_THAT(paragraphs(layout.rootHierarchy()), Contains(QString(256, 'n') + "..."));

    // A cut through a character outside the basic plane takes the whole character out.
    rob->setNotes(QString(255, 'n') + QString::fromUtf8("\U0001F600") + "more");
    build(rob, false);
    EXPECT_THAT(paragraphs(layout.rootHierarchy()), Contains(QString(255, 'n') + "..."));

    rob->setNotes(QString(12000, 'n'));
    options.truncateNotes = false;
    build(rob, false);
    EXPECT_THAT(paragraphs(layout.rootHierarchy()),
        Contains(QString(10000, 'n') + "... (shortened to its first 10,000 characters)"));

    // Truncated lines: a note keeps its first line, every paragraph one line with an ellipsis.
    rob->setNotes("First line of the notes, long enough to be cut at the width of a box\nSecond line");
    options.truncateLines = true;
    build(rob, false);
    const QStringList shown = paragraphs(layout.rootHierarchy());
    EXPECT_THAT(shown, Not(Contains(HasText(QStringLiteral("Second line")))));
    EXPECT_THAT(shown, Contains(HasText(QString(QChar(0x2026)))));
}

TEST_F(HierarchyLines, PicturesOfThePersonAndTheSpousesWithTheirSeparators)
{
    options.pictures = options.spousePictures = true;
    const QString image(QChar::ObjectReplacementCharacter);
    FTPerson* rob = person("Rob Root", M());
    FTPerson* sue = person("Sue One", F());
    FTPerson* una = person("Una Two", F());
    couple(rob, sue);
    couple(rob, una);
    giveThumbnail(sue);
    giveThumbnail(una);

    build(rob, false);
    EXPECT_THAT(layout.rootHierarchy()->lines(),
        ElementsAre("Name:Rob Root", "SpousePicture:" + sue->objectURI(), "SpousePicture:" + una->objectURI(),
            "Spouse:+(1) Sue One ", "Spouse:+(2) Una Two "));
    // No picture of his own: the first spouse's says so; every further one stands after a blank.
    EXPECT_THAT(paragraphs(layout.rootHierarchy()), ElementsAre("Rob Root", "..... +" + image + " " + image, "",
                                                        "+(1) Sue One", "+(2) Una Two", ""));
    EXPECT_THAT(paragraphs(layout.rootHierarchy(), false), ElementsAre("Rob Root", "+(1) Sue One", "+(2) Una Two", ""));

    giveThumbnail(rob);
    build(rob, false);
    EXPECT_EQ(paragraphs(layout.rootHierarchy())[1], image + "+" + image + " " + image);

    // A column of 61 points leaves 49 for a picture: too narrow. 62 leaves 50.
    options.horizontal = options.sizeToWidth = true;
    options.generations = 0; // one column over the whole width
    build(rob, false, 61);
    EXPECT_TRUE(layout.defaultPictureForPerson(rob).isNull());
    EXPECT_THAT(paragraphs(layout.rootHierarchy()), Not(Contains(HasText(image))));
    build(rob, false, 62);
    EXPECT_EQ(layout.defaultPictureForPerson(rob).size(), QSize(50, 63));

    // A map is no portrait.
    const QString map = pathFor("Map_Leeds.png");
    ASSERT_TRUE(QImage(10, 10, QImage::Format_RGB32).save(map));
    FTPicture* mapPicture = FTPicture::initInMoc(moc.get(), map, rob);
    ASSERT_THAT(mapPicture->filename(), HasText(QStringLiteral("/Map_")));
    mapPicture->setThumbnailImage(QImage(80, 100, QImage::Format_RGB32));
    rob->setDefaultPicture(mapPicture);
    build(rob, false, 400);
    EXPECT_TRUE(layout.defaultPictureForPerson(rob).isNull());
    options.excludeMaps = false;
    build(rob, false, 400);
    EXPECT_FALSE(layout.defaultPictureForPerson(rob).isNull());
}

TEST_F(HierarchyLines, StylesFollowTheTags)
{
    options.title = true;
    FTPerson* rob = person("Rob Root", M());
    rob->setTitle("Duke of a place with a long name");
    year(rob, "birth", 1900);
    for (bool horizontal : { false, true }) {
        options.horizontal = horizontal;
        build(rob, false);
        std::unique_ptr<QTextDocument> doc = layout.getAttributedStringFor(layout.rootHierarchy(), true);
        const QTextBlock name = doc->begin();
        const QTextBlock title = name.next();
        const QTextBlock birth = title.next();
        ASSERT_EQ(birth.text(), "b. 1900");
        EXPECT_EQ(name.begin().fragment().charFormat().fontWeight(), QFont::Bold);
        EXPECT_EQ(name.begin().fragment().charFormat().foreground().color(), options.nameColour);
        EXPECT_EQ(birth.begin().fragment().charFormat().foreground().color(), options.birthColour);
        EXPECT_EQ(name.blockFormat().alignment() & Qt::AlignHorizontal_Mask, horizontal ? Qt::AlignLeft : Qt::AlignHCenter);
        EXPECT_EQ(birth.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
        // Horizontal: continuation lines indented, but not a title's.
        EXPECT_EQ(birth.blockFormat().leftMargin(), horizontal ? 11 : 0);
        EXPECT_EQ(birth.blockFormat().textIndent(), horizontal ? -11 : 0);
        EXPECT_EQ(title.blockFormat().leftMargin(), 0);
        EXPECT_EQ(doc->defaultFont().pointSizeF(), 11);
    }

    options.blackAndWhite = true;
    build(rob, false);
    for (HdTags::Tag tag : { HdTags::Name, HdTags::Title, HdTags::Birth, HdTags::SiblingsList, HdTags::Other })
        EXPECT_EQ(layout.fgColour(layout.tags().word(tag)), QColor(Qt::black)) << tag;
    EXPECT_EQ(layout.fgColour(layout.tags().word(HdTags::Notes)), QColor(0x55, 0x55, 0x55));
}

// The tags are words of the strings table: a translation that made two alike, or put a colon in one, would
// mix up or cut the lines.
TEST_F(HierarchyLines, TagWordsAreDistinctAndHoldNoColon)
{
    const HdTags tags;
    QSet<QString> words;
    for (int t = HdTags::Name; t < HdTags::TagCount; ++t) {
        const QString w = tags.word(HdTags::Tag(t));
        EXPECT_FALSE(w.isEmpty()) << t;
        EXPECT_FALSE(w.contains(':')) << w.toStdString();
        EXPECT_FALSE(words.contains(w)) << w.toStdString();
        words.insert(w);
        EXPECT_EQ(tags.tagOf(w), HdTags::Tag(t));
    }
    EXPECT_TRUE(tags.isPictureTag(tags.word(HdTags::SpousePicture)));
    EXPECT_FALSE(tags.isPictureTag(tags.word(HdTags::Spouse)));
}

}
