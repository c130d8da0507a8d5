// The conversion window: choosing an old database, running the conversion on its worker, and the road from
// opening an old database to working in the converted one.
#include "ApplicationFixture.h"
#include "OlderModelDOvurV5.h"
#include "Screenshot.h"

#include "shell/ui/CreateEventTypeIndex.h"
#include "shell/ui/NoDatabaseWindow.h"
#include "shell/ui/VersionMigrationController.h"

#include "model/FTEvent.h"
#include "model/FTModelDefaults.h"
#include "model/FTPerson.h"

#include <QAction>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

#include <gmock/gmock.h>

using ::testing::HasSubstr;

namespace {

QString L(const char* key) { return LocalizedString(QString::fromLatin1(key)); }

bool waitFor(const std::function<bool()>& done, int ms = 20000)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class VersionMigrationWindow : public ApplicationFixture {
protected:
    // An old database of `people` made-up people (their focal person is the first).
    QString oldDatabase(const QString& name, int people = 40)
    {
        const QString path = data + "/" + name;
        QString error;
        EXPECT_TRUE(createDOvurV5Store(path, [people](ObjectContext& ctx) { SyntheticDatabase::build(ctx, people); },
                                       &error))
            << error.toStdString();
        return path;
    }
    // A store of the model that `momKey` names (none: no key at all).
    QString storeStamped(const QString& name, const QString& momKey)
    {
        const QString path = makeDatabase(data + "/" + name, 3);
        if (!momKey.isNull()) {
            ObjectContext ctx(DOvurV6Schema());
            EXPECT_TRUE(ctx.open(path));
            ctx.setMetadataValue(FTMoc::kMomKey, momKey);
            EXPECT_TRUE(ctx.save());
        }
        return path;
    }
    static bool runToTheEnd(VersionMigrationController& window)
    {
        bool ended = false;
        QObject::connect(&window, &VersionMigrationController::migrationFinished, &window, [&] { ended = true; });
        if (!window.migrate())
            return false;
        return waitFor([&] { return ended; });
    }
    static VersionMigrationController* openWindow()
    {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* window = qobject_cast<VersionMigrationController*>(w); window && window->isVisible())
                return window;
        return nullptr;
    }
    // Acts on the conversion window once it runs modally.
    static void whenTheWindowOpens(std::function<void(VersionMigrationController*)> act)
    {
        QTimer::singleShot(10, [act] {
            if (VersionMigrationController* window = openWindow())
                act(window);
            else
                whenTheWindowOpens(act);
        });
    }

    RegisteredDOvurV5 v5;
};

// Which databases may be chosen, and the name the new one gets.
TEST_F(VersionMigrationWindow, ChoosingADatabaseChecksItsModelAndNamesTheNewFile)
{
    const QString smith = oldDatabase("Smith.RezUdu");
    storeStamped("Smith_1.RezUdu", FTMoc::kCurrentModelVersion); // taken
    const QString current = storeStamped("Current.RezUdu", FTMoc::kCurrentModelVersion);
    const QString noKey = storeStamped("NoKey.RezUdu", QString());
    const QString shortName = storeStamped("Short.RezUdu", "DOvur6");
    start();

    VersionMigrationController window;
    QStringList rows;
    for (int row = 0; row < window.tv()->rowCount(); ++row)
        rows << window.tv()->item(row, 0)->text() + " " + window.tv()->item(row, 1)->text();
    // The formats in words, never the data model's own name.
    EXPECT_EQ(rows, (QStringList {"NoKey.RezUdu Unknown format", "Short.RezUdu Unknown format",
                                  "Smith.RezUdu Older database format"}));
    // The first one listed is chosen: it has no model name.
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].text, QDir::toNativeSeparators(noKey) + "\n\n" + L("UnkDatamodel"));
    EXPECT_FALSE(window.migrateButton()->isEnabled());

    struct Case {
        QString path;
        QString message; // empty: may be converted
        QString newName;
    };
    const Case cases[] = {
        {current, QDir::toNativeSeparators(current) + "\n\n" + L("IsLatestModel"), {}},
        {noKey, QDir::toNativeSeparators(noKey) + "\n\n" + L("UnkDatamodel"), {}},
        {shortName, {}, "Short_1"},
        {smith, {}, "Smith_2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        prompts.clear();
        window.selectOldStorePath(c.path);
        EXPECT_EQ(window.oldStorePath(), c.path);
        EXPECT_EQ(texts(), c.message.isEmpty() ? QStringList() : QStringList {c.message});
        EXPECT_EQ(window.migrateButton()->isEnabled(), c.message.isEmpty());
        EXPECT_EQ(window.newStoreName(), c.newName);
        EXPECT_EQ(window.newStorePath(), c.newName.isEmpty() ? QString() : data + "/" + c.newName + ".RezUdu");
    }
    // Listed rows are chosen by selecting them.
    EXPECT_EQ(window.tv()->currentRow(), 2);
    EXPECT_EQ(window.oldMomVersion(), "DOvurV5");
    EXPECT_EQ(window.newMomVersion(), "DOvurV6");
    EXPECT_EQ(window.findChild<QLineEdit*>("oldMomVersion")->text(), "Older database format");
    EXPECT_EQ(window.findChild<QLineEdit*>("newMomVersion")->text(), "Current format");
    window.show();
    saveScreenshot(&window, "version-migration-chosen");

    // A database outside the data folder (one the user opened) is chosen as it stands, not the first one listed.
    const QString elsewhere = dir.path() + "/elsewhere/Jones.RezUdu";
    QDir().mkpath(QFileInfo(elsewhere).absolutePath());
    ASSERT_TRUE(createDOvurV5Store(elsewhere, [](ObjectContext& ctx) { SyntheticDatabase::build(ctx, 3); }));
    prompts.clear();
    VersionMigrationController opened(elsewhere);
    EXPECT_EQ(opened.oldStorePath(), elsewhere);
    EXPECT_TRUE(opened.tv()->selectedItems().isEmpty());
    EXPECT_EQ(opened.newStorePath(), data + "/Jones.RezUdu");
    EXPECT_TRUE(texts().isEmpty()) << texts().join("\n").toStdString();
}

// A database found with the Open panel is checked before it is chosen; one outside the data folder may be.
TEST_F(VersionMigrationWindow, TheOpenPanelFindsADatabaseOutsideTheDataFolder)
{
    const QString elsewhere = dir.path() + "/elsewhere";
    QDir().mkpath(elsewhere);
    QString error;
    ASSERT_TRUE(createDOvurV5Store(elsewhere + "/Jones.RezUdu",
                                   [](ObjectContext& ctx) { SyntheticDatabase::build(ctx, 5); }, &error));
    const QString current = storeStamped("Current.RezUdu", FTMoc::kCurrentModelVersion);
    start();
    VersionMigrationController window;
    window.show();
    EXPECT_EQ(window.tv()->rowCount(), 0);
    EXPECT_EQ(window.progressMessageTextField()->text(), L("MigrateNoOldFiles"));

    auto find = [&](const QString& path) {
        window.findButton()->click();
        QFileDialog* panel = window.openPanel();
        EXPECT_TRUE(panel);
        if (!panel)
            return;
        EXPECT_EQ(panel->windowModality(), Qt::WindowModal);
        EXPECT_EQ(QFileInfo(panel->directory().absolutePath()), QFileInfo(data));
        panel->selectFile(path);
        static_cast<QDialog*>(panel)->accept();
    };
    find(current);
    EXPECT_EQ(texts(), QStringList {QDir::toNativeSeparators(current) + "\n\n" + L("IsLatestModel")});
    EXPECT_TRUE(window.oldStorePath().isEmpty());
    prompts.clear();
    find(elsewhere + "/Jones.RezUdu");
    EXPECT_TRUE(texts().isEmpty()) << texts().join("\n").toStdString();
    EXPECT_EQ(window.oldStorePath(), elsewhere + "/Jones.RezUdu");
    EXPECT_EQ(window.newStorePath(), data + "/Jones.RezUdu");
    EXPECT_TRUE(window.migrateButton()->isEnabled());
}

// The run: the window cannot be left meanwhile, shows each report, and after 100 closes with the code that
// opens the new database.
TEST_F(VersionMigrationWindow, AConversionRunsOnItsWorkerWhileTheWindowStaysOpen)
{
    const QString smith = oldDatabase("Smith.RezUdu", 1500);
    const QString jones = oldDatabase("Jones.RezUdu", 5);
    start();
    VersionMigrationController window(smith);
    window.show();
    ASSERT_TRUE(window.migrateButton()->isEnabled());
    saveScreenshot(&window, "version-migration-before");

    bool grabbed = false;
    QList<int> shown;
    QObject::connect(&window, &VersionMigrationController::progressReported, &window, [&](int progress) {
        shown << progress;
        EXPECT_TRUE(window.isMigrating());
        EXPECT_FALSE(window.migrateButton()->isEnabled() || window.exitButton()->isEnabled()
                     || window.findButton()->isEnabled() || window.tv()->isEnabled());
        // Asked to close meanwhile, it stays.
        window.close();
        window.reject();
        EXPECT_TRUE(window.isVisible());
        if (!grabbed && progress >= 40) {
            grabbed = true;
            saveScreenshot(&window, "version-migration-during");
        }
    });
    ASSERT_TRUE(runToTheEnd(window));
    EXPECT_TRUE(grabbed);
    EXPECT_TRUE(std::is_sorted(shown.begin(), shown.end()));
    EXPECT_EQ(shown.last(), 100);
    EXPECT_EQ(window.progressIndicator()->value(), 100);
    EXPECT_EQ(window.progressMessageTextField()->text(), L("AllDoneExit"));
    EXPECT_GT(window.elapsedTime(), 0);
    EXPECT_FALSE(window.elapsedSecsTextField()->text().isEmpty());
    EXPECT_TRUE(window.exitButton()->isEnabled() && window.exitButton()->isDefault());
    EXPECT_FALSE(window.migrateButton()->isEnabled());
    EXPECT_EQ(window.tv()->rowCount(), 1) << "the old file has its new name";
    EXPECT_EQ(window.tv()->item(0, 0)->text(), "Jones.RezUdu");
    EXPECT_TRUE(window.tv()->selectedItems().isEmpty()) << "listing it does not choose it";
    EXPECT_TRUE(texts().isEmpty()) << texts().join("\n").toStdString();
    saveScreenshot(&window, "version-migration-after");

    window.exitButton()->click();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.result(), VersionMigrationController::kConverted);
    EXPECT_TRUE(QFileInfo::exists(data + "/Smith_1.RezUdu"));
    EXPECT_TRUE(QFileInfo::exists(smith + "_old"));

    // Another database chosen afterwards starts afresh: closed before its conversion, nothing is to open.
    window.show();
    window.selectOldStorePath(jones);
    EXPECT_EQ(window.newStoreName(), "Jones_1");
    EXPECT_EQ(window.progress(), 0);
    EXPECT_EQ(window.progressIndicator()->value(), 0);
    EXPECT_TRUE(window.progressMessageTextField()->text().isEmpty());
    window.exitButton()->click();
    EXPECT_EQ(window.result(), 0);
}

TEST_F(VersionMigrationWindow, ADatabaseWithoutPeopleIsRefusedAndLeavesNoFile)
{
    const QString empty = data + "/Empty.RezUdu";
    ASSERT_TRUE(createDOvurV5Store(empty, {}));
    const QByteArray before = readFile(empty);
    start();
    VersionMigrationController window(empty);
    ASSERT_TRUE(window.migrateButton()->isEnabled());
    ASSERT_TRUE(runToTheEnd(window));
    EXPECT_EQ(texts(), QStringList {L("CannotMigrate")});
    EXPECT_FALSE(QFileInfo::exists(data + "/Empty_1.RezUdu"));
    EXPECT_EQ(readFile(empty), before);
    EXPECT_EQ(window.progressMessageTextField()->text(), L("CannotMigrate"));
    EXPECT_TRUE(window.exitButton()->isEnabled());
    window.exitButton()->click();
    EXPECT_EQ(window.result(), 0);
}

// From opening an old database to working in the converted one.
TEST_F(VersionMigrationWindow, AnOldDatabaseIsOfferedConvertedAndOpenedWithItsEventTypeSheet)
{
    const QString smith = oldDatabase("Smith.RezUdu");
    const QByteArray before = readFile(smith);
    start();

    // With no database open, File > "Migrate Old Database..." opens the window on the first old database; closed
    // before a conversion it ends with 0, and nothing opens or changes.
    app->applicationDidFinishLaunching();
    ASSERT_TRUE(app->noDatabaseWindow());
    QAction* item = nullptr;
    for (QAction* menu : app->noDatabaseWindow()->menuBar()->actions())
        for (QAction* action : menu->menu()->actions())
            if (action->text() == "Migrate Old Database...")
                item = action;
    ASSERT_TRUE(item);
    EXPECT_TRUE(item->isEnabled());
    int closedWith = -1;
    whenTheWindowOpens([&](VersionMigrationController* window) {
        EXPECT_EQ(window->oldStorePath(), smith);
        EXPECT_TRUE(window->migrateButton()->isEnabled());
        QObject::connect(window, &QDialog::finished, window, [&](int code) { closedWith = code; });
        window->exitButton()->click();
    });
    item->trigger();
    EXPECT_EQ(closedWith, 0);
    EXPECT_TRUE(documents().isEmpty());
    EXPECT_EQ(readFile(smith), before);
    EXPECT_FALSE(QFileInfo::exists(data + "/Smith_1.RezUdu"));

    // Opening it offers the conversion once idle; converted, then closed, the new database opens.
    prompts.answer(0); // Convert
    EXPECT_EQ(app->openDocumentWithContentsOfURL(smith), nullptr);
    bool converted = false;
    whenTheWindowOpens([&](VersionMigrationController* window) {
        converted = runToTheEnd(*window);
        window->exitButton()->click();
    });
    NotificationCenter::defaultCenter().flushQueue();
    EXPECT_THAT(texts().join("|").toStdString(), HasSubstr("Would you like to convert:\n\nSmith.RezUdu"));
    ASSERT_TRUE(converted);
    ASSERT_EQ(documents().size(), 1);
    DOvurDocument* doc = documents().first();
    EXPECT_EQ(doc->fileURL(), data + "/Smith_1.RezUdu");
    EXPECT_TRUE(QFileInfo::exists(smith + "_old"));
    EXPECT_EQ(doc->moc()->focalPerson()->numericId(), 1);

    // Its first save offers to link the events to their event types.
    doc->moc()->focalPerson()->setNotes("First edit after the conversion.");
    doc->moc()->saveMoc();
    CreateEventTypeIndex* sheet = nullptr;
    for (auto* s : doc->dovurWindow()->findChildren<CreateEventTypeIndex*>())
        if (s->isVisible())
            sheet = s;
    ASSERT_TRUE(sheet);
    sheet->okButton()->click();
    EXPECT_EQ(doc->moc()->count<FTEvent>([](const FTEvent* e) { return e->eventType() == nullptr; }), 0);
}

}
