// The diagram colours window: its colour buttons, shading controls and scheme buttons write the user defaults at
// once, repaint the window itself and redraw the diagram.
#include "CdDiagramViewFixture.h"

#include "Screenshot.h"

#include "diagrams/ui/DiagramColours.h"

#include "shell/UtilsFunctions.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QPushButton>
#include <QSlider>

namespace {

class DiagramColoursWindow : public CdDiagramView {
protected:
    void SetUp() override
    {
        CdDiagramView::SetUp();
        NotificationCenter::defaultCenter().addObserver("RefreshAllViews", nullptr,
                                                        [this](const Notification&) { ++refreshes; }, this);
        panel = std::make_unique<DiagramColours>(diagram.get());
        panel->show();
        QCoreApplication::processEvents();
    }
    void TearDown() override
    {
        panel.reset();
        NotificationCenter::defaultCenter().removeObserversOf(this);
        CdDiagramView::TearDown();
    }
    QColor background() const { return panel->palette().color(QPalette::Window); }
    // Whether the diagram rebuilds its boxes (and so reads the colours) at its next pass.
    bool diagramRedraws()
    {
        const int before = diagram->rebuildCount();
        diagram->prepare();
        return diagram->rebuildCount() == before + 1;
    }

    std::unique_ptr<DiagramColours> panel;
    int refreshes = 0;
};

TEST_F(DiagramColoursWindow, AChosenColourIsStoredAndShownAtOnce)
{
    EXPECT_EQ(background(), PanelColour());
    saveScreenshot(panel.get(), "diagram-colours");

    panel->setColour("panelsBgColour", QColor(200, 180, 230));
    EXPECT_EQ(UserDefaults::standard().colorForKey("panelsBgColour"), QColor(200, 180, 230));
    EXPECT_EQ(background(), QColor(200, 180, 230));
    EXPECT_TRUE(diagramRedraws());

    panel->setColour("spouseColour", QColor(250, 240, 10));
    EXPECT_EQ(UserDefaults::standard().colorForKey("spouseColour"), QColor(250, 240, 10));
    EXPECT_TRUE(diagramRedraws());
    // The diagram's background goes through the diagram, which keeps it for its shading.
    panel->setColour("cdBgColour", QColor(10, 20, 30));
    EXPECT_EQ(UserDefaults::standard().colorForKey("cdBgColour"), QColor(10, 20, 30));
    EXPECT_TRUE(diagramRedraws());
    EXPECT_EQ(refreshes, 0);

    panel->diagramShadingSlider()->setValue(70);
    panel->boxShadingSlider()->setValue(5);
    panel->shadowSizeField()->setValue(9);
    EXPECT_DOUBLE_EQ(UserDefaults::standard().doubleForKey("cdColourGradient"), 0.7);
    EXPECT_DOUBLE_EQ(UserDefaults::standard().doubleForKey("cdPersonColourGradient"), 0.05);
    EXPECT_DOUBLE_EQ(UserDefaults::standard().doubleForKey("cdShadowSize"), 9);
    panel->shadowsBox()->setChecked(false);
    EXPECT_FALSE(UserDefaults::standard().boolForKey("showShadows"));
    EXPECT_FALSE(panel->shadowSizeField()->isEnabled());
    EXPECT_TRUE(diagramRedraws());
}

TEST_F(DiagramColoursWindow, ASchemeButtonRecoloursTheWindowAndRefreshesEveryViewOnce)
{
    panel->findChild<QPushButton*>("setDemoColours")->click();
    EXPECT_EQ(refreshes, 1);
    EXPECT_EQ(background(), QColor(187, 211, 185));
    EXPECT_EQ(panel->diagramShadingSlider()->value(), 50);
    EXPECT_EQ(panel->shadowSizeField()->value(), 15);
    EXPECT_TRUE(diagramRedraws());
    saveScreenshot(panel.get(), "diagram-colours-demo");

    // The classic panels are the desktop's own window colour.
    panel->findChild<QPushButton*>("setClassicColours")->click();
    EXPECT_EQ(refreshes, 2);
    EXPECT_EQ(background(), QApplication::palette().color(QPalette::Window));
    EXPECT_EQ(UserDefaults::standard().colorForKey("cdBgColour"), QColor(Qt::white));
}

} // namespace
