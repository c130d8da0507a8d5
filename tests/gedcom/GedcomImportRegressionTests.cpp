// Inputs that once broke the whole GEDCOM import (found by the fuzz target, fuzz/), each imported
// the way the import window does it: read, every record pass, validation, logs and the saved
// database, in a folder of its own that nothing may be written outside of.
#include "gedcom/ImportGedcomOutcome.h"
#include "gedcom/ImportGedcomThread.h"
#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/ModelHooks.h"
#include "platform/Prompts.h"
#include "platform/ScriptedPrompts.h"

#include "QtPrinters.h"
#include "ImportFixture.h"
#include "TestSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class GedcomImportRegression : public ImportFixture {
protected:
    QString dataDirectory() const override { return runFolder + "/data"; }

    // Imports the fixture from a folder of its own into a fresh run folder; every file the import
    // wrote must lie inside that run folder.
    ImportGedcomOutcome importFixture(const QString& name)
    {
        const QString in = dir.path() + "/in";
        QDir().mkpath(in);
        const QString gedcom = in + "/" + name;
        QFile::remove(gedcom);
        EXPECT_TRUE(QFile::copy(TestSupport::dataFile("gedcom-regress/" + name), gedcom));
        runFolder = QStringLiteral("%1/run%2").arg(dir.path()).arg(++runs);
        QDir().mkpath(runFolder + "/data");
        const QStringList before = outsideRun(entries(dir.path()));

        ImportGedcomThread::Request request;
        request.gedcomFilename = gedcom;
        request.databaseFilename = runFolder + "/Regress.RezUdu";
        request.tempFolder = runFolder + "/data/temp";
        ImportGedcomThread import(request);
        const ImportGedcomOutcome outcome = import.loadGedFileThread();

        EXPECT_TRUE(outcome.succeeded) << outcome.message.toStdString();
        if (outcome.succeeded) {
            const auto moc = FTMoc::initForStoreURL(outcome.databaseFilename, true);
            EXPECT_TRUE(moc);
            if (moc)
                EXPECT_EQ(moc->count<FTPerson>(), outcome.people) << "the saved database holds what was counted";
        }
        EXPECT_EQ(outsideRun(entries(dir.path())), before);
        return outcome;
    }

    QStringList outsideRun(QStringList list) const
    {
        list.removeIf([&](const QString& e) { return e.startsWith(runFolder + "/") || e == runFolder; });
        return list;
    }

    static QStringList entries(const QString& folder)
    {
        QStringList list;
        QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            list << it.next();
        list.sort();
        return list;
    }

    QString runFolder;
};

} // namespace

// Each input imports whole, with what it holds and the lines it could not use listed. A new fixture needs its line
// here.
TEST_F(GedcomImportRegression, EveryFixtureImportsWhole)
{
    const QHash<QString, std::pair<int, int>> expected {
        // file: people, lines listed as not imported
        { "ansel-marks-run.ged", { 0, 1 } },             // the note record nobody points to
        { "blob-at-end-without-line-end.ged", { 0, 1 } }, // the multimedia record of a BLOB alone
        { "duplicate-identifier-flood.ged", { 200, 0 } }, // every person kept under a key of its own
        { "utf16-zeros-and-half-character.ged", { 0, 2 } },
    };
    const QStringList files = QDir(TestSupport::dataFile("gedcom-regress")).entryList(QDir::Files, QDir::Name);
    ASSERT_EQ(files.size(), expected.size());
    for (const QString& name : files) {
        SCOPED_TRACE(name.toStdString());
        ASSERT_TRUE(expected.contains(name)) << "no expectation for this fixture";
        const ImportGedcomOutcome outcome = importFixture(name);
        EXPECT_EQ(outcome.people, expected[name].first);
        EXPECT_EQ(outcome.unprocessedLines, expected[name].second);
        EXPECT_EQ(outcome.recordsWithErrors, 0);
    }
}
