#include "publishing/HtmlOptions.h"

#include "TestSupport.h"

#include "platform/UserDefaults.h"

#include <gtest/gtest.h>

namespace {
QVariantMap htmlDefaults()
{
    QVariantMap out;
    UserDefaults& d = UserDefaults::standard();
    for (const QString& key : d.allKeys())
        if (key.startsWith("html"))
            out.insert(key, d.objectForKey(key).toString());
    return out;
}

TEST(HtmlOptions, TheStandardSetIsTheFirstRunSetWithLivingPeopleDepersonalized)
{
    TestSupport::useFirstRunDefaults();
    QVariantMap expected = htmlDefaults();
    ASSERT_GT(expected.size(), 50);
    expected["htmlDepersonalizeLivingPeople"] = QVariant(true).toString();
    HtmlOptions::setiPhoneDefaults();
    HtmlOptions::setDefaults();
    EXPECT_EQ(htmlDefaults(), expected);
}

TEST(HtmlOptions, TheSmallScreenSetAndBackAsTheRunReadsThem)
{
    TestSupport::useFirstRunDefaults();
    const HtmlOptions firstRun = HtmlOptions::fromUserDefaults();
    EXPECT_TRUE(firstRun.excludeLivingPeople);
    EXPECT_FALSE(firstRun.depersonalizeLivingPeople);
    EXPECT_EQ(firstRun.kinship, 1);

    HtmlOptions::setiPhoneDefaults();
    HtmlOptions o = HtmlOptions::fromUserDefaults();
    EXPECT_EQ(o.cdDiagramWidth, 480);
    EXPECT_EQ(o.cdDiagramGenerations, 1);
    EXPECT_EQ(o.colourGradient, 0.0);
    EXPECT_EQ(o.bgColour, QColor(255, 255, 255));
    EXPECT_TRUE(o.oneColumnIndexForiPhone);
    EXPECT_FALSE(o.excludeLivingPeople);

    HtmlOptions::setDefaults();
    o = HtmlOptions::fromUserDefaults();
    EXPECT_EQ(o.cdDiagramWidth, 800);
    EXPECT_EQ(o.cdDiagramGenerations, 3);
    EXPECT_DOUBLE_EQ(o.colourGradient, 0.4);
    EXPECT_EQ(o.bgColour, QColor(255, 255, 240));
    EXPECT_TRUE(o.depersonalizeLivingPeople);
}
} // namespace
