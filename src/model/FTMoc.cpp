#include "model/FTMoc.h"

#include "model/DOvurV6Schema.h"
#include "model/EventTypesVocabulary.h"
#include "model/FTEvent.h"
#include "model/FTEventType.h"
#include "model/FTMocState.h"
#include "model/FTMocUndoManager.h"
#include "model/FTModelDefaults.h"
#include "model/FTPicture.h"
#include "model/FTSource.h"
#include "model/ModelHooks.h"
#include "model/OlderModels.h"

#include "platform/FTLog.h"
#include "platform/MainThread.h"
#include "platform/NotificationCenter.h"
#include "platform/Prompts.h"
#include "platform/store/ReleasingWalk.h"
#include "platform/store/StoreSchema.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QUrl>

const QString FTMoc::kCurrentModelVersion = QStringLiteral("DOvurV6");
const QString FTMoc::kMomKey = QStringLiteral("MomKey");
// Kept as earlier versions wrote it: callers and logs compare it.
const QString FTMoc::kErrorDomain = QStringLiteral("com.tvlp.KinloomForVovadid.ErrorDomain");

namespace {
const QString kSaveMocNotification = QStringLiteral("SaveMoc");
const QString kProductTitle = QStringLiteral("Kinloom");

QString urlText(const QString& path)
{
    return QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString();
}

QString fileAttributes(const QFileInfo& info)
{
    return QStringLiteral("{size = %1; permissions = %2; owner = %3; group = %4; modified = %5}")
        .arg(info.size())
        .arg(QString::number(int(info.permissions()), 16), info.owner(), info.group(),
             QLocale::c().toString(info.lastModified(), QStringLiteral("yyyy-MM-dd HH:mm:ss")));
}
}

FTMoc::FTMoc(const StoreSchema& schema)
    : ObjectContext(schema)
    , s(std::make_unique<State>())
{
    setUndoManager(std::make_unique<FTMocUndoManager>());
    // The notification centre serves the main thread; a worker's context is saved by the worker itself.
    if (MainThread::isMainThread()) {
        NotificationCenter::defaultCenter().addObserver(
            kSaveMocNotification, nullptr, [this](const Notification& n) { saveMoc_Deferred(n); }, this);
        s->observesSaveMoc = true;
    }
}

FTMoc::~FTMoc()
{
    *s->alive = false;
    if (s->observesSaveMoc)
        NotificationCenter::defaultCenter().removeObserversOf(this);
}

// Opening ----------------------------------------------------------------------------------------------------------

std::unique_ptr<FTMoc> FTMoc::initForStoreURL(const QString& path, bool withLatestDatamodel, OpenError* error)
{
    return openAt(path, withLatestDatamodel, false, error);
}

std::unique_ptr<FTMoc> FTMoc::initForReadingStoreURL(const QString& path, OpenError* error)
{
    return openAt(path, true, true, error);
}

std::unique_ptr<FTMoc> FTMoc::initForPartialStoreURL(const QString& path, OpenError* error)
{
    const QString part = QStringLiteral(".part");
    return openAt(path, true, false, error, path.endsWith(part) ? path.chopped(part.size()) : path);
}

std::unique_ptr<FTMoc> FTMoc::openAt(const QString& path, bool withLatestDatamodel, bool reading, OpenError* error,
                                     const QString& typePath)
{
    if (error)
        *error = {};
    if (!checkDatabaseAccess(path, !reading))
        return nullptr;
    const StoreType type = storeTypeForFile(typePath.isEmpty() ? path : typePath);
    if (type != StoreType::SQLite) {
        Prompts::current().message(
            QStringLiteral("Database has the wrong file extension - it must be RezUdu\n\nurl = %1").arg(urlText(path)));
        return nullptr;
    }
    // A file that another program is writing is waited for here, and one still busy after that is reported as
    // busy, never as damaged or as a store of an unknown model.
    QString metadataError;
    ObjectContext::ErrorCode metadataCode = ObjectContext::ErrorCode::None;
    const QVariantMap storedMetadata = ObjectContext::metadataForStoreAt(path, &metadataError, &metadataCode);
    if (metadataCode == ObjectContext::ErrorCode::Locked) {
        Prompts::current().message(metadataError);
        if (error)
            error->storeError = metadataCode;
        return nullptr;
    }
    QString version = metadataError.isEmpty() ? storedMetadata.value(kMomKey).toString() : QString();
    if (withLatestDatamodel) {
        if (!version.isEmpty() && version.compare(kCurrentModelVersion, Qt::CaseInsensitive) != 0) {
            Prompts::current().message(
                QStringLiteral("%1\n\nThe above database must be updated to use the datamodel for current version "
                               "of %2.\n\nPlease use the menu option \"File - Migrate Old Database\"")
                    .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()), kProductTitle));
            if (error)
                *error = {kErrorDomain, kWrongModelVersionErrorCode};
            return nullptr;
        }
        if (version.isEmpty())
            version = kCurrentModelVersion;
    } else if (version.isEmpty()) {
        Prompts::current().message(
            QStringLiteral("Error in database = %1\n\nCannot open old database with undefined datamodel")
                .arg(urlText(path)));
        return nullptr;
    }
    const StoreSchema* schema = schemaForMomVersion(version);
    if (!schema)
        return nullptr;

    std::unique_ptr<FTMoc> moc(new FTMoc(*schema));
    moc->s->databaseURL = QFileInfo(path).absoluteFilePath();
    moc->s->momVersion = version;
    if (!(reading ? moc->open(path, OpenMode::ReadOnly) : moc->openStore(path, type))) {
        const ObjectContext::ErrorCode code = moc->lastErrorCode();
        if (error)
            error->storeError = code;
        // The store's own message names the file and says why (damaged, not a database, in use ...): the user
        // gets that one alone. The general one stands in only where the store gave no reason.
        const QString why = moc->lastError();
        Prompts::current().message(why.isEmpty() ? QStringLiteral("Unable to create ManagedObjectContext for %1.")
                                                        .arg(QDir::toNativeSeparators(moc->s->databaseURL))
                                                  : why);
        return nullptr;
    }
    moc->s->sessionStartDate = QDateTime::currentDateTime();
    // A file opened to be read is never changed: an unstamped one is read as the current model, and the event
    // types and old thumbnails are left as they are.
    if (reading)
        return moc;

    // Stamp a store that does not say which model it holds, at once.
    if (!moc->metadata().contains(kMomKey)) {
        moc->setMetadataValue(kMomKey, kCurrentModelVersion);
        moc->save();
    }
    moc->populateEventTypes();
    moc->moveThumbnailData();
    // What opening did is not the user's to undo.
    moc->undoManager()->removeAllActions();
    return moc;
}

bool FTMoc::openStore(const QString& path, StoreType type)
{
    Q_UNUSED(type);
    // The new-database command hands over an empty file: it becomes a new store in place, so the file made
    // create-only by the caller is never removed and made again by another name's owner.
    return open(path, OpenMode::ExistingOrEmpty);
}

bool FTMoc::checkDatabaseAccess(const QString& path, bool forWriting)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        Prompts::current().message(QStringLiteral("File does not exist.\n\n%1").arg(QDir::toNativeSeparators(path)));
        return false;
    }
    FTLog(QStringLiteral("File Attributes = %1").arg(fileAttributes(info)));
    // A file that nobody may write counts as read-only, also for the administrator, who could write it anyway.
    const bool writable =
        info.isWritable() && (info.permissions() & (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther));
    if (info.isFile() && info.isReadable() && (writable || !forWriting))
        return true;
    if (!forWriting) {
        Prompts::current().message(QStringLiteral("Cannot read the file:\n\n%1").arg(QDir::toNativeSeparators(path)),
            QStringLiteral("\nPlease allow reading of the above file in its Properties in the file manager, then "
                           "choose it again.\n\n"));
        return false;
    }
    const QString text = QStringLiteral("Cannot read and write to the file:\n\n%1").arg(QDir::toNativeSeparators(path));
    const QStringList pieces = {
        QStringLiteral("Please set the above file's permissions to be \"Read and Write\" as follows:"),
        QStringLiteral("1. Use the file manager to locate the database file."),
        QStringLiteral("2. Open its Properties."),
        QStringLiteral("3. Set \"Permissions\" to \"Read and Write\"."),
        QStringLiteral("4. Open the database in Kinloom using File -> Open."),
    };
    QString info2 = QStringLiteral("\n");
    for (const QString& piece : pieces)
        info2 += piece + QStringLiteral("\n\n");
    Prompts::current().message(text, info2);
    return false;
}

FTMoc::StoreType FTMoc::storeTypeForFile(const QString& path)
{
    const QString extension = QFileInfo(path).suffix();
    if (extension.compare(QLatin1String("RezUdu"), Qt::CaseInsensitive) == 0)
        return StoreType::SQLite;
    if (extension.compare(QLatin1String("ZuvEvu"), Qt::CaseInsensitive) == 0)
        return StoreType::XML;
    if (extension.compare(QLatin1String("DazBin"), Qt::CaseInsensitive) == 0)
        return StoreType::Binary;
    return StoreType::None;
}

QString FTMoc::momVersionInStoreAtUrl(const QString& path)
{
    QString error;
    const QVariantMap metadata = ObjectContext::metadataForStoreAt(path, &error);
    return error.isEmpty() ? metadata.value(kMomKey).toString() : QString();
}

const StoreSchema* FTMoc::schemaForMomVersion(const QString& momVersion, QString* failure)
{
    if (failure)
        failure->clear();
    if (momVersion.isEmpty())
        return nullptr;
    if (momVersion.compare(kCurrentModelVersion, Qt::CaseInsensitive) == 0)
        return &DOvurV6Schema();
    if (const StoreSchema* older = OlderModels::schemaNamed(momVersion))
        return older;
    const QString text = QStringLiteral("Unable to find the data model %1.\n\nPlease report this error to %2")
                             .arg(momVersion, ModelHooks::supportAddress());
    if (failure)
        *failure = text;
    else
        Prompts::current().message(text);
    return nullptr;
}

void FTMoc::populateEventTypes()
{
    if (!schema().entityNamed(QString::fromLatin1(FTEventType::kEntityName)))
        return;
    const QMap<QString, QString> all = EventTypesVocabulary::dictionary(-1);
    if (count<FTEventType>() == all.size())
        return;
    // The vocabulary is part of the database, not an action of the user's.
    undoManager()->disableUndoRegistration();
    const QDateTime now = QDateTime::currentDateTime();
    for (int bit : EventTypesVocabulary::kGroupBits) {
        const QString group = EventTypesVocabulary::groupName(bit);
        const QMap<QString, QString> codes = EventTypesVocabulary::dictionary(bit);
        for (auto it = codes.begin(); it != codes.end(); ++it) {
            const QString& code = it.key();
            const int n = count<FTEventType>([&](const FTEventType* t) { return t->gedcomCode() == code; });
            if (n > 1) {
                if (ModelHooks::shared().beep)
                    ModelHooks::shared().beep();
                Prompts::current().message(
                    QStringLiteral("Populate Events Types. Multiple event types error. Please contact support at %1")
                        .arg(ModelHooks::supportAddress()));
            } else if (n == 0) {
                FTEventType* type = FTEventType::initInMoc(this);
                type->setGedcomCode(code);
                type->setName(it.value());
                type->setLastChange(now);
                type->setGroup(group);
            }
        }
    }
    undoManager()->enableUndoRegistration();
    save();
}

void FTMoc::moveThumbnailData()
{
    if (s->momVersion.compare(kCurrentModelVersion, Qt::CaseInsensitive) != 0)
        return;
    QElapsedTimer timer;
    timer.start();
    static const Key kThumbNailImageData("thumbNailImageData");
    ReleasingWalk walk(*this);
    const QList<FTPicture*> pictures = fetch<FTPicture>([&walk](const FTPicture* p) {
        walk.releasePoint();
        return !p->isNil(kThumbNailImageData);
    });
    if (pictures.isEmpty()) {
        FTLog(QStringLiteral("%1 secs in moveThumbnails").arg(timer.nsecsElapsed() / 1e9, 0, 'f', 3));
        return;
    }
    if (const auto& mover = ModelHooks::shared().moveThumbnails)
        mover(*this, pictures);
    else
        FTLog(QStringLiteral("moveThumbnails: %1 pictures keep their old thumbnails for now").arg(pictures.size()));
}

// Working values ---------------------------------------------------------------------------------------------------

FTMocUndoManager* FTMoc::undoManager() const
{
    return static_cast<FTMocUndoManager*>(ObjectContext::undoManager());
}

QString FTMoc::databaseURL() const
{
    return s->databaseURL;
}
void FTMoc::setDatabaseURL(const QString& path)
{
    s->databaseURL = path;
}
QString FTMoc::momVersion() const
{
    return s->momVersion;
}
void FTMoc::setMomVersion(const QString& version)
{
    s->momVersion = version;
}
QDateTime FTMoc::sessionStartDate() const
{
    return s->sessionStartDate;
}
void FTMoc::setSessionStartDate(const QDateTime& date)
{
    s->sessionStartDate = date;
}
QDateTime FTMoc::lastRefreshDate() const
{
    return s->lastRefreshDate;
}
void FTMoc::setLastRefreshDate(const QDateTime& date)
{
    s->lastRefreshDate = date;
}

FTSource* FTMoc::activeSource() const
{
    ManagedObject* o = s->activeSourceURI.isEmpty() ? nullptr : objectForURI(s->activeSourceURI);
    return o && o->isKindOfEntity(QString::fromLatin1(FTSource::kEntityName)) ? static_cast<FTSource*>(o) : nullptr;
}
void FTMoc::setActiveSource(FTSource* source)
{
    s->activeSourceURI = source ? source->objectURI() : QString();
}
QString FTMoc::activeSourcePageRef() const
{
    return s->activeSourcePageRef;
}
void FTMoc::setActiveSourcePageRef(const QString& pageRef)
{
    s->activeSourcePageRef = pageRef;
}
QString FTMoc::activeEventURI() const
{
    return s->activeEventURI;
}
void FTMoc::setActiveEventURI(const QString& uri)
{
    s->activeEventURI = uri;
}

FTEvent* FTMoc::activeEvent()
{
    if (s->activeEventURI.isEmpty())
        return nullptr;
    ManagedObject* o = objectForURI(s->activeEventURI);
    if (!o || !o->isKindOfEntity(QString::fromLatin1(FTEvent::kEntityName))) {
        s->activeEventURI.clear();
        return nullptr;
    }
    return static_cast<FTEvent*>(o);
}

bool FTMoc::firstSave() const
{
    return s->firstSave;
}

FTModelDefaults* FTMoc::modelDefaults()
{
    static const QString kEntity = QString::fromLatin1(FTModelDefaults::kEntityName);
    if (s->modelDefaultsKey > 0)
        if (ManagedObject* o = objectWithPrimaryKey(kEntity, s->modelDefaultsKey))
            return static_cast<FTModelDefaults*>(o);
    FTModelDefaults* defaults = fetchFirst<FTModelDefaults>();
    const bool made = defaults == nullptr;
    if (made) {
        undoManager()->disableUndoRegistration();
        defaults = FTModelDefaults::initInMoc(this);
        undoManager()->enableUndoRegistration();
    }
    s->modelDefaultsKey = defaults->primaryKey();
    if (made)
        didChangeValueForKey(QStringLiteral("modelDefaults"));
    return defaults;
}

bool FTMoc::importThreadIsActive() const
{
    return s->importThreadIsActive;
}
void FTMoc::setImportThreadIsActive(bool active)
{
    s->importThreadIsActive = active;
}

QVariant FTMoc::valueForKey(const QString& key) const
{
    if (key == QLatin1String("modelDefaults"))
        return ManagedObject::toVariant(const_cast<FTMoc*>(this)->modelDefaults());
    return ObjectContext::valueForKey(key);
}
