#include "gedcom/GedcomImportLog.h"

#include "gedcom/GedRec.h"
#include "gedcom/GedcomForest.h"
#include "gedcom/GedcomReadObserver.h"
#include "platform/FTLog.h"
#include "platform/Localizer.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

namespace {

GedcomReadObserver gSilentLogObserver;

void write(QFile* f, const QString& text)
{
    if (f)
        f->write(text.toUtf8());  // unpaired surrogates become U+FFFD: no line is refused
}

QString quoted(const QString& s)
{
    return u'"' + s + u'"';
}

} // namespace

const QString GedcomImportLog::kUnprocessedFileName = QStringLiteral("UnprocessedGedRecs.txt");
const QString GedcomImportLog::kCustomFileName = QStringLiteral("UnprocessedCustomGedRecs.txt");
const QString GedcomImportLog::kValidationFileName = QStringLiteral("ValidationErrors.txt");

GedcomImportLog::GedcomImportLog(const QString& folder, const QString& gedcomPath, const QString& databasePath,
                                 GedcomReadObserver* observer)
    : m_folder(folder)
    , m_gedcomPath(gedcomPath)
    , m_databasePath(databasePath)
    , m_observer(observer ? observer : &gSilentLogObserver)
{
}

GedcomImportLog::~GedcomImportLog() = default;

void GedcomImportLog::setDateRead(const QDateTime& when)
{
    m_dateRead = when;
}

QString GedcomImportLog::pathFor(const QString& fileName) const
{
    return QStringLiteral("%1/%2").arg(m_folder, fileName);
}

std::unique_ptr<QFile> GedcomImportLog::createOutputFile(const QString& fileName) const
{
    const QString path = pathFor(fileName);
    QFile::remove(path);
    auto f = std::make_unique<QFile>(path);
    if (!f->open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        m_observer->showMessage(QStringLiteral("Unable to create the file for the %1").arg(fileName));
        return nullptr;
    }
    f->write("\xEF\xBB\xBF");
    const QDateTime when = m_dateRead.isValid() ? m_dateRead : QDateTime::currentDateTime();
    const QString date = QLocale::c().toString(when, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (fileName == kUnprocessedFileName || fileName == kCustomFileName) {
        write(f.get(), QStringLiteral("Gedcom file read = %1\nDate Read = %2\nNew Model = %3\nUsing %4 Version: %5\n\n")
                           .arg(m_gedcomPath, date, m_databasePath, QStringLiteral("Kinloom for Vovadid"),
                                QStringLiteral(KINLOOM_VERSION)));
    } else if (fileName == kValidationFileName) {
        write(f.get(), QStringLiteral("Gedcom file read = %1\nDate Read = %2\nNew Model = %3\n\n"
                                      "The following validation errors were found in the imported data.\n")
                           .arg(m_gedcomPath, date, m_databasePath));
    }
    return f;
}

QString GedcomImportLog::errorReasonText(const GedRec& rec)
{
    switch (rec.errorReason()) {
    case 1: return QStringLiteral("custom tag not recognised by Kinloom");
    case 2: return QStringLiteral("tag not defined in Gedcom V5.5");
    case 4: return QStringLiteral("invalid value = ") + quoted(rec.value());
    case 8: return QStringLiteral("invalid record format %1").arg(rec.recordText());
    case 16: return QStringLiteral("date format not valid for Kinloom, value = ") + quoted(rec.value());
    case 32: return QStringLiteral("tag not recognised by Kinloom");
    case 64: return QStringLiteral("invalid Gedcom pointer value = ") + quoted(rec.fwdPtr());
    case 128:
        return QStringLiteral("wrong file extension or it is a movie file that is ignored by Gedcom Load, value = ")
            + quoted(rec.value());
    case 256: return QStringLiteral("duplicate name");
    case 512: return QStringLiteral("unrecognised value ") + quoted(rec.value());
    case 1024: return QStringLiteral("Unable to process a Family Reference No for a single parent family");
    case 2048: return QStringLiteral("Overlength PAGE record");
    case 4096: return QStringLiteral("Empty Source Citation Record. Value = ") + quoted(rec.value());
    case 8192: return QStringLiteral("the CONC and CONT subrecords not defined in Gedcom V5.5");
    case 0: return QString();
    default: return QStringLiteral("undefined error");
    }
}

QString GedcomImportLog::errorActionText(int action)
{
    switch (action) {
    case 1: return QStringLiteral("record ignored");
    case 2: return QStringLiteral("appended to Notes");
    case 4: return QStringLiteral("appended to Notes with sub-records");
    case 8: return QStringLiteral("appended to Comments");
    case 16: return QStringLiteral("appended to Comments with sub-records");
    case 32: return QStringLiteral("date converted to an about date");
    case 64: return QStringLiteral("loaded as an EVEN event record");
    default: return QStringLiteral("no action");
    }
}

QString GedcomImportLog::errorLine(const GedRec& rec)
{
    QString line = QStringLiteral("line %1. %2, %3, %4")
                       .arg(rec.lineNo())
                       .arg(rec.path(), errorReasonText(rec), errorActionText(rec.errorAction()));
    if (!rec.errorString().isEmpty())
        line += QStringLiteral(", ") + rec.errorString();
    return line;
}

void GedcomImportLog::printUnprocessedGedRec(GedRec* rec, QFile* unprocessed, QFile* custom)
{
    // The line comes after its ancestors not yet written, each of them once.
    std::vector<GedRec*> chain;
    for (GedRec* r = rec; r && !(r->flags() & GedRec::Printed); r = r->owner())
        chain.push_back(r);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        GedRec* r = *it;
        QString text = QStringLiteral("line %1. ").arg(r->lineNo());
        if (!(r->flags() & GedRec::Consumed)) {
            text += QStringLiteral("->");
            ++m_totalUnprocessed;
        }
        text += r->stringRepresentation() + u'\n';
        r->setFlags(r->flags() | GedRec::Printed);
        if (r->flags() & GedRec::Custom) {
            ++m_numCustomTagRecords;
            write(custom, text);
        }
        write(unprocessed, text);
    }
}

void GedcomImportLog::printUnprocessedGedRecs(GedcomForest& forest, const QStringList& parserMessages, int numLines,
                                              int blobRecordsIgnored)
{
    QElapsedTimer timer;
    timer.start();
    m_observer->setDialogMessage(QStringLiteral("Printing unprocessed Gedcom records"));
    m_observer->setCurrentProgress(0, forest.size());
    m_numCustomTagRecords = 0;
    m_totalUnprocessed = 0;

    std::unique_ptr<QFile> unprocessed = createOutputFile(kUnprocessedFileName);
    std::unique_ptr<QFile> custom = createOutputFile(kCustomFileName);

    for (const QString& m : parserMessages)
        write(unprocessed.get(), m + u'\n');

    forest.forEachLine([&](GedRec* r) {
        if (r->errorReason() != 0)
            write(unprocessed.get(), errorLine(*r) + u'\n');
    });

    write(unprocessed.get(), QStringLiteral("--------------------------- \nUnprocessed GedRecs follow  \n"
                                            "Unprocessed Custom Tags GedRecs (if any) are also in file %1\n"
                                            "--------------------------- \n")
                                 .arg(kCustomFileName));

    qsizetype done = 0;
    for (GedRec* root : forest.records()) {
        m_observer->setCurrentProgress(++done, forest.size());
        root->forEachLine([&](GedRec* r) {
            if (r->type().startsWith(u'_') || (r->owner() && (r->owner()->flags() & GedRec::Custom)))
                r->setFlags(r->flags() | GedRec::Custom);
            if (r->flags() == 0 || r->flags() == GedRec::Custom)
                printUnprocessedGedRec(r, unprocessed.get(), custom.get());
        });
    }

    const QString customCount =
        QStringLiteral("\n\nGedRecs with custom tags (incl their subRecords) that were ignored = %1\n")
            .arg(m_numCustomTagRecords);
    write(unprocessed.get(), customCount);
    write(custom.get(), customCount);
    const double percent = numLines > 0 ? m_totalUnprocessed * 100.0 / numLines : 0.0;
    write(unprocessed.get(), QStringLiteral("\nTotal unprocessed GedRecs: %1 = %2% of %3 lines\n")
                                 .arg(m_totalUnprocessed)
                                 .arg(percent, 0, 'f', 2)
                                 .arg(numLines));
    if (blobRecordsIgnored != 0)
        write(unprocessed.get(), QStringLiteral("In addition %1 BLOB subRecords were ignored\n").arg(blobRecordsIgnored));

    if (unprocessed)
        unprocessed->close();
    if (custom) {
        custom->close();
        if (m_numCustomTagRecords == 0)
            QFile::remove(custom->fileName());
    }
    FTLog(QStringLiteral("%1 msecs total for printUnprocessedGedRecs method").arg(double(timer.nsecsElapsed()) / 1e6, 0, 'f', 3));
}

QStringList GedcomImportLog::existingLogFiles() const
{
    QStringList found;
    for (const QString& name : {kUnprocessedFileName, kCustomFileName, kValidationFileName})
        if (QFileInfo::exists(pathFor(name)))
            found.append(pathFor(name));
    return found;
}
