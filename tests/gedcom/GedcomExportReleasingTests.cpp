// The export of a large database gives back the records it has written as it goes; what it writes must not
// depend on it. Releasing is forced here on a small file by setting both limits to nothing.

#include "WholeDatabaseExport.h"

#include "gedcom/ExportToGedcom.h"
#include "gedcom/GedcomExportOptions.h"
#include "gedcom/ImportGedcomListener.h"
#include "gedcom/ImportGedcomOutcome.h"
#include "gedcom/ImportGedcomThread.h"
#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "platform/store/ReleasingWalk.h"

#include "ImportFixture.h"
#include "TestSupport.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

class GedcomExportReleasing : public ImportFixture {
protected:
    void TearDown() override
    {
        ReleasingWalk::setLimits(-1, -1);
        ImportFixture::TearDown();
    }

    // A fresh context on the file each time: records read before a walk begins are never given back.
    QByteArray exportOpened(const QString& database, const QString& folder)
    {
        std::unique_ptr<FTMoc> moc = FTMoc::initForStoreURL(database, true);
        EXPECT_TRUE(moc);
        if (!moc)
            return {};
        ExportToGedcom exporter(moc.get());
        exporter.setOptions(wholeDatabaseExportOptions());
        exporter.setNow(QDateTime(QDate(2024, 5, 1), QTime(12, 0)));
        exporter.setVersion("1.0");
        const QString out = dir.path() + "/" + folder;
        QDir().mkpath(out);
        exporter.setOutputFolder(out);
        EXPECT_TRUE(exporter.generationThread());
        QFile f(exporter.gedcomFilename());
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.readAll();
    }
};

TEST_F(GedcomExportReleasing, EveryRecordGivenBackWritesTheSameFile)
{
    ImportGedcomListener quiet;
    const ImportGedcomOutcome imported
        = ImportGedcomThread(request(TestSupport::dataFile("royal92.ged")), &quiet).loadGedFileThread();
    ASSERT_TRUE(imported.succeeded) << imported.message.toStdString();

    // Event numbers the export replaces (one an older event has, one missing), each shown by the note it names.
    QByteArray taken;
    {
        std::unique_ptr<FTMoc> moc = FTMoc::initForStoreURL(imported.databaseFilename, true);
        ASSERT_TRUE(moc);
        const QList<FTEvent*> events = moc->fetch<FTEvent>(
            {}, [](const FTEvent* a, const FTEvent* b) { return a->primaryKey() < b->primaryKey(); });
        ASSERT_GE(events.size(), 3);
        for (int i = 0; i < 3; ++i)
            events[i]->setNotes(QStringLiteral("Note %1").arg(i));
        events[2]->setNumericId(events[0]->numericId());
        events[1]->setNumericId(0);
        taken = "@EN" + QByteArray::number(events[0]->numericId()) + "@";
        QString error;
        ASSERT_TRUE(moc->saveMoc(&error)) << error.toStdString();
    }

    const QByteArray kept = exportOpened(imported.databaseFilename, "kept");
    ASSERT_GT(kept.size(), 100000);
    EXPECT_EQ(kept.count(taken), 2) << "the note's pointer and its record, of the older event only";
    EXPECT_EQ(kept.count("@EN0@"), 0);
    ReleasingWalk::setLimits(0, 0);
    const QByteArray released = exportOpened(imported.databaseFilename, "released");
    ReleasingWalk::setLimits(-1, -1);
    // Compared line by line, so that a difference shows where it is.
    const QList<QByteArray> a = kept.split('\n'), b = released.split('\n');
    ASSERT_EQ(a.size(), b.size());
    for (qsizetype i = 0; i < a.size(); ++i)
        ASSERT_EQ(a[i].toStdString(), b[i].toStdString()) << "line " << i + 1;
}

} // namespace
