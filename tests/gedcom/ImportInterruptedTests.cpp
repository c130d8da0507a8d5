// An import stopped from outside (a kill, a power cut, a logout) at any moment: the database's name never holds a
// partial database, and what the stopped import left is removed when the program next starts.
#include "gedcom/ImportGedcomListener.h"
#include "gedcom/ImportGedcomOutcome.h"
#include "gedcom/ImportGedcomThread.h"
#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/FTSpouseRel.h"
#include "platform/UserDefaults.h"
#include "shell/AppStartup.h"
#include "shell/Utils.h"

#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

namespace {
constexpr int kPeople = 3000;

// Couples with two children each, every person born, most of them dead, with a note.
QByteArray generatedGedcom()
{
    QByteArray out = "0 HEAD\n1 SOUR GEN\n1 GEDC\n2 VERS 5.5\n1 CHAR UTF-8\n";
    for (int i = 1; i <= kPeople; ++i) {
        out += QStringLiteral("0 @I%1@ INDI\n1 NAME Person%1 /Family%2/\n1 SEX %3\n1 BIRT\n2 DATE %4 MAR %5\n"
                              "2 PLAC Leeds, Yorkshire\n")
                   .arg(i)
                   .arg(i / 4)
                   .arg(i % 2 ? "M" : "F")
                   .arg(1 + i % 28)
                   .arg(1700 + i % 250)
                   .toUtf8();
        if (i % 3)
            out += QStringLiteral("1 DEAT\n2 DATE %1\n").arg(1760 + i % 250).toUtf8();
        out += QStringLiteral("1 NOTE Note of person %1\n2 CONT a second line\n").arg(i).toUtf8();
    }
    for (int f = 1; 4 * f <= kPeople; ++f)
        out += QStringLiteral("0 @F%1@ FAM\n1 HUSB @I%2@\n1 WIFE @I%3@\n1 CHIL @I%4@\n1 CHIL @I%5@\n1 MARR\n"
                              "2 DATE 1 JUN %6\n")
                   .arg(f)
                   .arg(4 * f - 3)
                   .arg(4 * f - 2)
                   .arg(4 * f - 1)
                   .arg(4 * f)
                   .arg(1720 + f % 250)
                   .toUtf8();
    return out + "0 TRLR\n";
}

// Arguments: the GEDCOM file, the new database, the writing end of the steps pipe, the reading end of the go-on
// pipe. Imports, writing one byte to the steps pipe at each step of the import (the overall bar moving) and then
// waiting for a byte (or the end) of the go-on pipe, so that a kill lands at the step the test chose however
// loaded the machine is; ends with 0 when the import succeeded.
const TestSupport::ChildRoutine kImport("import-gedcom", [](const QStringList& args) {
    struct Steps : ImportGedcomListener {
        int fd = -1;
        int goOn = -1;
        void setOverallProgress(double, const QString&) override
        {
            const char step = 's';
            if (::write(fd, &step, 1) != 1)
                _exit(3);
            char ignored;
            (void)!::read(goOn, &ignored, 1);
        }
    } steps;
    steps.fd = args.value(2).toInt();
    steps.goOn = args.value(3).toInt();
    ImportGedcomThread::Request request;
    request.gedcomFilename = args.value(0);
    request.databaseFilename = args.value(1);
    return ImportGedcomThread(request, &steps).loadGedFileThread().succeeded ? 0 : 1;
});

// A child importing `gedcom` into `database`, with the pipe it reports its steps on and the one that lets it go on.
struct ImportingChild {
    ImportingChild(const QString& gedcom, const QString& database)
    {
        int steps[2], goOn[2];
        EXPECT_EQ(::pipe(steps), 0);
        EXPECT_EQ(::pipe(goOn), 0);
        readEnd = steps[0];
        goOnEnd = goOn[1];
        // The child must not hold our ends: it would never see the go-on pipe end.
        ::fcntl(readEnd, F_SETFD, FD_CLOEXEC);
        ::fcntl(goOnEnd, F_SETFD, FD_CLOEXEC);
        child = std::make_unique<TestSupport::ReapedChild>(TestSupport::spawnChild(
            "import-gedcom", {gedcom, database, QString::number(steps[1]), QString::number(goOn[0])}));
        ::close(steps[1]);
        ::close(goOn[0]);
    }
    ~ImportingChild()
    {
        ::close(readEnd);
        letGo();
    }
    // Waits for the child's n-th step, where it then waits; false when it ended before.
    bool waitForStep(int n)
    {
        while (seen < n) {
            if (seen > 0 && goOnEnd >= 0) {
                const char go = 'g';
                if (::write(goOnEnd, &go, 1) != 1)
                    return false;
            }
            char step;
            if (::read(readEnd, &step, 1) != 1)
                return false;
            ++seen;
        }
        return true;
    }
    // From now on the child goes on by itself.
    void letGo()
    {
        if (goOnEnd >= 0)
            ::close(goOnEnd);
        goOnEnd = -1;
    }
    std::unique_ptr<TestSupport::ReapedChild> child;
    int readEnd = -1;
    int goOnEnd = -1;
    int seen = 0;
};

int peopleIn(const QString& database)
{
    auto moc = FTMoc::initForReadingStoreURL(database);
    return moc ? int(moc->count<FTPerson>()) : -1;
}
}

TEST(ImportInterrupted, AKilledImportLeavesNoDatabaseButACompleteOneAndTheNextStartClearsWhatItLeft)
{
    QTemporaryDir dir(TestSupport::tempRoot() + "/killed-XXXXXX");
    const QString data = dir.path() + "/KinloomData";
    QDir().mkpath(data);
    UserDefaults::standard().setString("KinloomDataDirectory", data);
    const QString gedcom = dir.path() + "/Generated.ged";
    {
        QFile f(gedcom);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(generatedGedcom());
    }

    // Killed at the start, in the middle of the record passes, in the validation and at the final save.
    int killedBeforeTheEnd = 0;
    for (const int step : {1, 3, 6, 9, 11, 12, 13}) {
        SCOPED_TRACE(step);
        const QString database = QStringLiteral("%1/Killed%2.RezUdu").arg(data).arg(step);
        ImportingChild importing(gedcom, database);
        const bool reached = importing.waitForStep(step);
        importing.child->kill();
        if (QFileInfo::exists(database)) {
            // Only once it was complete.
            EXPECT_EQ(peopleIn(database), kPeople);
            EXPECT_FALSE(QFileInfo::exists(Utils::partialDatabasePath(database)));
        } else {
            ++killedBeforeTheEnd;
            EXPECT_TRUE(reached);
            EXPECT_TRUE(QFileInfo::exists(Utils::partialDatabasePath(database)));
        }
    }
    EXPECT_GE(killedBeforeTheEnd, 4) << "most kills come before the import ends";

    // While an import runs, its file is not an orphan.
    const QString running = data + "/Running.RezUdu";
    ImportingChild importing(gedcom, running);
    ASSERT_TRUE(importing.waitForStep(2));
    ASSERT_TRUE(AppStartup::ensureDatabaseExists());
    EXPECT_TRUE(QFileInfo::exists(Utils::partialDatabasePath(running)));
    // Left alone, it ends with a complete database under its name.
    importing.letGo();
    const int status = importing.child->wait();
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(peopleIn(running), kPeople);
    EXPECT_FALSE(QFileInfo::exists(Utils::partialDatabasePath(running)));

    // The next start: nothing partial stays, not even hidden lock files or journals; the databases (and the
    // import logs) do.
    ASSERT_TRUE(AppStartup::ensureDatabaseExists());
    QStringList left = QDir(data).entryList(QDir::Files | QDir::Hidden);
    left.removeIf([](const QString& name) { return name.endsWith(".txt"); });
    for (const QString& name : left)
        EXPECT_TRUE(name.endsWith(".RezUdu")) << name.toStdString();
    EXPECT_TRUE(left.contains("Running.RezUdu"));
}
