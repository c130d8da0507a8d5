// The sources editor's merge of two sources, and the review of a source's citations from the Sources menu (with the
// document), from the sources editor and from a citation sheet (without it).

#include "CitingFixture.h"

#include "sources/ui/MergeTwoSources.h"
#include "sources/ui/ReviewSourceReferences.h"

#include "editor/ui/NotesTextEdit.h"

#include "platform/Localizer.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTextEdit>
#include <QToolButton>

#include <gmock/gmock.h>

using ::testing::ElementsAre;

namespace {
QString L(const char* key)
{
    return LocalizedString(key);
}

QColor textColour(QWidget* field)
{
    return field->palette().color(QPalette::Text);
}

template <class T> T* visible()
{
    for (QWidget* w : QApplication::allWidgets())
        if (auto* t = qobject_cast<T*>(w); t && t->isVisible())
            return t;
    return nullptr;
}
}

using MergeTwoSourcesWindow = SourcesWindowFixture;

TEST_F(MergeTwoSourcesWindow, OpensOnlyForTwoSourcesAndShowsWhatDiffers)
{
    FTSource* a = source(4, { { "type", "Census" }, { "title", "1881 census, Kew" }, { "notes", "Piece 12" } });
    FTSource* b = source(9, { { "type", "Census" }, { "title", "1881 Census of Kew" }, { "notes", "RG11/812" } });
    FTSource* c = source(11, { { "title", "Will" } });
    cite(a, 2);
    SourcesAddModDel* e = openEditor(a);
    ASSERT_NE(e, nullptr);
    for (const auto& selection : { std::initializer_list<FTSource*> { a }, { a, b, c } }) {
        prompts.clear();
        selectRows(e, selection);
        e->mergeTwoSources();
        EXPECT_EQ(visible<MergeTwoSources>(), nullptr);
        const qsizetype n = qsizetype(selection.size());
        EXPECT_THAT(texts(), ElementsAre(L("MustHaveTwoSources").arg(n).arg(n > 1 ? "s are" : " is")));
    }

    selectRows(e, { a, b });
    e->findChild<QPushButton*>("mergeTwoSources")->click();
    MergeTwoSources* sheet = visible<MergeTwoSources>();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->source1(), a);
    EXPECT_EQ(sheet->source2(), b);
    EXPECT_EQ(sheet->mergeButton()->text(), L("MergeSource1") + "4" + L("MergeSource2") + "9");
    EXPECT_EQ(sheet->differences(), L("DifferentFields") + "title " + L("ConjunctiveAnd") + " notes");
    for (const QString& key : { "title", "notes" })
        EXPECT_EQ(textColour(sheet->field(1, key)), QColor(Qt::red)) << key.toStdString();
    EXPECT_EQ(textColour(sheet->field(2, "type")), QColor(Qt::black));
    EXPECT_EQ(sheet->sourceCount(1)->text(), L("NumRefs") + " = 2");
    EXPECT_EQ(sheet->sourceCount(2)->text(), L("NumRefs") + " = 0");
    saveScreenshot(sheet, "MergeTwoSources");

    // Editing either source shows the new differences at once.
    auto* title = qobject_cast<QLineEdit*>(sheet->field(1, "title"));
    title->setText("1881 Census of Kew");
    Q_EMIT title->editingFinished();
    auto* notes = qobject_cast<NotesTextEdit*>(sheet->field(2, "notes"));
    notes->selectAll();
    notes->insertPlainText("Piece 12"); // as typed
    notes->endEditing();
    EXPECT_EQ(a->title(), "1881 Census of Kew");
    EXPECT_EQ(sheet->differences(), L("SameFields"));
    EXPECT_EQ(textColour(sheet->field(1, "title")), QColor(Qt::black));
    sheet->close();
}

TEST_F(MergeTwoSourcesWindow, DeletingTheMergedActiveSourceClearsItAndTheListFollows)
{
    FTSource* a = source(4, { { "title", "Register" } });
    FTSource* b = source(9, { { "title", "Register" } });
    const QList<FTSourceRel*> moved = cite(a, 3);
    moc->setActiveSource(a);
    SourcesAddModDel* e = openEditor(a);
    ASSERT_NE(e, nullptr);
    ASSERT_TRUE(e->deactivateActiveSourceButton()->isEnabled());
    selectRows(e, { a, b });
    e->mergeTwoSources();
    MergeTwoSources* sheet = visible<MergeTwoSources>();
    ASSERT_NE(sheet, nullptr);
    prompts.answer(0); // delete
    sheet->mergeButton()->click();

    EXPECT_EQ(visible<MergeTwoSources>(), nullptr);
    EXPECT_TRUE(a->isDeleted());
    EXPECT_EQ(moc->activeSource(), nullptr);
    EXPECT_FALSE(e->deactivateActiveSourceButton()->isEnabled());
    EXPECT_EQ(e->sourcesArrayController()->rowOfSource(a), -1);
    EXPECT_THAT(e->selectedSources(), ElementsAre(b));
    for (const FTSourceRel* c : moved)
        EXPECT_EQ(c->source(), b);
    EXPECT_FALSE(moc->hasChanges());

    // Keeping the first source leaves it in the list without citations.
    FTSource* c = source(12, { { "title", "Will" } });
    cite(c, 1);
    e->sourcesArrayController()->loadSources();
    selectRows(e, { b, c });
    e->mergeTwoSources();
    prompts.answer(1);
    visible<MergeTwoSources>()->merge();
    EXPECT_FALSE(b->isDeleted());
    EXPECT_EQ(b->numSourceRels(), 0);
    EXPECT_EQ(c->numSourceRels(), 4);
    EXPECT_GE(e->sourcesArrayController()->rowOfSource(b), 0);
}

using ReviewWindow = CitingFixture;

TEST_F(ReviewWindow, FromTheMenuStepsPromotesAndShowsTheCitationInThePersonEditor)
{
    FTSource* one = source(1, { { "type", "Census" }, { "title", "1881 census of Kew" }, { "author", "GRO" } });
    FTSource* two = source(2, { { "title", "Parish register of St Anne" }, { "notes", "Baptisms 1800-1850." } });
    source(5, { { "title", "Will of John Brown" } });
    FTPerson* ann = person("Ann Smith");
    FTPerson* bob = person("Bob Jones", "M");
    FTSourceRel* annCitation = FTSourceRel::initInMoc(moc, two, ann, QString());
    annCitation->setReference("Folio 3");
    annCitation->setNotes("Baptised with her twin.");
    FTSourceRel::initInMoc(moc, two, bob, QString())->setReference("Folio 9");
    FTSourceRel::initInMoc(moc, one, bob, QString());
    moc->saveMoc();
    select(ann);

    bool ran = false;
    whenModalShows([&](QWidget* w) {
        auto* review = qobject_cast<ReviewSourceReferences*>(w);
        ASSERT_NE(review, nullptr);
        ran = true;
        EXPECT_EQ(review->source(), one); // no active source: the lowest number
        EXPECT_TRUE(review->showMeButton()->isVisible());
        EXPECT_TRUE(review->showMeHelpButton()->isVisible());
        EXPECT_TRUE(review->editSourceButton()->isVisible());
        review->nextSource();
        EXPECT_EQ(review->source(), two);
        EXPECT_EQ(review->sourceCountLabel()->text(), QString("2 %1 3").arg(L("ConjunctiveOf")));
        EXPECT_EQ(review->sourceRelsArrayController()->rowCount(), 2);
        review->sortByFamilyName();
        EXPECT_EQ(review->sourceRelsArrayController()->citationAt(0)->person(), bob); // Jones before Smith
        review->tv()->selectRow(1);
        EXPECT_EQ(review->notesTextView()->toPlainText(), "Baptised with her twin.");
        saveScreenshot(review, "ReviewSourceReferences");

        review->promoteToFocalPerson();
        EXPECT_EQ(moc->modelDefaults()->focalPerson(), ann);
        EXPECT_EQ(personEditor()->visiblePageIdentifier(), "pSources");
        EXPECT_EQ(showPage()->tv()->selectedCitation(), annCitation);
        review->done(0);
    });
    SourcesMenuActions::reviewSourceReferences();
    EXPECT_TRUE(ran);
}

TEST_F(ReviewWindow, WithoutTheDocumentFromTheEditorAndTheCitationSheet)
{
    FTSource* will = source(3, { { "title", "Will of John Brown" } });
    FTPerson* ann = person("Ann Smith");
    moc->saveMoc();
    QStringList opened;
    auto check = [&](const QString& from) {
        whenModalShows([&opened, from, will](QWidget* w) {
            auto* review = qobject_cast<ReviewSourceReferences*>(w);
            ASSERT_NE(review, nullptr);
            opened << from;
            EXPECT_EQ(review->source(), will);
            EXPECT_FALSE(review->showMeButton()->isVisible());
            EXPECT_FALSE(review->showMeHelpButton()->isVisible());
            EXPECT_FALSE(review->editSourceButton()->isVisible());
            if (from == "sheet")
                saveScreenshot(review, "ReviewSourceReferences-noDocument");
            review->done(0);
        });
    };
    SourcesAddModDel* e = openEditor(will);
    ASSERT_NE(e, nullptr);
    check("editor");
    e->findChild<QPushButton*>("displayDetailedReferences")->click();
    e->closeSheet();

    FTSourceRel* citation = FTSourceRel::initInMoc(moc, will, ann, QString());
    auto* sheet = new SourceReferenceDialog(CitationDialogs::Kind::Person, citation, doc->dovurWindow());
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    sheet->open();
    check("sheet");
    sheet->findChild<QPushButton*>("displayOtherReferences")->click();
    sheet->close();
    EXPECT_THAT(opened, ElementsAre("editor", "sheet"));
}

TEST_F(ReviewWindow, DeletingTheShownSourceInItsEditorMovesTheReviewOn)
{
    source(1, { { "title", "Census" } });
    FTSource* two = source(2, { { "title", "Register" } });
    FTSource* three = source(3, { { "title", "Will" } });
    moc->saveMoc();
    ReviewSourceReferences review(moc, doc, two, doc->dovurWindow());
    review.show();
    review.editCurrentSource();
    auto* editor = review.findChild<SourcesAddModDel*>();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->currentSource(), two);
    editor->deleteSource();
    EXPECT_TRUE(two->isDeleted());
    EXPECT_EQ(review.source()->title(), "Census");
    review.nextSource();
    EXPECT_EQ(review.source(), three);
    EXPECT_EQ(review.sourceCount(), QString("2 %1 2").arg(L("ConjunctiveOf")));
    editor->closeSheet();
    review.resize(700, 480);
    review.done(0);
    // The next review takes the size this one closed with.
    EXPECT_EQ(ReviewSourceReferences(moc, nullptr, nullptr).size(), QSize(700, 480));
}
