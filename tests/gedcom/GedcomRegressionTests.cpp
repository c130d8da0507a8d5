// Inputs that once broke the reading of a GEDCOM file (found by the fuzz target, fuzz/), each read
// the whole way an import reads it: from disk, cleaned into the temporary folder, into the forest,
// every line looked at, and the unprocessed-lines logs written.
#include "gedcom/GedRec.h"
#include "gedcom/GedcomFileReader.h"
#include "gedcom/GedcomForest.h"
#include "gedcom/GedcomImportLog.h"

#include "QtPrinters.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct Outcome {
    bool read = false;
    int lines = 0;
    qsizetype records = 0;
    QStringList messages;
    QString log;
};

Outcome readWhole(const QString& path)
{
    QTemporaryDir dir(TestSupport::tempRoot() + "/regress-XXXXXX");
    Outcome out;
    GedcomFileReader reader;
    reader.setTempFolder(dir.path() + "/temp");
    out.read = reader.readFile(path);
    if (!out.read)
        return out;
    out.lines = reader.numLines();
    out.records = reader.forest().size();
    out.messages = reader.errorMessages();
    int seen = 0;
    reader.forest().forEachLine([&](GedRec* r) {
        ++seen;
        (void)r->stringRepresentation();
        (void)r->fwdPtr();
        (void)r->isEventStructure();
        (void)r->isSourceCitationWithMissingPointer();
    });
    EXPECT_EQ(seen, reader.numGedRecs());
    GedcomImportLog log(dir.path(), path, dir.path() + "/Regress.RezUdu");
    log.printUnprocessedGedRecs(reader.forest(), reader.errorMessages(), reader.numLines(), reader.blobRecordsIgnored());
    QFile f(dir.path() + "/" + GedcomImportLog::kUnprocessedFileName);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    out.log = QString::fromUtf8(f.readAll());
    // Nothing but the cleaned copy and the logs was written.
    const QStringList written = QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& name : written)
        EXPECT_TRUE(name == "temp" || name.startsWith("Unprocessed")) << name.toStdString();
    return out;
}

} // namespace

TEST(GedcomRegression, WhatTheFixturesRead)
{
    struct {
        const char* file;
        int lines;
        qsizetype records;
        const char* message;  // one of the parser's messages, or none expected when null
    } cases[] = {
        {"ansel-marks-run.ged", 4, 3, "ANSEL text in line 3 puts 100 combining marks on one letter: only the first 30 were kept."},
        {"duplicate-identifier-flood.ged", 403, 202, "Duplicate identifier @I1@ at line 401, first used at line 3: both records "
                                                     "were kept, the later one under the key \"I1 #200\"."},
        {"utf16-zeros-and-half-character.ged", 4, 2, "UTF-16 encoding error in line 3: unpaired surrogate"},
        {"blob-at-end-without-line-end.ged", 3, 2, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const Outcome o = readWhole(TestSupport::dataFile(QStringLiteral("gedcom-regress/") + c.file));
        ASSERT_TRUE(o.read);
        EXPECT_EQ(o.lines, c.lines);
        EXPECT_EQ(o.records, c.records);
        if (c.message) {
            EXPECT_TRUE(o.messages.contains(QString::fromUtf8(c.message))) << o.messages.join('\n').toStdString();
        } else {
            EXPECT_TRUE(o.messages.isEmpty()) << o.messages.join('\n').toStdString();
        }
    }
}

TEST(GedcomRegression, EveryFixtureReadsWhole)
{
    const QDir folder(TestSupport::dataFile("gedcom-regress"));
    const QStringList files = folder.entryList(QDir::Files, QDir::Name);
    ASSERT_FALSE(files.isEmpty());
    for (const QString& name : files) {
        SCOPED_TRACE(name.toStdString());
        const Outcome o = readWhole(folder.filePath(name));
        ASSERT_TRUE(o.read);
        EXPECT_TRUE(o.log.contains("Total unprocessed GedRecs:")) << o.log.toStdString();
    }
}
