// The citation sheets as the model's citing opens them on the main window: editing the citation, choosing another
// source, deleting, and what each kind keeps for its next sheet.

#include "CitingFixture.h"

#include "editor/ui/NotesTextEdit.h"

#include "model/FTPicture.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

#include <gmock/gmock.h>

using Kind = CitationDialogs::Kind;

class CitationSheetTest : public CitingFixture {
protected:
    SourceReferenceDialog* lastSheet()
    {
        const QList<SourceReferenceDialog*> open = sheets();
        return open.isEmpty() ? nullptr : open.last();
    }
};

TEST_F(CitationSheetTest, TheSheetsOpenOnTheMainWindowEditTheCitationAndEndWithTheOwnersCallback)
{
    FTPerson* ann = person("Ann Smith");
    FTSource* census = source(1, {{"type", "Census"}, {"title", "1881 census of Kew"}, {"author", "GRO"}});
    FTSource* will = source(2, {{"type", "Will"}, {"title", "Will of John Smith"}});
    select(ann);
    showPage();
    int refreshes = 0;
    NotificationCenter::defaultCenter().addObserver(
        "RefreshAllViews", nullptr, [&refreshes](const Notification&) { ++refreshes; }, this);

    FTSourceRel* citation = ann->addReferenceToSource(census);
    SourceReferenceDialog* sheet = lastSheet();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->objectName(), "PersonSourceReference");
    EXPECT_EQ(sheet->parentWidget(), doc->dovurWindow());
    EXPECT_EQ(sheet->windowModality(), Qt::WindowModal);
    EXPECT_EQ(sheet->sourceRel(), citation);
    sheet->pageRefField()->setText("Piece 12, folio 4");
    sheet->topicBox(0)->click();
    sheet->notesTextView()->insertPlainText("Listed as a lodger.");
    saveScreenshot(sheet, "PersonSourceReference");

    // Another source: the citation follows it, and it becomes the active source with no page reference.
    QMenu* menu = click(sheet->selectASourceButton());
    entry(entry(menu, "Will")->menu(), "Will of John Smith")->trigger();
    EXPECT_EQ(citation->source(), will);
    EXPECT_EQ(moc->activeSource(), will);
    EXPECT_TRUE(moc->activeSourcePageRef().isEmpty());
    EXPECT_TRUE(doc->toolbarController()->activeSourceButton()->styleSheet().contains("#c8ffc8"));
    EXPECT_TRUE(sheet->sourceLabel()->text().contains("Will of John Smith"));

    refreshes = 0;
    sheet->close();
    QApplication::processEvents();
    EXPECT_EQ(citation->reference(), "Piece 12, folio 4");
    EXPECT_EQ(citation->itemDescribed(), "Name");
    EXPECT_EQ(citation->notes(), "Listed as a lodger.");
    EXPECT_EQ(CitationSheetModel::lastPageRef(Kind::Person), "Piece 12, folio 4");
    // The person's callback: every view refreshes while the citations page is shown.
    EXPECT_EQ(refreshes, 1);
    EXPECT_TRUE(sheets().isEmpty());

    // The event's and the picture's sheets (no active source: a new event or picture would cite it).
    moc->setActiveSource(nullptr);
    FTEvent* birth = FTEvent::initInMoc(moc, FTEvent::BirthEvent, ann, "BIRT");
    birth->setDate("3 Mar 1850");
    birth->addReferenceToSource(census);
    ASSERT_NE(lastSheet(), nullptr);
    EXPECT_EQ(lastSheet()->objectName(), "EventSourceReference");
    saveScreenshot(lastSheet(), "EventSourceReference");
    lastSheet()->close();
    FTPicture* picture = FTPicture::initInMoc(moc, "", ann);
    picture->setName("Wedding portrait");
    picture->addReferenceToSource(census);
    ASSERT_NE(lastSheet(), nullptr);
    EXPECT_EQ(lastSheet()->objectName(), "PicSourceReference");
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(lastSheet()->topicBox(i)->isChecked());
    saveScreenshot(lastSheet(), "PicSourceReference");
    lastSheet()->close();
}

TEST_F(CitationSheetTest, EachKindKeepsItsSizeWhenItClosedWiderThan450)
{
    FTPerson* ann = person("Ann Smith");
    FTPerson* bob = person("Bob Smith", "M");
    FTSource* census = source(1, {{"title", "Census"}});
    ann->addReferenceToSource(census);
    const QSize first = lastSheet()->size();
    lastSheet()->resize(640, 430);
    lastSheet()->close();

    bob->addReferenceToSource(census);
    EXPECT_EQ(lastSheet()->size(), QSize(640, 430));
    lastSheet()->resize(440, 430); // too narrow to be kept
    lastSheet()->close();
    FTEvent::initInMoc(moc, FTEvent::BirthEvent, bob, "BIRT")->addReferenceToSource(census);
    EXPECT_EQ(lastSheet()->size(), first); // the event sheet has its own
    lastSheet()->close();
    ann->addReferenceToSource(census);
    EXPECT_EQ(lastSheet()->size(), first);
    lastSheet()->close();
}

TEST_F(CitationSheetTest, DeletingInASheetTakesTheRowFromThePageOfItsDatabaseOnly)
{
    FTPerson* ann = person("Ann Smith");
    FTSource* census = source(1, {{"title", "Census"}});
    FTSourceRel* kept = FTSourceRel::initInMoc(moc, source(2, {{"title", "Will"}}), ann, "Name");
    FTSourceRel* doomed = FTSourceRel::initInMoc(moc, census, ann, "Name");
    doomed->setReference("Folio 8");
    select(ann);
    InfoArea_Sources* page = showPage();
    ASSERT_EQ(page->sourceRelsArrayController()->rowCount(), 2);

    DOvurDocument* other = app->openDocumentWithContentsOfURL(makeDatabase(data + "/Other.RezUdu", 4));
    ASSERT_NE(other, nullptr);
    FTMoc* otherMoc = other->moc();
    FTPerson* otherPerson = otherMoc->selectedPerson();
    auto* otherSource = FTSource::initInMoc(otherMoc);
    FTSourceRel::initInMoc(otherMoc, otherSource, otherPerson, "Name");
    auto* otherEditor = qobject_cast<InfoAreaController*>(other->pInfoArea());
    ASSERT_TRUE(otherEditor && otherEditor->choosePage("pSources"));
    otherEditor->refreshDisplay();
    auto* otherPage = qobject_cast<InfoArea_Sources*>(otherEditor->page("pSources"));
    ASSERT_EQ(otherPage->sourceRelsArrayController()->rowCount(), 1);

    ann->addReferenceToSource(census); // the existing citation, after a message
    ASSERT_NE(lastSheet(), nullptr);
    EXPECT_EQ(lastSheet()->sourceRel(), doomed);
    lastSheet()->deleteSourceReference();
    EXPECT_TRUE(doomed->isDeleted());
    EXPECT_EQ(page->sourceRelsArrayController()->rowCount(), 1);
    EXPECT_EQ(page->sourceRelsArrayController()->citationAt(0), kept);
    EXPECT_EQ(otherPage->sourceRelsArrayController()->rowCount(), 1);
    EXPECT_EQ(CitationSheetModel::lastPageRef(Kind::Person), "Folio 8");
}
