#include "shell/BackupPanel.h"
#include "shell/Utils.h"
#include "shell/UtilsFunctions.h"

#include "model/DOvurV6Schema.h"
#include "model/FTPerson.h"
#include "model/SyntheticDatabase.h"

#include "platform/ScriptedPrompts.h"
#include "platform/store/ObjectContext.h"
#include "platform/UserDefaults.h"

#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
std::string s(const QString& q) { return q.toStdString(); }

void touch(const QString& path, const QByteArray& content = {})
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << s(path);
    f.write(content);
}

// A fresh data folder and scripted alerts for each test.
class DataFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestSupport::useFreshDefaults();
        tmp = std::make_unique<QTemporaryDir>(TestSupport::tempRoot() + "/data-XXXXXX");
        data = tmp->path() + "/KinloomData";
        QDir().mkpath(data);
        UserDefaults::standard().setString("KinloomDataDirectory", data);
        Prompts::install(&prompts);
    }
    void TearDown() override { Prompts::install(nullptr); }
    QStringList messages() const
    {
        QStringList out;
        for (const auto& r : prompts.records)
            out << r.text;
        return out;
    }
    std::unique_ptr<QTemporaryDir> tmp;
    QString data;
    ScriptedPrompts prompts;
};

class ScriptedPanel : public BackupPanel {
public:
    QString answer;
    QStringList seen;
    QString run(const QString& title, const QString& message, const QString& folder,
                const QString& proposedName) override
    {
        seen = {title, message, folder, proposedName};
        return answer;
    }
};
}

TEST_F(DataFolder, DataFolderDefaultFileAndMissingFolder)
{
    UserDefaults::standard().removeObject("KinloomDataDirectory");
    const QString home = QDir::homePath() + "/KinloomData";
    EXPECT_EQ(Utils::KinloomDataDirectory(), home);
    EXPECT_EQ(UserDefaults::standard().stringForKey("KinloomDataDirectory"), home) << "stored when absent";
    EXPECT_TRUE(prompts.records.isEmpty());

    const QString file = tmp->path() + "/plainfile";
    touch(file);
    UserDefaults::standard().setString("KinloomDataDirectory", file);
    EXPECT_EQ(Utils::KinloomDataDirectory(), "");
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_TRUE(prompts.records[0].text.startsWith("KinloomData should be a FOLDER but found a FILE instead."));

    const QString gone = tmp->path() + "/moved";
    UserDefaults::standard().setString("KinloomDataDirectory", gone);
    EXPECT_EQ(Utils::KinloomDataDirectory(), gone) << "a moved folder is reported, the path kept";
    EXPECT_FALSE(QFileInfo::exists(gone)) << "and not made again";
    ASSERT_EQ(prompts.records.size(), 2);
    EXPECT_TRUE(prompts.records[1].text.startsWith("You appear to have moved the folder called KinloomData"));
}

TEST_F(DataFolder, NoDataFolderMeansNoReportsOrBackups)
{
    const QString file = tmp->path() + "/plainfile";
    touch(file);
    UserDefaults::standard().setString("KinloomDataDirectory", file);
    EXPECT_EQ(Utils::reportsDirectory(), "");
    EXPECT_EQ(Utils::createReportFileName("Royal92", "List", "rtf"), "");
    EXPECT_EQ(Utils::proposedBackupPath(data + "/Royal92.RezUdu"), "");
    EXPECT_FALSE(QFileInfo::exists("/Reports") || QFileInfo::exists("/Backups"));
    EXPECT_FALSE(prompts.records.isEmpty());
}

TEST_F(DataFolder, SubfoldersAreMadeWhenMissing)
{
    for (const auto& [path, name] : {std::pair{Utils::reportsDirectory(), "Reports"},
                                     std::pair{Utils::backupsDirectory(), "Backups"},
                                     std::pair{Utils::picturesDirectory(), "Pictures"},
                                     std::pair{Utils::tempDirectory(), "temp"}}) {
        EXPECT_EQ(path, data + "/" + name);
        EXPECT_TRUE(QFileInfo(path).isDir()) << name;
    }
}

TEST_F(DataFolder, ReportNamesTakeTheFirstFreeNumber)
{
    const QString reports = Utils::reportsDirectory();
    EXPECT_EQ(Utils::createReportFileName("Royal92", "Ancestors", "rtf"), reports + "/Royal92_Ancestors.rtf");
    touch(reports + "/Royal92_Ancestors.rtf");
    EXPECT_EQ(Utils::createReportFileName("Royal92", "Ancestors", "rtf"), reports + "/Royal92_Ancestors_1.rtf");
    touch(reports + "/Royal92_Ancestors_1.rtf");
    touch(reports + "/Royal92_Ancestors_3.rtf");
    EXPECT_EQ(Utils::createReportFileName("Royal92_Ancestors", "rtf"), reports + "/Royal92_Ancestors_2.rtf");
    EXPECT_EQ(Utils::createReportFileName("Royal92_Ancestors", "csv"), reports + "/Royal92_Ancestors.csv");
    EXPECT_EQ(Utils::createReportFileName("A/B", "Report", "txt"), reports + "/A|B_Report.txt");
    // A dangling link holds its name too.
    ASSERT_TRUE(QFile::link(reports + "/nowhere", reports + "/Linked.txt"));
    EXPECT_EQ(Utils::createReportFileName("Linked", "txt"), reports + "/Linked_1.txt");
}

TEST_F(DataFolder, AnyTextBecomesOneFileNameThatFitsAndStaysInItsFolder)
{
    const QString emoji = QString::fromUtf8("\xF0\x9F\x8C\xB3"); // four bytes, two UTF-16 units
    const struct {
        QString text;
        QString expected;
    } cases[] = {
        {"Mary Brown", "Mary Brown"},
        {"../../etc/passwd", "|..|etc|passwd"},
        {"..", "fallback"},
        {" \t. .hidden", "hidden"},
        {"Line\nbreak\ttab  and   blanks", "Linebreaktab and blanks"},
        {QString(QChar(0)), "fallback"},
        {QString(300, 'a'), QString(200, 'a')},
        // Cut by whole characters: 66 of three bytes, 50 of four.
        {QString(300, QChar(0x4E2D)), QString(66, QChar(0x4E2D))},
        {emoji.repeated(60), emoji.repeated(50)},
        {"a" + emoji.repeated(60), "a" + emoji.repeated(49)},
    };
    for (const auto& c : cases) {
        const QString name = Utils::safeFileName(c.text, "fallback");
        EXPECT_EQ(name, c.expected) << s(c.text);
        EXPECT_LE(name.toUtf8().size(), 200);
    }
    EXPECT_EQ(Utils::safeFileName("abcdef", {}, 3), "abc");
    EXPECT_EQ(Utils::safeFileName(""), "");

    // Every report name goes through it: a 300-character name still gives a file that can be made.
    const QString reports = Utils::reportsDirectory();
    const QString path = Utils::createReportFileName("Royal92", QString(300, 'N'), "rtf");
    EXPECT_EQ(QFileInfo(path).absolutePath(), reports);
    touch(path, "{\\rtf1}");
    EXPECT_TRUE(QFileInfo(path).isFile());
    EXPECT_EQ(Utils::createReportFileName("..", "rtf"), reports + "/Report.rtf");
}

TEST_F(DataFolder, UniqueNamesNeverAnswerAnExistingPath)
{
    const QString dir = tmp->path() + "/few";
    QDir().mkpath(dir);
    for (const char* n : {"x.txt", "x_1.txt", "x_2.txt"})
        touch(dir + "/" + n);
    QString error;
    EXPECT_EQ(Utils::uniquePathInFolder(dir, "x", "txt", 3, &error), dir + "/x_3.txt");
    EXPECT_TRUE(error.isEmpty());
    touch(dir + "/x_3.txt");
    EXPECT_EQ(Utils::uniquePathInFolder(dir, "x", "txt", 3, &error), "");
    EXPECT_TRUE(error.startsWith("Every name from x.txt to x_3.txt is already taken")) << s(error);

    // New databases: numbers up to 1000, then a message instead of the last, taken, name.
    EXPECT_EQ(CreateUniquePathNameForNewModel("Family", "sql"), data + "/Family.RezUdu");
    EXPECT_EQ(CreateUniquePathNameForNewModel("Family", "Ged"), data + "/Family.GED");
    EXPECT_EQ(CreateUniquePathNameForNewModel("Family", "XML"), "");
    ASSERT_EQ(messages(), QStringList{"CreateUniquePathNameForNewModel : unrecognised file type: XML"});
    // A database being built under its temporary name holds its name.
    touch(Utils::partialDatabasePath(data + "/Building.RezUdu"));
    EXPECT_EQ(CreateUniquePathNameForNewModel("Building", "SQL"), data + "/Building_1.RezUdu");
    touch(data + "/Family.RezUdu");
    for (int n = 1; n <= 999; ++n)
        touch(QStringLiteral("%1/Family_%2.RezUdu").arg(data).arg(n));
    EXPECT_EQ(CreateUniquePathNameForNewModel("Family", "SQL"), data + "/Family_1000.RezUdu");
    touch(data + "/Family_1000.RezUdu");
    EXPECT_EQ(CreateUniquePathNameForNewModel("Family", "SQL"), "");
    ASSERT_EQ(prompts.records.size(), 2);
    EXPECT_TRUE(prompts.records[1].text.contains("already taken")) << s(prompts.records[1].text);
}

TEST_F(DataFolder, BackupNumbersAndTheMaximum)
{
    const QString db = data + "/Royal92.RezUdu";
    touch(db, "database bytes");
    const QString backups = Utils::backupsDirectory();
    EXPECT_EQ(Utils::proposedBackupPath(db), backups + "/Royal92_Backup01.RezUdu");
    for (int n : {1, 2, 3, 5})
        touch(QString::asprintf("%s/Royal92_Backup%02d.RezUdu", qPrintable(backups), n));
    EXPECT_EQ(Utils::proposedBackupPath(db), backups + "/Royal92_Backup04.RezUdu");
    for (int n = 1; n <= 99; ++n)
        touch(QString::asprintf("%s/Royal92_Backup%02d.RezUdu", qPrintable(backups), n));
    EXPECT_EQ(Utils::proposedBackupPath(db), "");
    EXPECT_EQ(messages(), QStringList{"You already have the maximum of 99 backups of Royal92"});

    ScriptedPanel panel;
    panel.answer = backups + "/Royal92_Backup01.RezUdu";
    EXPECT_FALSE(Utils::backupCurrentModel(db, panel));
    EXPECT_TRUE(panel.seen.isEmpty()) << "no panel once the maximum is reached";
}

TEST_F(DataFolder, BackupFolderSummaryCountsMegabytes)
{
    const QString backups = Utils::backupsDirectory();
    EXPECT_EQ(Utils::backupsFolderSummary(), "The Kinloom Backups folder contains 0 file totalling 0 Mb");
    QFile a(backups + "/a.RezUdu");
    ASSERT_TRUE(a.open(QIODevice::WriteOnly));
    ASSERT_TRUE(a.resize(3 * 1048576));
    a.close();
    touch(backups + "/.DS_Store", QByteArray(5 * 1048576, 'x'));
    EXPECT_EQ(Utils::backupsFolderSummary(), "The Kinloom Backups folder contains 1 file totalling 3 Mb");
    QFile b(backups + "/b.RezUdu");
    ASSERT_TRUE(b.open(QIODevice::WriteOnly));
    ASSERT_TRUE(b.resize(1048576 + 1048576 / 2 + 1));
    b.close();
    EXPECT_EQ(Utils::backupsFolderSummary(), "The Kinloom Backups folder contains 2 files totalling 5 Mb");
}

TEST_F(DataFolder, BackupCopiesAndNeverOverwrites)
{
    const QString db = data + "/Royal92.RezUdu";
    QString error;
    ASSERT_TRUE(SyntheticDatabase::create(db, 12, &error)) << qPrintable(error);
    const auto peopleIn = [](const QString& path) {
        ObjectContext ctx(DOvurV6Schema());
        return ctx.open(path) ? ctx.count<FTPerson>() : -1;
    };
    const int people = peopleIn(db);
    const QString backups = Utils::backupsDirectory();

    ScriptedPanel panel;
    panel.answer = backups + "/Royal92_Backup01";  // the panel's file type is added
    ASSERT_TRUE(Utils::backupCurrentModel(db, panel));
    EXPECT_EQ(panel.seen, (QStringList{"Save Backup of Royal92",
                                       "The Kinloom Backups folder contains 0 file totalling 0 Mb", backups,
                                       "Royal92_Backup01.RezUdu"}));
    const QString copy = backups + "/Royal92_Backup01.RezUdu";
    EXPECT_EQ(peopleIn(copy), people);
    const QByteArray copied = [&] {
        QFile f(copy);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();

    // The same name again: refused by the panel check and by the copy; the old backup keeps its bytes.
    EXPECT_FALSE(Utils::panelUserEnteredFilename(backups + "/Royal92_Backup01.RezUdu"));
    EXPECT_TRUE(Utils::panelUserEnteredFilename(backups + "/Royal92_Backup02.RezUdu"));
    {
        ObjectContext ctx(DOvurV6Schema());
        ASSERT_TRUE(ctx.open(db));
        ctx.insertObject<FTPerson>()->setName("Later");
        ASSERT_TRUE(ctx.save());
    }
    EXPECT_FALSE(Utils::backupCurrentModel(db, panel));
    EXPECT_EQ(messages(), (QStringList{"Kinloom cannot overwrite an existing backup file.",
                                       "Kinloom cannot overwrite an existing file."}));
    QFile f(copy);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), copied);
    f.close();

    panel.answer.clear();
    EXPECT_FALSE(Utils::backupCurrentModel(db, panel)) << "cancelled";
    EXPECT_EQ(panel.seen.value(3), "Royal92_Backup02.RezUdu");

    prompts.clear();
    EXPECT_FALSE(Utils::copyDatabaseToBackup(data + "/missing.RezUdu", backups + "/x.RezUdu"));
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_TRUE(prompts.records[0].text.startsWith("Unable to backup the database for:\n" + data + "/missing.RezUdu\n\nReason: "));
    EXPECT_FALSE(QFileInfo::exists(backups + "/x.RezUdu"));
}
