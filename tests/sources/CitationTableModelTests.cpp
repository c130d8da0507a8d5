// The rows of a citations table: their order, their heights by the wrapped cells, the source tool tip, edits in
// place, the field-choice buttons; and promoting the person behind a citation.

#include "SourcesFixture.h"

#include "sources/CitationOwnerPromotion.h"
#include "sources/CitationTableModel.h"

#include "model/FTEvent.h"
#include "model/FTPicture.h"
#include "model/FTSpouseRel.h"

#include "platform/Localizer.h"

#include <gmock/gmock.h>

#include <cmath>

using ::testing::ElementsAre;

namespace {
using Column = CitationTableModel::Column;

// Ten points of height per line of 6-point characters, wrapped at the width.
double measureLines(const QString& text, double width)
{
    return 10.0 * std::ceil(text.size() * 6.0 / width);
}
}

class CitationTableModelTest : public SourcesFixture {
protected:
    void SetUp() override
    {
        SourcesFixture::SetUp();
        ann = FTPerson::initInMoc(moc.get(), "Ann Smith", "F");
    }
    FTSourceRel* citation(FTSource* s, FTManagedObject* owner, const QString& page, const QString& topic = {})
    {
        FTSourceRel* c = FTSourceRel::initInMoc(moc.get(), s, owner, topic);
        c->setReference(page);
        return c;
    }
    CitationTableModel model { { CitationTableModel::SourceId, CitationTableModel::SourceDescription,
        CitationTableModel::PageRef, CitationTableModel::Topic, CitationTableModel::Relationship } };
    FTPerson* ann = nullptr;
};

TEST_F(CitationTableModelTest, RowsOfThePersonAndHerMarriagesBySourceNumberThenTopic)
{
    FTPerson* bob = FTPerson::initInMoc(moc.get(), "Bob Smith", "M");
    auto* couple = FTSpouseRel::initInMoc(moc.get());
    couple->addPartnersObject(bob);
    couple->addPartnersObject(ann);
    FTEvent* marriage = FTEvent::initInMoc(moc.get(), FTEvent::MarriageEvent, couple, "MARR");
    FTSource* two = numbered(2, {{"title", "Register"}});
    FTSource* one = numbered(1, {{"title", "Census"}});
    FTSourceRel* married = citation(two, marriage, "Entry 4", "Marriage");
    FTSourceRel* name = citation(two, ann, "Folio 1", "Name");
    FTSourceRel* census = citation(one, ann, "Folio 7", "Name");
    model.setPerson(ann);
    model.setCitations(ann->allSourceRels());
    EXPECT_THAT(model.arrangedObjects(), ElementsAre(census, married, name));
    EXPECT_EQ(model.data(model.index(1, model.sectionOf(CitationTableModel::Relationship))).toString(),
        marriage->name() + " (Bob Smith)");
    EXPECT_EQ(model.data(model.index(0, model.sectionOf(CitationTableModel::Relationship))).toString(),
        LocalizedString("Person"));
    EXPECT_EQ(model.data(model.index(0, 0)).toInt(), 1);

    // Identifiers and the one-line checks of the editable columns.
    EXPECT_EQ(CitationTableModel::identifier(CitationTableModel::SourceDescription), "sourceDescription");
    EXPECT_EQ(CitationTableModel::validationKind(CitationTableModel::PageRef), "PageRef");
    EXPECT_EQ(CitationTableModel::validationKind(CitationTableModel::Topic), "SourceRefTopic");
    EXPECT_FALSE(model.flags(model.index(0, 1)) & Qt::ItemIsEditable);
    EXPECT_TRUE(model.flags(model.index(0, 2)) & Qt::ItemIsEditable);
}

TEST_F(CitationTableModelTest, ARowIsAsHighAsItsTallestCellKeptUntilTheWidthsChange)
{
    UserDefaults::standard().setBool("showSourceNotes", false);
    for (const char* key : {"showSourceType", "showSourceShortTitle", "showSourceAuthor", "showSourcePublisher",
             "showSourceDate", "showSourceLocation"})
        UserDefaults::standard().setBool(key, false);
    UserDefaults::standard().setBool("showSourceTitle", true);
    FTSource* s = numbered(1, {{"title", "Kew"}}); // "Title: Kew", 10 characters
    FTSourceRel* shortRow = citation(s, ann, "p. 1");
    FTSourceRel* tallRow = citation(numbered(2, {{"title", "K"}}), ann, QString(60, 'x'));
    model.setCitations({shortRow, tallRow});
    double width = 120;
    int measured = 0;
    const auto measure = [&measured](const QString& text, double w) {
        ++measured;
        return measureLines(text, w);
    };
    const auto widths = [&width](Column) { return width; };

    // 10 points of text: the least, 14.3, decides: 14 + 3.
    EXPECT_EQ(model.heightOfRow(0, measure, widths), 17);
    // 360 points of page reference wrap into 3 lines of 10 at 120.
    EXPECT_EQ(model.heightOfRow(1, measure, widths), 33);
    const int afterFirst = measured;
    EXPECT_EQ(model.heightOfRow(1, measure, widths), 33);
    EXPECT_EQ(measured, afterFirst); // kept
    EXPECT_EQ(model.heightOfRow(2, measure, widths), CitationTableModel::kMinimumHeight);

    width = 400; // the columns widened: the heights are measured again
    model.dropHeights();
    EXPECT_EQ(model.heightOfRow(1, measure, widths), 17);
    EXPECT_EQ(model.heightOfRow(0, measure, widths), 17);
    EXPECT_GT(measured, afterFirst);

    // An edit drops the row's height and asks for the deferred save.
    NotificationCenter::defaultCenter().flushQueue();
    int saves = 0;
    NotificationCenter::defaultCenter().addObserver("SaveMoc", nullptr, [&saves](const Notification&) { ++saves; }, this);
    EXPECT_TRUE(model.setData(model.index(1, model.sectionOf(CitationTableModel::Topic)), QString(120, 'y')));
    EXPECT_EQ(tallRow->itemDescribed(), QString(120, 'y'));
    EXPECT_FALSE(model.hasHeightOf(tallRow));
    EXPECT_TRUE(model.hasHeightOf(shortRow));
    NotificationCenter::defaultCenter().flushQueue();
    EXPECT_EQ(saves, 1);
    EXPECT_FALSE(moc->hasChanges());
    EXPECT_TRUE(model.setData(model.index(0, model.sectionOf(CitationTableModel::PageRef)), "p. 2"));
    EXPECT_EQ(shortRow->reference(), "p. 2");
    EXPECT_FALSE(model.setData(model.index(0, model.sectionOf(CitationTableModel::SourceDescription)), "x"));
}

TEST_F(CitationTableModelTest, TheSourceToolTipAddsTheNotesUnlessTheDescriptionHasThem)
{
    struct Case {
        const char* title;
        const char* notes;
        QString expectedTail; // after the description with the number
    };
    const Case cases[] = {
        {"Kew", nullptr, "\n" + LocalizedString("Notes") + ": " + LocalizedString("NotesNotPresent")},
        {"Will of Ann Smith, proved at York in the year 1790 by her son", "Seen at York.",
            "\n\n" + LocalizedString("Notes") + ": Seen at York."},
        {"Kew", "Seen at York.", ""}, // a short description shows the notes already
    };
    for (const Case& c : cases) {
        FTSource* s = source({{"title", c.title}});
        if (c.notes)
            s->setNotes(c.notes);
        const QString description = s->shortDescriptionWithNumericId();
        EXPECT_EQ(CitationTableModel::toolTipForSource(s), description + c.expectedTail) << c.title;
    }
}

TEST_F(CitationTableModelTest, TheFieldButtonsChooseEveryFieldOrTheTitleAlone)
{
    const QStringList keys {"showSourceType", "showSourceShortTitle", "showSourceTitle", "showSourceAuthor",
        "showSourcePublisher", "showSourceDate", "showSourceLocation", "showSourceNotes"};
    CitationTableModel::showSourceFields(false);
    for (const QString& key : keys)
        EXPECT_EQ(UserDefaults::standard().boolForKey(key), key == "showSourceTitle") << key.toStdString();
    FTSource* s = source({{"type", "Census"}, {"title", "Kew"}});
    EXPECT_EQ(s->descriptionForIASources(), "Title: Kew");
    CitationTableModel::showSourceFields(true);
    for (const QString& key : keys)
        EXPECT_TRUE(UserDefaults::standard().boolForKey(key)) << key.toStdString();
}

TEST_F(CitationTableModelTest, PromotingMakesThePersonBehindACitationFocal)
{
    FTPerson* bob = FTPerson::initInMoc(moc.get(), "Bob Smith", "M");
    FTPerson* cat = FTPerson::initInMoc(moc.get(), "Cat Jones", "F");
    auto* married = FTSpouseRel::initInMoc(moc.get());
    married->addPartnersObject(bob);
    married->addPartnersObject(ann);
    auto* widowed = FTSpouseRel::initInMoc(moc.get());
    widowed->addPartnersObject(cat);
    FTSource* s = numbered(1, {{"title", "Register"}});
    FTSourceRel* own = citation(s, bob, "1");
    FTSourceRel* birth = citation(s, FTEvent::initInMoc(moc.get(), FTEvent::BirthEvent, cat, "BIRT"), "2");
    FTSourceRel* wedding = citation(s, FTEvent::initInMoc(moc.get(), FTEvent::MarriageEvent, married, "MARR"), "3");
    FTSourceRel* lone = citation(s, FTEvent::initInMoc(moc.get(), FTEvent::MarriageEvent, widowed, "MARR"), "4");
    FTSourceRel* picture = citation(s, FTPicture::initInMoc(moc.get(), "", ann), "5");

    EXPECT_EQ(CitationOwnerPromotion::promoteToFocalPerson(own), bob);
    EXPECT_EQ(CitationOwnerPromotion::promoteToFocalPerson(birth), cat);
    EXPECT_EQ(moc->focalPerson(), cat);
    EXPECT_TRUE(prompts.records.isEmpty());

    prompts.answer(1); // the second button: the wife
    EXPECT_EQ(CitationOwnerPromotion::promoteToFocalPerson(wedding), ann);
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].text, LocalizedString("promoteHusbandOrWife"));
    EXPECT_EQ(prompts.records[0].buttons, QStringList({"Bob", "Ann"}));
    EXPECT_EQ(CitationOwnerPromotion::promoteToFocalPerson(wedding), bob); // the first button

    prompts.clear();
    EXPECT_EQ(CitationOwnerPromotion::promoteToFocalPerson(lone), nullptr);
    EXPECT_EQ(CitationOwnerPromotion::promoteToFocalPerson(picture), nullptr);
    EXPECT_TRUE(prompts.records.isEmpty());
    EXPECT_EQ(moc->focalPerson(), bob);
}
