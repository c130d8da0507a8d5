// What the citation sheets do to the citation the model's citing opened them on: topics per kind, the page
// reference of the previous sheet, another source, deletion.

#include "SourcesFixture.h"

#include "sources/CitationSheetModel.h"

#include "model/FTEvent.h"
#include "model/FTEventType.h"
#include "model/FTPicture.h"
#include "model/FTSpouseRel.h"

#include "platform/Localizer.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;

using Kind = CitationDialogs::Kind;

class CitationSheetModelTest : public SourcesFixture {
protected:
    void SetUp() override
    {
        SourcesFixture::SetUp();
        CitationSheetModel::forgetLastSheets();
        ann = FTPerson::initInMoc(moc.get(), "Ann Smith", "F");
        census = numbered(1, {{"type", "Census"}, {"title", "Kew 1881"}});
    }
    void TearDown() override
    {
        CitationSheetModel::forgetLastSheets();
        SourcesFixture::TearDown();
    }

    // Cites `s` as the owner's own operation does, checking that the sheet of `kind` was asked for.
    FTSourceRel* citeFor(FTManagedObject* owner, FTSource* s, Kind kind)
    {
        FTSourceRel* c = nullptr;
        if (auto* p = dynamic_cast<FTPerson*>(owner))
            c = p->addReferenceToSource(s);
        else if (auto* e = dynamic_cast<FTEvent*>(owner))
            c = e->addReferenceToSource(s);
        else if (auto* pic = dynamic_cast<FTPicture*>(owner))
            c = pic->addReferenceToSource(s);
        EXPECT_FALSE(citationSheets.sheets.isEmpty());
        if (!citationSheets.sheets.isEmpty()) {
            EXPECT_EQ(citationSheets.sheets.last().first, kind);
            EXPECT_EQ(citationSheets.sheets.last().second, c);
        }
        return c;
    }
    FTEvent* birth()
    {
        return FTEvent::initInMoc(moc.get(), FTEvent::BirthEvent, ann, "BIRT");
    }

    FTPerson* ann = nullptr;
    FTSource* census = nullptr;
};

TEST_F(CitationSheetModelTest, TheBoxesRebuildTheTopicOfEachKind)
{
    FTEvent* event = birth();
    ASSERT_NE(event->eventType(), nullptr);
    const QString type = event->eventType()->name();
    FTPicture* picture = FTPicture::initInMoc(moc.get(), "", ann);
    struct Case {
        Kind kind;
        FTManagedObject* owner;
        std::array<bool, 3> flags;
        QString topic;
    };
    const Case cases[] = {
        {Kind::Person, ann, {false, false, false}, ""},
        {Kind::Person, ann, {true, false, true}, "Name, Notes"},
        {Kind::Event, event, {false, false, false}, type},
        {Kind::Event, event, {true, false, true}, type + ", Date, Notes"},
        {Kind::Picture, picture, {true, true, true}, "Image, Date, Notes"},
        {Kind::Picture, picture, {false, true, false}, "Date"},
    };
    for (const Case& c : cases) {
        FTSourceRel* citation = citeFor(c.owner, census, c.kind);
        ASSERT_NE(citation, nullptr);
        CitationSheetModel sheet(c.kind, citation);
        EXPECT_EQ(sheet.owner(), c.owner);
        // The picture's boxes start ticked, as its new citations' topic is all three words.
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(sheet.topicFlag(i), c.kind == Kind::Picture);
        citation->setItemDescribed("typed by hand");
        for (int i = 0; i < 3; ++i)
            sheet.setTopicFlag(i, c.flags[size_t(i)]);
        EXPECT_EQ(citation->itemDescribed(), c.topic) << int(c.kind);
    }
}

TEST_F(CitationSheetModelTest, HeadingsNameTheOwner)
{
    FTEvent* event = birth();
    FTPicture* picture = FTPicture::initInMoc(moc.get(), "", ann);
    picture->setName("Wedding");
    const QString addTo = LocalizedHelpString("AddSourceRefTo");
    EXPECT_EQ(CitationSheetModel(Kind::Person, citeFor(ann, census, Kind::Person)).heading(),
        addTo + " Person\n" + ann->nameWithBirthAndDeathYears());
    EXPECT_EQ(CitationSheetModel(Kind::Event, citeFor(event, census, Kind::Event)).heading(),
        addTo + " " + event->eventType()->name() + " Event\nfor " + event->ownerName());
    EXPECT_EQ(CitationSheetModel(Kind::Picture, citeFor(picture, census, Kind::Picture)).heading(),
        addTo + " Picture \"Wedding\" for " + picture->ownersName());
}

TEST_F(CitationSheetModelTest, TheSamePageReferenceIsThatOfTheLastSheetOfTheKindClosed)
{
    FTPerson* bob = FTPerson::initInMoc(moc.get(), "Bob Smith", "M");
    FTSourceRel* first = citeFor(ann, census, Kind::Person);
    first->setReference("Folio 12");
    CitationSheetModel sheet(Kind::Person, first);
    // Before any sheet of the kind closed there is no previous page reference.
    sheet.useSamePageRefAsPrevious(true);
    EXPECT_TRUE(first->reference().isEmpty());
    // Unticking gives back the citation's own page reference.
    sheet.useSamePageRefAsPrevious(false);
    EXPECT_EQ(first->reference(), "Folio 12");
    sheet.close();
    EXPECT_EQ(CitationSheetModel::lastPageRef(Kind::Person), "Folio 12");
    EXPECT_TRUE(CitationSheetModel::lastPageRef(Kind::Event).isEmpty());

    FTSourceRel* second = citeFor(bob, census, Kind::Person);
    second->setReference("Folio 3");
    CitationSheetModel next(Kind::Person, second);
    next.useSamePageRefAsPrevious(true);
    EXPECT_EQ(second->reference(), "Folio 12");
    next.useSamePageRefAsPrevious(false);
    EXPECT_EQ(second->reference(), "Folio 3");
    // One changed while the box was ticked is not the tick's to take back: unticking clears it, as it always did.
    next.useSamePageRefAsPrevious(true);
    second->setReference("Folio 7");
    next.useSamePageRefAsPrevious(false);
    EXPECT_TRUE(second->reference().isEmpty());

    FTSourceRel* ofEvent = citeFor(birth(), census, Kind::Event);
    CitationSheetModel eventSheet(Kind::Event, ofEvent);
    eventSheet.useSamePageRefAsPrevious(true);
    EXPECT_TRUE(ofEvent->reference().isEmpty()); // the person sheets' page reference is theirs alone
}

TEST_F(CitationSheetModelTest, AnotherSourceIsCitedAndBecomesActiveWithoutAPageReference)
{
    FTSource* will = numbered(2, {{"type", "Will"}, {"title", "Will of Ann"}});
    moc->setActiveSource(census);
    moc->setActiveSourcePageRef("Folio 9");
    FTSourceRel* citation = citeFor(ann, census, Kind::Person);
    EXPECT_EQ(citation->reference(), "Folio 9");
    CitationSheetModel sheet(Kind::Person, citation);
    sheet.addReference(will);
    EXPECT_EQ(citation->source(), will);
    EXPECT_EQ(sheet.source(), will);
    EXPECT_EQ(moc->activeSource(), will);
    EXPECT_TRUE(moc->activeSourcePageRef().isEmpty());
    EXPECT_THAT(buttonRedraws, ElementsAre(moc.get()));
    EXPECT_EQ(moc->recentSources().first(), will);
}

TEST_F(CitationSheetModelTest, DeletingKeepsThePageReferenceReadBeforehand)
{
    QList<const void*> deleted;
    NotificationCenter::defaultCenter().addObserver(
        "SourceRelToBeDeleted", nullptr, [&deleted](const Notification& n) { deleted << n.object; }, this);
    FTSourceRel* citation = citeFor(ann, census, Kind::Person);
    citation->setReference("Folio 3");
    CitationSheetModel sheet(Kind::Person, citation);
    moc->undoManager()->closeOpenGroups();
    sheet.deleteSourceReference();
    moc->undoManager()->closeOpenGroups();
    EXPECT_TRUE(citation->isDeleted());
    EXPECT_THAT(deleted, ElementsAre(citation));
    EXPECT_EQ(moc->undoManager()->undoActionName(), LocalizedString("DeleteSourceRef"));
    sheet.setTopicFlag(0, true); // no longer touches the citation
    sheet.close();
    EXPECT_EQ(CitationSheetModel::lastPageRef(Kind::Person), "Folio 3");
}
