#include "gedcom/ExportToGedcom.h"

#include "gedcom/ExportToGedcomRun.h"
#include "gedcom/GedcomWriter.h"

#include "model/FTMoc.h"

#include "shell/Utils.h"

#include "platform/FTLog.h"
#include "platform/Prompts.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>

namespace {
bool gExportThreadIsActive = false;

// Set for the length of a run, whatever way it ends.
struct ActiveRun {
    ActiveRun() { gExportThreadIsActive = true; }
    ~ActiveRun() { gExportThreadIsActive = false; }
};
}

struct ExportToGedcom::Private {
    FTMoc* moc = nullptr;
    bool selectiveExport = false;
    QSet<FTPerson*> people;
    GedcomExportOptions options;
    QString outputFolder;
    QString writtenPath;
    QDateTime now;
    QString version;
    Statistics statistics;
    QList<FTPicture*> exportedPictures;
};

ExportToGedcom::ExportToGedcom(FTMoc* moc) : d(std::make_unique<Private>()) { d->moc = moc; }
ExportToGedcom::~ExportToGedcom() = default;

FTMoc* ExportToGedcom::moc() const { return d->moc; }
QString ExportToGedcom::modelName() const { return d->moc->modelName(); }
QString ExportToGedcom::gedcomVersion() { return QStringLiteral("Gedcom 5.5"); }

QString ExportToGedcom::gedcomFormatHelpText()
{
    return QStringLiteral("For example:\n\n"
                          "In Gedcom 5.5 the multimedia (images) record format is:\n"
                          "0 @M1234@ OBJE\n"
                          "  1 FILE TheQueensPicture.jpg\n"
                          "  1 FORM jpg\n"
                          "  1 TITL The Queen\n\n\n"
                          "In Gedcom 5.5.1 the multimedia (images) record format is:\n"
                          "0 @M1234@ OBJE\n"
                          "  1 FILE TheQueensPicture.jpg\n"
                          "    2 FORM jpg\n"
                          "    2 TITL The Queen");
}

bool ExportToGedcom::selectiveExport() const { return d->selectiveExport; }
void ExportToGedcom::setSelectiveExport(bool selective) { d->selectiveExport = selective; }
const QSet<FTPerson*>& ExportToGedcom::setOfPeopleToExport() const { return d->people; }
void ExportToGedcom::setSetOfPeopleToExport(const QSet<FTPerson*>& people) { d->people = people; }

const GedcomExportOptions& ExportToGedcom::options() const { return d->options; }
void ExportToGedcom::setOptions(const GedcomExportOptions& options) { d->options = options; }

QString ExportToGedcom::outputFolder() const
{
    return d->outputFolder.isEmpty() ? Utils::KinloomDataDirectory() : d->outputFolder;
}
void ExportToGedcom::setOutputFolder(const QString& folder) { d->outputFolder = folder; }

QString ExportToGedcom::gedcomFilename() const
{
    if (!d->writtenPath.isEmpty())
        return d->writtenPath;
    return GedcomWriter::uniquePath(outputFolder(), modelName(), QStringLiteral("GED"));
}

void ExportToGedcom::setNow(const QDateTime& now) { d->now = now; }
void ExportToGedcom::setVersion(const QString& version) { d->version = version; }

bool ExportToGedcom::exportIsActive() { return gExportThreadIsActive; }
const ExportToGedcom::Statistics& ExportToGedcom::statistics() const { return d->statistics; }
const QList<FTPicture*>& ExportToGedcom::exportedPicturesArray() const { return d->exportedPictures; }

bool ExportToGedcom::generateGedcomFile()
{
    if (gExportThreadIsActive)
        return false;
    d->options = GedcomExportOptions::fromUserDefaults();
    return generationThread();
}

bool ExportToGedcom::generationThread() { return run(nullptr); }

bool ExportToGedcom::writeTo(QIODevice* device) { return device && run(device); }

bool ExportToGedcom::run(QIODevice* device)
{
    if (gExportThreadIsActive)
        return false;
    ActiveRun active;
    QElapsedTimer timer;
    timer.start();
    d->statistics = {};
    d->exportedPictures.clear();
    auto progress = [this](int percent) {
        if (progressChanged)
            progressChanged(percent);
    };
    auto message = [this](const QString& text) {
        if (messageChanged)
            messageChanged(text);
    };

    GedcomWriter writer(d->options);
    QString error;
    QString path;
    if (device) {
        writer.writeTo(device);
    } else {
        const QString folder = outputFolder();
        path = folder.isEmpty() ? QString() : writer.createUnique(folder, modelName(), QStringLiteral("GED"), &error);
        if (path.isEmpty()) {
            Prompts::current().message(error.isEmpty() ? QStringLiteral("Unable to create the file for the Gedcom output")
                                                       : error);
            return false;
        }
        d->writtenPath = path;
        message(QStringLiteral("Exporting to %1").arg(path));
    }

    const QDateTime now = d->now.isValid() ? d->now : QDateTime::currentDateTime();
    bool finished = false;
    try {
        ExportToGedcomRun run(d->moc, writer, d->options, d->selectiveExport, d->people, now);
        run.progress = progress;
        run.message = message;
        run.prepare();

        GedcomWriter::HeaderInfo header;
        header.modelName = modelName();
        header.fileName = path.isEmpty() ? modelName() + QStringLiteral(".GED") : QFileInfo(path).fileName();
        header.version = d->version;
        header.now = now;
        writer.writeHeaderRecords(header);
        progress(50);

        message(QStringLiteral("Writing GEDCOM records for individuals."));
        run.writeINDI_Records();
        message(QStringLiteral("Writing GEDCOM records for families."));
        run.writeFAM_Records();
        // Pictures are written as links inside the records that show them.
        message(QStringLiteral("Writing GEDCOM records for pictures."));
        message(QStringLiteral("Writing GEDCOM records for sources."));
        run.writeSOURCE_Records();
        writer.writeTrailer();

        d->statistics.individuals = run.individualsWritten();
        d->statistics.families = run.familiesWritten();
        d->statistics.sources = run.sourcesWritten();
        d->exportedPictures = run.exportedPictures();
        finished = true;
    } catch (...) {
        writer.finish();
        if (!path.isEmpty())
            QFile::remove(path);
        d->writtenPath.clear();
        Utils::reportCurrentException(__FILE__, __LINE__, QStringLiteral("generationThread"));
        return false;
    }

    if (!writer.finish(&error) || !finished) {
        d->writtenPath.clear();
        d->exportedPictures.clear();
        Prompts::current().message(error);
        return false;
    }
    progress(100);
    d->statistics.seconds = double(timer.nsecsElapsed()) / 1e9;
    const QString elapsed = QStringLiteral("%1 seconds to generate GEDCOM file").arg(d->statistics.seconds, 6, 'f', 1);
    FTLog(elapsed);
    message(elapsed);
    return true;
}
