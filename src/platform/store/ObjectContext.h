#pragma once

#include "platform/store/KeyPathChange.h"

#include <QList>
#include <QString>
#include <QVariantMap>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

class ManagedObject;
class StoreSchema;
class UndoManager;

// The object store over one SQLite file: a connection, every record of the file loaded into memory when it opens
// (large binary values load on first access), one C++ object per row, the undo stack, observers, and a save that
// writes the inserted, updated and deleted rows in one transaction.
//
//   ObjectContext ctx(schema);
//   if (!ctx.open(path, ObjectContext::OpenMode::CreateIfMissing, &error)) ...
//   auto* p = ctx.insertObject<FTPerson>();           // has its primary key and URI at once
//   auto people = ctx.fetch<FTPerson>([](const FTPerson* p) { return p->integerValue("numericId") > 10; });
//   ctx.deleteObject(p);                                // applies the delete rules
//   if (!ctx.save(&error)) ...                          // all or nothing; the changes stay pending on failure
//
// File: journal_mode=DELETE, synchronous=FULL (but see setBulkWriting()), foreign keys on; a metadata table holds a
// dictionary that metadataForStoreAt() reads without loading any record. A context belongs to the thread that made
// it; a worker makes its own. Entity classes for fetch<T>() and insertObject<T>() name their entity in `T::kEntityName`.
class ObjectContext {
public:
    enum class OpenMode {
        Existing, // the file must exist and be a store of this schema
        CreateIfMissing, // a missing file becomes a new, empty store (made here, never over another's file)
        ExistingOrEmpty, // as Existing, but an existing empty file becomes a new store in place
        // As Existing, but only read: nothing is ever created, converted or written, the file need not be writable
        // (read-only permissions, folder or media), and no writer's lock is taken, so it may be open for editing
        // elsewhere at the same time. save() is refused with ErrorCode::ReadOnly; changes stay in memory.
        ReadOnly,
    };
    // Locked: another program holds the file for longer than the busy timeout (try again later). InUse: another
    // context, in this process or another, has the store open; only one may change it at a time.
    enum class ErrorCode { None, FileNotFound, NotAStore, Damaged, ReadOnly, Locked, DiskFull, Io, Other, InUse };
    // How long opening, reading and saving wait for another connection's lock, unless setBusyTimeout() says else.
    static constexpr int kDefaultBusyTimeout = 5000;

    explicit ObjectContext(const StoreSchema& schema);
    virtual ~ObjectContext();
    ObjectContext(const ObjectContext&) = delete;
    ObjectContext& operator=(const ObjectContext&) = delete;

    // Opening changes nothing in an existing file; a file that is not a store of this kind, or is damaged, is
    // refused with a message saying so. A context that opens a store for editing is its only writer until it goes:
    // it holds a lock file beside the store (".<name>.lock", taken over when the process that left it is gone), and
    // any other context asking for the same file, by this or another name, is refused with ErrorCode::InUse. A store
    // in a folder where no lock (and so no rollback journal) can be made is refused with ErrorCode::ReadOnly.
    bool open(const QString& path, OpenMode mode = OpenMode::Existing, QString* error = nullptr);
    bool isOpen() const;
    // Opened with OpenMode::ReadOnly.
    bool isReadOnly() const;
    // Closes the file and gives up being its writer, so that another context may open it at once; the records
    // stay readable in memory, and nothing more can be saved (for a document whose window has closed).
    void closeStore();
    const StoreSchema& schema() const;
    QString path() const;
    QString storeUUID() const;
    ErrorCode lastErrorCode() const;
    QString lastError() const;
    // How long a save waits for another connection's lock before it fails (milliseconds).
    void setBusyTimeout(int milliseconds);
    // Bulk writing, for filling a brand-new file that is thrown away if the filling fails: saves write no rollback
    // journal and skip the disk syncs, so a failed save may leave the file half written (only the discarding of
    // the whole file is safe then). Turning it off brings back the normal file settings: the next save writes the
    // journal and syncs again, which makes everything written so far durable. Never for a file the user has.
    // While on, the file does not check the keys of links either (the context keeps both sides itself).
    void setBulkWriting(bool on);
    bool isBulkWriting() const;

    // The store's metadata dictionary (values: numbers, texts, dates, data, lists and maps of them). Waits up to
    // kDefaultBusyTimeout for another program's write; `code` (may be null) says why it failed.
    static QVariantMap metadataForStoreAt(const QString& path, QString* error = nullptr, ErrorCode* code = nullptr);
    // A consistent copy of the store at `source` in a new file `destination` (never over an existing one), made
    // through SQLite's online backup while other connections may be writing, and synced to disk before it
    // answers true. On failure nothing is left at `destination` and `error` says why.
    static bool backupStore(const QString& source, const QString& destination, QString* error = nullptr);
    QVariantMap metadata() const;
    // Changes reach the file with the next save.
    void setMetadata(const QVariantMap& metadata);
    void setMetadataValue(const QString& key, const QVariant& value);

    // A new object of a concrete entity, with its primary key, its attribute defaults, and an Insert recorded.
    ManagedObject* insertObject(const QString& entityName);
    template <class T> T* insertObject() { return static_cast<T*>(insertObject(QString::fromLatin1(T::kEntityName))); }
    // Deletes the object: calls its prepareForDeletion(), cuts its links (deleting along Cascade relationships)
    // and records the delete. The C++ object stays readable (isDeleted()) until a save has written the delete and
    // no undo or redo group refers to it any more; then the context frees it.
    void deleteObject(ManagedObject* object);

    ManagedObject* objectForURI(const QString& uri) const;
    ManagedObject* objectWithPrimaryKey(const QString& entityName, qint64 key) const;

    // Fetches run over the objects in memory: pending inserts count, pending deletes don't. Objects of
    // sub-entities are included. Unsorted results come in primary-key order.
    using Predicate = std::function<bool(const ManagedObject*)>;
    using Less = std::function<bool(const ManagedObject*, const ManagedObject*)>;
    QList<ManagedObject*> fetch(
        const QString& entityName, const Predicate& predicate = {}, const Less& less = {}) const;
    int count(const QString& entityName, const Predicate& predicate = {}) const;
    // Calls fn for every live object of the entity and its sub-entities; fn answers false to stop.
    void forEachObject(const QString& entityName, const std::function<bool(ManagedObject*)>& fn) const;
    // One stored number attribute of every live record of the entity and its sub-entities, with the record's key,
    // in key order; nil reads as 0. In a database too large to read whole, the records not in memory are answered
    // by one statement over the attribute's column and are not read; the others (unsaved changes, new records)
    // answer from memory. For a pass that needs one number of everything, such as a numbering.
    std::vector<std::pair<qint64, qint64>> storedIntegers(const QString& entityName, const QString& key) const;

    template <class T>
    QList<T*> fetch(
        std::function<bool(const T*)> predicate = {}, std::function<bool(const T*, const T*)> less = {}) const
    {
        QList<T*> out;
        forEachObject(QString::fromLatin1(T::kEntityName), [&](ManagedObject* o) {
            T* t = static_cast<T*>(o);
            if (!predicate || predicate(t))
                out.push_back(t);
            return true;
        });
        if (less)
            std::stable_sort(out.begin(), out.end(), less);
        return out;
    }
    template <class T> T* fetchFirst(std::function<bool(const T*)> predicate = {}) const
    {
        T* found = nullptr;
        forEachObject(QString::fromLatin1(T::kEntityName), [&](ManagedObject* o) {
            T* t = static_cast<T*>(o);
            if (predicate && !predicate(t))
                return true;
            found = t;
            return false;
        });
        return found;
    }
    template <class T> int count(std::function<bool(const T*)> predicate = {}) const
    {
        int n = 0;
        forEachObject(QString::fromLatin1(T::kEntityName), [&](ManagedObject* o) {
            if (!predicate || predicate(static_cast<T*>(o)))
                ++n;
            return true;
        });
        return n;
    }

    bool hasChanges() const;
    // Writes every pending change in one transaction. On failure the file is as it was, the changes stay pending,
    // and the error says why (read-only file, full disk, file locked by another program ...). A context opened
    // read-only never writes: with changes, it answers false with ErrorCode::ReadOnly.
    bool save(QString* error = nullptr);

    UndoManager* undoManager() const;
    // Installs a subclass (the application's confirming undo manager); the old stack is dropped.
    void setUndoManager(std::unique_ptr<UndoManager> manager);

    // Key-path observers. From the context, the first key is read with valueForKey() below (a subclass offers its
    // own keys, "modelDefaults" say); from an object, with the object's valueForKey(). Each change of a key
    // anywhere along the path calls fn, and the path is followed again from there. `owner` groups observers for
    // removeObserversOf().
    ObserverToken addObserver(const QString& keyPath, const void* owner, ObserverFunction fn);
    ObserverToken addObserver(ManagedObject* object, const QString& keyPath, const void* owner, ObserverFunction fn);
    void removeObserver(ObserverToken token);
    void removeObserversOf(const void* owner);
    // Keys of the context itself, for observers rooted at the context: a subclass answers its own keys and calls
    // didChangeValueForKey() when one changes.
    virtual QVariant valueForKey(const QString& key) const;
    void didChangeValueForKey(const QString& key);

    // ---- Releasing memory (the document, after each change of focal person) ----
    // Whether the record holds large binary values read from the file, and whether anyone observes it.
    bool hasLoadedLazyValues(const ManagedObject* object) const;
    bool isObserved(const ManagedObject* object) const;
    // Drops the large binary values of a saved record without pending changes; they are read from the file
    // again on next access (the record becomes a fault again). Answers whether anything was dropped.
    bool releaseLazyValues(ManagedObject* object);
    // How many deletes wait for the next save.
    int pendingDeleteCount() const;

    struct Private; // the store's own implementation files only

private:
    friend class ManagedObject;
    friend class UndoManager;
    std::unique_ptr<Private> d;
};
