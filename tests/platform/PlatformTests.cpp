#include "platform/FTLog.h"
#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"
#include "platform/ScriptedPrompts.h"
#include "platform/UserDefaults.h"

#include "TestSupport.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

TEST(NotificationCenter, IdlePostsCoalesceByNameAndObject)
{
    auto& nc = NotificationCenter::defaultCenter();
    int a = 0, b = 0;
    int objA = 0, objB = 0;
    auto t1 = nc.addObserver("SaveMoc", &objA, [&](const Notification&) { ++a; });
    auto t2 = nc.addObserver("SaveMoc", &objB, [&](const Notification&) { ++b; });
    for (int i = 0; i < 10; ++i)
        nc.enqueue("SaveMoc", &objA);
    nc.enqueue("SaveMoc", &objB);
    EXPECT_EQ(a, 0) << "an idle post waits for the event loop";
    QCoreApplication::processEvents();
    EXPECT_EQ(a, 1);
    EXPECT_EQ(b, 1);
    nc.removeObserver(t1);
    nc.removeObserver(t2);
}

TEST(NotificationCenter, ObserverRemovedDuringDeliveryIsNotCalled)
{
    auto& nc = NotificationCenter::defaultCenter();
    int calls = 0;
    NotificationCenter::Token second = 0;
    auto first = nc.addObserver("X", nullptr, [&](const Notification&) { nc.removeObserver(second); });
    second = nc.addObserver("X", nullptr, [&](const Notification&) { ++calls; });
    nc.post("X");
    EXPECT_EQ(calls, 0);
    nc.removeObserver(first);
}

TEST(UserDefaults, RegisterKeepsExistingValues)
{
    TestSupport::useFreshDefaults();
    auto& d = UserDefaults::standard();
    d.setInteger("cdFontSize", 14);
    d.registerDefaults({{"cdFontSize", 11}, {"loggingOn", false}, {"panelsBgColour", "#e0e0f0"}});
    EXPECT_EQ(d.integerForKey("cdFontSize"), 14);
    EXPECT_FALSE(d.boolForKey("loggingOn"));
    EXPECT_EQ(d.colorForKey("panelsBgColour"), QColor(0xe0, 0xe0, 0xf0));
}

namespace {
QStringList g_logged;
void capture(const QString& line) { g_logged << line; }
}

TEST(FTLog, SilentUnlessEnabled)
{
    TestSupport::useFreshDefaults();
    FTLogSetSink(capture);
    g_logged.clear();
    FTLog("quiet");
    EXPECT_TRUE(g_logged.isEmpty());
    UserDefaults::standard().setBool("loggingOn", true);
    FTLog("heard");
    gDevelopmentVersion = true;
    UserDefaults::standard().setBool("loggingOn", false);
    FTLog("development");
    gDevelopmentVersion = false;
    EXPECT_EQ(g_logged, QStringList({"heard", "development"}));
    FTLogSetSink(nullptr);
}

TEST(Localizer, ParsesTheStringsSyntax)
{
    QString error;
    auto t = Localizer::parse("/* c */\n\"a\" = \"A \\\"q\\\"\";\n// x\n\"b\"=\"line\\nnext\";", &error);
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
    EXPECT_EQ(t.value("a"), "A \"q\"");
    EXPECT_EQ(t.value("b"), "line\nnext");
    Localizer::parse("\"a\" = \"A\"\n\"b\" = \"B\";", &error);
    EXPECT_TRUE(error.startsWith("line 2")) << error.toStdString();
}

TEST(Localizer, MissingKeyAnswersTheKey)
{
    EXPECT_EQ(LocalizedString("MaleShort"), "M");
    EXPECT_EQ(LocalizedString("NoSuchKeyAnywhere"), "NoSuchKeyAnywhere");
}

// Every key the code asks for has its English text: scans the sources for LocalizedString("...") and
// LocalizedHelpString("...") and looks each key up in the shipped tables.
TEST(Localizer, EveryKeyUsedInTheCodeHasText)
{
    QStringList missing;
    const QRegularExpression re(R"re(Localized(Help)?String\(\s*(?:QStringLiteral\()?"((?:[^"\\]|\\.)*)")re");
    QDirIterator it(TestSupport::sourceDir() + "/src", {"*.cpp", "*.h"}, QDir::Files, QDirIterator::Subdirectories);
    QSet<QString> seen;
    while (it.hasNext()) {
        QFile f(it.next());
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(f.readAll());
        for (auto m = re.globalMatch(text); m.hasNext();) {
            auto match = m.next();
            QString key = match.captured(2);
            key.replace("\\\"", "\"").replace("\\n", "\n").replace("\\\\", "\\");
            const bool help = !match.captured(1).isEmpty();
            const QString table = help ? "Localizable.Help" : "Localizable";
            if (seen.contains(table + key))
                continue;
            seen.insert(table + key);
            if (!Localizer::shared().hasKey(key, table))
                missing << QStringLiteral("%1: \"%2\" (%3)").arg(table, key, it.fileName());
        }
    }
    EXPECT_TRUE(missing.isEmpty()) << missing.join("\n").toStdString();
}

TEST(ScriptedPrompts, RecordsAndAnswersInOrder)
{
    ScriptedPrompts p;
    p.answer(1);
    EXPECT_EQ(p.choose("Close?", {}, {"Close & Quit", "Close", "Cancel"}), 1);
    EXPECT_EQ(p.choose("Again?", {}, {"Yes", "No"}), 0);
    p.message("Hello");
    ASSERT_EQ(p.records.size(), 3);
    EXPECT_EQ(p.records[2].kind, ScriptedPrompts::Message);
}
