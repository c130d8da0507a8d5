// The three colour schemes of the diagram colours window, written into the user defaults.
#include "DiagramFixture.h"

#include "diagrams/DiagramColourSchemes.h"

#include "platform/NotificationCenter.h"
#include "platform/UserDefaults.h"

namespace {

class DiagramColourSchemesTest : public DiagramFixture {
protected:
    static QString colour(const char* key) { return UserDefaults::standard().colorForKey(key).name(); }
    static double number(const char* key) { return UserDefaults::standard().doubleForKey(key); }
};

TEST_F(DiagramColourSchemesTest, EachSchemeWritesItsTableAndRefreshesEveryViewOnce)
{
    struct Case {
        DiagramColourSchemes::Scheme scheme;
        QStringList colours; // cdBg, selected, spouse, other, ancestral view, panels, main window
        double gradient, personGradient, shadowSize;
    };
    const Case cases[] = {
        {DiagramColourSchemes::Defaults,
         {"#bffaed", "#ffdcdc", "#ffffe6", "#f2ffff", "#ebffe3", "#cce2d5", "#b8cabe"}, 0.4, 0.25, 5},
        // The classic panels take the control colour given.
        {DiagramColourSchemes::Classic,
         {"#ffffff", "#ffdcdc", "#ffffe6", "#f2ffff", "#ebffe3", "#123456", "#b9b9b9"}, 0.2, 0.15, 5},
        {DiagramColourSchemes::Demo,
         {"#ffffb9", "#ffbdbd", "#ffffb9", "#b8ffff", "#cdffb6", "#bbd3b9", "#cbca91"}, 0.5, 0.35, 15},
    };
    int refreshes = 0;
    NotificationCenter::defaultCenter().addObserver("RefreshAllViews", nullptr,
                                                    [&](const Notification&) { ++refreshes; }, this);
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.scheme));
        UserDefaults& d = UserDefaults::standard();
        d.setBool("showShadows", false);
        // The hierarchy diagram's colours, as the user left them.
        d.setColor("hdBgColour", QColor(10, 20, 30));
        d.setColor("hdFrameColour", QColor(40, 50, 60));
        d.setDouble("hdColourGradient", 0.7);
        refreshes = 0;

        DiagramColourSchemes::apply(c.scheme, QColor(0x12, 0x34, 0x56));

        QStringList written;
        for (const QString& key : DiagramColourSchemes::colourKeys())
            written << d.colorForKey(key).name();
        EXPECT_EQ(written, c.colours);
        EXPECT_DOUBLE_EQ(number("cdColourGradient"), c.gradient);
        EXPECT_DOUBLE_EQ(number("cdPersonColourGradient"), c.personGradient);
        EXPECT_DOUBLE_EQ(number("cdShadowSize"), c.shadowSize);
        EXPECT_TRUE(d.boolForKey("showShadows"));
        EXPECT_EQ(refreshes, 1);
        const bool classic = c.scheme == DiagramColourSchemes::Classic;
        EXPECT_EQ(colour("hdBgColour"), classic ? "#ffffff" : "#0a141e");
        EXPECT_EQ(colour("hdFrameColour"), classic ? "#b9b9b9" : "#28323c");
        EXPECT_DOUBLE_EQ(number("hdColourGradient"), classic ? 0 : 0.7);
    }
    NotificationCenter::defaultCenter().removeObserversOf(this);
}

} // namespace
