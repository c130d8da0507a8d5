// The active source panel run from the toolbar's active-source button, and the picture citations window.

#include "CitingFixture.h"

#include "model/FTPicture.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QTextEdit>
#include <QToolButton>

#include <gmock/gmock.h>

class ActiveSourcePanelTest : public CitingFixture {
protected:
    void SetUp() override
    {
        CitingFixture::SetUp();
        census = source(1, {{"type", "Census"}, {"title", "1881 census of Kew"}, {"author", "GRO"}});
        will = source(2, {{"type", "Will"}, {"title", "Will of John Smith"}});
    }
    // The toolbar's active-source button, as the user presses it; `inPanel` acts on the panel it runs.
    void pressActiveSourceButton(std::function<void(ActiveSourceSelect*)> inPanel = {})
    {
        panelSeen = false;
        whenModalShows([this, inPanel](QWidget* w) {
            auto* panel = qobject_cast<ActiveSourceSelect*>(w);
            panelSeen = panel != nullptr;
            if (panel && inPanel)
                inPanel(panel);
            else if (panel)
                panel->done(0);
        });
        doc->toolbarController()->activeSourceButton()->click();
    }

    FTSource* census = nullptr;
    FTSource* will = nullptr;
    bool panelSeen = false;
};

TEST_F(ActiveSourcePanelTest, WithoutAnActiveSourceTheSourcesEditorOpens)
{
    ASSERT_TRUE(doc->toolbarController()->activeSourceButton()->isEnabled());
    pressActiveSourceButton();
    EXPECT_FALSE(panelSeen);
    ASSERT_NE(editor(), nullptr);
    editor()->closeSheet();
}

TEST_F(ActiveSourcePanelTest, DeactivatingClosesWithZeroAndChangingWithOneOpensTheSourcesEditor)
{
    FTPerson* ann = FTPerson::initInMoc(moc, "Ann Smith", "F");
    FTSourceRel::initInMoc(moc, census, ann, "Name")->setNotes("Lodger at no. 4.");
    moc->setActiveSource(census);
    doc->toolbarController()->setActiveSourceButtonCell();

    pressActiveSourceButton([](ActiveSourceSelect* panel) { panel->changeActiveSource(); });
    EXPECT_TRUE(panelSeen);
    EXPECT_EQ(moc->activeSource(), census);
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(editor()->currentSource(), census);
    editor()->closeSheet();

    pressActiveSourceButton([this](ActiveSourceSelect* panel) {
        EXPECT_EQ(panel->sourceRelsArrayController()->rowCount(), 1);
        panel->tv()->selectRow(0);
        EXPECT_EQ(panel->notesTextView()->toPlainText(), "Lodger at no. 4.");
        panel->resize(760, 380);
        saveScreenshot(panel, "ActiveSourceSelect");
        panel->deactivateActiveSource();
    });
    EXPECT_TRUE(panelSeen);
    EXPECT_EQ(moc->activeSource(), nullptr);
    EXPECT_EQ(editor(), nullptr);
    EXPECT_FALSE(doc->toolbarController()->activeSourceButton()->styleSheet().contains("#c8ffc8"));

    // The menu command does the same; the panel opens at the size it closed with.
    moc->setActiveSource(census);
    panelSeen = false;
    whenModalShows([this](QWidget* w) {
        panelSeen = w && w->size() == QSize(760, 380);
        static_cast<QDialog*>(w)->done(0);
    });
    SourcesMenuActions::activateActiveSource();
    EXPECT_TRUE(panelSeen);
}

TEST_F(ActiveSourcePanelTest, ThePanelsButtonChangesTheActiveSourceAtOnceAndPromotesHusbandOrWife)
{
    FTPerson* bob = FTPerson::initInMoc(moc, "Bob Smith", "M");
    FTPerson* ann = FTPerson::initInMoc(moc, "Ann Smith", "F");
    auto* couple = FTSpouseRel::initInMoc(moc);
    couple->addPartnersObject(bob);
    couple->addPartnersObject(ann);
    FTEvent* marriage = FTEvent::initInMoc(moc, FTEvent::MarriageEvent, couple, "MARR");
    FTSourceRel::initInMoc(moc, will, marriage, "Marriage");
    moc->setActiveSource(census);
    moc->setActiveSourcePageRef("Folio 2");

    ActiveSourceSelect panel(moc, doc->dovurWindow());
    EXPECT_EQ(panel.sourceRelsArrayController()->rowCount(), 0);
    QMenu* menu = click(panel.selectASourceButton());
    entry(entry(menu, "Will")->menu(), "Will of John Smith")->trigger();
    EXPECT_EQ(moc->activeSource(), will);
    EXPECT_TRUE(moc->activeSourcePageRef().isEmpty());
    EXPECT_TRUE(doc->toolbarController()->activeSourceButton()->styleSheet().contains("#c8ffc8"));
    ASSERT_EQ(panel.sourceRelsArrayController()->rowCount(), 1);
    EXPECT_TRUE(panel.sourceLabel()->text().contains("Will of John Smith"));

    panel.tv()->selectRow(0);
    prompts.answer(1); // the wife
    panel.promoteToFocalPerson();
    EXPECT_EQ(moc->focalPerson(), ann);
    EXPECT_EQ(prompts.records.last().buttons, QStringList({"Bob", "Ann"}));
    panel.promoteToFocalPerson(); // the first button: the husband
    EXPECT_EQ(moc->focalPerson(), bob);
}

TEST_F(ActiveSourcePanelTest, ThePictureCitationsWindowListsCitesAndKeepsItsSize)
{
    FTPerson* ann = FTPerson::initInMoc(moc, "Ann Smith", "F");
    FTPicture* picture = FTPicture::initInMoc(moc, "", ann);
    picture->setName("Wedding portrait");
    FTSourceRel* existing = FTSourceRel::initInMoc(moc, census, picture, "Image, Date, Notes");
    existing->setReference("Plate 3");

    auto* window = new PictureSourceReferences(picture, doc->dovurWindow());
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->open();
    QApplication::setActiveWindow(window);
    const QSize first = window->size();
    ASSERT_EQ(window->sourceRelsArrayController()->rowCount(), 1);
    EXPECT_EQ(window->sourceRelsArrayController()->sectionOf(CitationTableModel::Relationship), -1);
    EXPECT_FALSE(window->sourceRelsArrayController()->data(window->sourceRelsArrayController()->index(0, 1),
        Qt::ToolTipRole).isValid());

    QMenu* menu = click(window->selectASourceButton());
    entry(entry(menu, "Will")->menu(), "Will of John Smith")->trigger();
    ASSERT_EQ(sheets().size(), 1);
    SourceReferenceDialog* sheet = sheets().first();
    EXPECT_EQ(sheet->objectName(), "PicSourceReference");
    EXPECT_EQ(sheet->parentWidget(), window); // a sheet on this window
    ASSERT_EQ(window->sourceRelsArrayController()->rowCount(), 2);
    saveScreenshot(window, "PictureSourceReferences");
    // Deleted in its sheet, the citation leaves the list.
    sheet->deleteSourceReference();
    EXPECT_EQ(window->sourceRelsArrayController()->rowCount(), 1);

    window->resize(700, 300);
    window->close();
    auto* second = new PictureSourceReferences(picture, doc->dovurWindow());
    EXPECT_EQ(second->size(), QSize(700, 300));
    second->resize(240, 300); // too narrow to be kept
    second->close();
    delete second;
    PictureSourceReferences third(picture, doc->dovurWindow());
    EXPECT_EQ(third.size(), first);
}
