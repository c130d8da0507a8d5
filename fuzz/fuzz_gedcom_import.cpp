// Feeds arbitrary bytes through a GEDCOM import the way a user's file goes: written to disk, read
// with its character set determined, cleaned into the temporary folder, decoded, parsed into the
// record forest, every line looked at, and the unprocessed-lines logs written. Whatever the bytes,
// nothing may crash, hang, leak or touch a file outside the fuzzer's own folder.
//
// Each step is a function of its own so that later steps of the import (the record passes and the
// saved database) slot in between reading and logging.
#include "gedcom/AnselTable.h"
#include "gedcom/GedRec.h"
#include "gedcom/GedcomFileReader.h"
#include "gedcom/GedcomForest.h"
#include "gedcom/GedcomHeaderInfo.h"
#include "gedcom/GedcomImportLog.h"
#include "platform/AppPaths.h"
#include "platform/FTLog.h"
#include "platform/UserDefaults.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {

struct Harness {
    std::unique_ptr<QCoreApplication> app;
    std::unique_ptr<QTemporaryDir> root;
    QString gedcomPath;   // where the input is written, as the user's file
    QString tempFolder;   // the data folder's "temp"
    QString logFolder;    // beside the new database
    AnselTable ansel;
};

Harness* gHarness = nullptr;

void ignoreLog(const QString&) {}

// Looks at every line the way the record passes will: every accessor, every derived value. Some
// lines are marked used or given error reasons so that the logs print every kind of line.
void walkForest(GedcomForest& forest)
{
    forest.forEachLine([](GedRec* r) {
        (void)r->value();
        (void)r->ptr();
        (void)r->fwdPtr();
        (void)r->valueIsPointer();
        (void)r->numericId();
        (void)r->stringRepresentation();
        (void)r->hasContinuationLines();
        (void)r->husbandPtr();
        (void)r->wifePtr();
        (void)r->isEventStructure();
        (void)r->isSourceCitationWithMissingPointer();
        (void)r->firstSubRecord("TYPE");
        const int n = r->lineNo();
        if (n % 3 == 0)
            r->setFlags(GedRec::Consumed);
        if (n % 7 == 0)
            r->setErrorReason(1 << (n % 15), 1 << (n % 8), r->type());
        // The readers change lines too: values, tags and pointers set again, sub-lines added to
        // lines whose lists already took their final size.
        if (n > 0 && n % 11 == 0) {
            const QString pointer = r->fwdPtr();
            r->setValue(r->value() + QStringLiteral(" @@x"));
            if (r->fwdPtr() != pointer)
                std::abort();
            r->setEventSubtype(r->type(), r->value());
            r->setType(r->type() + u'_');
            r->setPointer(u'@' + r->ptr() + u'@');
        }
    });
    for (GedRec* root : forest.records())
        (void)forest.record(forest.keyOf(root));
}

// What must hold whatever the bytes: cleaning twice changes nothing, and reading from memory in two
// steps (looking at the lines between them) gives what reading the file gave.
void checkInvariants(const QByteArray& bytes, bool read, GedcomFileReader& fromFile)
{
    const QByteArray cleaned = GedcomFileReader::cleanBytes(bytes);
    if (GedcomFileReader::cleanBytes(cleaned) != cleaned)
        std::abort();
    GedcomFileReader inSteps;
    inSteps.setAnselTable(&gHarness->ansel);
    if (inSteps.loadLinesArray(bytes) != read)
        std::abort();
    if (!read)
        return;
    if (inSteps.lineCount() < fromFile.numLines() || inSteps.lines().size() != inSteps.lineCount())
        std::abort();
    inSteps.createGedRecs();
    if (inSteps.numGedRecs() != fromFile.numGedRecs() || inSteps.errorMessages() != fromFile.errorMessages()
        || inSteps.forest().size() != fromFile.forest().size() || inSteps.lineCount() != 0)
        std::abort();
}

bool readStep(GedcomFileReader& reader)
{
    return reader.readFile(gHarness->gedcomPath);
}

void logStep(GedcomFileReader& reader)
{
    GedcomImportLog log(gHarness->logFolder, gHarness->gedcomPath, gHarness->logFolder + "/Fuzz.RezUdu");
    log.setDateRead(QDateTime(QDate(2024, 1, 1), QTime(12, 0)));
    log.printUnprocessedGedRecs(reader.forest(), reader.errorMessages(), reader.numLines(),
                                reader.blobRecordsIgnored());
    (void)reader.headerInfo().infoText();
    (void)reader.headerInfo().loadInformation(gHarness->gedcomPath, gHarness->logFolder, QDateTime());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    gHarness = new Harness;
    gHarness->root = std::make_unique<QTemporaryDir>(QDir::tempPath() + "/kinloom-fuzz-XXXXXX");
    const QString root = gHarness->root->path();
    // Nothing of the user's: home, settings and shared files all point into the fuzzer's folder or
    // the source tree.
    qputenv("HOME", root.toUtf8());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    gHarness->app = std::make_unique<QCoreApplication>(*argc, *argv);
    UserDefaults::useSettingsFile(root + "/settings.ini");
    AppPaths::setSharedSupportDirectory(QStringLiteral(KINLOOM_RESOURCE_DIR));
    gDevelopmentVersion = true;  // the log lines are formatted, then dropped
    FTLogSetSink(ignoreLog);

    gHarness->gedcomPath = root + "/input.ged";
    gHarness->tempFolder = root + "/temp";
    gHarness->logFolder = root + "/logs";
    QDir().mkpath(gHarness->logFolder);
    gHarness->ansel = AnselTable::load(QStringLiteral(KINLOOM_RESOURCE_DIR) + "/ans2uni.con");
    if (gHarness->ansel.isEmpty())
        std::abort();  // the fuzzer would miss the ANSEL decoder
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QFile in(gHarness->gedcomPath);
    if (!in.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    in.write(reinterpret_cast<const char*>(data), qint64(size));
    in.close();

    GedcomFileReader reader;
    reader.setTempFolder(gHarness->tempFolder);
    reader.setAnselTable(&gHarness->ansel);
    const bool read = readStep(reader);
    checkInvariants(QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)), read, reader);
    if (!read)
        return 0;
    walkForest(reader.forest());
    // The record passes and the saved database go here.
    logStep(reader);
    return 0;
}
