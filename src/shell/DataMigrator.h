#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class EntityDescription;
class FTMoc;
class ManagedObject;
class ObjectContext;
class QObject;
class QThread;

// One progress report of a conversion. A zero progress or elapsed time, or an empty message, leaves what the
// window shows of it as it is.
struct DataMigrationReport {
    float progress = 0; // 0 to 100
    double elapsed = 0; // seconds since the conversion started
    QString message;
};

// How a conversion ended.
struct DataMigrationOutcome {
    bool succeeded = false; // the new database is saved
    QString failure; // why it failed, ready to show; empty on success
    QString renameFailure; // a success whose old file kept its name: why, ready to show
    QString oldStorePath;
    QString newStorePath;
    int numObjects = 0;
    int numAttributes = 0;
    int numRels = 0;
    double seconds = 0;
};

// Converts a database of an older model into a new database of the current one: every record is copied entity
// by entity with the attributes both models share (raw values: no stamps, no undo), the relationships are made
// again between the copies through a cross-reference of the old records, the focal person, selected person and
// current project view carry over, and the new database is saved once. The old file is only read; after a
// conversion it is renamed by appending "_old" to its full name. The new file is made exclusively (never over
// another file) and removed again when the conversion fails after making it.
//
// A migrator runs on one thread, which makes and uses both contexts (a worker: start(); a test: run it
// directly):
//
//   auto migrator = std::make_unique<DataMigrator>(oldPath, newPath);
//   DataMigrator::start(std::move(migrator), window,
//       [](const DataMigrationReport& r) { ... },           // on the main thread, in order
//       [](const DataMigrationOutcome& o) { ... });         // last
//
// Events are not linked to event types here: the new database's first opening in a window offers that once,
// through the event-type index sheet.
class DataMigrator {
public:
    // The version number of a model name: the integer at the start of its text from the seventh character on
    // ("DOvurV6" gives 6, "DOvurVx" 0); -1 for a name of 6 characters or fewer.
    static int momVersionNumber(const QString& modelName);
    // The version number of the model of the store at `path`: -1 without a "MomKey", and, after the "NoMetadata"
    // message, when its metadata cannot be read.
    static int momVersionInFile(const QString& path);

    // An older database of the data folder.
    struct OldFile {
        QString filename; // with extension
        QString path;
        QString version; // "DOvurV<n>"
    };
    // The databases (extension "RezUdu" in any letter case) of `folder` whose model number is below the current
    // model's, by name.
    static QList<OldFile> findOldModels(const QString& folder);

    // The message that refuses converting the store at `path` (chosen from the list, or found with the Open
    // panel: `found`), or empty when it may be converted; `momVersion` (may be null) receives its "MomKey".
    static QString checkOldStore(const QString& path, bool found, QString* momVersion = nullptr);

    DataMigrator(const QString& oldStorePath, const QString& newStorePath);
    ~DataMigrator();
    DataMigrator(const DataMigrator&) = delete;
    DataMigrator& operator=(const DataMigrator&) = delete;

    // Called on the migrator's thread for every report, in order.
    using Reporter = std::function<void(const DataMigrationReport&)>;
    void setReporter(Reporter reporter);

    // The whole conversion on the calling thread: prepare, copy, save, close both stores, rename the old file.
    // Every failure is in the outcome (nothing is shown from here).
    DataMigrationOutcome migrateDataThread();

    // Runs migrateDataThread() on a worker thread of its own, which owns the migrator until it ends. Each report
    // goes first to the migrator's own reporter (on the worker), then to `onReport`; the outcome goes to
    // `onFinished`, last. Both run on the main thread, queued, in order, and not at all once `receiver` is gone.
    // Answers the thread, which deletes itself when it has finished.
    static QThread* start(std::unique_ptr<DataMigrator> migrator, QObject* receiver,
                          std::function<void(const DataMigrationReport&)> onReport,
                          std::function<void(const DataMigrationOutcome&)> onFinished);

    // ---- The steps, each on the migrator's thread ----

    // Makes the new file, opens the old store with its own model (read only: nothing is written into it) and
    // the new one with the current model. False with `failure` set (the new file removed again) when it cannot.
    bool prepare(QString* failure);
    // Copies every entity, the model defaults, renumbers doubled numbers and saves the new store. False with
    // `failure` set when the save failed.
    bool migrateToMomV6(QString* failure);
    void migrateObjectsOfType(const QString& entityName);
    void migrateModelDefaults();

    FTMoc* newMoc() const { return m_newMoc.get(); }
    ObjectContext* oldMoc() const { return m_oldMoc.get(); }
    int numObjects() const { return m_numObjects; }
    int numAttributes() const { return m_numAttributes; }
    int numRels() const { return m_numRels; }

private:
    struct EntityPlan;
    const EntityPlan& planFor(const EntityDescription* oldEntity, const EntityDescription* newEntity);
    void migrateAttributes(const ManagedObject* from, ManagedObject* to, const EntityPlan& plan);
    void migrateRelationships(const ManagedObject* from, ManagedObject* to, const EntityPlan& plan);
    void report(float progress, const QString& message);
    double elapsedSeconds() const;
    // Closes both stores; with `discardNew`, removes the new file (the failure, if that fails too, in `failure`).
    void closeStores(bool discardNew, QString* failure);

    QString m_oldStorePath;
    QString m_newStorePath;
    std::unique_ptr<ObjectContext> m_oldMoc;
    std::unique_ptr<FTMoc> m_newMoc;
    bool m_madeNewFile = false;
    // The copy of each old record (the old context keeps one object per row while it is open).
    QHash<const ManagedObject*, ManagedObject*> m_objectXrefs;
    std::vector<std::unique_ptr<EntityPlan>> m_plans;
    int m_numObjects = 0;
    int m_numAttributes = 0;
    int m_numRels = 0;
    QElapsedTimer m_clock; // from the start; invalid while idle
    Reporter m_reporter;
};
