// The person editor's rules, with pages and a tab view that record what they are told.
#include "../model/ModelFixture.h"
#include "QtPrinters.h"

#include "editor/InfoAreaPage.h"
#include "editor/PersonEditorController.h"

#include "model/FTPerson.h"
#include "model/FTPicture.h"
#include "model/FTSource.h"
#include "model/FTStory.h"

#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"
#include "platform/UserDefaults.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

QStringList g_log;

struct FakePage : InfoAreaPage {
    explicit FakePage(QString id) : id(std::move(id)) { }
    void note(const QString& what) { g_log << id + ":" + what; }
    void setSelectedPerson(FTPerson* p) override
    {
        person = p;
        note("person");
    }
    void setProjectView(FTProjectView*) override { note("view"); }
    void refreshDisplay() override { note("refresh"); }
    void setColumnHeadings() override { note("headings"); }
    void setFontSize(long size) override { note("font" + QString::number(size)); }
    void freeMemory() override { note("free"); }
    void personToBeDeleted(const Notification&) override { note("deleted"); }
    void pcRelTypeChanged(const Notification&) override { note("pcRel"); }
    void setRefreshArray(bool) override { note("refreshArray"); }
    QString id;
    FTPerson* person = nullptr;
};

struct FakeTabs : PersonEditorController::TabView {
    void setTabLabel(int index, const QString& label) override { labels[index] = label; }
    void selectTab(int index) override { selected << index; }
    bool endFieldEditing() override
    {
        ++endings;
        return editingEnds;
    }
    void setKeyViewChain(int index, const QList<int>& tags) override { chains << std::make_pair(index, tags); }
    void setNeedsDisplay(int index) override { redrawn << index; }
    QHash<int, QString> labels;
    QList<int> selected, redrawn;
    QList<std::pair<int, QList<int>>> chains;
    int endings = 0;
    bool editingEnds = true;
};

class PersonEditorRules : public ModelFixture {
protected:
    void SetUp() override
    {
        ModelFixture::SetUp();
        TestSupport::useFreshDefaults();
        g_log.clear();
        moc = newDatabase();
        person = FTPerson::initInMoc(moc.get(), "John Smith", "M");
    }
    // The controller with pages of the identifiers given, started.
    void make(const QStringList& ids)
    {
        controller.reset();
        tabs = FakeTabs();
        controller = std::make_unique<PersonEditorController>(tabs);
        for (const QString& id : ids) {
            pages.push_back(std::make_unique<FakePage>(id));
            controller->addPage(id, pages.back().get());
        }
        controller->start();
        controller->setMoc(moc.get());
        g_log.clear();
    }
    QString label(const QString& id) const { return controller->labelAt(controller->indexOf(id)); }

    std::unique_ptr<FTMoc> moc;
    FTPerson* person = nullptr;
    FakeTabs tabs;
    std::vector<std::unique_ptr<FakePage>> pages;
    std::unique_ptr<PersonEditorController> controller;
};

TEST_F(PersonEditorRules, PagesTakeTheirPlaceInTheTabOrderWhateverOrderTheyComeIn)
{
    make({"pNotes", "pSelf", "pComments", "pEvents"});
    QStringList order;
    for (int i = 0; i < controller->count(); ++i)
        order << controller->identifierAt(i);
    EXPECT_THAT(order, ElementsAre("pSelf", "pEvents", "pNotes", "pComments"));
    EXPECT_EQ(controller->addPage("pSelf", pages[0].get()), -1);
    EXPECT_EQ(controller->addPage("pUnknown", pages[0].get()), -1);
}

TEST_F(PersonEditorRules, OnlyTheVisiblePageIsToldThePersonAndRefreshed)
{
    make({"pSelf", "pNotes", "pComments"});
    ASSERT_EQ(controller->visibleIdentifier(), "pNotes"); // no previous tab: the second one
    controller->setSelectedPerson(person);
    EXPECT_THAT(g_log, ElementsAre("pNotes:person", "pNotes:view", "pNotes:refresh", "pNotes:headings"));
    EXPECT_EQ(pages[1]->person, person);
    EXPECT_EQ(label("pSelf"), "John Smith");

    g_log.clear();
    controller->setFontSize(12.7);
    EXPECT_EQ(controller->fontSize(), 12);
    EXPECT_EQ(controller->notesAndCommentsFontSize(), 13);
    EXPECT_THAT(g_log, ElementsAre("pNotes:font12"));

    // No person: the visible page is still told, with none, and the first tab keeps its label.
    make({"pSelf", "pNotes"});
    controller->setSelectedPerson(nullptr);
    EXPECT_THAT(g_log, ElementsAre("pNotes:person", "pNotes:view", "pNotes:refresh", "pNotes:headings"));
    EXPECT_FALSE(tabs.labels.contains(0));
}

TEST_F(PersonEditorRules, TheFirstTabIsThePreviousOneWhenItExistsElseTheSecond)
{
    struct Case {
        qlonglong previous;
        int count;
        int expected;
    };
    for (const Case c : {Case{-1, 12, 1}, Case{12, 12, 1}, Case{11, 12, 11}, Case{0, 12, 0}, Case{5, 1, 0},
                         Case{3, 0, -1}})
        EXPECT_EQ(PersonEditorController::initialTabIndex(c.previous, c.count), c.expected)
            << c.previous << " of " << c.count;

    UserDefaults::standard().setInteger("previousTabViewIndex", 2);
    make({"pSelf", "pNotes", "pComments"});
    EXPECT_EQ(controller->visibleIdentifier(), "pComments");
    EXPECT_THAT(tabs.selected, ElementsAre(2));
}

TEST_F(PersonEditorRules, ASwitchEndsEditingFreesThePageLeftAndQueuesASave)
{
    make({"pSelf", "pNotes", "pComments"});
    controller->setSelectedPerson(person);
    g_log.clear();
    NotificationCenter::defaultCenter().flushQueue();
    ASSERT_TRUE(moc->hasChanges());

    tabs.editingEnds = false;
    EXPECT_FALSE(controller->shouldSelectTab(2));
    tabs.editingEnds = true;
    EXPECT_TRUE(controller->shouldSelectTab(2));
    EXPECT_EQ(tabs.endings, 2);
    controller->willSelectTab(2);
    controller->didSelectTab(2);
    EXPECT_THAT(g_log, ElementsAre("pNotes:free", "pComments:font11", "pComments:person", "pComments:view",
                                   "pComments:refresh", "pComments:headings"));
    EXPECT_EQ(UserDefaults::standard().integerForKey("previousTabViewIndex"), 2);
    EXPECT_EQ(NotificationCenter::defaultCenter().queuedCount(), 1); // the deferred save
}

TEST_F(PersonEditorRules, TabsOfPagesWithContentAreMarked)
{
    make({"pSelf", "pFamily", "pNotes", "pComments", "pSources", "pStory", "pPictures"});
    person->setNotes("Born at sea.");
    FTPicture::initInMoc(moc.get(), QString(), person);
    person->setStory(FTStory::initInMoc(moc.get()));
    ASSERT_NE(person->story(), nullptr);
    controller->setSelectedPerson(person);

    const auto marked = [](const char* key) { return LocalizedString(key) + "*"; };
    EXPECT_EQ(label("pNotes"), marked("Notes"));
    EXPECT_EQ(label("pPictures"), marked("Pictures"));
    EXPECT_EQ(label("pStory"), marked("Story"));
    EXPECT_EQ(label("pComments"), LocalizedString("Comments"));
    EXPECT_EQ(label("pSources"), LocalizedString("Sources"));
    EXPECT_EQ(label("pFamily"), LocalizedString("ExtFamily"));

    // An absent person reads as empty.
    controller->setSelectedPerson(nullptr);
    EXPECT_EQ(label("pNotes"), LocalizedString("Notes"));
}

TEST_F(PersonEditorRules, NotificationsOfThisDatabaseReachThePagesAndOthersAreIgnored)
{
    make({"pSelf", "pNotes", "pComments"});
    controller->setSelectedPerson(person);
    auto other = newDatabase("Other.RezUdu");
    FTPerson* stranger = FTPerson::initInMoc(other.get(), "Anne Other", "F");
    NotificationCenter& center = NotificationCenter::defaultCenter();
    g_log.clear();

    for (const char* name : {"PersonToBeDeleted", "PersonNameOrDateChanged", "AddedChildInPcd", "AddedParentInPcd",
                             "AddedSpouseInPcd", "DefaultPictureChanged"})
        center.post(name, stranger, other.get());
    center.post("PCRelTypeChanged", other.get(), other.get());
    EXPECT_THAT(g_log, IsEmpty());

    center.post("PersonToBeDeleted", person, moc.get());
    EXPECT_THAT(g_log, ElementsAre("pSelf:deleted", "pNotes:deleted", "pComments:deleted"));
    EXPECT_EQ(controller->selectedPerson(), nullptr); // the editor lets go of a deleted person

    controller->setSelectedPerson(person);
    g_log.clear();
    center.post("PCRelTypeChanged", moc.get(), moc.get());
    person->setName("John Smyth");
    EXPECT_EQ(label("pSelf"), "John Smyth");
    center.post("AddedChildInPcd", person, moc.get());
    EXPECT_THAT(g_log, ElementsAre("pNotes:pcRel", "pNotes:headings", "pNotes:person", "pNotes:view",
                                   "pNotes:refresh", "pNotes:headings"));
}

TEST_F(PersonEditorRules, ANewDefaultPictureRedrawsThePicturesOrFamilyPageWhenShown)
{
    make({"pSelf", "pFamily2", "pNotes", "pPictures"});
    NotificationCenter& center = NotificationCenter::defaultCenter();
    controller->didSelectTab(controller->indexOf("pPictures"));
    g_log.clear();
    center.post("DefaultPictureChanged", person, moc.get());
    EXPECT_THAT(g_log, ElementsAre("pPictures:refreshArray"));
    EXPECT_THAT(tabs.redrawn, ElementsAre(controller->indexOf("pPictures")));

    controller->didSelectTab(controller->indexOf("pFamily2"));
    g_log.clear();
    center.post("DefaultPictureChanged", person, moc.get());
    EXPECT_THAT(g_log, ElementsAre("pFamily2:refresh"));

    controller->didSelectTab(controller->indexOf("pNotes"));
    g_log.clear();
    center.post("DefaultPictureChanged", person, moc.get());
    EXPECT_THAT(g_log, IsEmpty());
}

TEST_F(PersonEditorRules, TheFamilyPageFocusRunsThroughHusbandWifeAndMarriageAndBack)
{
    make({"pSelf", "pFamily2"});
    tabs.chains.clear();
    controller->refreshDisplay();
    ASSERT_EQ(tabs.chains.size(), 1);
    EXPECT_EQ(tabs.chains[0].first, 1);
    EXPECT_THAT(tabs.chains[0].second,
                ElementsAre(4, 10, 11, 16, 17, 104, 110, 111, 116, 117, 201, 202, 203, 250, 4));
}

} // namespace
