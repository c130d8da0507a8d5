#pragma once

#include "gedcom/ImportGedcomThread.h"
#include "model/ModelHooks.h"
#include "platform/ScriptedPrompts.h"

#include "TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

// Runs the event loop until an import started with ImportGedcomThread::startImport() has told `listener` that it
// ended (`ended` answers true), then lets its worker thread finish. A hung import fails the test, and the listener
// is forgotten first, so that the worker never reaches it once the test's stack is gone.
inline bool waitForImportEnd(ImportGedcomListener* listener, const std::function<bool()>& ended)
{
    if (!TestSupport::waitUntil(ended, "the GEDCOM import")) {
        ImportGedcomThread::forgetListener(listener);
        return false;
    }
    EXPECT_TRUE(ImportGedcomThread::waitForImport(TestSupport::kHungRunMilliseconds)) << "the import's worker hung";
    return true;
}

// What every import test needs: a temporary folder, scripted alerts, and model hooks that put the data folder
// inside it and never end the program.
class ImportFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        Prompts::install(&prompts);
        savedHooks = ModelHooks::shared();
        ModelHooks::shared() = ModelHooks();
        ModelHooks::shared().dataDirectory = [this] { return dataDirectory(); };
        ModelHooks::shared().terminate = [] {};
    }
    void TearDown() override
    {
        Prompts::install(nullptr);
        ModelHooks::shared() = savedHooks;
    }

    virtual QString dataDirectory() const { return dir.path() + "/data"; }

    // A request for a new database in a run folder of its own (lastFolder), so each import has its own logs.
    ImportGedcomThread::Request request(const QString& gedcomPath)
    {
        lastFolder = QStringLiteral("%1/run%2").arg(dir.path()).arg(++runs);
        QDir().mkpath(lastFolder);
        ImportGedcomThread::Request r;
        r.gedcomFilename = gedcomPath;
        r.databaseFilename = lastFolder + "/" + QFileInfo(gedcomPath).completeBaseName() + ".RezUdu";
        r.tempFolder = lastFolder + "/temp";
        return r;
    }

    QTemporaryDir dir {TestSupport::tempRoot() + "/import-XXXXXX"};
    ScriptedPrompts prompts;
    ModelHooks savedHooks;
    QString lastFolder;
    int runs = 0;
};
