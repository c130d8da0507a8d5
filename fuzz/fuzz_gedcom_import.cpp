// Feeds arbitrary bytes through the whole GEDCOM import the way a user's file goes: written to disk,
// its character set determined, cleaned into the temporary folder, decoded, parsed into the record
// forest, every record pass (people, events, notes, families, sources, citations, multimedia), the
// validation of the new database, the logs and the saved database file. Whatever the bytes, nothing
// may crash, hang, leak or write a file outside the run's own folder.
//
// Layout of the fuzzer's folder (also HOME, so that no file of the user's is ever reached):
//   in/        the input file and a few files a multimedia path may name (read, never written)
//   run/       made fresh for every input: the new database, its logs and the data folder with its
//              "Pictures" and "temp" folders
#include "gedcom/AnselTable.h"
#include "gedcom/GedcomFileReader.h"
#include "gedcom/ImportGedcomOutcome.h"
#include "gedcom/ImportGedcomThread.h"
#include "model/ModelHooks.h"
#include "platform/AppPaths.h"
#include "platform/FTLog.h"
#include "platform/UserDefaults.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <memory>

namespace {

struct Harness {
    std::unique_ptr<QCoreApplication> app;
    std::unique_ptr<QTemporaryDir> root;
    QString inFolder;     // the input and the files its multimedia lines may name
    QString runFolder;    // everything one import may write
    QString gedcomPath;
    QStringList rootEntries;       // what the fuzzer's folder holds besides run/
    QStringList inEntries;         // name, size and time of every file in in/
};

Harness* gHarness = nullptr;

void ignoreLog(const QString&) {}

// Every entry below `folder` (links not followed) with its size and modification time, sorted.
QStringList snapshot(const QString& folder)
{
    QStringList entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        entries << QStringLiteral("%1 %2 %3").arg(info.filePath()).arg(info.isSymLink() ? -1 : info.size())
                       .arg(info.lastModified().toMSecsSinceEpoch());
    }
    entries.sort();
    return entries;
}

QStringList rootEntries()
{
    QStringList names = QDir(gHarness->root->path())
                            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    names.removeAll(QStringLiteral("run"));
    names.removeAll(QStringLiteral("settings.ini"));
    names.sort();
    return names;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        std::abort();
}

// What must hold of the reader whatever the bytes: cleaning twice changes nothing.
void checkCleaning(const QByteArray& bytes)
{
    const QByteArray cleaned = GedcomFileReader::cleanBytes(bytes);
    if (GedcomFileReader::cleanBytes(cleaned) != cleaned)
        std::abort();
}

// Nothing outside run/ changed: no new entry in the fuzzer's folder, nothing in in/ touched.
void checkNothingWrittenOutside()
{
    if (rootEntries() != gHarness->rootEntries) {
        std::fprintf(stderr, "the import wrote outside its folder: %s\n",
                     qPrintable(rootEntries().join(QStringLiteral(", "))));
        std::abort();
    }
    const QStringList inNow = snapshot(gHarness->inFolder);
    QStringList inBefore = gHarness->inEntries;
    // The input itself is rewritten for every run.
    auto withoutInput = [](QStringList list) {
        list.removeIf([](const QString& e) { return e.startsWith(gHarness->gedcomPath + u' '); });
        return list;
    };
    if (withoutInput(inNow) != withoutInput(inBefore)) {
        std::fprintf(stderr, "the import changed the input's folder\n");
        std::abort();
    }
}

// The run's writes: the database, its logs and the data folder with the pictures; links among them
// must point at files, never be files placed elsewhere.
void checkRunFolder()
{
    const QString run = QDir(gHarness->runFolder).canonicalPath();
    QDirIterator it(gHarness->runFolder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        // A link the import made must sit in the pictures folder.
        if (info.isSymLink() && !info.absolutePath().endsWith(QLatin1String("/data/Pictures"))) {
            std::fprintf(stderr, "unexpected link %s\n", qPrintable(info.filePath()));
            std::abort();
        }
        if (!info.isSymLink() && !QDir::cleanPath(info.absoluteFilePath()).startsWith(run + u'/'))
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    gHarness = new Harness;
    gHarness->root = std::make_unique<QTemporaryDir>(QDir::tempPath() + "/kinloom-fuzz-XXXXXX");
    // The harness lives to the end of the process (libFuzzer leaves by exit()): its folder goes then.
    std::atexit([] { gHarness->root->remove(); });
    const QString root = QDir(gHarness->root->path()).canonicalPath();
    // Nothing of the user's: home, settings, data folder and shared files all point into the fuzzer's
    // folder or the source tree.
    qputenv("HOME", root.toUtf8());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    gHarness->app = std::make_unique<QCoreApplication>(*argc, *argv);
    UserDefaults::useSettingsFile(root + "/settings.ini");
    AppPaths::setSharedSupportDirectory(QStringLiteral(KINLOOM_RESOURCE_DIR));
    gDevelopmentVersion = true;  // the log lines are formatted, then dropped
    FTLogSetSink(ignoreLog);

    gHarness->inFolder = root + "/in";
    gHarness->runFolder = root + "/run";
    gHarness->gedcomPath = gHarness->inFolder + "/input.ged";
    ModelHooks::shared().dataDirectory = [] { return gHarness->runFolder + "/data"; };
    ModelHooks::shared().terminate = [] { std::abort(); };  // a failed save is reported, never quit on

    // Files the multimedia lines of the dictionary and seeds name: pictures beside the input, in a
    // subfolder and one level up (outside in/), a link, a folder and a file that is no picture.
    QDir().mkpath(gHarness->inFolder + "/pictures/sub");
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    if (!image.save(gHarness->inFolder + "/pictures/john.jpg") || !image.save(root + "/outside.jpg")
        || !image.save(gHarness->inFolder + "/photo.png"))
        std::abort();
    writeFile(gHarness->inFolder + "/pictures/notes.txt", "not a picture\n");
    writeFile(gHarness->inFolder + "/pictures/empty.jpg", QByteArray());
    QFile::link(root + "/outside.jpg", gHarness->inFolder + "/pictures/link.jpg");
    QDir().mkpath(gHarness->inFolder + "/pictures/folder.jpg");
    writeFile(gHarness->gedcomPath, QByteArray());
    gHarness->rootEntries = rootEntries();
    gHarness->inEntries = snapshot(gHarness->inFolder);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    checkCleaning(bytes);
    writeFile(gHarness->gedcomPath, bytes);

    // A fresh folder, so the database file never exists beforehand and every run writes its own logs.
    QDir(gHarness->runFolder).removeRecursively();
    if (!QDir().mkpath(gHarness->runFolder + "/data"))
        std::abort();

    ImportGedcomThread::Request request;
    request.gedcomFilename = gHarness->gedcomPath;
    request.databaseFilename = gHarness->runFolder + "/Fuzz.RezUdu";
    request.tempFolder = gHarness->runFolder + "/data/temp";
    {
        ImportGedcomThread import(request);
        const ImportGedcomOutcome outcome = import.loadGedFileThread();
        // A failed import leaves no half-made database; a successful one leaves it where asked.
        if (outcome.succeeded != QFileInfo::exists(request.databaseFilename))
            std::abort();
    }
    checkRunFolder();
    checkNothingWrittenOutside();
    return 0;
}
