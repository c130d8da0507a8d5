#include "shell/DataMigrator.h"

#include "shell/DisplayMsg.h"

#include "model/FTMoc.h"
#include "model/FTMocUndoManager.h"
#include "model/FTModelDefaults.h"
#include "model/FTPerson.h"
#include "model/FTProjectView.h"
#include "model/ModelHooks.h"

#include "platform/FTLog.h"
#include "platform/Localizer.h"
#include "platform/MainThread.h"
#include "platform/store/ManagedObject.h"
#include "platform/store/ObjectContext.h"
#include "platform/store/ReleasingWalk.h"
#include "platform/store/StoreSchema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QThread>
#include <QUrl>

#include <algorithm>
#include <climits>

namespace {
const QString kStoreExtension = QStringLiteral("RezUdu");
// Every record at a multiple of this within an entity says how far the entity is.
constexpr int kRecordsPerReport = 100;
// The entity steps share the progress up to here; the model defaults and the save come after.
constexpr int kLastEntityProgress = 94;

QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// The metadata as a reader sees it: "{key = value; ...}".
QString describe(const QVariantMap& metadata)
{
    QStringList pairs;
    for (auto it = metadata.begin(); it != metadata.end(); ++it)
        pairs << QStringLiteral("%1 = %2").arg(it.key(), it.value().toString());
    return QStringLiteral("{%1}").arg(pairs.join(QStringLiteral("; ")));
}

bool isCurrentModel(const QString& momVersion)
{
    return momVersion.compare(FTMoc::kCurrentModelVersion, Qt::CaseInsensitive) == 0;
}
}

// What is copied of one entity, worked out once from the two models.
struct DataMigrator::EntityPlan {
    const EntityDescription* oldEntity = nullptr;
    const EntityDescription* newEntity = nullptr;
    struct Pair {
        Key from;
        Key to;
    };
    std::vector<Pair> attributes;
    std::vector<Pair> toOne;
    std::vector<Pair> toMany;
};

// ---- Model versions and the old files of the data folder ------------------------------------------------------

int DataMigrator::momVersionNumber(const QString& modelName)
{
    if (modelName.size() <= 6)
        return -1;
    // The leading integer of the rest, as a reader of numbers takes it: blanks, a sign, digits; 0 without any.
    const QString rest = modelName.mid(6).trimmed();
    qsizetype end = 0;
    if (end < rest.size() && (rest[end] == QLatin1Char('-') || rest[end] == QLatin1Char('+')))
        ++end;
    while (end < rest.size() && rest[end].isDigit() && rest[end].unicode() < 128)
        ++end;
    bool ok = false;
    const int number = rest.left(end).toInt(&ok);
    return ok ? number : 0;
}

int DataMigrator::momVersionInFile(const QString& path)
{
    QString error;
    const QVariantMap metadata = ObjectContext::metadataForStoreAt(path, &error);
    if (!error.isEmpty()) {
        DisplayMsg(QStringLiteral("%1: %2\n\n%3 = %4")
                       .arg(L("NoMetadata"), QUrl::fromLocalFile(path).toString(), L("Error"), error));
        return -1;
    }
    return momVersionNumber(metadata.value(FTMoc::kMomKey).toString());
}

QList<DataMigrator::OldFile> DataMigrator::findOldModels(const QString& folder)
{
    const int current = momVersionNumber(FTMoc::kCurrentModelVersion);
    QList<OldFile> found;
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& entry : entries) {
        if (entry.suffix().compare(kStoreExtension, Qt::CaseInsensitive) != 0)
            continue;
        const QString path = QStringLiteral("%1/%2").arg(folder, entry.fileName());
        const int number = momVersionInFile(path);
        if (number < current)
            found.push_back({entry.fileName(), path, QStringLiteral("DOvurV%1").arg(number)});
    }
    return found;
}

QString DataMigrator::checkOldStore(const QString& path, bool found, QString* momVersion)
{
    if (momVersion)
        momVersion->clear();
    QString error;
    const QVariantMap metadata = ObjectContext::metadataForStoreAt(path, &error);
    const QString version = metadata.value(FTMoc::kMomKey).toString();
    if (found)
        FTLog(QStringLiteral("MOM_VERSION: %1").arg(version));
    if (!error.isEmpty() || metadata.isEmpty() || version.isEmpty()) {
        if (found)
            return QStringLiteral("%1\n\n%2\n\n%3 = %4")
                .arg(shown(path), L("UnkDatamodel"), L("Metadata"), error.isEmpty() ? describe(metadata) : error);
        return QStringLiteral("%1\n\n%2").arg(shown(path), L("UnkDatamodel"));
    }
    if (isCurrentModel(version))
        return QStringLiteral("%1\n\n%2").arg(shown(path), L("IsLatestModel"));
    if (momVersion)
        *momVersion = version;
    return {};
}

// ---- The migrator --------------------------------------------------------------------------------------------

DataMigrator::DataMigrator(const QString& oldStorePath, const QString& newStorePath)
    : m_oldStorePath(QFileInfo(oldStorePath).absoluteFilePath())
    , m_newStorePath(QFileInfo(newStorePath).absoluteFilePath())
{
}

DataMigrator::~DataMigrator()
{
    // A migrator given up half way leaves nothing behind.
    closeStores(m_madeNewFile, nullptr);
}

void DataMigrator::setReporter(Reporter reporter)
{
    m_reporter = std::move(reporter);
}

double DataMigrator::elapsedSeconds() const
{
    return m_clock.isValid() ? double(m_clock.nsecsElapsed()) / 1e9 : 0;
}

void DataMigrator::report(float progress, const QString& message)
{
    if (!m_reporter)
        return;
    m_reporter({progress, progress > 0 ? std::max(elapsedSeconds(), 1e-6) : 0, message});
}

QThread* DataMigrator::start(std::unique_ptr<DataMigrator> migrator, QObject* receiver,
                             std::function<void(const DataMigrationReport&)> onReport,
                             std::function<void(const DataMigrationOutcome&)> onFinished)
{
    const QPointer<QObject> guard(receiver);
    std::shared_ptr<DataMigrator> owned(std::move(migrator));
    QThread* thread = QThread::create([owned, guard, onReport, onFinished]() mutable {
        Reporter own = owned->m_reporter;
        owned->setReporter([own, guard, onReport](const DataMigrationReport& r) {
            if (own)
                own(r);
            MainThread::post([guard, onReport, r] {
                if (guard && onReport)
                    onReport(r);
            });
        });
        const DataMigrationOutcome outcome = owned->migrateDataThread();
        // Both contexts belong to this thread: they go with it.
        owned.reset();
        MainThread::post([guard, onFinished, outcome] {
            if (guard && onFinished)
                onFinished(outcome);
        });
    });
    thread->setObjectName(QStringLiteral("DataMigrator"));
    QObject::connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start();
    return thread;
}

DataMigrationOutcome DataMigrator::migrateDataThread()
{
    m_clock.start();
    DataMigrationOutcome outcome;
    outcome.oldStorePath = m_oldStorePath;
    outcome.newStorePath = m_newStorePath;
    QString failure;
    bool ok = prepare(&failure);
    if (ok) {
        ok = migrateToMomV6(&failure);
        if (!ok) {
            // Said before the new file goes: the message line shows why the conversion stopped.
            report(0, failure);
        }
    }
    QString removal;
    closeStores(!ok, &removal);
    if (!removal.isEmpty())
        failure += QStringLiteral("\n\n") + removal;

    if (ok) {
        // The old file stays beside the new one, under a name that no list of databases shows.
        const QString kept = m_oldStorePath + QStringLiteral("_old");
        QFile old(m_oldStorePath);
        if (!old.rename(kept)) {
            outcome.renameFailure = LocalizedString(QStringLiteral("MigrateRenameFailed"))
                                        .arg(shown(m_newStorePath), shown(m_oldStorePath), shown(kept), old.errorString());
            FTLog(outcome.renameFailure);
            report(100, outcome.renameFailure);
        }
    }
    outcome.succeeded = ok;
    outcome.failure = ok ? QString() : failure;
    outcome.numObjects = m_numObjects;
    outcome.numAttributes = m_numAttributes;
    outcome.numRels = m_numRels;
    outcome.seconds = elapsedSeconds();
    m_clock.invalidate();
    return outcome;
}

bool DataMigrator::prepare(QString* failure)
{
    const auto fail = [&](const QString& text) {
        FTLog(QStringLiteral("DataMigrator: %1").arg(text));
        closeStores(true, nullptr);
        if (failure)
            *failure = text;
        return false;
    };
    m_objectXrefs.clear();
    m_plans.clear();
    m_numObjects = m_numAttributes = m_numRels = 0;

    // Made here or not at all: a file of that name, whoever made it, is not this conversion's to fill.
    QFile made(m_newStorePath);
    if (!made.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return fail(QStringLiteral("%1 %2").arg(L("UnableToCreate"), shown(m_newStorePath)));
    made.close();
    m_madeNewFile = true;

    // The old store is opened as a plain store of its own model: nothing (event types, repairs, moved
    // thumbnails) is written into the file that is kept as it was.
    QString reason;
    const QString version = ObjectContext::metadataForStoreAt(m_oldStorePath, &reason).value(FTMoc::kMomKey).toString();
    const StoreSchema* oldSchema = reason.isEmpty() ? FTMoc::schemaForMomVersion(version, &reason) : nullptr;
    if (oldSchema) {
        m_oldMoc = std::make_unique<ObjectContext>(*oldSchema);
        if (!m_oldMoc->open(m_oldStorePath, ObjectContext::OpenMode::Existing, &reason))
            m_oldMoc.reset();
    }
    if (!m_oldMoc || m_oldMoc->count(QString::fromLatin1(FTPerson::kEntityName)) == 0)
        return fail(reason.isEmpty() ? L("CannotMigrate") : QStringLiteral("%1\n\n%2").arg(reason, L("CannotMigrate")));

    m_newMoc = FTMoc::initForStoreURL(m_newStorePath, true);
    if (!m_newMoc)
        return fail(QStringLiteral("%1 %2").arg(L("UnableToCreate"), shown(m_newStorePath)));
    // Like an import's: the copies are not the user's to undo, and nothing is stamped, named or announced.
    m_newMoc->setImportThreadIsActive(true);
    m_newMoc->undoManager()->removeAllActions();
    qint64 records = 0;
    for (const EntityDescription* e : oldSchema->entities())
        if (!e->parent())
            records += m_oldMoc->count(e->name());
    m_objectXrefs.reserve(qsizetype(std::min<qint64>(records, INT_MAX / 2)));
    return true;
}

bool DataMigrator::migrateToMomV6(QString* failure)
{
    m_newMoc->undoManager()->disableUndoRegistration();
    struct Enable {
        FTMocUndoManager* um;
        ~Enable() { um->enableUndoRegistration(); }
    } enable {m_newMoc->undoManager()};

    report(2, L("MigratingPeople"));
    migrateObjectsOfType(QString::fromLatin1(FTPerson::kEntityName));

    static const QStringList kCopiedApart = {QStringLiteral("Person"), QStringLiteral("Event"),
                                       QStringLiteral("OtherPersonalEvent"), QStringLiteral("OtherMarriageEvent"),
                                       QStringLiteral("ModelDefaults"), QStringLiteral("EventType")};
    const std::vector<const EntityDescription*>& entities = m_oldMoc->schema().entities();
    const int count = int(entities.size());
    for (int i = 0; i < count; ++i) {
        const QString& name = entities[size_t(i)]->name();
        if (kCopiedApart.contains(name))
            continue;
        // Short of the steps after the entities: 100 % says the new database is saved.
        report(float(std::min(100 * (i + 1) / count, kLastEntityProgress)),
               QStringLiteral("%1 %2s").arg(L("Migrating"), name));
        migrateObjectsOfType(name);
    }
    // Last, so that the lists of other events fill from the events' side.
    migrateObjectsOfType(QStringLiteral("OtherPersonalEvent"));
    migrateObjectsOfType(QStringLiteral("OtherMarriageEvent"));

    report(95, L("MigratingModelDefaults"));
    migrateModelDefaults();

    report(98, L("SavingNewDb"));
    m_newMoc->validateNumericIds(false);
    QString error;
    if (!m_newMoc->saveMoc(&error)) {
        if (failure)
            *failure = LocalizedString(QStringLiteral("MigrateSaveFailed"))
                           .arg(shown(m_newStorePath), shown(m_oldStorePath),
                                error.isEmpty() ? m_newMoc->lastSaveError() : error);
        return false;
    }
    m_madeNewFile = false; // the new database stands from here on, whatever follows
    report(100, L("AllDoneExit"));
    FTLog(QStringLiteral("numObjects = %1, numAttributes = %2, numRels = %3")
              .arg(m_numObjects)
              .arg(m_numAttributes)
              .arg(m_numRels));
    return true;
}

const DataMigrator::EntityPlan& DataMigrator::planFor(const EntityDescription* oldEntity,
                                                      const EntityDescription* newEntity)
{
    for (const auto& plan : m_plans)
        if (plan->oldEntity == oldEntity && plan->newEntity == newEntity)
            return *plan;
    auto plan = std::make_unique<EntityPlan>();
    plan->oldEntity = oldEntity;
    plan->newEntity = newEntity;
    static const QStringList kFilledFromTheEvents = {QStringLiteral("otherEvents"),
                                                     QStringLiteral("otherMarriageEvents")};
    for (const PropertyDescription* from : oldEntity->properties()) {
        const PropertyDescription* to = newEntity->property(from->name);
        if (!to)
            continue;
        if (from->isAttribute()) {
            // Only what is stored: the new model's defaults stand for what the old one did not have.
            if (to->isAttribute() && !from->transient && !to->transient)
                plan->attributes.push_back({from->key, to->key});
        } else if (from->isRelationship() && to->isRelationship() && !kFilledFromTheEvents.contains(from->name)) {
            if (from->kind != to->kind) {
                FTLog(QStringLiteral("DataMigrator: %1.%2 is a to-%3 relationship in %4 and a to-%5 one in %6: not "
                                     "copied from this side")
                          .arg(oldEntity->name(), from->name, from->isToOne() ? "one" : "many",
                               m_oldMoc->schema().name(), to->isToOne() ? "one" : "many", m_newMoc->schema().name()));
                // The alert sound is the main thread's to make.
                if (const auto beep = ModelHooks::shared().beep)
                    MainThread::post(beep);
            } else {
                (from->isToOne() ? plan->toOne : plan->toMany).push_back({from->key, to->key});
            }
        }
    }
    m_plans.push_back(std::move(plan));
    return *m_plans.back();
}

void DataMigrator::migrateObjectsOfType(const QString& entityName)
{
    const EntityDescription* newEntity = m_newMoc->schema().entityNamed(entityName);
    const EntityDescription* oldEntity = m_oldMoc->schema().entityNamed(entityName);
    if (!newEntity || newEntity->isAbstract() || !oldEntity)
        return;
    QElapsedTimer timer;
    timer.start();
    // The first entity (the people) has nothing to link to yet.
    const bool makeLinks = m_numObjects > 0;
    const EntityPlan& plan = planFor(oldEntity, newEntity);

    // The records of this very entity: those of a sub-entity are copied as their own entity.
    std::vector<ManagedObject*> records;
    m_oldMoc->forEachObject(entityName, [&](ManagedObject* o) {
        if (o->entity() == oldEntity)
            records.push_back(o);
        return true;
    });
    const qsizetype count = qsizetype(records.size());
    // The old file's records are given back once copied (the copies keep only pointers to them, in the cross
    // references).
    ReleasingWalk walk(*m_oldMoc);
    for (qsizetype i = 0; i < count; ++i) {
        walk.releasePoint();
        if (i % kRecordsPerReport == 0)
            report(0, QStringLiteral("%1 %2 - %3 %4 %5 ")
                          .arg(L("Migrating"), entityName)
                          .arg(i)
                          .arg(L("ConjunctiveOf"))
                          .arg(count));
        ManagedObject* from = records[size_t(i)];
        ManagedObject* to = m_newMoc->insertObject(entityName);
        ++m_numObjects;
        m_objectXrefs.insert(from, to);
        migrateAttributes(from, to, plan);
        if (makeLinks)
            migrateRelationships(from, to, plan);
        // Its pictures and stories are read from the file again should anything need them.
        m_oldMoc->releaseLazyValues(from);
    }
    FTLog(QStringLiteral("%1 secs to migrate %2 %3")
              .arg(double(timer.nsecsElapsed()) / 1e9, 6, 'f', 3)
              .arg(count)
              .arg(entityName));
}

void DataMigrator::migrateAttributes(const ManagedObject* from, ManagedObject* to, const EntityPlan& plan)
{
    for (const EntityPlan::Pair& a : plan.attributes) {
        to->setPrimitiveValue(a.to, from->primitiveValue(a.from));
        ++m_numAttributes;
    }
}

void DataMigrator::migrateRelationships(const ManagedObject* from, ManagedObject* to, const EntityPlan& plan)
{
    // Raw links: the context keeps the other side in step, and nothing is stamped. A target not copied yet is
    // linked from its own side when its turn comes.
    for (const EntityPlan::Pair& r : plan.toOne) {
        ManagedObject* target = m_objectXrefs.value(from->objectValue(r.from));
        if (!target)
            continue;
        to->setPrimitiveValue(r.to, ManagedObject::toVariant(target));
        ++m_numRels;
    }
    for (const EntityPlan::Pair& r : plan.toMany) {
        const ObjectSet& members = from->objects(r.from);
        if (members.isEmpty())
            continue;
        QList<ManagedObject*> linked = to->objects(r.to).toList();
        const qsizetype before = linked.size();
        for (ManagedObject* member : members)
            if (ManagedObject* copy = m_objectXrefs.value(member))
                linked.push_back(copy);
        if (linked.size() == before)
            continue;
        m_numRels += int(linked.size() - before);
        to->setPrimitiveValue(r.to, QVariant::fromValue(linked));
    }
}

void DataMigrator::migrateModelDefaults()
{
    const QList<ManagedObject*> defaults = m_oldMoc->fetch(QString::fromLatin1(FTModelDefaults::kEntityName));
    if (defaults.isEmpty())
        return;
    const ManagedObject* old = defaults.first();
    const auto copyOf = [&](const char* key) { return m_objectXrefs.value(old->objectValue(Key(key))); };
    if (auto* focal = copyOf("focalPerson"))
        m_newMoc->setFocalPerson(static_cast<FTPerson*>(focal));
    if (auto* selected = copyOf("selectedPerson"))
        m_newMoc->setSelectedPerson(static_cast<FTPerson*>(selected));
    if (auto* view = copyOf("currentView"))
        m_newMoc->modelDefaults()->setCurrentView(static_cast<FTProjectView*>(view));
}

void DataMigrator::closeStores(bool discardNew, QString* failure)
{
    m_objectXrefs.clear();
    m_plans.clear();
    m_oldMoc.reset();
    m_newMoc.reset();
    if (!discardNew || !m_madeNewFile)
        return;
    m_madeNewFile = false;
    QFile file(m_newStorePath);
    if (file.exists() && !file.remove()) {
        const QString text = LocalizedString(QStringLiteral("MigrateRemoveFailed"))
                                 .arg(shown(m_newStorePath), file.errorString());
        FTLog(text);
        if (failure)
            *failure = text;
    }
}
