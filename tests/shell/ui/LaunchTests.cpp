// Starting the program: which database opens, and what happens when it cannot.
#include "ApplicationFixture.h"

#include "shell/RecentDocuments.h"
#include "shell/ui/NoDatabaseWindow.h"

#include "model/FTPerson.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMainWindow>

#include <gmock/gmock.h>

using ::testing::HasSubstr;

namespace {

class Launch : public ApplicationFixture { };

TEST_F(Launch, AFirstStartCopiesTheSampleAndOpensIt)
{
    makeDatabase(support + "/Royal92.RezUdu");
    QFile ged(support + "/royal92.ged");
    ASSERT_TRUE(ged.open(QIODevice::WriteOnly));
    ged.write("0 HEAD\n0 TRLR\n");
    ged.close();

    useEmptyHome();
    ASSERT_FALSE(QFileInfo::exists(data));
    start();
    EXPECT_TRUE(QFileInfo::exists(data + "/Royal92.RezUdu"));
    EXPECT_TRUE(QFileInfo::exists(data + "/royal92.ged"));
    app->applicationDidFinishLaunching();

    ASSERT_EQ(documents().size(), 1);
    DOvurDocument* doc = documents().first();
    EXPECT_EQ(doc->fileURL(), data + "/Royal92.RezUdu");
    EXPECT_TRUE(doc->dovurWindow()->isVisible());
    EXPECT_EQ(app->noDatabaseWindow(), nullptr);
    EXPECT_EQ(ModelHooks::shared().currentDocumentMoc(), doc->moc());
    EXPECT_TRUE(texts().isEmpty()) << texts().join("\n").toStdString();
}

// The sample the build imported from royal92.ged is what a first start copies and opens.
TEST_F(Launch, TheSampleDatabaseTheBuildMadeOpensAtFirstStart)
{
    ASSERT_TRUE(QFileInfo(copySampleDatabase(support)).isFile());

    useEmptyHome();
    start();
    app->applicationDidFinishLaunching();
    ASSERT_EQ(documents().size(), 1);
    DOvurDocument* doc = documents().first();
    EXPECT_EQ(doc->fileURL(), data + "/Royal92.RezUdu");
    EXPECT_GT(doc->moc()->count<FTPerson>(), 3000);
    EXPECT_TRUE(doc->dovurWindow()->isVisible());
    EXPECT_TRUE(texts().isEmpty()) << texts().join("\n").toStdString();
    // KINLOOM_TEST_GRABS names a folder to keep a picture of the window in.
    if (const QString grabs = qEnvironmentVariable("KINLOOM_TEST_GRABS"); !grabs.isEmpty())
        doc->dovurWindow()->grab().save(grabs + "/royal92-first-start.png");
}

TEST_F(Launch, TheNewestRecentDatabaseOutsideTheTrashOpens)
{
    const QString trashed = makeDatabase(dir.path() + "/.local/share/Trash/files/Old.RezUdu");
    const QString family = makeDatabase(data + "/Family.RezUdu");
    makeDatabase(data + "/Other.RezUdu");
    start();
    UserDefaults::standard().setObject(RecentDocuments::kKey,
                                       QStringList {trashed, family, data + "/Other.RezUdu"});
    app->applicationDidFinishLaunching();
    ASSERT_EQ(documents().size(), 1);
    EXPECT_EQ(documents().first()->fileURL(), family);
    EXPECT_EQ(RecentDocuments::paths().first(), family);
}

TEST_F(Launch, ADatabaseNamedOnTheCommandLineOpensInsteadOfTheRecentOne)
{
    const QString family = makeDatabase(data + "/Family.RezUdu");
    const QString named = makeDatabase(dir.path() + "/elsewhere/Named.RezUdu");
    start();
    RecentDocuments::noteNewRecentDocument(family);
    app->applicationDidFinishLaunching({named});
    ASSERT_EQ(documents().size(), 1);
    EXPECT_EQ(documents().first()->fileURL(), named);
    EXPECT_EQ(RecentDocuments::paths().first(), named);
}

TEST_F(Launch, ADatabaseThatCannotBeReadFallsBackToTheSample)
{
    QDir().mkpath(data);
    QFile broken(data + "/Broken.RezUdu");
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("this is not a database");
    broken.close();
    makeDatabase(data + "/ROYAL92.RezUdu");
    start();
    UserDefaults::standard().setObject(RecentDocuments::kKey, QStringList {data + "/Broken.RezUdu"});

    app->applicationDidFinishLaunching();
    // One message, the one that says what is wrong with the file.
    ASSERT_EQ(texts().size(), 1) << texts().join("|").toStdString();
    EXPECT_TRUE(texts().first().startsWith("\"" + data + "/Broken.RezUdu\" is not a Kinloom database"))
        << texts().first().toStdString();
    ASSERT_EQ(documents().size(), 1);
    EXPECT_EQ(documents().first()->fileURL(), data + "/ROYAL92.RezUdu");
    EXPECT_EQ(openPanelRuns, 0);
}

TEST_F(Launch, WithoutASampleTheOpenPanelFollowsAndCancellingLeavesTheEmptyWindow)
{
    start();
    const QString gedcom = data + "/family.ged";
    QFile f(gedcom);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("0 HEAD\n0 TRLR\n");
    f.close();

    const QString chosen = makeDatabase(dir.path() + "/Chosen.RezUdu");
    openPanelAnswer = chosen;
    EXPECT_NE(app->openDocumentWithContentsOfURL(gedcom), nullptr);
    EXPECT_THAT(texts().join("|").toStdString(),
                HasSubstr("To open a Gedcom file you must use menu option \"File -> Gedcom Load\""));
    EXPECT_EQ(openPanelRuns, 1);
    ASSERT_EQ(documents().size(), 1);
    EXPECT_EQ(documents().first()->fileURL(), chosen);

    DocumentController::shared().closeAllDocuments();
    openPanelAnswer.clear();
    EXPECT_EQ(app->openDocumentWithContentsOfURL(dir.path() + "/Missing.RezUdu"), nullptr);
    EXPECT_EQ(openPanelRuns, 2);
    EXPECT_TRUE(documents().isEmpty());
    ASSERT_NE(app->noDatabaseWindow(), nullptr);
    EXPECT_TRUE(app->noDatabaseWindow()->isVisible());
    EXPECT_EQ(app->noDatabaseWindow()->messageLabel()->text(), LocalizedString("NoDatabaseOpen"));
}

TEST_F(Launch, NothingToOpenShowsTheEmptyWindowAndItsMenusAllowOnlyStartingOrOpening)
{
    start();
    app->applicationDidFinishLaunching();
    EXPECT_TRUE(documents().isEmpty());
    ASSERT_NE(app->noDatabaseWindow(), nullptr);
    EXPECT_TRUE(texts().isEmpty()) << texts().join("\n").toStdString();

    QStringList enabled, disabled;
    for (QAction* menu : app->noDatabaseWindow()->menuBar()->actions())
        for (QAction* item : menu->menu()->actions())
            if (!item->isSeparator())
                (item->isEnabled() ? enabled : disabled) << item->text();
    EXPECT_TRUE(enabled.contains("New...") && enabled.contains("Open...") && enabled.contains("Quit Kinloom"))
        << enabled.join(", ").toStdString();
    EXPECT_TRUE(disabled.contains("Undo") && disabled.contains("Close") && disabled.contains("Save"))
        << disabled.join(", ").toStdString();
}

TEST_F(Launch, ADatabaseInTheTrashIsRefusedWhenOpenedByHand)
{
    start();
    const QString trashed = makeDatabase(dir.path() + "/trash/In.RezUdu");
    EXPECT_EQ(app->openDocumentWithContentsOfURL(trashed), nullptr);
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].text, QStringLiteral("File %1\n\n was ignored because it is in the Trash").arg(trashed));
    EXPECT_EQ(openPanelRuns, 0);
}

TEST_F(Launch, AnOldDatabaseIsOfferedForConversionOnceIdleAndLeftAsItWas)
{
    const QString old = makeDatabase(data + "/Old.RezUdu");
    {
        ObjectContext ctx(*FTMoc::schemaForMomVersion("DOvurV6"));
        ASSERT_TRUE(ctx.open(old));
        ctx.setMetadataValue(FTMoc::kMomKey, "DOvurV5");
        ASSERT_TRUE(ctx.save());
    }
    QFile f(old);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray before = f.readAll();
    f.close();

    start();
    prompts.answer(1); // Ignore
    EXPECT_EQ(app->openDocumentWithContentsOfURL(old), nullptr);
    EXPECT_EQ(openPanelRuns, 0);
    const qsizetype shown = prompts.records.size();
    EXPECT_EQ(shown, 1); // the opening's own message only: the offer waits for the idle moment
    NotificationCenter::defaultCenter().flushQueue();
    ASSERT_EQ(prompts.records.size(), shown + 1);
    EXPECT_EQ(prompts.records[shown].kind, ScriptedPrompts::Choose);
    EXPECT_THAT(prompts.records[shown].text.toStdString(), HasSubstr("Would you like to convert:\n\nOld.RezUdu"));
    EXPECT_EQ(prompts.records[shown].buttons, (QStringList {"Convert", "Ignore"}));
    EXPECT_TRUE(documents().isEmpty());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
}

TEST_F(Launch, OpeningADatabaseAlreadyOpenBringsItsWindowForward)
{
    const QString family = makeDatabase(data + "/Family.RezUdu");
    start();
    DOvurDocument* first = app->openDocumentWithContentsOfURL(family);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(app->openDocumentWithContentsOfURL(data + "/../KinloomData/Family.RezUdu"), first);
    EXPECT_EQ(documents().size(), 1);
}

}
