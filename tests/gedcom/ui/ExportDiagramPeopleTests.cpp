// File > "Export Diagram's People...": the GEDCOM export sheet on the people of the family diagram's boxes.
#include "GedcomWindowFixture.h"

#include "gedcom/ExportToGedcom.h"
#include "gedcom/ui/ExportToGedcomController.h"
#include "gedcom/ui/GedcomMenuActions.h"

#include "diagrams/ui/FamilyDiagramSetup.h"

#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

namespace {

class ExportDiagramPeople : public GedcomWindowFixture {
protected:
    void SetUp() override
    {
        GedcomWindowFixture::SetUp();
        installFamilyDiagram();
        // The parents' generation only: Gus Great, Fay's grandfather, is left out.
        UserDefaults::standard().setInteger("maxAncestorLevel", 1);
        start();
        doc = openDatabase(makeFamilyDatabase("Family"));
        ASSERT_TRUE(doc);
        prompts.clear();
    }
    void TearDown() override
    {
        GedcomWindowFixture::TearDown();
        uninstallFamilyDiagram();
    }
    ExportToGedcomController* sheet() const
    {
        for (auto* s : doc->dovurWindow()->findChildren<ExportToGedcomController*>(Qt::FindDirectChildrenOnly))
            if (s->isVisible())
                return s;
        return nullptr;
    }
    QStringList exported(bool allSpouses)
    {
        GedcomMenuActions::exportSelectionToGedcomFile(allSpouses);
        ExportToGedcomController* s = sheet();
        if (!s)
            return {"no sheet"};
        EXPECT_TRUE(s->exporter().selectiveExport());
        QStringList names;
        for (const FTPerson* p : s->exporter().setOfPeopleToExport())
            names << p->name();
        names.sort();
        s->exitButton()->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return names;
    }
    DOvurDocument* doc = nullptr;
};

TEST_F(ExportDiagramPeople, TheDiagramsPeopleAndOnRequestTheirSpousesAreExported)
{
    // Gus Great above Fred is one generation too far; Kit's wife is not in the diagram.
    const QStringList shown {"Fay FOCAL", "Flo FOSTER", "Fred FATHER", "Hal HUSBAND", "Kit KID", "Mary MOTHER",
                             "Sid STEP"};
    EXPECT_EQ(exported(false), shown);
    EXPECT_EQ(exported(true), QStringList(shown) << "Wyn WIFE");

    // The two File menu items, the second naming the spouses.
    GedcomMenuActions::registerMenuItems(*app);
    std::unique_ptr<QMenuBar> bar(app->createMainMenu(doc->dovurWindow()));
    QStringList items;
    for (QAction* menu : bar->actions())
        if (menu->menu() && menu->text() == "File")
            for (QAction* item : menu->menu()->actions())
                items << item->text();
    EXPECT_TRUE(items.contains("Export Diagram's People to Gedcom File..."));
    EXPECT_TRUE(items.contains("Export Diagram's People plus " + LocalizedString("AllSpouses") + " to Gedcom File..."));
}

} // namespace
