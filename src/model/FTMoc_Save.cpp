#include "model/FTMoc.h"

#include "model/FTEvent.h"
#include "model/FTMocState.h"
#include "model/FTMocUndoManager.h"
#include "model/FTModelDefaults.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"
#include "model/ModelHooks.h"

#include "platform/FTLog.h"
#include "platform/Localizer.h"
#include "platform/MainThread.h"
#include "platform/NotificationCenter.h"
#include "platform/Prompts.h"
#include "platform/store/ReleasingWalk.h"
#include "platform/store/StoreSchema.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QMutex>

#include <exception>

namespace {
const QString kSaveMocNotification = QStringLiteral("SaveMoc");
const QString kDatabaseErrorFile = QStringLiteral("DatabaseError.txt");

const QStringList& repairKeys()
{
    static const QStringList keys = {
        QStringLiteral("PicturesFilenamesFixed"),
        QStringLiteral("PicturesNotesFixed"),
        QStringLiteral("EventNotesFixed"),
        QStringLiteral("PersonNamesFixed"),
        QStringLiteral("PersonFieldsFixed"),
        QStringLiteral("SourceFieldsFixed"),
        QStringLiteral("SourceRelsFieldsFixed"),
        QStringLiteral("NameComponentsPopulated"),
        QStringLiteral("RedundantSourceRelsRemoved"),
        QStringLiteral("SourceRelsChecked"),
        QStringLiteral("InvalidSourceRelsRemoved"),
        QStringLiteral("PcRelTypesConverted2"),
        QStringLiteral("EventTypeNamesFixed"),
        QStringLiteral("EventTypeIndexCreated"),
        QStringLiteral("CorrectedPcRelsForNotRelated"),
    };
    return keys;
}

// The repairs by flag. Those of the data clean-ups are supplied where they are built.
QHash<QString, FTMoc::IntegrityRepair>& repairs()
{
    static QHash<QString, FTMoc::IntegrityRepair> table = {
        {QStringLiteral("PcRelTypesConverted2"), [](FTMoc& moc) { return moc.convertPcRelTypes(); }},
        {QStringLiteral("EventTypeIndexCreated"), [](FTMoc& moc) { return moc.createEventTypeIndex(); }},
        {QStringLiteral("CorrectedPcRelsForNotRelated"), [](FTMoc& moc) { return moc.correctPcRelsForNotRelated(); }},
        // ---- Repairs and clean-ups (FTMoc_Repairs.cpp) ----
        {QStringLiteral("PicturesFilenamesFixed"), [](FTMoc& moc) { return moc.replaceVovovInPictureFilenames(), true; }},
        {QStringLiteral("PicturesNotesFixed"), [](FTMoc& moc) { return moc.fixPicturesNotes(), true; }},
        {QStringLiteral("EventNotesFixed"), [](FTMoc& moc) { return moc.fixEventNotes(), true; }},
        {QStringLiteral("PersonNamesFixed"), [](FTMoc& moc) { return moc.fixPersonNames(), true; }},
        {QStringLiteral("PersonFieldsFixed"), [](FTMoc& moc) { return moc.fixPersonFields(), true; }},
        {QStringLiteral("SourceFieldsFixed"), [](FTMoc& moc) { return moc.fixSourceFields(), true; }},
        {QStringLiteral("SourceRelsFieldsFixed"), [](FTMoc& moc) { return moc.fixSourceRelsFields(), true; }},
        {QStringLiteral("NameComponentsPopulated"), [](FTMoc& moc) { return moc.populateNameComponents(), true; }},
        {QStringLiteral("RedundantSourceRelsRemoved"), [](FTMoc& moc) { return moc.removeRedundantSourceRels(), true; }},
        {QStringLiteral("SourceRelsChecked"), [](FTMoc& moc) { return moc.validateSourceRels(), true; }},
        {QStringLiteral("InvalidSourceRelsRemoved"), [](FTMoc& moc) { return moc.removeInvalidSourceRels(), true; }},
        {QStringLiteral("EventTypeNamesFixed"),
            [](FTMoc& moc) { return moc.fixEventTypeGroupNames(), moc.fixEventTypeNames(), true; }},
    };
    return table;
}

QMutex& repairsMutex()
{
    static QMutex m;
    return m;
}

QString msecs(const QElapsedTimer& timer, int decimals)
{
    return QString::number(timer.nsecsElapsed() / 1e6, 'f', decimals);
}

// The date and time as a report shows it: "2024-01-05 13:45:12 +0100".
QString reportDate(const QDateTime& t)
{
    const int offset = t.offsetFromUtc() / 60;
    return QLocale::c().toString(t, QStringLiteral("yyyy-MM-dd HH:mm:ss "))
        + QStringLiteral("%1%2%3")
              .arg(offset < 0 ? '-' : '+')
              .arg(qAbs(offset) / 60, 2, 10, QLatin1Char('0'))
              .arg(qAbs(offset) % 60, 2, 10, QLatin1Char('0'));
}
}

// Saving -----------------------------------------------------------------------------------------------------------

bool FTMoc::saveMoc()
{
    return saveAndReport(nullptr, true);
}

bool FTMoc::saveMoc(QString* error)
{
    return saveAndReport(error, false);
}

bool FTMoc::saveAndReport(QString* error, bool tellUser)
{
    QElapsedTimer timer;
    timer.start();
    // A context whose store has been closed (its window is going) has nothing more to write.
    if (!isOpen()) {
        if (error)
            *error = QStringLiteral("The database is closed.");
        return false;
    }
    // Another database opened only to be read: what changed in memory is not the user's work, and is never written.
    if (isReadOnly()) {
        if (!hasChanges())
            return true;
        QString failure;
        save(&failure);
        if (error)
            *error = failure;
        return false;
    }
    writeBackCachedLists(); // a list changed since the last save is a change too
    if (!hasChanges()) {
        s->lastSaveError.clear();
        return true;
    }
    if (gDevelopmentVersion) {
        FTLog(QStringLiteral("SaveMoc. Undo = %1, Redo = %2")
                  .arg(undoManager()->undoActionName(), undoManager()->redoActionName()));
        FTLog(QStringLiteral("undoActions = \n%1").arg(undoManager()->undoActionsList()));
    }
    try {
        if (s->firstSave)
            databaseIntegrityChecks();
        if (!s->importThreadIsActive)
            places();
        writeBackCachedLists();
        s->firstSave = false;
        QString failure;
        if (!save(&failure)) {
            // The file is as it was and the changes stay pending: the next save writes them. One report for a
            // run of failures: every later save tries again, and closing the window asks.
            const bool firstFailure = s->lastSaveError.isEmpty();
            s->lastSaveError = failure;
            if (!firstFailure)
                FTLog(QStringLiteral("The save failed again: %1").arg(failure));
            else if (tellUser)
                reportSaveError(failure);
            else
                appendSaveErrorReport(failure);
            if (error)
                *error = failure;
            return false;
        }
        s->lastSaveError.clear();
        if (gDevelopmentVersion) {
            int registered = 0;
            for (const EntityDescription* e : schema().entities())
                if (!e->parent())
                    registered += count(e->name());
            FTLog(QStringLiteral("%1 registered objects, %2 faults, %3 not faults.").arg(registered).arg(0).arg(registered));
            FTLog(QStringLiteral("%1 msecs to save moc").arg(msecs(timer, 1)));
        }
        return true;
    } catch (const std::exception&) {
        // Reported, and the changes stay pending for the next save.
        ModelHooks::reportException("FTMoc", __LINE__, QStringLiteral("saveMoc"));
        if (error)
            error->clear();
        return false;
    }
}

QString FTMoc::lastSaveError() const
{
    return s->lastSaveError;
}

QString FTMoc::saveErrorReportPath()
{
    return ModelHooks::dataDirectoryPath() + QLatin1Char('/') + kDatabaseErrorFile;
}

void FTMoc::deferredSave()
{
    if (!s->observesSaveMoc || !MainThread::isMainThread() || isReadOnly())
        return;
    NotificationCenter::defaultCenter().enqueue(kSaveMocNotification, this, this);
}

void FTMoc::saveMoc_Deferred(const Notification& notification)
{
    if (notification.object == this)
        saveMoc();
}

void FTMoc::reportSaveError(const QString& error)
{
    const QString path = saveErrorReportPath();
    const bool written = appendSaveErrorReport(error);
    QString text = LocalizedString("SaveFailed").arg(error);
    if (written)
        text += QStringLiteral("\n\n") + LocalizedString("SaveFailedReport").arg(QDir::toNativeSeparators(path));
    Prompts::current().message(text);
}

bool FTMoc::appendSaveErrorReport(const QString& error)
{
    QString focal, selected;
    if (s->modelDefaultsKey > 0 || count<FTModelDefaults>() > 0) {
        FTModelDefaults* defaults = modelDefaults();
        focal = defaults->focalPerson() ? defaults->focalPerson()->name() : QString();
        selected = defaults->selectedPerson() ? defaults->selectedPerson()->name() : QString();
    }
    const QString report = QStringLiteral("\nDatabase save error\n\nPlease report this error to %1\n\n Current Focal "
                                          "Person = %2\n Current Selected Person = %3\n\n Error = %4\n")
                               .arg(ModelHooks::supportAddress(), focal, selected, error);
    if (gDevelopmentVersion)
        FTLog(report);

    const QString path = saveErrorReportPath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        FTLog(QStringLiteral("reportSaveError: cannot write %1").arg(path));
        return false;
    }
    const QString block = QStringLiteral("\n********************************\n%1\n********************************\n")
                              .arg(reportDate(QDateTime::currentDateTime()));
    const bool ok = file.write((block + report).toUtf8()) >= 0 && file.flush();
    file.close();
    return ok;
}

// The cached lists live in the context while it is open; their stored copies in ModelDefaults follow them with
// every save, so that no way of ending the program loses them.
void FTMoc::writeBackCachedLists()
{
    if (s->places)
        savePlaces();
    if (s->recentSources)
        saveRecentSources();
}

// One-time repairs -------------------------------------------------------------------------------------------------

QStringList FTMoc::integrityCheckKeys()
{
    return repairKeys();
}

FTMoc::IntegrityRepair FTMoc::integrityRepair(const QString& key)
{
    QMutexLocker lock(&repairsMutex());
    return repairs().value(key);
}

void FTMoc::setIntegrityRepair(const QString& key, IntegrityRepair repair)
{
    QMutexLocker lock(&repairsMutex());
    if (repair)
        repairs().insert(key, std::move(repair));
    else
        repairs().remove(key);
}

void FTMoc::setIntegrityFlag(const QString& key)
{
    setMetadataValue(key, true);
}

void FTMoc::databaseIntegrityChecks()
{
    QElapsedTimer timer;
    timer.start();
    // Repairs put old data right; they are not the user's actions to undo.
    undoManager()->disableUndoRegistration();
    struct Enable {
        FTMocUndoManager* um;
        ~Enable() { um->enableUndoRegistration(); }
    } enable {undoManager()};
    for (const QString& key : repairKeys()) {
        if (metadata().contains(key))
            continue;
        const IntegrityRepair repair = integrityRepair(key);
        if (repair && repair(*this))
            setIntegrityFlag(key);
    }
    FTLog(QStringLiteral("%1 msecs for databaseIntegrityChecks").arg(msecs(timer, 3)));
}

bool FTMoc::convertPcRelTypes()
{
    QElapsedTimer timer;
    timer.start();
    static const Key kPcRelType("pcRelType");
    ReleasingWalk walk(*this);
    const QList<FTPcRel*> links = fetch<FTPcRel>([&walk](const FTPcRel* r) {
        walk.releasePoint();
        return r->pcRelType() == 3;
    });
    for (FTPcRel* link : links)
        link->setPrimitiveValue(kPcRelType, 8);
    FTLog(QStringLiteral("databaseIntegrityCheck - %1 pcRels fixed in %2 msecs").arg(links.size()).arg(msecs(timer, 3)));
    return true;
}

bool FTMoc::correctPcRelsForNotRelated()
{
    constexpr int kNotRelated = 4096;
    ReleasingWalk walk(*this);
    const QList<FTPcRel*> links = fetch<FTPcRel>([&walk](const FTPcRel* r) {
        walk.releasePoint();
        return r->pcRelType() == kNotRelated;
    });
    for (FTPcRel* link : links)
        deleteObject(link);
    FTLog(QStringLiteral("databaseIntegrityCheck - %1 parent-child relationships with type %2 have been corrected.")
              .arg(links.size())
              .arg(kNotRelated));
    return true;
}

bool FTMoc::createEventTypeIndex()
{
    const ModelHooks& hooks = ModelHooks::shared();
    // The sheet opens on the front document's window; any other context keeps the repair for a later opening. A
    // worker's context (a conversion's) never is that document's, and a worker asks nothing of the windows.
    if (!MainThread::isMainThread() || !hooks.currentDocumentMoc || hooks.currentDocumentMoc() != this)
        return false;
    ReleasingWalk walk(*this);
    const QList<FTEvent*> events = fetch<FTEvent>([&walk](const FTEvent* e) {
        walk.releasePoint();
        return e->eventType() == nullptr;
    });
    FTLog(QStringLiteral("databaseIntegrityCheck - %1 Events needed subTypes").arg(events.size()));
    if (events.isEmpty())
        return true;
    if (!hooks.createEventTypeIndex)
        return false;
    std::weak_ptr<bool> alive = s->alive;
    hooks.createEventTypeIndex(*this, events, [this, alive](bool completed) {
        const auto living = alive.lock();
        if (!completed || !living || !*living)
            return;
        setIntegrityFlag(QStringLiteral("EventTypeIndexCreated"));
        deferredSave();
    });
    return false;
}
