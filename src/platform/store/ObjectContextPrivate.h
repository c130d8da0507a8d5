#pragma once

// Internal to the store: the state of one ObjectContext, shared by its implementation files.

#include "platform/store/ManagedObject.h"
#include "platform/store/ObjectContext.h"
#include "platform/store/SharedValues.h"
#include "platform/store/SqliteDatabase.h"
#include "platform/store/SqliteStatement.h"
#include "platform/store/StoreSchema.h"
#include "platform/store/UndoManager.h"
#include "platform/store/UndoOperation.h"

#include <QHash>
#include <QLockFile>
#include <QPair>
#include <QThread>

#include <algorithm>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

// How many records ahead a walk over many of them asks for the next ones (see prefetchObject()).
constexpr size_t kPrefetchAhead = 8;
// Asks for the first cache lines of a record (its header and the values that follow it) before they are read.
inline void prefetchObject(const ManagedObject* o)
{
    // A walk's slot ahead may be empty (a record freed, a row not made yet): nothing to ask for, and no address
    // may be computed from the null pointer.
    if (!o)
        return;
    const auto* at = reinterpret_cast<const char*>(o);
    __builtin_prefetch(at);
    __builtin_prefetch(at + 64);
}

union NumberSlot {
    qint64 i;
    double d;
};

struct ObjectContext::Private {
    // How a relationship change tells others: Full brackets every side that changes; Bracketed leaves the
    // object's own side to the caller, which has bracketed it; Raw tells nobody and records nothing.
    enum class Notify { Full, Bracketed, Raw };

    struct EntityMap {
        const EntityDescription* entity = nullptr;
        QByteArray nameUtf8;
        std::vector<const PropertyDescription*> byColumn; // column -> property of this entity, or null
        quint64 columns = 0; // every column of this entity: all are written for a new record
        // Attributes with a default value, converted once to what their slots hold: a new record copies them
        // instead of converting a QVariant for each.
        struct Default {
            const PropertyDescription* property;
            bool nil; // a number or date that reads as nil
            NumberSlot number;
            QString text;
            QByteArray data;
        };
        std::vector<Default> defaults;
        // What a new row binds: the entity's own columns only, each with what its value needs, so that writing
        // thousands of rows reads neither the property descriptions nor the columns of other sub-entities.
        struct Bind {
            int parameter; // from the row's first parameter: 2 + column
            PropertyDescription::Slot slot;
            bool isDouble;
            int offset;
            int bit;
        };
        std::vector<Bind> binds;
        bool lazy = false; // has lazy values, which a new row loads before it is written
        bool memoryOnly = false; // has values kept in memory only, which a fault would lose
        // Where the far ends of this entity's relationships without a key column of its own are found: the
        // other tables' key columns that point here (one statement each fills every relationship through that
        // column, as the five event kinds share one), and the many-to-many sides.
        struct LinkColumn {
            int table;
            int column;
        };
        std::vector<LinkColumn> linkColumns;
        std::vector<const PropertyDescription*> joinSides;
        // Each relationship filled through one of them is read when first used, with the others filled the same
        // way and no more: by property index, its bit in a record's pending links (-1: none, held by a key column
        // of its own); every bit of the entity in `linkBits`. The link columns come first, then the join sides; a
        // 17th and later share the last bit and are filled together (no record of the program's has that many).
        std::vector<qint8> linkBitOf;
        quint16 linkBits = 0;
        static int bitOfLink(size_t link) { return int(std::min<size_t>(link, 15)); }
    };
    // How well a column's values repeat while bulk writing (see shareWritten()).
    struct ColumnSharing {
        quint32 looked = 0; // values looked up in the shared table
        quint32 added = 0; // of those in the current window, how many were new to it
        bool off = false;
    };
    struct TableState {
        const StoreSchema::Table* table = nullptr;
        std::vector<ColumnSharing> sharing; // by column
        std::vector<EntityMap> entities;
        std::vector<ManagedObject*> byPk; // the identity map: index = primary key
        qint64 nextPk = 1;
        std::unique_ptr<SqliteStatement> insert;
        // Many new rows in one statement: a save of thousands of new records pays the per-statement work of the
        // table (its key counter above all) once a block instead of once a row.
        std::unique_ptr<SqliteStatement> insertBlock;
        int insertBlockRows = 0;
        std::vector<ManagedObject*> newRows; // gathered during a save
        qint64 inserted = 0; // records made since the last save: how many new rows the next one gathers, at most
        std::unique_ptr<SqliteStatement> remove;
        QHash<quint64, std::shared_ptr<SqliteStatement>> updates; // by set of changed columns
        QHash<int, std::shared_ptr<SqliteStatement>> lazySelects; // by column
        std::unique_ptr<SqliteStatement> selectRow; // a fault's row: the columns load() reads, by key
        // Rows whose key column names one of up to kBatch records, by 2 * column, and by 2 * column + 1 those that
        // name the one record asked for alone (no list of keys for SQLite to build at each run).
        QHash<int, std::shared_ptr<SqliteStatement>> selectByColumn;
        qint64 records = 0; // rows in the file when it opened
        const EntityMap* lastRead = nullptr; // the kind of the row read last
        bool complete = true; // every row of the table is in memory
        qint64 faults = 0; // records turned back into faults
        std::unique_ptr<SqliteStatement> selectBatch; // the rows of up to kBatch faults at once
        std::unique_ptr<SqliteStatement> selectAfter; // the next block of rows in key order (a walk of a large table)
        // By folded column: its stored text by key, and the removal of one of its words (see removeWords()).
        std::vector<std::pair<std::unique_ptr<SqliteStatement>, std::unique_ptr<SqliteStatement>>> words;
    };
    struct JoinState {
        const StoreSchema::JoinTable* join = nullptr;
        QHash<QPair<qint64, qint64>, int> pending; // +1 to insert, -1 to delete
        // The destinations' rows of up to kBatch sources, and the sources' rows of up to kBatch destinations; [1]
        // of one alone.
        std::unique_ptr<SqliteStatement> fromSource[2];
        std::unique_ptr<SqliteStatement> fromDestination[2];
    };
    struct Observation {
        const void* owner = nullptr;
        const void* root = nullptr;
        QString keyPath;
        std::vector<Key> path;
        ObserverFunction fn;
        std::vector<std::vector<const void*>> levels; // objects watched at each level of the path
    };

    Private(ObjectContext* q, const StoreSchema& schema);

    ObjectContext* q;
    const StoreSchema& schema;
    SqliteDatabase db;
    QString path;
    QString uuid;
    ErrorCode errorCode = ErrorCode::None;
    QString error;
    int busyTimeout = ObjectContext::kDefaultBusyTimeout;
    // The one-writer guard of the open store: the lock file beside it, the file's identity (device, inode)
    // among the stores this process has open, and a lock on the file itself (flock on a descriptor held for
    // the whole session), which every name of the file, a hard link too, meets in any process.
    std::unique_ptr<QLockFile> lock;
    std::optional<std::pair<quint64, quint64>> identity;
    int fileLock = -1;
    bool bulkWriting = false;
    bool readOnly = false; // opened with OpenMode::ReadOnly: no lock, no identity, no writes
    // The store was closed, and `db` is a connection that only reads, kept for the records not in memory yet.
    bool closed = false;
    // Names, places, dates, tags and small data blocks repeat from record to record: while a store loads, and while
    // bulk writing fills a new one, each short value is kept once and shared by every record that has it.
    SharedValues<QString> texts;
    SharedValues<QByteArray> blobs;
    QVariantMap metadata;
    bool metadataDirty = false;
    QThread* thread = nullptr;

    std::vector<TableState> tables;
    std::vector<JoinState> joins;
    std::vector<ManagedObject*> changed; // objects with changes since the last save
    std::vector<ManagedObject*> graveyard; // deleted objects kept alive for undo and for the save
    qint64 faults = 0; // records whose values are not in memory
    std::unique_ptr<UndoManager> undo;
    int changeDepth = 0; // open change brackets: raw writes inside one are recorded

    QHash<ObserverToken, Observation> observations;
    QHash<QPair<const void*, int>, QList<ObserverToken>> watchers;
    ObserverToken nextToken = 1;

    // Errors
    bool fail(ErrorCode code, const QString& message, QString* out);
    ErrorCode codeForSqlite(int rc) const;

    // Opening and loading
    bool claimFile(const QString& shown, QString* out);
    bool registerIdentity(const QString& shown, QString* out);
    void releaseFile();
    void prepareTables();
    bool createStore(QString* message);
    bool checkStore(QString* message, ErrorCode* code);
    void clearObjects();
    // Records are read when first touched: opening checks the tables and key counters and reads no record; a
    // record's row is read when it is asked for by key, reached through a link, or found by a relationship's
    // statement; a walk over a whole entity reads every row (loadEverything()) and from then on the whole graph
    // is in memory, as fast to walk as it ever was.
    bool openLazily(QString* message);
    bool loadEverything(QString* message);
    // A table of a few records (the event types, the defaults) is read alone when walked, and its records'
    // relationships when used; a walk over a large one reads the whole graph, which its walkers go on to use.
    static constexpr qint64 kSmallTable = 2000;
    bool loadTable(TableState& t, QString* message);
    void prepareLinkColumns();
    ManagedObject* objectAt(TableState& t, qint64 key);
    // The records of these keys in memory, with their values: those not read yet and those turned back into
    // faults read kBatch to a statement (a fetch's answer), rather than one statement each when first used.
    void readRecords(TableState& t, const std::vector<qint64>& keys);
    ManagedObject* objectFromRow(TableState& t, SqliteStatement& st, bool share);
    void readFailed(const TableState& t, const QString& what, const QString& why);
    // Links of a record read from its row hold the keys of their targets until first used (kUnresolved); its
    // relationships without a key column of its own are filled on first use (kLinksPending), from the file and
    // from the changes not saved yet.
    static constexpr quint32 kUnresolved = 128;
    static constexpr quint32 kLinksPending = 256;
    // Some member of the record's to-many relationships was turned back into a fault: the next use of one of them
    // reads the rows of all such members together, kBatch a statement, rather than one statement each.
    static constexpr quint32 kFaultMembers = 512;
    static constexpr int kBatch = 64;
    static void prepareLink(const ManagedObject* o, const PropertyDescription* p)
    {
        if (o->m_flags & (kFault | kUnresolved | kLinksPending | kFaultMembers))
            o->m_context->d->loadLinks(const_cast<ManagedObject*>(o), p);
    }
    void fireMembers(ManagedObject* o);
    void fireBatch(TableState& t, const std::vector<ManagedObject*>& list);
    void fireTable(TableState& t);
    // The row under `st` (key first) fills its record, if that record is a fault in memory.
    void fireFromRow(TableState& t, SqliteStatement& st);
    // The statement that reads the rows of up to kBatch keys of table `t` (unused places bound to nothing).
    SqliteStatement& batchSelect(TableState& t);
    void loadLinks(ManagedObject* o, const PropertyDescription* p);
    void resolve(ManagedObject* o);
    void fillLinks(ManagedObject* o, const PropertyDescription* p);
    void dropLink(ManagedObject* o, const PropertyDescription* p, const char* what, qint64 key);
    bool everything = true; // every row of the file is in memory
    qint64 readStatements = 0; // statements run to read records, for tests
    static void prefetchOwned(const ManagedObject* o);
    ManagedObject* make(const EntityDescription* e, qint64 pk);
    // Fills the record's slots from a row read with load()'s columns; links only when `links` (as keys for
    // resolveLinks()), values shared through `texts` and `blobs` only when `share`.
    void readRow(ManagedObject* o, const EntityMap& m, SqliteStatement& st, bool links, bool share);
    // What a read of records takes of each row, whether the table is read whole, in blocks or by key: key, entity,
    // then every column in order (a lazy one only as whether it holds a value); `alias` qualifies them in a join.
    static QString rowColumnsOf(const StoreSchema::Table* table, const QString& alias = {});
    // The statement that reads one row of `t` by key, made on first use.
    SqliteStatement& rowSelect(TableState& t);
    // Faults: records whose values and relationships are not in memory (no value block at all), marked by a flag
    // of their own next to ManagedObject's. Every access to a slot passes through ensureLoaded() or one()/many()
    // first, which read the row again.
    static constexpr quint32 kFault = 64;
    // A record's value block. In a large database it is allocated apart from the record, so that a fault gives it
    // back whole; otherwise it follows the record in the same allocation (kInlineValues), where a walk over
    // records finds it in the cache lines it has just read, and a fault lets only its texts and data go.
    static constexpr quint32 kInlineValues = 4096;
    static void allocateValues(ManagedObject* o);
    static void initValues(ManagedObject* o);
    static void freeValues(ManagedObject* o);
    // The row under `st` (read with load()'s columns) fills the record `x`, a fault, as a record read for the
    // first time: links as keys, relationships held by other rows read when used; its texts shared through
    // `texts` when `share` (a whole file read back).
    void refill(TableState& t, ManagedObject* x, SqliteStatement& st, bool share = false);
    // Reading the rows of faults that follow `o` in key order along with its own (a list of them being walked).
    void fireWithNeighbours(TableState& t, ManagedObject* o);

    // The records whose values came into memory (read, read again, or new and saved), each once (kListed): what a
    // release of everything in memory walks instead of the whole identity map. Faults leave it when it is next
    // walked, freed records when they are freed (kDying marks them for that).
    static constexpr quint32 kListed = 1024;
    static constexpr quint32 kDying = 2048;
    std::vector<ManagedObject*> inMemory;
    // Set once the whole file was read at once: every record of the identity maps counts as listed, and the list is
    // not kept (a pointer for each of a million records, which the maps hold already). The first walk of the list
    // that finds most of them given back lists the others and ends it.
    bool listedAll = false;
    void noteInMemory(ManagedObject* o)
    {
        if (!listedAll && !(o->m_flags & kListed)) {
            o->m_flags |= kListed;
            inMemory.push_back(o);
        }
    }
    static void forEachLoaded(const ObjectContext& context, const std::function<bool(ManagedObject*)>& fn);

    // Large databases (more rows than ReleasingWalk::largeDatabaseRows() when opened) are never read whole: walks
    // read their tables in key order a block at a time, and inside a ReleasingWalk what they read is given back.
    bool large = false;
    std::vector<size_t> walkMarks; // where in walkRead each open ReleasingWalk began
    std::vector<ManagedObject*> walkRead; // records read while a ReleasingWalk is open, in the order read
    void noteRead(ManagedObject* o)
    {
        if (large && !walkMarks.empty())
            walkRead.push_back(o);
    }
    // Turns the records read since walkRead[from] back into faults where it may, and forgets them.
    void releaseSince(size_t from);
    // A walk of a large database reads inside one read transaction: each statement outside one would take and
    // drop the file's lock and look for a journal, which costs more than the read itself. A save ends it first.
    bool readHeld = false;
    int bursts = 0; // open ReadBursts, which hold the read transaction as a walk of a large database does
    void holdRead();
    void endHeldRead();
    static void beginBurst(const ObjectContext& context);
    static void endBurst(const ObjectContext& context);
    bool streamTable(TableState& t, const EntityDescription* e, const std::function<bool(ManagedObject*)>& fn);
    bool releasable(const ManagedObject* o);
    static void beginWalk(const ObjectContext& context);
    static void walkReleasePoint(const ObjectContext& context);
    static void endWalk(const ObjectContext& context);
    static bool givesBack(const ObjectContext& context);
    static bool isFault(const ManagedObject* o) { return (o->m_flags & kFault) != 0; }
    static void ensureLoaded(const ManagedObject* o)
    {
        if (isFault(o))
            o->m_context->d->fire(const_cast<ManagedObject*>(o));
    }
    void fire(ManagedObject* o);
    void fireAllFaults();
    // keepRelationships: the record keeps its value block and its relationships even where a fault would give them
    // back (a large database), and lets only its stored values go.
    static bool refresh(ManagedObject* o, bool keepRelationships = false);
    static qint64 faultsOf(const ObjectContext& context);
    static void forEachRegistered(const ObjectContext& context, const std::function<bool(ManagedObject*)>& fn);
    static void forEachRegisteredOf(
        const ObjectContext& context, const EntityDescription* e, const std::function<bool(ManagedObject*)>& fn);
    static qint64 readStatementsOf(const ObjectContext& context);

    // Values
    static QVariant read(const ManagedObject* o, const PropertyDescription* p);
    static bool sameValue(const ManagedObject* o, const PropertyDescription* p, const QVariant& v);
    static void assign(ManagedObject* o, const PropertyDescription* p, const QVariant& v);
    static EntityMap::Default defaultFor(const PropertyDescription* p);
    static void assignDefault(ManagedObject* o, const EntityMap::Default& value);
    template <class T> void shareWritten(SharedValues<T>& values, const PropertyDescription* p, T& value);
    void resetSharing();
    static void assignText(ManagedObject* o, const PropertyDescription* p, Private* d, QString text);
    static void assignData(ManagedObject* o, const PropertyDescription* p, Private* d, QByteArray data);
    static void assignNumber(ManagedObject* o, const PropertyDescription* p, NumberSlot n);
    void loadLazy(ManagedObject* o, const PropertyDescription* p);
    void loadAllLazy(ManagedObject* o);
    void writeAttribute(ManagedObject* o, const PropertyDescription* p, const QVariant& v);
    // The typed setters' write of a value of the slot's own kind: the same steps as writeAttribute() without a
    // QVariant made, converted and compared for every value (a QVariant is made only for an undo record).
    static bool sameText(const ManagedObject* o, const PropertyDescription* p, const QString& v);
    static bool sameNumber(const ManagedObject* o, const PropertyDescription* p, NumberSlot n);
    static bool sameData(const ManagedObject* o, const PropertyDescription* p, const QByteArray& v);
    void writeText(ManagedObject* o, const PropertyDescription* p, const QString& v);
    void writeNumber(ManagedObject* o, const PropertyDescription* p, NumberSlot n);
    void writeData(ManagedObject* o, const PropertyDescription* p, const QByteArray& v);
    template <class Same, class Assign>
    void writeWith(ManagedObject* o, const PropertyDescription* p, Same&& same, Assign&& assign);

    // Relationships
    void setToOne(ManagedObject* a, const PropertyDescription* rel, ManagedObject* b, Notify mode);
    void addToMany(ManagedObject* a, const PropertyDescription* rel, ManagedObject* b, Notify mode);
    void removeToMany(ManagedObject* a, const PropertyDescription* rel, ManagedObject* b, Notify mode);
    void unlinkAll(ManagedObject* o, bool cascade);
    void rawLink(const PropertyDescription* rel, ManagedObject* a, ManagedObject* b);
    void rawUnlink(const PropertyDescription* rel, ManagedObject* a, ManagedObject* b);
    void linkSide(ManagedObject* x, const PropertyDescription* p, ManagedObject* y, bool add);
    void touchJoin(const PropertyDescription* rel, ManagedObject* a, ManagedObject* b, int delta);
    bool canLink(const ManagedObject* a, const PropertyDescription* rel, const ManagedObject* b) const;
    static bool linked(const ManagedObject* a, const PropertyDescription* rel, const ManagedObject* b);

    // Change tracking and undo
    void markChanged(ManagedObject* o);
    void markDeleted(ManagedObject* o);
    bool recording() const { return undo && changeDepth > 0 && undo->isRecording(); }
    void record(UndoOperation op);
    // Whether the open undo group inserted the record: the values it is given there need no undo, since undoing
    // the group takes the whole record out and redoing it puts it back with those values (UndoManager.cpp).
    bool insertedInOpenUndoGroup(const ManagedObject* o) const;
    void replay(const UndoOperation& op);
    void removeForUndo(ManagedObject* o);
    void reinsert(ManagedObject* o);
    void purgeGraveyard();

    // Observers
    ObserverToken observe(const void* root, const QString& keyPath, const void* owner, ObserverFunction fn);
    void notify(const void* object, const Key& key);
    void rewire(ObserverToken token, size_t from);
    std::vector<const void*> targetsOf(const void* object, const Key& key) const;
    void forgetObserved(ManagedObject* o);

    // Folded columns (ObjectContext_Fetch.cpp). Kept by every save while the store's metadata carries their
    // version; a writable open makes them in a store that lacks them.
    static Private* of(const ObjectContext& context) { return context.d.get(); }
    bool foldedReady() const;
    // Whether the file has every folded column and words table (another program may have taken one away).
    bool foldedColumnsPresent();
    bool makeFoldedColumns(QString* message);
    // The folded text of a column of the record as UTF-8, appended to `utf8`; false when the text is null.
    static bool appendFoldedValue(const ManagedObject* o, const EntityMap& m, int column, QByteArray& utf8);
    // The folded texts of a column with words as a save binds them, each right after the first word's mark: the
    // words are made from them, not from a second fold.
    struct WordTexts {
        struct Text {
            qint64 key;
            qsizetype begin, end;
        };
        QByteArray utf8;
        std::vector<Text> rows;
    };
    // The words of a record the save changes or deletes, taken out before its row changes (found by the text the
    // file holds); those of the texts the save bound, by folded column of the table, written after the rows. A text
    // in `bound` (its last row, of this record) that folds as the stored one does keeps its words: it leaves
    // `bound`, and nothing is taken out.
    bool removeWords(ManagedObject* o, TableState& t, std::vector<WordTexts>* bound = nullptr);
    bool writeWords(const TableState& t, std::vector<WordTexts>& texts);

    static ManagedObject*& one(const ManagedObject* o, const PropertyDescription* p)
    {
        prepareLink(o, p);
        return rawOne(o, p);
    }
    static ObjectSet& many(const ManagedObject* o, const PropertyDescription* p)
    {
        prepareLink(o, p);
        return rawMany(o, p);
    }
    // The slots as they are, for the loading code itself.
    static ManagedObject*& rawOne(const ManagedObject* o, const PropertyDescription* p)
    {
        return *reinterpret_cast<ManagedObject**>(o->m_values + p->slotOffset);
    }
    static ObjectSet& rawMany(const ManagedObject* o, const PropertyDescription* p)
    {
        return *reinterpret_cast<ObjectSet*>(o->m_values + p->slotOffset);
    }
    // Whether the record's relationship `p` is in memory as far as the rows that hold it go (one with a key column of
    // its own always is).
    bool linkLoaded(const ManagedObject* o, const PropertyDescription* p)
    {
        if (!(o->m_flags & kLinksPending))
            return true;
        const EntityMap& m = mapOf(o);
        const int bit = size_t(p->index) < m.linkBitOf.size() ? m.linkBitOf[size_t(p->index)] : -1;
        return bit < 0 || !(o->m_pendingLinks & (quint32(1) << bit));
    }
    // Whether the record's relationship `p` held by other rows is in memory: once everything is, all of them are,
    // whatever a record's flags still say.
    bool linksIn(const ManagedObject* o, const PropertyDescription* p) { return everything || linkLoaded(o, p); }
    // A record read from its row: none of its relationships held by other rows is in memory yet.
    void markLinksPending(ManagedObject* o)
    {
        o->m_pendingLinks = mapOf(o).linkBits;
        if (o->m_pendingLinks)
            o->m_flags |= kLinksPending;
        else
            o->m_flags &= ~kLinksPending;
    }
    static void clearLinksPending(ManagedObject* o)
    {
        o->m_pendingLinks = 0;
        o->m_flags &= ~kLinksPending;
    }
    static void clearLinkPending(ManagedObject* o, int bit)
    {
        o->m_pendingLinks &= ~(quint32(1) << bit);
        if (!o->m_pendingLinks)
            o->m_flags &= ~kLinksPending;
    }

    TableState& tableOf(const ManagedObject* o) { return tables[size_t(o->entity()->tableIndex())]; }
    const EntityMap& mapOf(const ManagedObject* o);
};
