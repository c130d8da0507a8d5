// The places editor as the Events menu opens it: the filter, the events of the chosen places, renaming by editing
// the list, dates corrected in place, the date order, the map button and making an event's owner focal.

#include "ToolsWindowFixture.h"

#include "tools/EventsByDateModel.h"
#include "tools/TextListModel.h"
#include "tools/ui/EventPlacesEditor.h"

#include "editor/ui/EditorTableView.h"

#include "shell/ui/AppController.h"

#include "model/ModelHooks.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

#include <gmock/gmock.h>

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsSupersetOf;

namespace {
QStringList titles(const QMenu* menu)
{
    QStringList list;
    for (const QAction* item : menu->actions())
        if (!item->isSeparator())
            list << item->text();
    return list;
}
}

class PlacesEditorWindow : public ToolsWindowFixture {
protected:
    EventPlacesEditor* open()
    {
        ToolsMenuActions::editEventPlaces();
        EventPlacesEditor* e = sheet<EventPlacesEditor>();
        EXPECT_NE(e, nullptr);
        return e;
    }
};

TEST_F(PlacesEditorWindow, TheMenusOpenEachEditorAsASheetThatRefreshesEveryViewWhenItEnds)
{
    QMenuBar* bar = doc->dovurWindow()->menuBar();
    // Other tools share the menu: these are among its items, and every item opens its sheet below.
    EXPECT_THAT(titles(bar->findChild<QMenu*>("Events")),
                IsSupersetOf({"Edit Event Places...", "Find and Replace Event Places...", "Edit Event Names...",
                              "Edit Event Dates...", "Calculate Birth Dates from Christenings and Baptisms...",
                              "Calculate Death Dates from Burials and Cremations..."}));
    EXPECT_THAT(titles(bar->findChild<QMenu*>("People")), Contains("Edit Family Names..."));
    for (QAction* item : bar->findChild<QMenu*>("Events")->actions()) {
        if (item->isSeparator())
            continue;
        item->trigger();
        auto* opened = sheet<QDialog>();
        ASSERT_NE(opened, nullptr) << item->text().toStdString();
        EXPECT_TRUE(opened->isVisible());
        EXPECT_EQ(opened->windowModality(), Qt::WindowModal);
        EXPECT_TRUE(doc->hasAttachedSheet());
        const int before = refreshes;
        opened->done(0);
        EXPECT_EQ(refreshes, before + 1) << item->text().toStdString();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

TEST_F(PlacesEditorWindow, FilteringChoosingAndRenamingAPlace)
{
    FTPerson* ann = FTPerson::initInMoc(moc, "Ann Lee", "F");
    FTEvent* lodnon = FTEvent::initInMoc(moc, FTEvent::OtherPersonalEvent, ann, "RESI");
    lodnon->setPlace("Lodnon, England");
    moc->saveMoc();
    EventPlacesEditor* e = open();
    ASSERT_NE(e, nullptr);
    EXPECT_TRUE(e->prompted());
    EXPECT_EQ(e->selectedPlaces(), QStringList({e->locationsModel()->text(0)})) << "the first place is chosen";

    e->filterSearchField()->setText("lon eng");
    EXPECT_EQ(e->locationsModel()->texts(), QStringList({"London, England"}));
    EXPECT_EQ(e->selectedPlaces(), QStringList({"London, England"}));
    const QList<FTEvent*> atLondon = e->eventsModel()->events();
    ASSERT_GT(atLondon.size(), 1);
    for (const FTEvent* ev : atLondon)
        EXPECT_EQ(ev->place(), "London, England");
    for (int row = 1; row < atLondon.size(); ++row)
        EXPECT_LE(atLondon[row - 1]->lDate(), atLondon[row]->lDate()) << "by date";
    saveScreenshot(e, "EventPlacesEditor");

    // The date column's header turns the order round.
    Q_EMIT e->tv_Events()->horizontalHeader()->sectionClicked(EventsByDateModel::DateColumn);
    EXPECT_EQ(e->eventsModel()->events().first(), atLondon.last());
    EXPECT_EQ(e->tv_Events()->horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);

    // Renaming by editing the list, once the edit has closed.
    e->filterSearchField()->setText("lod");
    ASSERT_EQ(e->locationsModel()->texts(), QStringList({"Lodnon, England"}));
    ASSERT_TRUE(e->tv_Locations()->editCell(e->locationsModel()->index(0, 0)));
    EditorTableView::setEditorText(e->tv_Locations()->currentEditor(), "London, England");
    ASSERT_TRUE(e->tv_Locations()->endEditing());
    settleEvents();
    EXPECT_EQ(lodnon->place(), "London, England");
    EXPECT_THAT(texts(), ElementsAre(QString("1 %1 \"Lodnon, England\" %2 \"London, England\".")
                                         .arg(L("occurrencesOf"), L("areReplaced"))));
    EXPECT_TRUE(e->locationsModel()->texts().isEmpty()) << "the filter still holds and no place begins so now";
    EXPECT_FALSE(moc->places().contains("Lodnon, England"));
}

TEST_F(PlacesEditorWindow, ADateIsCorrectedInPlaceAndABadOneIsRefused)
{
    EventPlacesEditor* e = open();
    ASSERT_NE(e, nullptr);
    EditorTableView* table = e->tv_Events();
    FTEvent* first = e->eventsModel()->event(0);
    ASSERT_NE(first, nullptr);
    const QString before = first->date();
    ASSERT_TRUE(table->editCell(e->eventsModel()->index(0, EventsByDateModel::DateColumn)));
    EditorTableView::setEditorText(table->currentEditor(), "31 Foo 1900");
    EXPECT_FALSE(table->endEditing());
    EXPECT_FALSE(texts().isEmpty()) << "the format help";
    EXPECT_EQ(first->date(), before);
    EditorTableView::setEditorText(table->currentEditor(), "3 Mar 1901");
    EXPECT_TRUE(table->endEditing());
    EXPECT_EQ(first->date(), "03 Mar 1901");
}

TEST_F(PlacesEditorWindow, TheMapButtonSaysWhenTheMapIsNotThereAndRefreshesAfterIt)
{
    EventPlacesEditor* e = open();
    ASSERT_NE(e, nullptr);
    QPushButton* map = e->findChild<QPushButton*>("findInGoogleMaps");
    ASSERT_NE(map, nullptr);
    map->click();
    EXPECT_THAT(texts(), ElementsAre(L("SelectEventTryAgain")));

    e->tv_Events()->selectRow(0);
    FTEvent* chosen = e->selectedEvent();
    ASSERT_NE(chosen, nullptr);
    prompts.clear();
    ModelHooks::shared().openMapWindow = nullptr;
    map->click();
    EXPECT_THAT(texts(), ElementsAre(L("MapLookUpNotAvailable")));

    FTEvent* asked = nullptr;
    QObject* parent = nullptr;
    std::function<void()> didEnd;
    ModelHooks::shared().openMapWindow = [&](FTEvent& ev, QObject* p, std::function<void()> end) {
        asked = &ev;
        parent = p;
        didEnd = std::move(end);
    };
    map->click();
    EXPECT_EQ(asked, chosen);
    EXPECT_EQ(parent, e);
    ASSERT_TRUE(didEnd);
    const QString place = chosen->place();
    chosen->saveGoogleMapUrl("https://maps.example/?q=x&ll=1,2");
    didEnd();
    EXPECT_FALSE(moc->hasChanges()) << "saved when the map window ends";
    EXPECT_EQ(e->selectedPlaces(), QStringList({place}));
}

TEST_F(PlacesEditorWindow, MakingAnEventsOwnerFocalClosesTheEditor)
{
    EventPlacesEditor* e = open();
    ASSERT_NE(e, nullptr);
    e->tv_Events()->selectRow(0);
    FTEvent* chosen = e->selectedEvent();
    ASSERT_NE(chosen, nullptr);
    e->findChild<QPushButton*>("promoteToFocalPerson")->click();
    EXPECT_EQ(moc->focalPerson(), PlacesEditing::personForEvent(chosen));
    EXPECT_FALSE(e->isVisible());
}
