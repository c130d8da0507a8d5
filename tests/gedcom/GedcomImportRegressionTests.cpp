// Inputs that once broke the whole GEDCOM import (found by the fuzz target, fuzz/), each imported
// the way the import window does it: read, every record pass, validation, logs and the saved
// database, in a folder of its own that nothing may be written outside of.
#include "gedcom/ImportGedcomOutcome.h"
#include "gedcom/ImportGedcomThread.h"
#include "model/FTMoc.h"
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

        EXPECT_EQ(outcome.succeeded, QFileInfo::exists(request.databaseFilename)) << outcome.message.toStdString();
        if (outcome.succeeded)
            EXPECT_TRUE(FTMoc::initForStoreURL(outcome.databaseFilename, true));
        else
            EXPECT_FALSE(outcome.message.isEmpty());
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

TEST_F(GedcomImportRegression, EveryFixtureImportsWhole)
{
    const QStringList files = QDir(TestSupport::dataFile("gedcom-regress")).entryList(QDir::Files, QDir::Name);
    ASSERT_FALSE(files.isEmpty());
    for (const QString& name : files) {
        SCOPED_TRACE(name.toStdString());
        importFixture(name);
    }
}
