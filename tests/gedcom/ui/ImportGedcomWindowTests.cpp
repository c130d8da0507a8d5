// The GEDCOM import window and its menu command: the new database opens after a good import; a failed one
// leaves no database file.
#include "GedcomWindowFixture.h"

#include "gedcom/ImportGedcomThread.h"
#include "gedcom/ui/GedcomMenuActions.h"
#include "gedcom/ui/ImportGedcom.h"

#include "shell/RecentDocuments.h"

#include "model/FTPerson.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

#include <gmock/gmock.h>

using ::testing::HasSubstr;

namespace {

class ImportWindow : public GedcomWindowFixture {
protected:
    void SetUp() override
    {
        GedcomWindowFixture::SetUp();
        ImportGedcom::setFilePanel([this](QWidget*) {
            ++panelRuns;
            return panelAnswer;
        });
    }
    void TearDown() override
    {
        ImportGedcom::setFilePanel({});
        EXPECT_TRUE(ImportGedcomThread::waitForImport(TestSupport::kHungRunMilliseconds)) << "the import hung";
        GedcomWindowFixture::TearDown();
    }

    QString copyOfFixture(const QString& fixture, const QString& name)
    {
        const QString path = dir.path() + "/in/" + name;
        QDir().mkpath(dir.path() + "/in");
        QFile::remove(path);
        EXPECT_TRUE(QFile::copy(TestSupport::dataFile(fixture), path));
        return path;
    }
    QString writeFile(const QString& name, const QByteArray& content)
    {
        const QString path = dir.path() + "/in/" + name;
        QDir().mkpath(dir.path() + "/in");
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content);
        return path;
    }
    QStringList databasesIn(const QString& folder) const
    {
        return QDir(folder).entryList({ "*.RezUdu", "*.RezUdu-journal" }, QDir::Files);
    }

    // Runs the window as the menu command does, until the import has been heard of; answers the window
    // (still open) after calling `check` on it, then presses exit.
    void runDialog(const std::function<void(ImportGedcom&)>& check)
    {
        panelRuns = 0;
        ImportGedcom dialog;
        dialog.show();
        // The panel runs and the import starts in one turn of the event loop.
        ASSERT_TRUE(waitForImportEnd(&dialog, [&] { return panelRuns > 0 && !dialog.importRunning(); }));
        check(dialog);
        dialog.exitButton()->click();
        EXPECT_FALSE(dialog.isVisible());
    }

    QString panelAnswer;
    int panelRuns = 0;
};

TEST_F(ImportWindow, TheMenuCommandImportsAndOpensTheNewDatabase)
{
    start();
    panelAnswer = copyOfFixture("charsets/family-utf8.ged", "Müller family.ged");
    bool checked = false;
    whenShown<ImportGedcom>([](ImportGedcom* d) { return d->importFinishedHeard(); },
        [&](ImportGedcom* d) {
            checked = true;
            EXPECT_TRUE(d->importSucceeded());
            EXPECT_EQ(d->modelName(), "Müller family");
            EXPECT_EQ(d->modelField()->text(), "Müller family");
            EXPECT_EQ(d->filenameField()->text(), panelAnswer);
            EXPECT_EQ(d->databaseFilename(), data + "/Müller family.RezUdu");
            EXPECT_EQ(d->progressIndicator1()->value(), 100);
            EXPECT_EQ(d->progressIndicator2()->value(), 0);
            EXPECT_THAT(d->messageLabel()->text().toStdString(),
                HasSubstr("to load GEDCOM file Müller family.ged into database: "
                          "Müller family.RezUdu"));
            EXPECT_THAT(d->gedcomSourceInfoLabel()->text().toStdString(), HasSubstr("Kinloom test"));
            EXPECT_THAT(d->numLinesLabel()->text().toStdString(), HasSubstr("Number of Lines in Gedcom File = "));
            EXPECT_TRUE(d->exitButton()->isEnabled());
            EXPECT_EQ(d->exitButton()->text(), LocalizedString("Continue"));
            EXPECT_EQ(d->showMeButton()->isEnabled(), !d->logFiles().isEmpty());
            const QImage shot = screenshot(d, "import-dialog-after");
            EXPECT_GE(shot.width(), 500);
            d->exitButton()->click();
        });
    GedcomMenuActions::loadGedcomFile();
    ASSERT_TRUE(checked);
    EXPECT_EQ(panelRuns, 1);

    ASSERT_EQ(documents().size(), 1);
    DOvurDocument* doc = documents().first();
    EXPECT_EQ(doc->fileURL(), data + "/Müller family.RezUdu");
    EXPECT_TRUE(doc->dovurWindow()->isVisible());
    QStringList names;
    for (FTPerson* p : doc->moc()->fetch<FTPerson>())
        names << p->name();
    names.sort();
    EXPECT_EQ(names.size(), 3) << names.join(", ").toStdString();
    EXPECT_THAT(names.join("|").toStdString(), HasSubstr("José"));
    EXPECT_EQ(RecentDocuments::paths().value(0), doc->fileURL());
    // The information first, the success when it is heard of, the closing note.
    const QStringList said = texts();
    ASSERT_GE(said.size(), 3) << said.join("\n").toStdString();
    EXPECT_EQ(said[0], LocalizedString("ExportGedInfo"));
    EXPECT_TRUE(said.contains(LocalizedString("ImportGedSuccess")));
    EXPECT_EQ(said.last(), LocalizedString("ImportGedMsg"));
}

TEST_F(ImportWindow, ASecondImportOfTheSameFileGetsTheNextFreeName)
{
    panelAnswer = copyOfFixture("charsets/family-ascii.ged", "Smith.ged");
    QFile taken(data + "/Smith.RezUdu");
    ASSERT_TRUE(taken.open(QIODevice::WriteOnly));
    taken.write("somebody's database");
    taken.close();
    runDialog([&](ImportGedcom& d) {
        EXPECT_TRUE(d.importSucceeded()) << d.failureReason().toStdString();
        EXPECT_EQ(d.modelName(), "Smith_1");
        EXPECT_EQ(d.databaseFilename(), data + "/Smith_1.RezUdu");
    });
    ASSERT_TRUE(taken.open(QIODevice::ReadOnly));
    EXPECT_EQ(taken.readAll(), "somebody's database");
}

// Each failure, whatever its cause, ends with no database file, nothing to open and the reason told.
TEST_F(ImportWindow, AFailedImportLeavesNoDatabaseFile)
{
    struct Case {
        const char* label;
        std::function<QString()> prepare; // answers the file to choose
        const char* reason;
    } cases[] = {
        { "not a GEDCOM file", [&] { return writeFile("Broken.ged", "this is not a GEDCOM file\nat all\n"); },
            "Unable to read the Gedcom file" },
        { "two headers",
            [&] { return writeFile("Twice.ged", "0 HEAD\n1 CHAR UTF-8\n0 HEAD\n0 @I1@ INDI\n1 NAME Ann\n0 TRLR\n"); },
            "Unable to process the Header and Trailer records" },
        { "unreadable file",
            [&] {
                QDir().mkpath(dir.path() + "/in/Folder.ged");
                return dir.path() + "/in/Folder.ged";
            },
            "Unable to read the Gedcom file" },
        { "data folder cannot be written",
            [&] {
                // A data folder inside a plain file can never be made, whoever runs the test.
                const QString blocker = writeFile("blocker", "a file, not a folder");
                UserDefaults::standard().setString("KinloomDataDirectory", blocker + "/KinloomData");
                return copyOfFixture("charsets/family-utf8.ged", "Good.ged");
            },
            "Unable to create the file for the new database" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        prompts.clear();
        UserDefaults::standard().setString("KinloomDataDirectory", data);
        panelAnswer = c.prepare();
        const QString folder = UserDefaults::standard().stringForKey("KinloomDataDirectory");
        QString planned;
        runDialog([&](ImportGedcom& d) {
            EXPECT_FALSE(d.importSucceeded());
            EXPECT_TRUE(d.databaseFilename().isEmpty());
            EXPECT_THAT(d.failureReason().toStdString(), HasSubstr(c.reason));
            EXPECT_THAT(d.messageLabel()->text().toStdString(), HasSubstr(c.reason));
            EXPECT_TRUE(d.exitButton()->isEnabled());
            EXPECT_EQ(d.exitButton()->text(), LocalizedString("Exit"));
            planned = folder + "/" + d.modelName() + ".RezUdu";
            EXPECT_FALSE(QFileInfo::exists(planned));
        });
        EXPECT_FALSE(QFileInfo::exists(planned)) << planned.toStdString();
        EXPECT_TRUE(databasesIn(folder).isEmpty()) << databasesIn(folder).join(", ").toStdString();
        ASSERT_FALSE(prompts.records.isEmpty());
        EXPECT_EQ(prompts.records.last().text, LocalizedString("ImportGedFailed"));
        EXPECT_THAT(prompts.records.last().info.toStdString(), HasSubstr(c.reason));
    }
    UserDefaults::standard().setString("KinloomDataDirectory", data);
    // Through the menu command, a failed import opens nothing.
    start();
    panelAnswer = writeFile("Broken.ged", "nothing\n");
    whenShown<ImportGedcom>(
        [](ImportGedcom* d) { return d->importFinishedHeard(); }, [](ImportGedcom* d) { d->exitButton()->click(); });
    GedcomMenuActions::loadGedcomFile();
    EXPECT_TRUE(documents().isEmpty());
    EXPECT_TRUE(databasesIn(data).isEmpty());
}

// The import removes only the file it made itself: a file that another program makes at the new database's name
// (here once the failed import has removed its own, before the window closes) stays as it is.
TEST_F(ImportWindow, AFileAnotherProgramMadeAtTheNewNameIsNeverRemoved)
{
    ImportGedcom dialog;
    ASSERT_TRUE(dialog.setFileName(writeFile("Broken.ged", "this is not a GEDCOM file\n")));
    const QString target = dialog.databaseFilename();
    ASSERT_FALSE(target.isEmpty());
    ASSERT_TRUE(dialog.importGedcomFile());
    ASSERT_TRUE(waitForImportEnd(&dialog, [&] { return dialog.importFinishedHeard(); }));
    EXPECT_FALSE(dialog.importSucceeded());
    EXPECT_FALSE(QFileInfo::exists(target)) << "the import's own file is gone";

    QFile theirs(target);
    ASSERT_TRUE(theirs.open(QIODevice::WriteOnly));
    theirs.write("another program's file");
    theirs.close();
    dialog.exitButton()->click();
    ASSERT_TRUE(theirs.open(QIODevice::ReadOnly));
    EXPECT_EQ(theirs.readAll(), "another program's file");
}

TEST_F(ImportWindow, CancellingOrAMissingFileStartsNothingAndSaysNoFailure)
{
    for (const QString& answer : { QString(), dir.path() + "/in/missing.ged" }) {
        SCOPED_TRACE(answer.toStdString());
        prompts.clear();
        panelRuns = 0;
        panelAnswer = answer;
        ImportGedcom dialog;
        dialog.show();
        ASSERT_TRUE(waitFor([&] { return panelRuns == 1; }, "the file panel"));
        QCoreApplication::processEvents();
        EXPECT_FALSE(dialog.importRunning());
        EXPECT_FALSE(ImportGedcomThread::importIsRunning());
        EXPECT_TRUE(dialog.exitButton()->isEnabled());
        EXPECT_FALSE(dialog.showMeButton()->isEnabled());
        EXPECT_TRUE(dialog.databaseFilename().isEmpty() || !QFileInfo::exists(dialog.databaseFilename()));
        dialog.exitButton()->click();
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_FALSE(dialog.importSucceeded());
        if (answer.isEmpty())
            EXPECT_TRUE(prompts.records.isEmpty()) << texts().join("\n").toStdString();
        else
            EXPECT_EQ(texts(), QStringList { "The file\n\n" + answer + "\n\ncannot be found." });
        EXPECT_TRUE(databasesIn(data).isEmpty());
    }
}

// The window as the user sees it half-way: a picture, and the state of the buttons at that moment.
class WatchedImport : public ImportGedcom {
public:
    void setOverallProgress(double percent, const QString& elapsed) override
    {
        ImportGedcom::setOverallProgress(percent, elapsed);
        if (percent > 30 && !seenHalfWay) {
            seenHalfWay = true;
            exitEnabledHalfWay = exitButton()->isEnabled();
            saveScreenshot(this, "import-dialog-during");
        }
    }
    bool seenHalfWay = false;
    bool exitEnabledHalfWay = true;
};

TEST_F(ImportWindow, TheWindowCannotBeClosedWhileTheImportRunsAndShowsItsProgress)
{
    panelAnswer = TestSupport::dataFile("royal92.ged");
    WatchedImport dialog;
    // The window hears of the end only through the event loop, so until it runs again it is running.
    dialog.getFilename();
    dialog.show();
    ASSERT_TRUE(dialog.importRunning());
    EXPECT_FALSE(dialog.exitButton()->isEnabled());
    EXPECT_FALSE(dialog.showMeButton()->isEnabled());
    dialog.reject();
    dialog.close();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(dialog.importGedcomFile()) << "one import per window";
    if (ImportGedcomThread::importIsRunning()) {
        ImportGedcom second;
        ASSERT_TRUE(second.setFileName(TestSupport::dataFile("charsets/family-utf8.ged")));
        EXPECT_FALSE(second.importGedcomFile());
        EXPECT_EQ(texts().last(), LocalizedString("ImportGedRunning"));
    }

    ASSERT_TRUE(waitForImportEnd(&dialog, [&] { return dialog.importFinishedHeard(); }));
    EXPECT_TRUE(dialog.seenHalfWay);
    EXPECT_FALSE(dialog.exitEnabledHalfWay);
    EXPECT_TRUE(dialog.importSucceeded()) << dialog.failureReason().toStdString();
    EXPECT_EQ(dialog.modelName(), "royal92");
    dialog.exitButton()->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(QFileInfo::exists(data + "/royal92.RezUdu"));
}

// The logs are written under fixed names whatever the language of the program; Show Me opens those files.
TEST_F(ImportWindow, ShowMeOpensTheLogFilesByTheirFixedNames)
{
    QFile table(support + "/Localizable.strings");
    ASSERT_TRUE(table.open(QIODevice::WriteOnly));
    table.write("\"UnprocessedGedFileName\" = \"Nicht verarbeitet.txt\";\n"
                "\"ValidationFileName\" = \"Pruefung.txt\";\n");
    table.close();
    Localizer::shared().reset();

    panelAnswer = copyOfFixture("charsets/family-utf8.ged", "Logs.ged");
    QStringList logs;
    runDialog([&](ImportGedcom& d) {
        ASSERT_TRUE(d.importSucceeded()) << d.failureReason().toStdString();
        logs = d.logFiles();
        EXPECT_TRUE(d.showMeButton()->isEnabled());
    });
    QFile::remove(table.fileName());
    AppPaths::setSharedSupportDirectory(savedSupport);
    Localizer::shared().reset();
    ASSERT_FALSE(logs.isEmpty());
    EXPECT_EQ(logs.first(), data + "/UnprocessedGedRecs.txt");
    for (const QString& path : logs) {
        EXPECT_TRUE(QFileInfo::exists(path)) << path.toStdString();
        EXPECT_TRUE(QStringList({ "UnprocessedGedRecs.txt", "UnprocessedCustomGedRecs.txt", "ValidationErrors.txt" })
                        .contains(QFileInfo(path).fileName()))
            << path.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(data + "/Nicht verarbeitet.txt"));
}

} // namespace
