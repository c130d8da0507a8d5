#pragma once

// A family database in a temporary folder, with scripted alerts and model hooks that record what they are asked.

#include "TestSupport.h"

#include "model/CitationDialogs.h"
#include "model/FTMoc.h"
#include "model/FTMocUndoManager.h"
#include "model/ModelHooks.h"

#include "platform/NotificationCenter.h"
#include "platform/ScriptedPrompts.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <memory>

// Citation sheets that record what they are asked to open; with `endAtOnce` each ends as soon as it is begun.
struct RecordedCitationSheets : CitationDialogs {
    void beginCitationSheet(Kind kind, FTSourceRel* citation, std::function<void()> didEnd) override
    {
        sheets.push_back({kind, citation});
        if (endAtOnce && didEnd)
            didEnd();
    }
    bool endAtOnce = false;
    QList<std::pair<Kind, FTSourceRel*>> sheets;
};

class ModelFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        Prompts::install(&prompts);
        CitationDialogs::install(&citationSheets);
        savedHooks = ModelHooks::shared();
        ModelHooks& hooks = ModelHooks::shared();
        hooks = ModelHooks();
        hooks.dataDirectory = [this] { return dir.path() + "/data"; };
        hooks.terminate = [this] { ++terminations; };
        hooks.reportCurrentException = [this](const char*, int, const QString& method) { reported << method; };
    }
    void TearDown() override
    {
        NotificationCenter::defaultCenter().flushQueue();
        Prompts::install(nullptr);
        CitationDialogs::install(nullptr);
        ModelHooks::shared() = savedHooks;
    }

    QString pathFor(const QString& name) const { return dir.path() + "/" + name; }

    // A new, empty database, made the way the new-database command makes one: an empty file, then opened.
    std::unique_ptr<FTMoc> newDatabase(const QString& name = "Family.RezUdu")
    {
        const QString path = pathFor(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.close();
        auto moc = FTMoc::initForStoreURL(path, true);
        EXPECT_TRUE(moc) << messages().join("\n").toStdString();
        return moc;
    }
    std::unique_ptr<FTMoc> reopen(const QString& path)
    {
        auto moc = FTMoc::initForStoreURL(path, true);
        EXPECT_TRUE(moc) << messages().join("\n").toStdString();
        return moc;
    }

    QStringList messages() const
    {
        QStringList out;
        for (const auto& r : prompts.records)
            out << r.text;
        return out;
    }

    // SQLite's file change counter: one more for every transaction that wrote the file.
    static quint32 writesTo(const QString& path)
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly) || !f.seek(24))
            return 0;
        const QByteArray b = f.read(4);
        return b.size() == 4 ? qFromBigEndian<quint32>(b.constData()) : 0;
    }

    QTemporaryDir dir {TestSupport::tempRoot() + "/model-XXXXXX"};
    ScriptedPrompts prompts;
    RecordedCitationSheets citationSheets;
    ModelHooks savedHooks;
    int terminations = 0;
    QStringList reported;
};
