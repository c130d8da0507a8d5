// The preferences' logic: the name options and what a change asks of the diagram, restoring the diagram's
// defaults, the list of ancestral views (finding, creating, deleting, choosing), and the day an event's date shows
// on a calendar with the text a picked day gives it.
#include "shell/AncestralViewsList.h"
#include "shell/DiagramPreferences.h"
#include "shell/EventCalendarDay.h"
#include "shell/FirstRunDefaults.h"

#include "model/FTModelDefaults.h"
#include "model/FTProjectView.h"

#include "platform/NotificationCenter.h"

#include "../model/PeopleFixture.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

// A diagram that counts what it is asked.
struct RecordingDiagram : DiagramPreferences::Diagram {
    void setRefreshArray(bool refresh) override { refreshes += refresh; }
    void redraw() override { ++redraws; }
    void setCdFont(const QFont& font) override { fonts << font; }
    int refreshes = 0, redraws = 0;
    QList<QFont> fonts;
};

QStringList names(const QList<FTProjectView*>& views)
{
    QStringList out;
    for (const FTProjectView* v : views)
        out << v->name();
    return out;
}

class PreferencesTest : public PeopleFixture {
protected:
    QStringList shown() const
    {
        QStringList out;
        for (const auto& r : prompts.records)
            out << r.text;
        return out;
    }
    FTProjectView* view(const QString& name, FTPerson* root = nullptr)
    {
        FTProjectView* v = FTProjectView::initInMoc(moc.get());
        v->setName(name);
        if (root)
            v->setRootPersonInAncestralView(root);
        return v;
    }
};

}

// ---- Name options ---------------------------------------------------------------------------------------------

TEST_F(PreferencesTest, TheFourteenNameOptionsInOrderWithTheAccentInTheAhnentafelTitle)
{
    const QStringList titles = DiagramPreferences::nameOptionTitles();
    ASSERT_EQ(titles.size(), 14);
    EXPECT_EQ(titles[0], LocalizedString("DiagOptFullName"));
    EXPECT_EQ(titles[6], LocalizedString("DiagOptMigration"));
    EXPECT_EQ(titles[10], LocalizedString("DiagOptConsang"));
    EXPECT_EQ(titles[13], LocalizedString("DiagOptLastChange"));
    EXPECT_TRUE(titles[11].contains(QChar(0x00E9))) << titles[11].toStdString();
    EXPECT_FALSE(titles[11].contains("%1"));
    for (const QString& t : titles)
        EXPECT_FALSE(t.isEmpty() || t.startsWith("DiagOpt")) << t.toStdString(); // every key has its text
}

// Options 10 and 11 number people within the current view: without one the user is told; the diagram always
// rebuilds and redraws.
TEST_F(PreferencesTest, ANameOptionChangeAsksTheDiagramAndWarnsWithoutAView)
{
    struct Case {
        int option;
        bool withView;
        bool warned;
        int stored;
    };
    const Case cases[] = {
        {0, false, false, 0},  {3, false, false, 3}, {10, false, true, 10}, {11, false, true, 11},
        {10, true, false, 10}, {11, true, false, 11}, {13, false, false, 13}, {99, false, false, 13},
        {-4, false, false, 0},
    };
    FTPerson* root = person("Victoria", F());
    for (const Case& c : cases) {
        moc->modelDefaults()->setCurrentView(c.withView ? view("Victoria's Ancestors", root) : nullptr);
        prompts.clear();
        RecordingDiagram diagram;
        DiagramPreferences::setNameOption(c.option, moc.get(), &diagram);
        SCOPED_TRACE(c.option);
        EXPECT_EQ(defaults().integerForKey("cdNameOption"), c.stored);
        EXPECT_EQ(shown(), c.warned ? QStringList {LocalizedString("AncestralViewNeeded")} : QStringList {});
        EXPECT_EQ(diagram.refreshes, 1);
        EXPECT_EQ(diagram.redraws, 1);
    }
    // Without a database or a diagram nothing is asked and nothing fails.
    DiagramPreferences::setNameOption(10, nullptr, nullptr);
}

// ---- Restoring the defaults -----------------------------------------------------------------------------------

TEST_F(PreferencesTest, RestoringTheDefaultsWritesEveryDiagramKeyAndLeavesTheRest)
{
    // key, restored value
    const std::pair<const char*, QVariant> restored[] = {
        {"fontSize", 11.0},
        {"speakIt", false},
        {"childrenOnLeft", true},
        {"showGhostOutlines", true},
        {"showTimeline", true},
        {"showStepRelsOfFocalPerson", true},
        {"showShadows", true},
        {"cdShadowSize", 5.0},
        {"showPcdToolTips", true},
        {"showFullPcdToolTips", false},
        {"showFocalPersonsId", true},
        {"showFullNameInDiagram", false},
        {"alwaysShowFamilyDialog", false},
        {"maxAncestorLevel", 3},
        {"showRelationshipHandles", true},
        {"alwaysCopyToPicturesFolder", true},
        {"cdShowMugShots", false},
        {"cdShowGenderSymbolsForAll", false},
        {"cdNameOption", 0},
        {"cdHighlightBadPcRels", true},
        {"cdCheckForMissingCitations", true},
        {"binaryAhnentafelNumbers", true},
        {"cdColourGradient", 0.4},
        {"cdPersonColourGradient", 0.25},
    };
    const std::pair<const char*, QColor> colours[] = {
        {"cdBgColour", QColor(191, 250, 237)},          {"selectedPersonColour", QColor(255, 220, 220)},
        {"spouseColour", QColor(255, 255, 230)},        {"otherPersonColour", QColor(242, 255, 255)},
        {"ancestralViewColour", QColor(235, 255, 227)}, {"mainWindowBgColour", QColor(184, 202, 190)},
        {"panelsBgColour", QColor(204, 226, 213)},
    };
    // Everything stored differently first.
    for (const auto& [key, value] : restored) {
        if (value.typeId() == QMetaType::Bool)
            defaults().setBool(key, !value.toBool());
        else
            defaults().setDouble(key, value.toDouble() + 7);
    }
    for (const auto& [key, colour] : colours)
        defaults().setColor(key, QColor(1, 2, 3));
    defaults().setColor("tableViewHighlightColour", QColor(10, 20, 30));
    defaults().setBool("showDeleteWarnings", false);
    QFont courier("Courier New");
    courier.setPointSize(15);
    defaults().setFont("cdFont", courier);

    RecordingDiagram diagram;
    DiagramPreferences::setDefaults(&diagram);
    for (const auto& [key, value] : restored) {
        SCOPED_TRACE(key);
        if (value.typeId() == QMetaType::Bool)
            EXPECT_EQ(defaults().boolForKey(key), value.toBool());
        else
            EXPECT_DOUBLE_EQ(defaults().doubleForKey(key), value.toDouble());
    }
    for (const auto& [key, colour] : colours) {
        EXPECT_EQ(defaults().colorForKey(key), colour) << key;
        EXPECT_EQ(defaults().colorForKey(key).name(), FirstRunDefaults::mainColourFirstRunValue(key)) << key;
    }
    EXPECT_EQ(defaults().colorForKey("tableViewHighlightColour"), QColor(10, 20, 30));
    EXPECT_FALSE(defaults().boolForKey("showDeleteWarnings"));
    // The font goes through the diagram, which stores it; then the boxes are rebuilt.
    ASSERT_EQ(diagram.fonts.size(), 1);
    EXPECT_EQ(diagram.fonts[0].family(), "Arial");
    EXPECT_TRUE(diagram.fonts[0].italic());
    EXPECT_EQ(diagram.fonts[0].pointSizeF(), 11);
    EXPECT_EQ(diagram.refreshes, 1);

    // Without a diagram the font is stored directly.
    DiagramPreferences::setDefaults(nullptr);
    const QFont stored = defaults().fontForKey("cdFont");
    EXPECT_EQ(stored.family(), "Arial");
    EXPECT_TRUE(stored.italic());
    EXPECT_EQ(stored.pointSizeF(), 11);
}

// ---- The views list -------------------------------------------------------------------------------------------

TEST_F(PreferencesTest, TheViewsListShowsEveryViewByNameOrTheMatchesOfASearch)
{
    FTPerson* victoria = person("Victoria", F());
    FTProjectView* zulu = view("zulu Line");
    FTProjectView* albert = view("Albert's Ancestors");
    FTProjectView* vic = view("Victoria's Ancestors", victoria);
    moc->modelDefaults()->setCurrentView(vic);

    AncestralViewsList list(moc.get());
    int changes = 0;
    list.changed = [&] { ++changes; };
    list.findView({});
    EXPECT_THAT(list.views(), ElementsAre(albert, vic, zulu));
    EXPECT_EQ(list.selectedRow(), 1);
    EXPECT_EQ(changes, 1);

    list.findView("anc");
    EXPECT_THAT(list.views(), ElementsAre(albert, vic));
    EXPECT_EQ(list.selectedRow(), -1);
    list.findView("line z");
    EXPECT_THAT(list.views(), ElementsAre(zulu));
    list.findView("nobody");
    EXPECT_THAT(list.views(), IsEmpty());

    // A full refresh of the database clears the search; another database's refresh changes nothing.
    list.findView("zulu");
    NotificationCenter::defaultCenter().post("RefreshAllViews", nullptr, &changes);
    EXPECT_THAT(list.views(), ElementsAre(zulu));
    NotificationCenter::defaultCenter().post("RefreshAllViews", nullptr, moc.get());
    EXPECT_EQ(list.searchText(), "");
    EXPECT_THAT(list.views(), ElementsAre(albert, vic, zulu));
}

TEST_F(PreferencesTest, CreatingTheFocalPersonsViewTwiceReusesAndRenamesTheOneView)
{
    FTPerson* victoria = person("Victoria Hanover", F());
    FTPerson* mother = person("Victoria of Saxe-Coburg", F());
    link(mother, victoria);
    moc->setFocalPerson(victoria);
    view("Another View");
    moc->modelDefaults()->setCurrentView(nullptr);

    AncestralViewsList list(moc.get());
    list.findView("another");
    FTProjectView* first = list.createAncestralViewForFocalPerson();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->name(), "Victoria Hanover's Ancestors");
    EXPECT_EQ(first->rootPersonInAncestralView(), victoria);
    EXPECT_EQ(victoria->ancestralView(), first);
    EXPECT_EQ(moc->projectView(), first);
    EXPECT_EQ(list.searchText(), "");
    EXPECT_EQ(names(list.views()), QStringList({"Another View", "Victoria Hanover's Ancestors"}));
    EXPECT_EQ(list.selectedView(), first);
    EXPECT_EQ(first->persons().size(), 2);

    first->setName("Renamed by hand");
    moc->modelDefaults()->setCurrentView(nullptr);
    FTProjectView* second = list.createAncestralViewForFocalPerson();
    EXPECT_EQ(second, first);
    EXPECT_EQ(second->name(), "Victoria Hanover's Ancestors");
    EXPECT_EQ(moc->projectView(), first);
    EXPECT_EQ(moc->count<FTProjectView>(), 2);
    EXPECT_EQ(list.selectedView(), first);
}

// Choosing a view makes it current; only a view whose root is not focal asks whether to make the root focal.
TEST_F(PreferencesTest, ChoosingAViewAsksToPromoteItsRootOnlyWhenTheRootIsNotFocal)
{
    FTPerson* victoria = person("Victoria", F());
    FTPerson* albert = person("Albert", M());
    moc->setFocalPerson(victoria);
    FTProjectView* hers = view("A Victoria's Ancestors", victoria);
    FTProjectView* his = view("B Albert's Ancestors", albert);
    FTProjectView* plain = view("C Chosen people");
    moc->modelDefaults()->setCurrentView(nullptr);
    AncestralViewsList list(moc.get());
    list.findView({});

    list.selectRow(0);
    EXPECT_EQ(moc->projectView(), hers);
    EXPECT_THAT(shown(), IsEmpty());

    list.selectRow(2); // no root: no question
    EXPECT_EQ(moc->projectView(), plain);
    EXPECT_THAT(shown(), IsEmpty());

    prompts.answer(1); // "No"
    list.selectRow(1);
    EXPECT_EQ(moc->projectView(), his);
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].text,
              QString("%1 Albert %2").arg(LocalizedString("Promote"), LocalizedString("toBeFocal")));
    EXPECT_EQ(prompts.records[0].buttons, QStringList({LocalizedString("Yes"), LocalizedString("No")}));
    EXPECT_EQ(moc->focalPerson(), victoria);

    // The current view chosen again asks nothing.
    list.selectRow(1);
    EXPECT_EQ(prompts.records.size(), 1);

    list.selectRow(0);
    prompts.answer(0); // "Yes"
    list.selectRow(1);
    EXPECT_EQ(moc->focalPerson(), albert);
    EXPECT_EQ(moc->projectView(), his);
}

TEST_F(PreferencesTest, DeletingAViewNeedsARowAndIsUndoable)
{
    FTPerson* victoria = person("Victoria", F());
    FTProjectView* hers = view("Victoria's Ancestors", victoria);
    FTProjectView* other = view("Other");
    moc->modelDefaults()->setCurrentView(hers);
    AncestralViewsList list(moc.get());
    list.findView("other");

    list.deleteView();
    EXPECT_EQ(shown(), QStringList({LocalizedString("SelectAncestralView")}));
    EXPECT_EQ(moc->count<FTProjectView>(), 2);

    // Deleting another view leaves the current one current.
    list.selectRow(0);
    moc->modelDefaults()->setCurrentView(hers);
    moc->undoManager()->closeOpenGroups();
    list.deleteView();
    EXPECT_TRUE(other->isDeleted());
    EXPECT_EQ(moc->projectView(), hers);
    EXPECT_THAT(list.views(), IsEmpty());
    EXPECT_EQ(list.selectedRow(), -1);
    EXPECT_EQ(moc->undoManager()->actionName(), LocalizedString("DeleteView"));

    // The current view deleted is current no more; undo brings both back.
    list.findView({});
    list.selectRow(0);
    list.deleteView();
    EXPECT_TRUE(hers->isDeleted());
    EXPECT_EQ(moc->projectView(), nullptr);
    EXPECT_EQ(victoria->ancestralView(), nullptr);
    moc->undoManager()->closeOpenGroups();
    moc->undoManager()->undo();
    EXPECT_FALSE(hers->isDeleted());
    EXPECT_EQ(moc->projectView(), hers);
    EXPECT_EQ(victoria->ancestralView(), hers);
}

TEST_F(PreferencesTest, ADeletedPersonsViewLeavesTheList)
{
    FTPerson* victoria = person("Victoria", F());
    FTPerson* albert = person("Albert", M());
    FTProjectView* hers = view("A Victoria's Ancestors", victoria);
    FTProjectView* his = view("B Albert's Ancestors", albert);
    moc->modelDefaults()->setCurrentView(his);
    AncestralViewsList list(moc.get());
    list.findView({});
    ASSERT_EQ(list.selectedView(), his);

    // Another database's person, or a person without a view, changes nothing.
    auto other = newDatabase("Other.RezUdu");
    FTPerson* stranger = FTPerson::initInMoc(other.get(), "Stranger", M());
    NotificationCenter::defaultCenter().post("PersonToBeDeleted", stranger, other.get());
    NotificationCenter::defaultCenter().post("PersonToBeDeleted", person("Nobody"), moc.get());
    EXPECT_THAT(list.views(), ElementsAre(hers, his));

    NotificationCenter::defaultCenter().post("PersonToBeDeleted", victoria, moc.get());
    EXPECT_THAT(list.views(), ElementsAre(his));
    EXPECT_EQ(list.selectedView(), his); // the selection follows its row
    NotificationCenter::defaultCenter().post("PersonToBeDeleted", albert, moc.get());
    EXPECT_THAT(list.views(), IsEmpty());
    EXPECT_EQ(list.selectedRow(), -1);
}

// ---- An event's day on a calendar -----------------------------------------------------------------------------

TEST(EventCalendarDayTest, APartialDateShowsTheFirstDayOfItsPeriod)
{
    const QDate today(2024, 7, 14);
    struct Case {
        int year, month, day;
        QDate shown;
    };
    const Case cases[] = {
        {1900, 3, 5, QDate(1900, 3, 5)},   {1900, 3, 0, QDate(1900, 3, 1)},  {1900, 0, 0, QDate(1900, 1, 1)},
        {0, 0, 0, today},                  {0, 3, 5, today},                 {1900, 2, 30, QDate(1900, 2, 1)},
        {1900, 13, 1, QDate(1900, 1, 1)},  {1066, 10, 14, QDate(1066, 10, 14)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EventCalendarDay::dayShown(c.year, c.month, c.day, today), c.shown)
            << c.year << "-" << c.month << "-" << c.day;
    EXPECT_EQ(EventCalendarDay::dayShown(nullptr, today), today);
}

TEST_F(PreferencesTest, APickedDayKeepsTheQualifierAndAnUnchangedDateIsNotWritten)
{
    FTPerson* victoria = person("Victoria", F());
    FTEvent* birth = date(victoria, "birth", 24, 5, 1819);
    FTEvent* death = date(victoria, "death", 0, 0, 1900, 1); // 'abt 1900'
    ASSERT_EQ(death->date(), "abt 1900");
    ASSERT_TRUE(moc->saveMoc());
    moc->undoManager()->closeOpenGroups();
    moc->undoManager()->removeAllActions();
    const QDateTime stamp = victoria->lastChange();

    // The full date picked as it is: nothing written, no stamp, no undo entry.
    EXPECT_FALSE(EventCalendarDay::setPickedDay(birth, QDate(1819, 5, 24)));
    moc->undoManager()->closeOpenGroups();
    EXPECT_FALSE(moc->hasChanges());
    EXPECT_FALSE(moc->undoManager()->canUndo());
    EXPECT_EQ(victoria->lastChange(), stamp);

    EXPECT_TRUE(EventCalendarDay::setPickedDay(death, QDate(1900, 3, 5)));
    EXPECT_EQ(death->date(), "abt 05 Mar 1900");
    EXPECT_EQ(death->qual(), 1);
    EXPECT_EQ(death->day(), 5);
    EXPECT_EQ(death->month(), 3);
    moc->undoManager()->closeOpenGroups();
    EXPECT_TRUE(moc->undoManager()->canUndo());

    EXPECT_FALSE(EventCalendarDay::setPickedDay(death, QDate()));
    EXPECT_FALSE(EventCalendarDay::setPickedDay(nullptr, QDate(1900, 3, 5)));
    EXPECT_EQ(death->date(), "abt 05 Mar 1900");
}
