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

#include <vector>

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
                           .arg(m_gedcomPath, date, m_databasePath, QStringLiteral("Kinloom"),
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
    case 16384: return QStringLiteral("the source has a picture already and a source holds only one");
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

namespace {

// Where report text goes: a log file, or bytes kept for it. Each piece is converted on its own, so
// kept text reads byte for byte as if it had been written then.
struct Sink {
    QFile* file = nullptr;
    QByteArray* bytes = nullptr;

    void put(const QString& text) const
    {
        const QByteArray utf8 = text.toUtf8();  // unpaired surrogates become U+FFFD: no line is refused
        if (file)
            file->write(utf8);
        if (bytes)
            bytes->append(utf8);
    }
    void put(const QByteArray& utf8) const
    {
        if (file)
            file->write(utf8);
        if (bytes)
            bytes->append(utf8);
    }
};

} // namespace

// Writes every line no pass used, after its ancestors not written yet, each of them once; custom-tag
// lines (and all under them) go to the custom file as well. With a `top` line, the lines above the
// top's sub-records are left to the caller: `needsTop` says whether a line wanted them written first.
struct GedcomImportLog::Printer {
    Sink unprocessed;
    Sink custom;
    const GedRec* top = nullptr;
    bool topCustom = false;  // what the report will find the top to be
    bool needsTop = false;
    int unprocessedCount = 0;
    int customCount = 0;

    void visit(GedRec* r)
    {
        const GedRec* owner = r->owner();
        const bool ownerCustom = owner && (owner == top ? topCustom : (owner->flags() & GedRec::Custom) != 0);
        if (r->type().startsWith(u'_') || ownerCustom)
            r->setFlags(r->flags() | GedRec::Custom);
        if (r->flags() == 0 || r->flags() == GedRec::Custom)
            print(r);
    }

    void print(GedRec* rec)
    {
        std::vector<GedRec*> chain;
        GedRec* r = rec;
        for (; r && r != top && !(r->flags() & GedRec::Printed); r = r->owner())
            chain.push_back(r);
        if (r && r == top)
            needsTop = true;
        for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
            GedRec* line = *it;
            QString text = QStringLiteral("line %1. ").arg(line->lineNo());
            if (!(line->flags() & GedRec::Consumed)) {
                text += QStringLiteral("->");
                ++unprocessedCount;
            }
            text += line->stringRepresentation() + u'\n';
            line->setFlags(line->flags() | GedRec::Printed);
            if (line->flags() & GedRec::Custom) {
                ++customCount;
                custom.put(text);
            }
            unprocessed.put(text);
        }
    }
};

void GedcomImportLog::keepTextOfReleasedLines(GedRec* record)
{
    // A line gives the report text only when it has an error reason or no pass used it; the lines of
    // most records all were used, so they are looked over once, without building any text.
    auto givesText = [](const GedRec* r) { return r->errorReason() != 0 || !(r->flags() & GedRec::Consumed); };
    std::vector<ReleasedText> runs;
    qsizetype kept = 0;
    bool runOpen = false;  // the current run of released sub-records has its entry in `runs`
    for (GedRec* sub : record->subRecords()) {
        if (!sub->isReleasedEarly()) {
            ++kept;
            runOpen = false;
            continue;
        }
        if (!sub->anyLine(givesText))
            continue;  // nothing of it is written; a later sub-record of the same run opens it
        if (!runOpen)
            runs.emplace_back().keptBefore = kept;
        runOpen = true;
        ReleasedText& run = runs.back();
        sub->forEachLine([&](GedRec* r) {
            if (r->errorReason() != 0)
                Sink{nullptr, &run.errors}.put(errorLine(*r) + u'\n');
        });
        Printer printer{{nullptr, &run.unprocessed}, {nullptr, &run.custom}, record};
        printer.topCustom = record->type().startsWith(u'_') || (record->flags() & GedRec::Custom);
        sub->forEachLine([&](GedRec* r) { printer.visit(r); });
        run.unprocessedCount += printer.unprocessedCount;
        run.customCount += printer.customCount;
        run.needsRecordLine = run.needsRecordLine || printer.needsTop;
    }
    // Only what the report will write is kept.
    std::erase_if(runs, [](const ReleasedText& run) { return run.errors.isEmpty() && run.unprocessed.isEmpty(); });
    if (!runs.empty())
        m_releasedText.insert(record, std::move(runs));
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
    const Sink toUnprocessed{unprocessed.get()};
    const Sink toCustom{custom.get()};

    for (const QString& m : parserMessages)
        toUnprocessed.put(m + u'\n');

    // The lines of each record in file order, with the text of its released lines in their place.
    const std::vector<ReleasedText> none;
    auto inFileOrder = [&](GedRec* root, auto&& onLine, auto&& onReleased) {
        onLine(root);
        const auto found = m_releasedText.constFind(root);
        const std::vector<ReleasedText>& runs = found == m_releasedText.constEnd() ? none : *found;
        auto run = runs.begin();
        const GedRecList subs = root->subRecords();
        for (qsizetype k = 0; k <= subs.size(); ++k) {
            for (; run != runs.end() && run->keptBefore == k; ++run)
                onReleased(*run);
            if (k < subs.size())
                subs[k]->forEachLine(onLine);
        }
        for (; run != runs.end(); ++run)
            onReleased(*run);
    };

    for (GedRec* root : forest.records())
        inFileOrder(
            root,
            [&](GedRec* r) {
                if (r->errorReason() != 0)
                    toUnprocessed.put(errorLine(*r) + u'\n');
            },
            [&](const ReleasedText& run) { toUnprocessed.put(run.errors); });

    toUnprocessed.put(QStringLiteral("--------------------------- \nUnprocessed GedRecs follow  \n"
                                     "Unprocessed Custom Tags GedRecs (if any) are also in file %1\n"
                                     "--------------------------- \n")
                          .arg(kCustomFileName));

    Printer printer{toUnprocessed, toCustom};
    qsizetype done = 0;
    for (GedRec* root : forest.records()) {
        m_observer->setCurrentProgress(++done, forest.size());
        inFileOrder(
            root, [&](GedRec* r) { printer.visit(r); },
            [&](const ReleasedText& run) {
                if (run.needsRecordLine && !(root->flags() & GedRec::Printed))
                    printer.print(root);
                toUnprocessed.put(run.unprocessed);
                toCustom.put(run.custom);
                printer.unprocessedCount += run.unprocessedCount;
                printer.customCount += run.customCount;
            });
    }
    m_releasedText.clear();
    m_totalUnprocessed = printer.unprocessedCount;
    m_numCustomTagRecords = printer.customCount;

    const QString customCount =
        QStringLiteral("\n\nGedRecs with custom tags (incl their subRecords) that were ignored = %1\n")
            .arg(m_numCustomTagRecords);
    toUnprocessed.put(customCount);
    toCustom.put(customCount);
    const double percent = numLines > 0 ? m_totalUnprocessed * 100.0 / numLines : 0.0;
    toUnprocessed.put(QStringLiteral("\nTotal unprocessed GedRecs: %1 = %2% of %3 lines\n")
                          .arg(m_totalUnprocessed)
                          .arg(percent, 0, 'f', 2)
                          .arg(numLines));
    if (blobRecordsIgnored != 0)
        toUnprocessed.put(QStringLiteral("In addition %1 BLOB subRecords were ignored\n").arg(blobRecordsIgnored));

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
