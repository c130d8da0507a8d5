#include "gedcom/ImportGedcomThread.h"

#include "gedcom/GedRec.h"
#include "gedcom/GedcomFileReader.h"
#include "gedcom/GedcomForest.h"
#include "gedcom/GedcomImportLog.h"
#include "gedcom/GedcomReadObserver.h"
#include "gedcom/ImportGedcomListener.h"
#include "gedcom/ImportGedcomOutcome.h"
#include "model/EventTypesVocabulary.h"
#include "model/FTEventType.h"
#include "model/FTMoc.h"
#include "model/FTMocUndoManager.h"
#include "model/FTModelDefaults.h"
#include "platform/FTLog.h"
#include "platform/Localizer.h"
#include "platform/MainThread.h"
#include "shell/Utils.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QThread>

#include <atomic>
#include <climits>
#include <exception>
#include <memory>

namespace {

std::atomic<bool> g_importRunning{false};

ImportGedcomListener gSilentListener;

// The least time between two messages that only count what is left.
constexpr qint64 kCountingMessageMsecs = 50;

QString msecs(const QElapsedTimer& timer)
{
    return QString::number(double(timer.nsecsElapsed()) / 1e6, 'f', 3);
}

// The listener of the running import, shared by the worker and every call it has queued: emptied on the main
// thread (forgetListener), read there when a queued call arrives.
using ListenerSlot = std::shared_ptr<std::atomic<ImportGedcomListener*>>;

struct RunningImport {
    QPointer<QThread> thread;
    ListenerSlot listener;
};
// Main thread only.
RunningImport& runningImport()
{
    static RunningImport running;
    return running;
}

// Hands every call to the main thread, in order; the import dialog's controls live there.
class QueuedListener : public ImportGedcomListener {
public:
    explicit QueuedListener(ListenerSlot target) : m_target(std::move(target)) {}

    void setDialogMessage(const QString& text) override
    {
        post([text](ImportGedcomListener* l) { l->setDialogMessage(text); });
    }
    void setGedcomSourceInfo(const QString& text) override
    {
        post([text](ImportGedcomListener* l) { l->setGedcomSourceInfo(text); });
    }
    void setNumLinesInGedcomFile(const QString& text) override
    {
        post([text](ImportGedcomListener* l) { l->setNumLinesInGedcomFile(text); });
    }
    void setOverallProgress(double percent, const QString& elapsed) override
    {
        post([percent, elapsed](ImportGedcomListener* l) { l->setOverallProgress(percent, elapsed); });
    }
    void setCurrentProgress(double percent) override
    {
        post([percent](ImportGedcomListener* l) { l->setCurrentProgress(percent); });
    }
    void showMessage(const QString& text) override
    {
        post([text](ImportGedcomListener* l) { l->showMessage(text); });
    }
    void importFinished(const ImportGedcomOutcome& outcome) override
    {
        // The worker's context is closed by now: the next import may start as soon as this one is heard of.
        g_importRunning = false;
        post([outcome](ImportGedcomListener* l) { l->importFinished(outcome); });
    }

private:
    template <class F> void post(F fn)
    {
        if (m_target->load())
            MainThread::post([target = m_target, fn] {
                if (ImportGedcomListener* listener = target->load())
                    fn(listener);
            });
    }
    ListenerSlot m_target;
};

} // namespace

// The file reader's progress and messages go to the dialog like the passes' own.
struct ImportGedcomThread::ReadObserver : GedcomReadObserver {
    explicit ReadObserver(ImportGedcomThread* t) : thread(t) {}
    void setDialogMessage(const QString& text) override { thread->setDialogMessage(text); }
    void setCurrentProgress(qint64 current, qint64 total) override { thread->setCurrentProgress(current, total); }
    void showMessage(const QString& text) override { thread->showMessage(text); }
    ImportGedcomThread* thread;
};

ImportGedcomThread::ImportGedcomThread(const Request& request, ImportGedcomListener* listener)
    : m_request(request)
    , m_listener(listener ? listener : &gSilentListener)
    , m_readObserver(std::make_unique<ReadObserver>(this))
{
    m_male = LocalizedString("MaleShort");
    m_female = LocalizedString("FemaleShort");
}

ImportGedcomThread::~ImportGedcomThread() = default;

// ---- Starting ------------------------------------------------------------------------------------------------------

bool ImportGedcomThread::startImport(const Request& request, ImportGedcomListener* listener)
{
    bool idle = false;
    if (!g_importRunning.compare_exchange_strong(idle, true))
        return false;
    auto slot = std::make_shared<std::atomic<ImportGedcomListener*>>(listener);
    QThread* thread = QThread::create([request, slot] {
        QueuedListener queued(slot);
        ImportGedcomThread worker(request, &queued);
        worker.loadGedFileThread();
    });
    thread->setObjectName(QStringLiteral("ImportGedcomThread"));
    QObject::connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    runningImport() = {thread, slot};
    thread->start();
    return true;
}

bool ImportGedcomThread::importIsRunning()
{
    return g_importRunning;
}

bool ImportGedcomThread::waitForImport(int msecs)
{
    const QDeadlineTimer deadline = msecs < 0 ? QDeadlineTimer(QDeadlineTimer::Forever) : QDeadlineTimer(msecs);
    // The worker's alerts wait for the main thread to show them: waiting there without turning the event loop
    // (user input left out) would make each thread wait for the other for ever. The loop also deletes the thread
    // object once it has finished, hence the guarded pointer.
    QPointer<QThread> thread = runningImport().thread;
    if (!MainThread::isMainThread())
        return !thread || thread->wait(deadline);
    while (thread && !thread->wait(QDeadlineTimer(20))) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    return true;
}

void ImportGedcomThread::forgetListener(ImportGedcomListener* listener)
{
    if (const ListenerSlot& slot = runningImport().listener) {
        ImportGedcomListener* expected = listener;
        slot->compare_exchange_strong(expected, nullptr);
    }
}

int ImportGedcomThread::calculateLoadTime(int numGedRecs, int numLines, QString* text)
{
    const int seconds = numGedRecs / 500;
    const int minutes = seconds / 60;
    const int rest = seconds % 60;
    if (text)
        *text = QStringLiteral("Number of Lines in Gedcom File = %1.\nEstimated load time = %2 minute%3 and %4 second%5 "
                               "on an iMac G5 PPC processor.")
                    .arg(numLines)
                    .arg(minutes)
                    .arg(minutes == 1 ? QString() : QStringLiteral("s"))
                    .arg(rest)
                    .arg(rest == 1 ? QString() : QStringLiteral("s"));
    return seconds;
}

// ---- The pipeline --------------------------------------------------------------------------------------------------

ImportGedcomOutcome ImportGedcomThread::loadGedFileThread()
{
    m_startTime.start();
    FTLog(QStringLiteral("Loading Gedcom File (start of thread)"));
    ImportGedcomOutcome outcome;
    outcome.gedcomFilename = m_request.gedcomFilename;
    outcome.modelName = QFileInfo(m_request.databaseFilename).completeBaseName();

    bool ok = false;
    try {
        ok = runPipeline();
    } catch (const std::exception& e) {
        ok = fail(QStringLiteral("An unexpected error stopped the import: %1").arg(QString::fromLocal8Bit(e.what())));
    } catch (...) {
        ok = fail(QStringLiteral("An unexpected error stopped the import."));
    }

    if (ok)
        fillCounts(outcome);
    m_ldsChildSealingFamcRecords.clear();
    m_familyPartners.clear();
    m_nullSource = nullptr;
    m_log.reset();
    m_forest.reset();
    m_moc.reset();
    // Only a complete database gets the name the user will open.
    QString notPlaced;
    if (ok && !Utils::moveDatabaseIntoPlace(m_workingPath, m_request.databaseFilename, &notPlaced))
        ok = fail(notPlaced);
    if (ok) {
        m_createdDatabaseFile = false;
        outcome.succeeded = true;
        outcome.databaseFilename = m_request.databaseFilename;
    } else {
        removeDatabaseFile();
    }

    outcome.numLines = m_numLines;
    outcome.unprocessedLines = m_unprocessedLines;
    outcome.recordsWithErrors = m_recordsWithErrors;
    outcome.seconds = double(m_startTime.nsecsElapsed()) / 1e9;
    const QString folder = QFileInfo(m_request.databaseFilename).absolutePath();
    outcome.logFiles = GedcomImportLog(folder, m_request.gedcomFilename, m_request.databaseFilename).existingLogFiles();

    if (ok) {
        setOverallProgress(100);
        m_percentDone = 0;
        setCurrentProgress(0, 1);
        const int seconds = int(outcome.seconds);
        const QString elapsed = seconds >= 60
            ? QStringLiteral("%1 minutes and %2 seconds").arg(seconds / 60).arg(seconds % 60)
            : QStringLiteral("%1 seconds").arg(seconds);
        outcome.message = QStringLiteral("%1 to load GEDCOM file %2 into database: %3.RezUdu\n\n")
                              .arg(elapsed, QFileInfo(m_request.gedcomFilename).fileName(), outcome.modelName);
        setDialogMessage(outcome.message);
        FTLog(outcome.message);
    } else {
        outcome.message = m_failure;
        setDialogMessage(m_failure);
        FTLog(QStringLiteral("Gedcom import failed: %1").arg(m_failure));
    }
    FTLog(QStringLiteral("Loading Gedcom File - end of thread."));
    m_listener->importFinished(outcome);
    return outcome;
}

bool ImportGedcomThread::fail(const QString& reason)
{
    if (!m_failed) {
        m_failed = true;
        m_failure = reason;
    }
    return false;
}

bool ImportGedcomThread::runPipeline()
{
    m_eventNamesDictionary = EventTypesVocabulary::dictionary(-1);
    if (!QFileInfo(m_request.gedcomFilename).isFile())
        return fail(QStringLiteral("Unable to read the Gedcom file.\n\n%1").arg(m_request.gedcomFilename));
    if (!createMoc())
        return false;

    // What the import does is not the user's to undo, and nothing of it is numbered, stamped or announced.
    m_moc->setImportThreadIsActive(true);
    m_moc->undoManager()->removeAllActions();
    m_moc->undoManager()->disableUndoRegistration();
    // The file is new and is removed if the import fails, so the batch saves need neither a rollback journal nor
    // the disk syncs; the final save runs with the normal settings.
    m_moc->setBulkWriting(true);

    for (ManagedObject* o : m_moc->fetchAllForEntity(QString::fromLatin1(FTEventType::kEntityName))) {
        auto* type = static_cast<FTEventType*>(o);
        m_eventTypesDictionary.insert(type->gedcomCode(), type);
    }

    QElapsedTimer step;
    step.start();
    {
        GedcomFileReader reader(m_readObserver.get());
        reader.setTempFolder(m_request.tempFolder);
        // Most lines of a large file are people's: names, events, attributes. No pass after the events pass
        // reads them but for the source citations (the citations pass), the family links and adoptions (read
        // once the families exist) and the child sealings, so the rest is built apart and released as the
        // events pass leaves each person: the forest need not stay beside the whole model.
        reader.setReleasedEarly(QStringLiteral("INDI"), {QStringLiteral("SOUR"), QStringLiteral("FAMC"),
                                                         QStringLiteral("ADOP"), QStringLiteral("SLGC")});
        if (!reader.readFile(m_request.gedcomFilename))
            return fail(QStringLiteral("Unable to read the Gedcom file."));
        m_header = reader.headerInfo();
        m_fileSize = reader.fileSize();
        m_numLines = reader.numLines();
        m_numGedRecs = reader.numGedRecs();
        m_blobRecordsIgnored = reader.blobRecordsIgnored();
        m_errorMessages = reader.takeErrorMessages();
        m_forest = reader.takeForest();
    } // the decoded text goes: the records hold what is needed
    FTLog(QStringLiteral("%1 msecs to end of create GedRecs\n\n").arg(msecs(step)));

    QString estimate;
    calculateLoadTime(m_numGedRecs, m_numLines, &estimate);
    m_listener->setNumLinesInGedcomFile(estimate);

    if (!processHeaderAndTrailerRecords())
        return fail(QStringLiteral("Unable to process the Header and Trailer records in the Gedcom file."));
    m_moc->setMetadataValue(QStringLiteral("GedcomLoadInformation"),
                            m_header.loadInformation(m_request.gedcomFilename, m_request.databaseFilename,
                                                     QDateTime::currentDateTime()));

    const QString folder = QFileInfo(m_request.databaseFilename).absolutePath();
    m_log = std::make_unique<GedcomImportLog>(folder, m_request.gedcomFilename, m_request.databaseFilename,
                                              m_readObserver.get());
    const std::vector<ImportStep> steps = importSteps();
    // The steps, the report, the validation, releasing the records, and the save.
    const double total = double(steps.size() + 4);
    int k = 0;
    for (const ImportStep& s : steps) {
        setOverallProgress(++k * 100.0 / total);
        if (!s.run())
            return fail(QStringLiteral("The step %1 of the import failed.").arg(s.name));
    }

    setOverallProgress(++k * 100.0 / total);
    m_log->printUnprocessedGedRecs(*m_forest, m_errorMessages, m_numLines, m_blobRecordsIgnored);
    m_unprocessedLines = m_log->totalUnprocessed();
    m_log.reset();
    m_errorMessages.clear();
    // Nothing reads the records after the report: their memory is given back before the validation, which
    // makes more of its own.
    m_ldsChildSealingFamcRecords.clear();
    m_familyPartners.clear();
    m_forest.reset();

    setOverallProgress(++k * 100.0 / total);
    runDatabaseIntegrityChecks();

    setOverallProgress(++k * 100.0 / total);
    setDialogMessage(QStringLiteral("Releasing memory"));

    setOverallProgress(++k * 100.0 / total);
    updateModelDefaultsCounters();
    setDialogMessage(QStringLiteral("Saving Kinloom database, please be patient it may take 10 to 20 seconds or more"));
    setDialogMessage(QStringLiteral("Final Validation and Save"));
    m_moc->setBulkWriting(false);
    return saveMoc();
}

std::vector<ImportGedcomThread::ImportStep> ImportGedcomThread::importSteps()
{
    std::vector<ImportStep> steps;
    steps.push_back({QStringLiteral("processSourceRecords"), [this] {
                         // Sources keep the numbers of their identifiers; those made for one citation alone come
                         // after all of them.
                         m_maxSourceId = 0;
                         for (GedRec* r : m_forest->recordsOfType(QStringLiteral("SOUR")))
                             m_maxSourceId = qMax(m_maxSourceId, r->numericId());
                         return runRecordPass({QStringLiteral("processSourceRecords"), QStringLiteral("SOUR"),
                                               QStringLiteral("Processing Source Records"),
                                               QStringLiteral("Processing Source Records"), 1000,
                                               [this](GedRec* r) { processSOURCE_RECORD(r); }});
                     }});
    steps.push_back({QStringLiteral("processIndividualsRecords"), [this] {
                         // Numbers are those of the identifiers; a record without one gets the next free number.
                         m_maxPersonId = 0;
                         m_maxPictureId = 0;
                         for (GedRec* r : m_forest->recordsOfType(QStringLiteral("INDI")))
                             m_maxPersonId = qMax(m_maxPersonId, r->numericId());
                         return runRecordPass({QStringLiteral("processIndividualsRecords"), QStringLiteral("INDI"),
                                               QStringLiteral("Processing Individuals' Attributes"), QString(), 5000,
                                               [this](GedRec* r) { processINDI(r); }});
                     }});
    steps.push_back({QStringLiteral("processIndividualsAssociations"), [this] {
                         return runRecordPass({QStringLiteral("processIndividualsAssociations"),
                                               QStringLiteral("INDI"),
                                               QStringLiteral("Processing Individuals' Associations"), QString(),
                                               5000, [this](GedRec* r) { processINDIAssocs(r); }});
                     }});
    steps.push_back({QStringLiteral("processIndividualsEvents"), [this] {
                         return runRecordPass({QStringLiteral("processIndividualsEvents"), QStringLiteral("INDI"),
                                               QStringLiteral("Processing Individuals' Events"), QString(), 5000,
                                               [this](GedRec* r) { processINDIEvents(r); }, true});
                     }});
    steps.push_back({QStringLiteral("processIndividualsSources"), [this] {
                         return runRecordPass({QStringLiteral("processIndividualsSources"), QStringLiteral("INDI"),
                                               QStringLiteral("Processing Individuals' Source Citations"), QString(),
                                               5000, [this](GedRec* r) { processINDISources(r); }});
                     }});
    steps.push_back({QStringLiteral("processFamilyRecords"), [this] {
                         m_maxSpouseRelId = 0;
                         return runRecordPass({QStringLiteral("processFamilyRecords"), QStringLiteral("FAM"),
                                               QStringLiteral("Processing Family Records"),
                                               QStringLiteral("Processing Family Records"), 1000,
                                               [this](GedRec* r) { processFAM(r); }});
                     }});
    steps.push_back({QStringLiteral("processLDSChildSealingFamcRecords"),
                     [this] { return processLDSChildSealingFamcRecords(); }});
    steps.push_back({QStringLiteral("processIndividualAdoptionRecords"),
                     [this] { return processIndividualAdoptionRecords(); }});
    return steps;
}

bool ImportGedcomThread::runRecordPass(const RecordPass& pass)
{
    QElapsedTimer timer;
    timer.start();
    if (!pass.openingText.isEmpty())
        setDialogMessage(pass.openingText);

    const std::vector<GedRec*> records = m_forest->recordsOfType(pass.tag);
    const qint64 count = qint64(records.size());
    m_percentDone = 0;
    setCurrentProgress(0, count);

    qint64 remaining = count;
    qint64 done = 0;
    // The count of records left is shown at a rate a reader can follow: each message wakes the main
    // thread, and a large file would send thousands a second.
    QElapsedTimer shown;
    for (GedRec* record : records) {
        setCurrentProgress(++done, count);
        try {
            pass.reader(record);
        } catch (const std::exception& e) {
            recordFailed(record, pass.methodName, QString::fromLocal8Bit(e.what()));
        } catch (...) {
            recordFailed(record, pass.methodName, QStringLiteral("an unknown error"));
        }
        if (pass.releasesLines)
            m_forest->releaseLines(record, [this](GedRec* r) { m_log->keepTextOfReleasedLines(r); });
        --remaining;
        if (remaining == 0) {
            setDialogMessage(QStringLiteral("%1 - Validating and Saving").arg(pass.runningText));
        } else if (remaining % 100 == 0 && (!shown.isValid() || shown.elapsed() >= kCountingMessageMsecs)) {
            setDialogMessage(QStringLiteral("%1 - %2").arg(pass.runningText).arg(remaining));
            shown.start();
        }
        if (remaining % pass.saveEvery == 0 && !saveMoc())
            return false;
    }
    if (!saveMoc())
        return false;
    FTLog(QStringLiteral("%1 msecs in %2\n\n").arg(msecs(timer), pass.methodName));
    return true;
}

void ImportGedcomThread::recordFailed(GedRec* record, const QString& method, const QString& reason)
{
    ++m_recordsWithErrors;
    const QString what =
        record->ptr().isEmpty() ? record->type() : QStringLiteral("%1 @%2@").arg(record->type(), record->ptr());
    const QString text = QStringLiteral("line %1. The %2 record could not be imported completely (%3: %4). "
                                        "Its lines that were not imported are listed below.")
                             .arg(record->lineNo())
                             .arg(what, method, reason);
    m_errorMessages.append(text);
    FTLog(text);
}

bool ImportGedcomThread::processHeaderAndTrailerRecords()
{
    setDialogMessage(QStringLiteral("Processing the Header Record"));
    int heads = 0;
    for (GedRec* r : m_forest->records()) {
        if (r->hasType("HEAD")) {
            if (++heads > 1) {
                showMessage(QStringLiteral("Cannot process a Gedcom file with more than one HEADer record"));
                return false;
            }
            processHEAD(r);
        } else if (r->hasType("TRLR")) {
            use(r);
        }
    }
    return true;
}

// ---- The database --------------------------------------------------------------------------------------------------

bool ImportGedcomThread::createMoc()
{
    const QString& path = m_request.databaseFilename;
    if (FTMoc::storeTypeForFile(path) != FTMoc::StoreType::SQLite)
        return fail(QStringLiteral("Unable to create the Kinloom database\n\nA database file must end in "
                                   "\".RezUdu\": %1")
                        .arg(path));
    // Never over an existing file: the user's databases are not the import's to replace. (The final rename
    // checks again.)
    const auto exists = [](const QString& p) { return QFileInfo::exists(p) || QFileInfo(p).isSymLink(); };
    if (exists(path))
        return fail(QStringLiteral("Unable to create the file for the new database\n\n%1\n\n%2")
                        .arg(path, QStringLiteral("A file of that name exists already.")));
    // Built under a temporary name: a kill, a power cut or a logout leaves no partial database under the name
    // that is opened (the start-up removes what is left).
    m_workingPath = Utils::partialDatabasePath(path);
    QFile file(m_workingPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return fail(QStringLiteral("Unable to create the file for the new database\n\n%1\n\n%2")
                        .arg(m_workingPath, file.exists() ? QStringLiteral("A file of that name exists already: "
                                                                           "another import may be building it.")
                                                          : file.errorString()));
    file.close();
    m_createdDatabaseFile = true;
    m_moc = FTMoc::initForPartialStoreURL(m_workingPath);
    if (!m_moc)
        return fail(QStringLiteral("Unable to create database and load GED File"));
    return true;
}

bool ImportGedcomThread::saveMoc()
{
    QElapsedTimer timer;
    timer.start();
    QString error;
    if (!m_moc->save(&error)) {
        FTLog(QStringLiteral("Gedcom import: the save failed: %1").arg(error));
        return fail(QStringLiteral("An error has occurred.\n%1\n\nThe new database could not be saved, so it has "
                                   "been removed.")
                        .arg(error));
    }
    FTLog(QStringLiteral("%1 msecs to save the new database").arg(msecs(timer)));
    return true;
}

void ImportGedcomThread::removeDatabaseFile()
{
    if (!m_createdDatabaseFile)
        return;
    QFile::remove(m_workingPath);
    QFile::remove(m_workingPath + QStringLiteral("-journal"));
    m_createdDatabaseFile = false;
}

void ImportGedcomThread::updateModelDefaultsCounters()
{
    static const Key kNumericId("numericId");
    // The objects are counted on the same walk: the outcome reports them, and a walk over hundreds of
    // thousands of objects is not free.
    auto highest = [this](const char* entity, int* count) {
        qint64 top = 0;
        int n = 0;
        m_moc->forEachObject(QString::fromLatin1(entity), [&](ManagedObject* o) {
            top = qMax(top, o->integerValue(kNumericId));
            ++n;
            return true;
        });
        *count = n;
        return int(qMin<qint64>(top, INT_MAX));
    };
    FTModelDefaults* defaults = m_moc->modelDefaults();
    WalkedCounts& c = m_walkedCounts;
    // New records made after the import take numbers above every imported one.
    defaults->setMaxPersonId(qMax(defaults->maxPersonId(), highest("Person", &c.people)));
    defaults->setMaxEventId(qMax(defaults->maxEventId(), highest("Event", &c.events)));
    defaults->setMaxSpouseRelId(qMax(defaults->maxSpouseRelId(), highest("SpouseRel", &c.families)));
    defaults->setMaxPictureId(qMax(defaults->maxPictureId(), highest("Picture", &c.pictures)));
    defaults->setMaxSourceId(qMax(defaults->maxSourceId(), highest("Source", &c.sources)));
}

void ImportGedcomThread::fillCounts(ImportGedcomOutcome& outcome) const
{
    // Only the final save comes after updateModelDefaultsCounters, and a save adds or removes no object.
    auto n = [this](const char* entity, int walked) {
        return walked >= 0 ? walked : m_moc->count(QString::fromLatin1(entity));
    };
    const WalkedCounts& c = m_walkedCounts;
    outcome.people = n("Person", c.people);
    outcome.families = n("SpouseRel", c.families);
    outcome.parentChildLinks = n("PcRel", -1);
    outcome.events = n("Event", c.events);
    outcome.sources = n("Source", c.sources);
    outcome.citations = n("SourceRel", -1);
    outcome.pictures = n("Picture", c.pictures);
    outcome.associations = n("Association", -1);
}

// ---- Progress ------------------------------------------------------------------------------------------------------

void ImportGedcomThread::setDialogMessage(const QString& text)
{
    m_listener->setDialogMessage(text);
}

void ImportGedcomThread::setCurrentProgress(qint64 current, qint64 total)
{
    if (total < 1)
        return;
    const double percent = double(current) * 100.0 / double(total);
    if (current != 0 && percent <= m_percentDone + 5.0 && current != total)
        return;
    m_percentDone = percent;
    m_listener->setCurrentProgress(percent);
}

void ImportGedcomThread::setOverallProgress(double percent)
{
    const qint64 seconds = m_startTime.isValid() ? m_startTime.elapsed() / 1000 : 0;
    m_listener->setOverallProgress(percent, QStringLiteral("Elapsed time to end of last step = %1 minutes and %2 seconds")
                                                .arg(seconds / 60)
                                                .arg(seconds % 60));
}

void ImportGedcomThread::showMessage(const QString& text)
{
    m_listener->showMessage(text);
}

// ---- Shared helpers ------------------------------------------------------------------------------------------------

void ImportGedcomThread::use(GedRec* line)
{
    line->setFlags(line->flags() | GedRec::Consumed);
}

GedRec* ImportGedcomThread::recordForPointerOf(const GedRec* line) const
{
    return m_forest ? m_forest->recordForPointerOf(line) : nullptr;
}
