#include "shell/Utils.h"

#include "platform/ScriptedPrompts.h"
#include "platform/UserDefaults.h"
#include "platform/Workspace.h"

#include "TestSupport.h"
#include "WorkspaceFixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
class Applications : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestSupport::useFreshDefaults();
        tmp = std::make_unique<QTemporaryDir>(TestSupport::tempRoot() + "/apps-XXXXXX");
        UserDefaults::standard().setString("KinloomDataDirectory", tmp->path());
        Prompts::install(&prompts);
        const QString probe = tmp->path() + "/probe.rtf";
        QFile f(probe);
        f.open(QIODevice::WriteOnly);
        f.write("{\\rtf1 x}");
        f.close();
        fx = std::make_unique<WorkspaceFixture>(tmp->path(), Workspace::shared().mimeTypeForFile(probe));
    }
    void TearDown() override
    {
        fx.reset();
        Prompts::install(nullptr);
    }
    std::unique_ptr<QTemporaryDir> tmp;
    std::unique_ptr<WorkspaceFixture> fx;
    ScriptedPrompts prompts;
};
}

TEST_F(Applications, ListedSortedWithTheDefaultFirst)
{
    const QStringList expected{"editor.desktop", "kde-sub.desktop", "plain.desktop", "viewer.desktop"};
    EXPECT_EQ(Utils::applicationsThatOpenFile(tmp->path() + "/probe.rtf"), expected);
    EXPECT_EQ(Utils::applicationsThatOpenFile(tmp->path() + "/probe.rtf alias"), expected);
    EXPECT_TRUE(Utils::applicationsThatOpenFile(tmp->path() + "/none.rtf").isEmpty());

    EXPECT_EQ(Utils::rtfApplications(), expected);
    EXPECT_FALSE(QFile::exists(Utils::reportsDirectory() + "/rtfTestFile.rtf")) << "the test file is removed";
    // A file of that name that was already there is the user's and stays.
    QFile mine(Utils::reportsDirectory() + "/rtfTestFile.rtf");
    ASSERT_TRUE(mine.open(QIODevice::WriteOnly));
    mine.write("{\\rtf1 mine}");
    mine.close();
    EXPECT_EQ(Utils::rtfApplications(), expected);
    EXPECT_TRUE(QFile::exists(mine.fileName()));
    EXPECT_FALSE(Utils::csvApplications().contains("viewer.desktop"));
}

TEST_F(Applications, DisplayFileUsesTheChosenApplication)
{
    const QString file = tmp->path() + "/probe.rtf";
    UserDefaults::standard().setString("rtfApplication", "Test Editor");
    ASSERT_TRUE(Utils::displayFile(file, "defaultRtfApp"));
    EXPECT_EQ(fx->launched(), (QStringList{"--editor", file}));
    ASSERT_TRUE(Utils::displayFile(file, "plain.desktop"));
    EXPECT_EQ(fx->launched(), (QStringList{"--plain", file}));
    ASSERT_TRUE(Utils::displayFile(file, ""));
    EXPECT_EQ(fx->launched(), (QStringList{"--editor", file})) << "the type's default";
    EXPECT_TRUE(prompts.records.isEmpty());

    UserDefaults::standard().setString("rtfApplication", "TextEdit.app");
    EXPECT_FALSE(Utils::displayFile(file, "defaultRtfApp"));
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].text,
              "Unable to open file:\n\n " + file + "\n\n with Application\n\n TextEdit.app");
}
