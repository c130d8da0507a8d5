// The map window as the running program opens it: from the map item of the events page's menu, on the database's
// main window.

#include "app/InstallApplication.h"

#include "editor/ui/EventsTableModel.h"
#include "editor/ui/InfoAreaController.h"
#include "editor/ui/InfoArea_Events.h"
#include "editor/ui/InfoArea_Events_TableView.h"

#include "publishing/MapProvider.h"
#include "publishing/ui/GoogleMaps.h"

#include "model/FTEvent.h"
#include "model/FTPerson.h"
#include "model/FTModelDefaults.h"

#include "../shell/ui/ApplicationFixture.h"
#include "LoopbackHttpServer.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>

namespace {
class MapFromEventsPage : public ApplicationFixture {
protected:
    void TearDown() override
    {
        MapProvider::setCurrent(nullptr);
        ApplicationFixture::TearDown();
    }
};
}

TEST_F(MapFromEventsPage, TheEventsPageMapItemOpensTheMapWindowOnTheMainWindow)
{
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // Nothing leaves this machine: the map site is an address where nothing answers.
    MapProvider::setCurrent(std::make_shared<OpenStreetMap>(LoopbackHttpServer::closedPortUrl()));
    AppController controller;
    installApplication(controller);
    ASSERT_TRUE(controller.awakeFromNib());
    DOvurDocument* doc = controller.openDocumentWithContentsOfURL(makeDatabase(data + "/Family.RezUdu"));
    ASSERT_TRUE(doc);
    FTPerson* person = doc->moc()->focalPerson();
    ASSERT_TRUE(person);
    person->setValueForKeyPath("birth.place", "Leeds, Yorkshire");
    doc->moc()->modelDefaults()->setSelectedPerson(person);
    auto* editor = qobject_cast<InfoAreaController*>(doc->pInfoArea());
    ASSERT_TRUE(editor && editor->choosePage("pEvents"));
    auto* page = qobject_cast<InfoArea_Events*>(editor->page("pEvents"));
    ASSERT_TRUE(page);
    QApplication::processEvents();
    const int row = page->eventsModel()->rowOf(person->birth());
    ASSERT_GE(row, 0);

    std::unique_ptr<QMenu> menu(page->tableView()->createContextMenu(row));
    ASSERT_TRUE(menu);
    QAction* item = nullptr;
    for (QAction* a : menu->actions())
        if (a->text() == LocalizedString("GoogleMaps"))
            item = a;
    ASSERT_TRUE(item);
    item->trigger();

    GoogleMaps* map = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* m = qobject_cast<GoogleMaps*>(w); m && m->isVisible())
            map = m;
    ASSERT_TRUE(map);
    EXPECT_EQ(map->event(), person->birth());
    EXPECT_EQ(map->parentWidget(), doc->dovurWindow());
    EXPECT_TRUE(doc->hasAttachedSheet());
    map->closeSheet();
    QApplication::processEvents();
    EXPECT_FALSE(map->isVisible());
}
