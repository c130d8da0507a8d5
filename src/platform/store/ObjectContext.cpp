#include "platform/store/ObjectContextPrivate.h"
#include "platform/store/ReleasingWalk.h"

#include "platform/FTLog.h"
#include "platform/store/Faults.h"

#include <QCborValue>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QSet>
#include <QUuid>

#include <sqlite3.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <set>

namespace {
const QString kMetadataTable = QStringLiteral("_metadata");
const QString kUUIDKey = QStringLiteral("StoreUUID");
const QString kScheme = QStringLiteral("x-kinloom://");

QByteArray encodeMetadataValue(const QVariant& v)
{
    return QCborValue::fromVariant(v).toCbor();
}
QVariant decodeMetadataValue(const QByteArray& b)
{
    return QCborValue::fromCbor(b).toVariant();
}

void applyPragmas(SqliteDatabase& db, int busyTimeout)
{
    sqlite3_busy_timeout(db.handle(), busyTimeout);
    db.exec(QStringLiteral("PRAGMA foreign_keys=ON"));
    db.exec(QStringLiteral("PRAGMA synchronous=FULL"));
    // Some builds of SQLite zero every page a save frees, and journal it first: removing the stored thumbnails of
    // ten thousand pictures then writes hundreds of megabytes. Deleted content is still overwritten wherever that
    // costs no extra writing.
    db.exec(QStringLiteral("PRAGMA secure_delete=FAST"));
}

// The stores this process has open, by file identity (device, inode): the lock file is named after a path, and
// a second name of the same file (a hard link) would find a lock file of its own.
std::set<std::pair<quint64, quint64>>& openStores()
{
    static std::set<std::pair<quint64, quint64>> stores;
    return stores;
}
QMutex& openStoresMutex()
{
    static QMutex m;
    return m;
}

std::optional<std::pair<quint64, quint64>> fileIdentity(const QString& path)
{
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return std::nullopt;
    return std::make_pair(quint64(st.st_dev), quint64(st.st_ino));
}

// Named after the real file, so that every symbolic link to it finds the same lock.
QString lockPathFor(const QFileInfo& info)
{
    QString real = info.exists() ? info.canonicalFilePath() : QString();
    if (real.isEmpty()) {
        const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
        real = (folder.isEmpty() ? info.absolutePath() : folder) + QLatin1Char('/') + info.fileName();
    }
    const QFileInfo r(real);
    return r.absolutePath() + QStringLiteral("/.") + r.fileName() + QStringLiteral(".lock");
}

QString inUseMessage(const QString& shown)
{
    return QStringLiteral("The Kinloom database \"%1\" is already open in another Kinloom window or program. Only "
                          "one of them may change it at a time: close it there, then try again.")
        .arg(shown);
}

QString busyMessage(const QString& shown)
{
    return QStringLiteral("The Kinloom database \"%1\" is in use by another program. Please try again in a moment.")
        .arg(shown);
}

// fsync of a file or folder.
bool syncToDisk(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

// A connection that only reads the store at `path`. A store in WAL mode (another tool may leave one so) is read
// through side files that a read-only folder cannot hold and that a reader elsewhere would leave behind: with none
// of its changes waiting in its log, the file alone holds everything and is read as it stands, without them (a
// program that starts writing it in WAL mode meanwhile is not waited for).
bool openToRead(SqliteDatabase& db, const QString& path, QString* message)
{
    QFile file(path);
    QByteArray header;
    if (file.open(QIODevice::ReadOnly))
        header = file.read(20);
    const bool walMode = header.size() == 20 && header[18] == 2 && header[19] == 2;
    const QFileInfo log(path + QStringLiteral("-wal"));
    const bool unchanging = walMode && (!log.exists() || log.size() == 0);
    return db.open(path, unchanging ? SqliteDatabase::Mode::Unchanging : SqliteDatabase::Mode::ReadOnly, message);
}

ObjectContext::ErrorCode busyOr(int rc, ObjectContext::ErrorCode otherwise)
{
    return rc == SQLITE_BUSY || rc == SQLITE_LOCKED ? ObjectContext::ErrorCode::Locked : otherwise;
}
}

ObjectContext::Private::Private(ObjectContext* q, const StoreSchema& schema)
    : q(q)
    , schema(schema)
    , thread(QThread::currentThread())
{
}

ObjectContext::ObjectContext(const StoreSchema& schema)
    : d(std::make_unique<Private>(this, schema))
{
    if (!schema.isFinalized())
        const_cast<StoreSchema&>(schema).finalize();
    d->undo = std::make_unique<UndoManager>();
    d->undo->attach(this);
}

ObjectContext::~ObjectContext()
{
    d->observations.clear();
    d->watchers.clear();
    d->undo.reset();
    d->clearObjects();
    closeStore();
}

bool ObjectContext::Private::claimFile(const QString& shown, QString* out)
{
    lock = std::make_unique<QLockFile>(lockPathFor(QFileInfo(path)));
    // Only a lock whose process is gone is stale; a live holder keeps it however long it has had it.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0))
        return true;
    // A lock of this process that no context here holds is one its folder kept from being removed (it was made
    // read-only while the store was open): stale like that of a process that is gone.
    qint64 pid = 0;
    QString host, application;
    if (lock->error() == QLockFile::LockFailedError && lock->getLockInfo(&pid, &host, &application)
        && pid == QCoreApplication::applicationPid()) {
        const auto id = fileIdentity(path);
        QMutexLocker locker(&openStoresMutex());
        if (id && !openStores().count(*id) && lock->removeStaleLockFile() && lock->tryLock(0))
            return true;
    }
    const QLockFile::LockError why = lock->error();
    lock.reset();
    switch (why) {
    case QLockFile::LockFailedError:
        return fail(ErrorCode::InUse, inUseMessage(shown), out);
    case QLockFile::PermissionError:
        return fail(ErrorCode::ReadOnly,
            QStringLiteral("The Kinloom database \"%1\" cannot be changed where it is: its folder \"%2\" cannot be "
                           "written to. Copy it to a folder you may write to (or allow writing to this one), then "
                           "open it again.")
                .arg(shown, QDir::toNativeSeparators(QFileInfo(path).absolutePath())),
            out);
    default:
        return fail(ErrorCode::Io,
            QStringLiteral("Could not open \"%1\": no lock could be made beside it.").arg(shown), out);
    }
}

bool ObjectContext::Private::registerIdentity(const QString& shown, QString* out)
{
    identity = fileIdentity(path);
    if (!identity)
        return true; // opening the file fails with its own message
    {
        QMutexLocker locker(&openStoresMutex());
        if (!openStores().insert(*identity).second) {
            identity.reset();
            return fail(ErrorCode::InUse, inUseMessage(shown), out);
        }
    }
    // The lock file is named after one path, and another process may reach the same file by another name (a
    // hard link): the file itself is locked as well. The lock goes with the descriptor, so a process that dies
    // leaves none behind; the descriptor is never inherited by programs started from here.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return true; // opening the file fails with its own message
    struct stat st;
    const bool same = ::fstat(fd, &st) == 0 && quint64(st.st_dev) == identity->first
        && quint64(st.st_ino) == identity->second;
    int rc;
    do
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    while (rc != 0 && errno == EINTR);
    if (rc != 0 && errno == EWOULDBLOCK) {
        ::close(fd);
        QMutexLocker locker(&openStoresMutex());
        openStores().erase(*identity);
        identity.reset();
        return fail(ErrorCode::InUse, inUseMessage(shown), out);
    }
    // A file system without such locks (ENOLCK) keeps the other two guards; a file replaced meanwhile is not the
    // one to hold.
    if (rc != 0 || !same) {
        ::close(fd);
        return true;
    }
    fileLock = fd;
    return true;
}

void ObjectContext::Private::releaseFile()
{
    if (fileLock >= 0) {
        ::close(fileLock);
        fileLock = -1;
    }
    if (identity) {
        QMutexLocker locker(&openStoresMutex());
        openStores().erase(*identity);
        identity.reset();
    }
    if (lock) {
        lock->unlock();
        lock.reset();
    }
}

bool ObjectContext::Private::fail(ErrorCode code, const QString& message, QString* out)
{
    errorCode = code;
    error = message;
    if (out)
        *out = message;
    return false;
}

ObjectContext::ErrorCode ObjectContext::Private::codeForSqlite(int rc) const
{
    switch (rc & 0xff) {
    case SQLITE_READONLY:
    case SQLITE_PERM:
        return ErrorCode::ReadOnly;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return ErrorCode::Locked;
    case SQLITE_FULL:
        return ErrorCode::DiskFull;
    case SQLITE_IOERR:
    case SQLITE_CANTOPEN:
        return ErrorCode::Io;
    case SQLITE_CORRUPT:
        return ErrorCode::Damaged;
    case SQLITE_NOTADB:
        return ErrorCode::NotAStore;
    default:
        return ErrorCode::Other;
    }
}

bool ObjectContext::open(const QString& path, OpenMode mode, QString* error)
{
    if (isOpen())
        return d->fail(ErrorCode::Other, QStringLiteral("A store is already open in this context."), error);
    d->errorCode = ErrorCode::None;
    d->error.clear();
    d->readOnly = false;
    if (d->closed)
        closeStore();
    // Only read: no writer's lock (a reader keeps no one else from changing the file), nothing made or converted.
    const bool reading = mode == OpenMode::ReadOnly;
    const QFileInfo info(path);
    const QString shown = QDir::toNativeSeparators(info.absoluteFilePath());
    if (!info.exists() && mode != OpenMode::CreateIfMissing)
        return d->fail(ErrorCode::FileNotFound, QStringLiteral("The file \"%1\" does not exist.").arg(shown), error);
    if (info.exists() && !info.isFile())
        return d->fail(ErrorCode::NotAStore, QStringLiteral("\"%1\" is not a file.").arg(shown), error);

    d->path = info.absoluteFilePath();
    if (!reading && !d->claimFile(shown, error)) {
        d->path.clear();
        return false;
    }
    const auto refuse = [&](ErrorCode code, const QString& text) {
        d->clearObjects();
        d->db.close();
        d->releaseFile();
        d->path.clear();
        return d->fail(code, text, error);
    };
    d->prepareTables();
    QString message;
    if (!info.exists()) {
        // Made here or not at all: a file that another program has made meanwhile is not this store's to fill,
        // and only the file made here is removed again when the store cannot be made in it.
        QFile made(d->path);
        if (!made.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return refuse(made.exists() ? ErrorCode::Other : ErrorCode::Io,
                QStringLiteral("Could not create \"%1\": %2")
                    .arg(shown, made.exists() ? QStringLiteral("a file of that name has just been made") : made.errorString()));
        made.close();
        if (!d->registerIdentity(shown, error) || !d->createStore(&message)) {
            const bool registered = d->identity.has_value();
            d->db.close();
            QFile::remove(d->path);
            if (!registered) {
                d->releaseFile();
                d->path.clear();
                return false;
            }
            return refuse(ErrorCode::Io, QStringLiteral("Could not create \"%1\": %2").arg(shown, message));
        }
        return true;
    }

    if (!reading && !d->registerIdentity(shown, error)) {
        d->releaseFile();
        d->path.clear();
        return false;
    }
    if (mode == OpenMode::ExistingOrEmpty && info.size() == 0) {
        if (!d->createStore(&message))
            return refuse(busyOr(d->db.lastErrorCode(), ErrorCode::Io),
                QStringLiteral("Could not create \"%1\": %2").arg(shown, message));
        return true;
    }
    if (!(reading ? openToRead(d->db, d->path, &message) : d->db.open(d->path, SqliteDatabase::Mode::ReadWrite, &message)))
        return refuse(ErrorCode::Io, QStringLiteral("Could not open \"%1\": %2").arg(shown, message));
    // Before the first read: a file that another program is writing is waited for, not taken for a damaged one.
    sqlite3_busy_timeout(d->db.handle(), d->busyTimeout);
    // One read transaction over the whole load, so that every table is read as of one moment.
    ErrorCode code = ErrorCode::None;
    bool ok = d->db.exec(QStringLiteral("BEGIN"), &message) && d->checkStore(&message, &code) && d->openLazily(&message);
    if (ok)
        ok = d->db.exec(QStringLiteral("COMMIT"), &message);
    if (!ok) {
        const int rc = d->db.lastErrorCode();
        if (code == ErrorCode::None)
            code = busyOr(rc, ErrorCode::Damaged);
        if (d->db.inTransaction())
            d->db.exec(QStringLiteral("ROLLBACK"));
        // A reader cannot finish what a writer left beside the file: the rollback journal of a save that was cut
        // off, or changes of a WAL store whose shared index cannot be made in a read-only folder.
        const QFileInfo wal(d->path + QStringLiteral("-wal"));
        const QString sideFile = wal.exists() && wal.size() > 0 ? wal.filePath() : d->path + QStringLiteral("-journal");
        QString text;
        if (reading && (rc == SQLITE_READONLY || rc == SQLITE_CANTOPEN) && QFileInfo::exists(sideFile)) {
            code = ErrorCode::ReadOnly;
            // Opening it for changes is refused where the folder cannot be written, so that is not the way out.
            text = QStringLiteral("The Kinloom database \"%1\" cannot be read without changing it: its last changes "
                                  "are still in \"%2\" beside it, which only a program that may change the file can "
                                  "finish. Copy the database together with \"%3\" to a folder you can write to, or "
                                  "open it where it can be changed, then try again.")
                       .arg(shown, QDir::toNativeSeparators(sideFile), QFileInfo(sideFile).fileName());
        } else if (code == ErrorCode::NotAStore)
            text = QStringLiteral("\"%1\" is not a Kinloom database (%2).").arg(shown, message);
        else if (code == ErrorCode::Locked)
            text = busyMessage(shown);
        else
            text = QStringLiteral("The Kinloom database \"%1\" is damaged and cannot be opened (%2).").arg(shown, message);
        return refuse(code, text);
    }
    if (reading) {
        // A guard against any write through this connection, whatever asks for it.
        d->db.exec(QStringLiteral("PRAGMA query_only=ON"));
        d->readOnly = true;
        return true;
    }
    applyPragmas(d->db, d->busyTimeout);
    // A store written in WAL mode by another tool goes back to one file at its next write.
    if (d->db.queryText(QStringLiteral("PRAGMA journal_mode")).compare("delete", Qt::CaseInsensitive) != 0)
        d->db.exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
    // A store made before the folded columns gets them now; should that fail, fetches read the records instead.
    if (!d->foldedReady() || !d->foldedColumnsPresent())
        d->makeFoldedColumns(&message);
    return true;
}

bool ObjectContext::isOpen() const
{
    return d->db.isOpen() && !d->closed;
}

bool ObjectContext::isReadOnly() const
{
    return d->readOnly;
}

void ObjectContext::closeStore()
{
    d->endHeldRead();
    if (d->closed) {
        d->db.close();
        d->closed = false;
        return;
    }
    // Records stay readable after the file is closed. Those not in memory yet are read later through a connection
    // that only reads: it takes no writer's lock and holds none between reads, so the file is free at once, and
    // closing a large database does not read all of it first. Only when no such connection can be had does what
    // is still in the file come into memory now.
    SqliteDatabase reader;
    bool keepReader = false;
    if (d->db.isOpen() && (!d->everything || d->faults > 0)) {
        QString message;
        keepReader = openToRead(reader, d->path, &message);
        if (!keepReader) {
            FTLog(QStringLiteral("Store: \"%1\" cannot be read once closed (%2): reading it whole first")
                      .arg(d->path, message));
            if (!d->loadEverything(&message))
                FTLog(QStringLiteral("Store: could not read the whole store before closing it: ") + message);
            d->fireAllFaults();
        }
    }
    for (Private::TableState& t : d->tables) {
        t.insert.reset();
        t.insertBlock.reset();
        t.remove.reset();
        t.updates.clear();
        t.lazySelects.clear();
        t.selectRow.reset();
        t.words.clear();
        t.selectByColumn.clear();
        t.selectBatch.reset();
        t.selectAfter.reset();
    }
    for (Private::JoinState& j : d->joins) {
        for (int one = 0; one < 2; ++one) {
            j.fromSource[one].reset();
            j.fromDestination[one].reset();
        }
    }
    d->db.close();
    d->releaseFile();
    if (keepReader) {
        d->db.swap(reader);
        d->closed = true;
    }
}
const StoreSchema& ObjectContext::schema() const
{
    return d->schema;
}
QString ObjectContext::path() const
{
    return d->path;
}
QString ObjectContext::storeUUID() const
{
    return d->uuid;
}
ObjectContext::ErrorCode ObjectContext::lastErrorCode() const
{
    return d->errorCode;
}
QString ObjectContext::lastError() const
{
    return d->error;
}

void ObjectContext::setBusyTimeout(int milliseconds)
{
    d->busyTimeout = milliseconds;
    if (d->db.isOpen())
        sqlite3_busy_timeout(d->db.handle(), milliseconds);
}

void ObjectContext::setBulkWriting(bool on)
{
    if (!d->db.isOpen() || d->readOnly || d->bulkWriting == on)
        return;
    d->bulkWriting = on;
    // The context keeps both sides of every link itself, so the file's own check of each new row's keys (a
    // lookup in the target table per link) only repeats it; it stays on for every save of a file the user has.
    // The pragma is ignored inside a transaction, and none is open between saves.
    if (on) {
        d->db.exec(QStringLiteral("PRAGMA journal_mode=OFF"));
        d->db.exec(QStringLiteral("PRAGMA synchronous=OFF"));
        d->db.exec(QStringLiteral("PRAGMA cache_size=-16384"));
        d->db.exec(QStringLiteral("PRAGMA foreign_keys=OFF"));
    } else {
        d->resetSharing();
        d->db.exec(QStringLiteral("PRAGMA foreign_keys=ON"));
        d->db.exec(QStringLiteral("PRAGMA cache_size=-2000"));
        d->db.exec(QStringLiteral("PRAGMA synchronous=FULL"));
        d->db.exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
    }
}

bool ObjectContext::isBulkWriting() const
{
    return d->bulkWriting;
}

void ObjectContext::Private::prepareTables()
{
    tables.clear();
    joins.clear();
    tables.resize(schema.tables().size());
    for (size_t i = 0; i < tables.size(); ++i) {
        TableState& t = tables[i];
        t.table = &schema.tables()[i];
        for (const EntityDescription* e : schema.entities()) {
            if (e->root() != t.table->root)
                continue;
            EntityMap m;
            m.entity = e;
            m.nameUtf8 = e->name().toUtf8();
            m.byColumn.assign(t.table->columns.size(), nullptr);
            for (const PropertyDescription* p : e->properties()) {
                if (p->column >= 0) {
                    m.byColumn[size_t(p->column)] = p;
                    m.columns |= quint64(1) << p->column;
                }
                if (p->isAttribute() && p->defaultValue.isValid())
                    m.defaults.push_back(defaultFor(p));
                m.lazy = m.lazy || p->lazy;
                m.memoryOnly = m.memoryOnly || (p->isAttribute() && p->transient);
            }
            for (size_t c = 0; c < m.byColumn.size(); ++c)
                if (const PropertyDescription* p = m.byColumn[c])
                    m.binds.push_back({ 2 + int(c), p->slot, p->type == AttributeType::Double, p->slotOffset, p->bit });
            t.entities.push_back(std::move(m));
        }
        t.sharing.assign(t.table->columns.size(), ColumnSharing());
    }
    joins.resize(schema.joinTables().size());
    for (size_t i = 0; i < joins.size(); ++i)
        joins[i].join = &schema.joinTables()[i];
    prepareLinkColumns();
}

const ObjectContext::Private::EntityMap& ObjectContext::Private::mapOf(const ManagedObject* o)
{
    for (const EntityMap& m : tableOf(o).entities)
        if (m.entity == o->entity())
            return m;
    Q_UNREACHABLE();
}

bool ObjectContext::Private::createStore(QString* message)
{
    if (!db.open(path, SqliteDatabase::Mode::ReadWriteCreate, message))
        return false;
    applyPragmas(db, busyTimeout);
    db.exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
    if (!db.exec(QStringLiteral("BEGIN IMMEDIATE"), message))
        return false;
    // Only an empty file becomes a store: one that somebody wrote into since it was found empty is left alone.
    QString error;
    const QString objects = db.queryText(QStringLiteral("SELECT count(*) FROM sqlite_master"), &error);
    if (!error.isEmpty() || objects != QLatin1String("0")) {
        *message = error.isEmpty() ? QStringLiteral("the file is not empty any more") : error;
        db.exec(QStringLiteral("ROLLBACK"));
        return false;
    }
    QStringList ddl = schema.createStatements();
    ddl << QStringLiteral("CREATE TABLE %1 (\"key\" TEXT PRIMARY KEY, \"value\" BLOB)")
               .arg(StoreSchema::quoted(kMetadataTable));
    for (const QString& sql : ddl) {
        if (!db.exec(sql, message)) {
            db.exec(QStringLiteral("ROLLBACK"));
            return false;
        }
    }
    uuid = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
    metadata.clear();
    metadata.insert(kUUIDKey, uuid);
    SqliteStatement st(
        db.handle(), QStringLiteral("INSERT INTO %1 VALUES (?, ?)").arg(StoreSchema::quoted(kMetadataTable)));
    st.bindText(1, kUUIDKey);
    st.bindBlob(2, encodeMetadataValue(uuid));
    bool stored = st.execute();
    // Made with its folded columns (createStatements()).
    const bool anyFolded = std::any_of(
        schema.tables().begin(), schema.tables().end(), [](const StoreSchema::Table& t) { return !t.folded.empty(); });
    if (stored && anyFolded) {
        metadata.insert(StoreSchema::kFoldedColumnsKey, StoreSchema::kFoldedColumnsVersion);
        st.bindText(1, StoreSchema::kFoldedColumnsKey);
        st.bindBlob(2, encodeMetadataValue(StoreSchema::kFoldedColumnsVersion));
        stored = st.execute();
    }
    if (!stored || !db.exec(QStringLiteral("COMMIT"), message)) {
        if (message->isEmpty())
            *message = db.lastError();
        db.exec(QStringLiteral("ROLLBACK"));
        return false;
    }
    metadataDirty = false;
    everything = true;
    return true;
}

bool ObjectContext::Private::checkStore(QString* message, ErrorCode* code)
{
    // Reading the schema is the first read of the file: a file that is not SQLite fails here.
    SqliteStatement tablesQuery(db.handle(), QStringLiteral("SELECT name FROM sqlite_master WHERE type='table'"));
    QSet<QString> present;
    while (tablesQuery.next())
        present.insert(tablesQuery.columnText(0));
    if (!tablesQuery.ok()) {
        *code = codeForSqlite(db.lastErrorCode());
        if (*code == ErrorCode::Other || *code == ErrorCode::Io)
            *code = ErrorCode::NotAStore;
        *message = db.lastError();
        return false;
    }
    if (!present.contains(kMetadataTable)) {
        *code = ErrorCode::NotAStore;
        *message = QStringLiteral("it has no store metadata");
        return false;
    }
    auto columnsOf = [&](const QString& table) {
        QSet<QString> cols;
        SqliteStatement st(db.handle(), QStringLiteral("PRAGMA table_info(%1)").arg(StoreSchema::quoted(table)));
        while (st.next())
            cols.insert(st.columnText(1));
        return cols;
    };
    for (const StoreSchema::Table& t : schema.tables()) {
        if (!present.contains(t.name)) {
            *message = QStringLiteral("the table of %1 is missing").arg(t.name);
            return false;
        }
        const QSet<QString> cols = columnsOf(t.name);
        for (const QString& needed : QStringList { "_pk", "_entity" })
            if (!cols.contains(needed)) {
                *message = QStringLiteral("column %1 of %2 is missing").arg(needed, t.name);
                return false;
            }
        for (const StoreSchema::Column& c : t.columns)
            if (!cols.contains(c.name)) {
                *message = QStringLiteral("column %1 of %2 is missing").arg(c.name, t.name);
                return false;
            }
    }
    for (const StoreSchema::JoinTable& j : schema.joinTables())
        if (!present.contains(j.name)) {
            *message = QStringLiteral("the table %1 is missing").arg(j.name);
            return false;
        }

    metadata.clear();
    SqliteStatement meta(
        db.handle(), QStringLiteral("SELECT key, value FROM %1").arg(StoreSchema::quoted(kMetadataTable)));
    while (meta.next())
        metadata.insert(meta.columnText(0), decodeMetadataValue(meta.columnBlob(1)));
    if (!meta.ok()) {
        *message = db.lastError();
        return false;
    }
    uuid = metadata.value(kUUIDKey).toString();
    if (uuid.isEmpty()) {
        // A store that lost its identity gets a new one with the next save.
        uuid = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
        metadata.insert(kUUIDKey, uuid);
        metadataDirty = true;
    }
    return true;
}

ManagedObject* ObjectContext::Private::make(const EntityDescription* e, qint64 pk)
{
    ManagedObject* o = nullptr;
    if (large) {
        o = e->makeObject(::operator new(size_t(e->objectSize())));
        o->m_entity = e;
        allocateValues(o);
    } else {
        const size_t head
            = (size_t(e->objectSize()) + alignof(std::max_align_t) - 1) & ~(alignof(std::max_align_t) - 1);
        void* memory = ::operator new(head + size_t(e->valueBlockSize()));
        o = e->makeObject(memory);
        o->m_entity = e;
        o->m_values = static_cast<std::byte*>(memory) + head;
        o->m_flags |= kInlineValues;
        initValues(o);
    }
    o->m_context = q;
    o->m_pk = pk;
    TableState& t = tables[size_t(e->tableIndex())];
    if (t.byPk.size() <= size_t(pk))
        t.byPk.resize(std::max(size_t(pk) + 1, t.byPk.size() * 3 / 2), nullptr);
    t.byPk[size_t(pk)] = o;
    return o;
}

static_assert(sizeof(ManagedObject*) == sizeof(qint64), "links are loaded as keys into their pointer slots");

void ObjectContext::Private::readRow(ManagedObject* o, const EntityMap& m, SqliteStatement& st, bool links, bool share)
{
    for (size_t c = 0; c < m.byColumn.size(); ++c) {
        const PropertyDescription* p = m.byColumn[c];
        if (!p)
            continue;
        const int col = int(c) + 2;
        const bool null = st.isNull(col);
        std::byte* at = o->m_values + p->slotOffset;
        switch (p->slot) {
        case PropertyDescription::Slot::Number:
            if (!null) {
                auto* n = reinterpret_cast<NumberSlot*>(at);
                if (p->type == AttributeType::Double)
                    n->d = st.columnDouble(col);
                else
                    n->i = st.columnInt(col);
                o->m_nilBits &= ~(quint64(1) << p->bit);
            }
            break;
        case PropertyDescription::Slot::String:
            if (!null) {
                QString text = st.columnText(col);
                if (share)
                    texts.share(text);
                *reinterpret_cast<QString*>(at) = std::move(text);
            }
            break;
        case PropertyDescription::Slot::Binary:
            if (p->lazy) {
                if (st.columnInt(col) != 0)
                    o->m_unloadedBits |= quint64(1) << p->bit;
            } else if (!null) {
                QByteArray data = st.columnBlob(col);
                if (share)
                    blobs.share(data);
                *reinterpret_cast<QByteArray*>(at) = std::move(data);
            }
            break;
        case PropertyDescription::Slot::Object:
            // The key of the target for now; resolveLinks() turns it into the object.
            if (links && !null) {
                const qint64 key = st.columnInt(col);
                std::memcpy(at, &key, sizeof key);
            }
            break;
        default:
            break;
        }
    }
}

void ObjectContext::Private::fire(ManagedObject* o)
{
    if (!isFault(o))
        return;
    TableState& t = tableOf(o);
    if (t.faults > 1 && db.isOpen()) {
        fireWithNeighbours(t, o);
        if (!isFault(o))
            return;
    }
    SqliteStatement& st = rowSelect(t);
    st.bindInt(1, o->primaryKey());
    ++readStatements;
    if (st.next()) {
        refill(t, o, st);
        st.reset();
        return;
    }
    const bool gone = st.ok();
    const QString why = gone ? QStringLiteral("it is no longer in the database") : st.error();
    st.reset();
    // The record stays in memory with nil values and no relationships, so that whoever holds it reads nothing
    // stale and nothing dangling.
    if (!o->m_values) {
        o->m_flags &= ~(kUnresolved | kFaultMembers);
        clearLinksPending(o);
        allocateValues(o);
    }
    o->m_flags &= ~kFault;
    --faults;
    --t.faults;
    if (gone) {
        // Nobody may write the file while we are its writer, but a repair or another program may have: the
        // record reads as a deleted one with nil values rather than as whatever its slots held.
        o->setFlag(ManagedObject::Persisted, false);
        o->setFlag(ManagedObject::Deleted, true);
        errorCode = ErrorCode::Damaged;
    } else {
        // The file could not be read (an I/O error): the values read as nil; the row keeps them, as only the
        // values a change writes go back to it.
        errorCode = codeForSqlite(db.lastErrorCode());
    }
    error = QStringLiteral("Could not read record %1 %2: %3").arg(o->entityName()).arg(o->primaryKey()).arg(why);
    FTLog(QStringLiteral("Store: ") + error);
}

void ObjectContext::Private::fireAllFaults()
{
    if (faults == 0)
        return;
    for (TableState& t : tables)
        for (ManagedObject* o : t.byPk)
            if (o && isFault(o))
                fire(o);
}

bool ObjectContext::Private::refresh(ManagedObject* o, bool keepRelationships)
{
    if (!o || !o->context()->isOpen())
        return false;
    Private* d = o->context()->d.get();
    if (!d->releasable(o))
        return false;
    if (isFault(o))
        return true;
    ++d->faults;
    ++d->tableOf(o).faults;
    if (keepRelationships || d->mapOf(o).memoryOnly || (o->m_flags & kInlineValues)) {
        // A block inside the record's allocation cannot go alone, and values that live in memory only have no row
        // to come back from: such a record keeps its block, its relationships and those values, and lets the
        // stored ones go. So does one its caller expects to be used again soon.
        for (const PropertyDescription* p : o->entity()->properties()) {
            if (!p->isAttribute() || p->column < 0)
                continue;
            std::byte* at = o->m_values + p->slotOffset;
            switch (p->slot) {
            case PropertyDescription::Slot::Number:
                reinterpret_cast<NumberSlot*>(at)->i = 0;
                o->m_nilBits |= quint64(1) << p->bit;
                break;
            case PropertyDescription::Slot::String:
                *reinterpret_cast<QString*>(at) = QString();
                break;
            case PropertyDescription::Slot::Binary:
                *reinterpret_cast<QByteArray*>(at) = QByteArray();
                o->m_unloadedBits &= ~(quint64(1) << p->bit);
                break;
            default:
                break;
            }
        }
        o->m_flags |= kFault;
        return true;
    }
    // The sets that hold it read it back together with the other faults among their members.
    for (const PropertyDescription* p : o->entity()->properties()) {
        if (!p->isRelationship() || !p->inverse || !p->inverse->isToMany())
            continue;
        if (p->isToOne()) {
            ManagedObject* holder = rawOne(o, p);
            if ((o->m_flags & kUnresolved) && p->column >= 0) {
                qint64 key = 0;
                std::memcpy(&key, &holder, sizeof key);
                const TableState& t = d->tables[size_t(p->target->tableIndex())];
                holder = key > 0 && size_t(key) < t.byPk.size() ? t.byPk[size_t(key)] : nullptr;
            }
            if (holder)
                holder->m_flags |= kFaultMembers;
        } else if (d->linksIn(o, p)) {
            for (ManagedObject* holder : rawMany(o, p))
                holder->m_flags |= kFaultMembers;
        }
    }
    freeValues(o);
    o->m_flags = (o->m_flags & ~(kUnresolved | kFaultMembers)) | kFault;
    d->markLinksPending(o);
    o->m_dirtyColumns = 0;
    // Its relationships went with its values: from now on a record's flag says whether they are in memory.
    d->everything = false;
    return true;
}

qint64 ObjectContext::Private::faultsOf(const ObjectContext& context)
{
    return context.d->faults;
}

bool StoreFaults::refreshObject(ManagedObject* object)
{
    return ObjectContext::Private::refresh(object);
}

bool StoreFaults::refreshKeepingRelationships(ManagedObject* object)
{
    return ObjectContext::Private::refresh(object, true);
}

bool StoreFaults::isFault(const ManagedObject* object)
{
    return object && ObjectContext::Private::isFault(object);
}

qint64 StoreFaults::faultCount(const ObjectContext& context)
{
    return ObjectContext::Private::faultsOf(context);
}

void StoreFaults::forEachRegisteredObject(const ObjectContext& context, const std::function<bool(ManagedObject*)>& fn)
{
    ObjectContext::Private::forEachRegistered(context, fn);
}

void StoreFaults::forEachRegisteredObject(
    const ObjectContext& context, const QString& entityName, const std::function<bool(ManagedObject*)>& fn)
{
    if (const EntityDescription* e = context.schema().entityNamed(entityName))
        ObjectContext::Private::forEachRegisteredOf(context, e, fn);
}

void ObjectContext::Private::forEachRegisteredOf(
    const ObjectContext& context, const EntityDescription* e, const std::function<bool(ManagedObject*)>& fn)
{
    const std::vector<ManagedObject*>& byPk = context.d->tables[size_t(e->tableIndex())].byPk;
    for (size_t i = 0; i < byPk.size(); ++i)
        if (ManagedObject* o = byPk[i]; o && o->entity()->isKindOf(e) && !fn(o))
            return;
}

void StoreFaults::forEachLoadedObject(const ObjectContext& context, const std::function<bool(ManagedObject*)>& fn)
{
    ObjectContext::Private::forEachLoaded(context, fn);
}

qint64 StoreFaults::registeredObjectCount(const ObjectContext& context)
{
    qint64 n = 0;
    ObjectContext::Private::forEachRegistered(context, [&n](ManagedObject*) {
        ++n;
        return true;
    });
    return n;
}

qint64 StoreFaults::readStatementCount(const ObjectContext& context)
{
    return ObjectContext::Private::readStatementsOf(context);
}

void ObjectContext::Private::forEachRegistered(const ObjectContext& context, const std::function<bool(ManagedObject*)>& fn)
{
    // By index: fn may turn records into faults, and a fault read again may make others.
    for (const TableState& t : context.d->tables)
        for (size_t i = 0; i < t.byPk.size(); ++i)
            if (ManagedObject* o = t.byPk[i]; o && !fn(o))
                return;
}

qint64 ObjectContext::Private::readStatementsOf(const ObjectContext& context)
{
    return context.d->readStatements;
}

void ObjectContext::Private::prefetchOwned(const ManagedObject* o)
{
    if (!o || !o->m_values)
        return;
    for (const EntityDescription::OwnedSlot& s : o->entity()->ownedSlots()) {
        std::byte* at = o->m_values + s.offset;
        const void* data = nullptr;
        // data_ptr() only hands out the pointer to the shared block (its counter, which the free changes).
        if (s.slot == PropertyDescription::Slot::String)
            data = reinterpret_cast<QString*>(at)->data_ptr().d_ptr();
        else if (s.slot == PropertyDescription::Slot::Binary)
            data = reinterpret_cast<QByteArray*>(at)->data_ptr().d_ptr();
        else
            data = reinterpret_cast<const ObjectSet*>(at)->d;
        if (data)
            __builtin_prefetch(data, 1);
    }
}

void ObjectContext::Private::clearObjects()
{
    // Freeing a record touches the data of each of its texts and sets, and each one is elsewhere in memory: the
    // records a few keys ahead are asked for first, then, once they have arrived, the data they point to.
    constexpr size_t kNear = kPrefetchAhead / 2;
    for (TableState& t : tables) {
        const size_t n = t.byPk.size();
        for (size_t i = 0; i < n; ++i) {
            if (i + kPrefetchAhead < n)
                prefetchObject(t.byPk[i + kPrefetchAhead]);
            if (i + kNear < n)
                prefetchOwned(t.byPk[i + kNear]);
            delete t.byPk[i];
            t.byPk[i] = nullptr;
        }
        t.byPk.clear();
        t.faults = 0;
        t.inserted = 0;
    }
    changed.clear();
    graveyard.clear();
    inMemory.clear();
    listedAll = false;
    faults = 0;
    everything = true; // nothing left to read
    texts.clear();
    blobs.clear();
}

QVariantMap ObjectContext::metadataForStoreAt(const QString& path, QString* error, ErrorCode* code)
{
    auto failWith = [&](ErrorCode why, const QString& text) {
        if (error)
            *error = text;
        if (code)
            *code = why;
        return QVariantMap();
    };
    const QString shown = QDir::toNativeSeparators(path);
    if (!QFileInfo(path).isFile())
        return failWith(ErrorCode::FileNotFound, QStringLiteral("The file \"%1\" does not exist.").arg(shown));
    SqliteDatabase db;
    QString message;
    if (!openToRead(db, path, &message))
        return failWith(ErrorCode::Io, message);
    sqlite3_busy_timeout(db.handle(), kDefaultBusyTimeout);
    SqliteStatement st(
        db.handle(), QStringLiteral("SELECT key, value FROM %1").arg(StoreSchema::quoted(kMetadataTable)));
    QVariantMap out;
    while (st.next())
        out.insert(st.columnText(0), decodeMetadataValue(st.columnBlob(1)));
    if (!st.isValid() || !st.ok()) {
        const ErrorCode why = busyOr(db.lastErrorCode(), ErrorCode::NotAStore);
        return failWith(why, why == ErrorCode::Locked
                ? busyMessage(shown)
                : QStringLiteral("\"%1\" is not a Kinloom database (%2).").arg(shown, db.lastError()));
    }
    if (error)
        error->clear();
    if (code)
        *code = ErrorCode::None;
    return out;
}

bool ObjectContext::backupStore(const QString& source, const QString& destination, QString* error)
{
    auto failWith = [&](const QString& text) {
        if (error)
            *error = text;
        return false;
    };
    if (QFileInfo::exists(destination) || QFileInfo(destination).isSymLink())
        return failWith(QStringLiteral("\"%1\" exists already.").arg(QDir::toNativeSeparators(destination)));
    SqliteDatabase from;
    QString message;
    if (!from.open(source, SqliteDatabase::Mode::ReadOnly, &message))
        return failWith(message);
    sqlite3_busy_timeout(from.handle(), kDefaultBusyTimeout);
    // Made here or not at all: a file that appeared since the check above is never written over.
    QFile made(destination);
    if (!made.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return failWith(made.errorString());
    made.close();
    const auto removeCopy = [&](const QString& why) {
        QFile::remove(destination);
        QFile::remove(destination + QStringLiteral("-journal"));
        return failWith(why);
    };
    {
        SqliteDatabase to;
        if (!to.open(destination, SqliteDatabase::Mode::ReadWrite, &message))
            return removeCopy(message);
        to.exec(QStringLiteral("PRAGMA synchronous=FULL"));
        // One step copies every page under one read lock of the source: a consistent picture of the store even
        // while another connection writes. A step that meets a writer's lock is tried again.
        sqlite3_backup* backup = sqlite3_backup_init(to.handle(), "main", from.handle(), "main");
        if (!backup)
            return removeCopy(to.lastError());
        int rc = SQLITE_OK;
        for (int attempt = 0; attempt < 100; ++attempt) {
            rc = sqlite3_backup_step(backup, -1);
            if (rc != SQLITE_BUSY && rc != SQLITE_LOCKED)
                break;
            sqlite3_sleep(50);
        }
        sqlite3_backup_finish(backup);
        if (rc != SQLITE_DONE)
            return removeCopy(QString::fromUtf8(sqlite3_errstr(rc)));
    }
    // The copy counts as made once it, and its name in the folder, are on the disk.
    if (!syncToDisk(destination) || !syncToDisk(QFileInfo(destination).absolutePath()))
        return removeCopy(QStringLiteral("the copy could not be written to the disk"));
    if (error)
        error->clear();
    return true;
}

QVariantMap ObjectContext::metadata() const
{
    return d->metadata;
}

void ObjectContext::setMetadata(const QVariantMap& metadata)
{
    QVariantMap m = metadata;
    m.insert(kUUIDKey, d->uuid);
    // The store's own record of its folded columns stays whatever the caller's dictionary says.
    m.remove(StoreSchema::kFoldedColumnsKey);
    if (d->metadata.contains(StoreSchema::kFoldedColumnsKey))
        m.insert(StoreSchema::kFoldedColumnsKey, d->metadata.value(StoreSchema::kFoldedColumnsKey));
    if (m == d->metadata)
        return;
    d->metadata = m;
    d->metadataDirty = true;
}

void ObjectContext::setMetadataValue(const QString& key, const QVariant& value)
{
    QVariantMap m = d->metadata;
    if (value.isValid())
        m.insert(key, value);
    else
        m.remove(key);
    setMetadata(m);
}

ManagedObject* ObjectContext::insertObject(const QString& entityName)
{
    Q_ASSERT_X(QThread::currentThread() == d->thread, "ObjectContext", "used on another thread");
    const EntityDescription* e = d->schema.entityNamed(entityName);
    if (!e || e->isAbstract() || !isOpen()) {
        qWarning("ObjectContext::insertObject: cannot insert %s", qPrintable(entityName));
        return nullptr;
    }
    Private::TableState& t = d->tables[size_t(e->tableIndex())];
    ManagedObject* o = d->make(e, t.nextPk++);
    ++t.inserted;
    const Private::EntityMap& m = d->mapOf(o);
    for (const Private::EntityMap::Default& value : m.defaults)
        Private::assignDefault(o, value);
    o->m_dirtyColumns |= m.columns;
    d->markChanged(o);
    ++d->changeDepth;
    if (d->recording())
        d->record({ UndoOperation::Kind::Insert, o });
    o->awakeFromInsert();
    --d->changeDepth;
    return o;
}

void ObjectContext::deleteObject(ManagedObject* o)
{
    if (!o || o->m_context != this || o->hasFlag(ManagedObject::Deleted) || o->hasFlag(ManagedObject::Deleting))
        return;
    // A deleted record keeps its values in memory, for an undo and for whoever still shows it.
    Private::ensureLoaded(o);
    ++d->changeDepth;
    o->setFlag(ManagedObject::Deleting, true);
    o->prepareForDeletion();
    if (d->recording())
        d->loadAllLazy(o); // an undo puts the whole record back
    d->unlinkAll(o, true);
    o->setFlag(ManagedObject::Deleting, false);
    d->markDeleted(o);
    if (d->recording())
        d->record({ UndoOperation::Kind::Delete, o });
    --d->changeDepth;
}

void ObjectContext::Private::unlinkAll(ManagedObject* o, bool cascade)
{
    for (const PropertyDescription* p : o->entity()->properties()) {
        if (!p->isRelationship())
            continue;
        QList<ManagedObject*> targets;
        if (p->isToOne()) {
            if (ManagedObject* t = one(o, p))
                targets << t;
        } else {
            targets = many(o, p).toList();
        }
        for (ManagedObject* t : targets) {
            if (p->isToOne())
                setToOne(o, p, nullptr, Notify::Full);
            else
                removeToMany(o, p, t, Notify::Full);
            if (cascade && p->deleteRule == DeleteRule::Cascade)
                q->deleteObject(t);
        }
    }
}

void ObjectContext::Private::markChanged(ManagedObject* o)
{
    o->setFlag(ManagedObject::Updated, true);
    if (!o->hasFlag(ManagedObject::InChangeList)) {
        o->setFlag(ManagedObject::InChangeList, true);
        changed.push_back(o);
    }
}

void ObjectContext::Private::markDeleted(ManagedObject* o)
{
    o->setFlag(ManagedObject::Deleted, true);
    markChanged(o);
    graveyard.push_back(o);
}

void ObjectContext::Private::record(UndoOperation op)
{
    undo->record(std::move(op));
}

ManagedObject* ObjectContext::objectWithPrimaryKey(const QString& entityName, qint64 key) const
{
    const EntityDescription* e = d->schema.entityNamed(entityName);
    if (!e || key <= 0)
        return nullptr;
    ManagedObject* o = d->objectAt(d->tables[size_t(e->tableIndex())], key);
    if (!o || o->isDeleted() || !o->entity()->isKindOf(e))
        return nullptr;
    return o;
}

ManagedObject* ObjectContext::objectForURI(const QString& uri) const
{
    if (!uri.startsWith(kScheme))
        return nullptr;
    const QStringList parts = uri.mid(kScheme.size()).split('/');
    if (parts.size() != 3 || parts[0].compare(d->uuid, Qt::CaseInsensitive) != 0 || !parts[2].startsWith('p'))
        return nullptr;
    bool ok = false;
    const qint64 key = parts[2].mid(1).toLongLong(&ok);
    return ok ? objectWithPrimaryKey(parts[1], key) : nullptr;
}

void ObjectContext::forEachObject(const QString& entityName, const std::function<bool(ManagedObject*)>& fn) const
{
    const EntityDescription* e = d->schema.entityNamed(entityName);
    if (!e) {
        qWarning("ObjectContext: no entity %s", qPrintable(entityName));
        return;
    }
    Private::TableState& table = d->tables[size_t(e->tableIndex())];
    // A small table is read whole and kept; the limit of large databases lowers it too, so that a developer's run
    // of the tests as if every database were large walks every table in blocks.
    if (d->large && d->db.isOpen() && table.records > std::min(Private::kSmallTable, ReleasingWalk::largeDatabaseRows())) {
        d->streamTable(table, e, fn);
        return;
    }
    // Many faults (memory given back after a whole walk) are read back the way the whole file is first read: every
    // table in one pass, linked in bulk.
    if (!table.complete || table.faults > Private::kSmallTable) {
        QString message;
        const bool read = table.records <= Private::kSmallTable ? d->loadTable(table, &message) : d->loadEverything(&message);
        if (!read && d->errorCode == ErrorCode::None) {
            d->errorCode = ErrorCode::Damaged;
            d->error = QStringLiteral("Could not read the records of %1: %2").arg(entityName, message);
            FTLog(QStringLiteral("Store: ") + d->error);
        }
    }
    // A few faults read their rows in one pass over the table, not one statement each.
    d->fireTable(table);
    const bool all = e->parent() == nullptr;
    // By index: a call that inserts an object may grow the table's key index under the loop.
    const std::vector<ManagedObject*>& byPk = d->tables[size_t(e->tableIndex())].byPk;
    for (size_t i = 0; i < byPk.size(); ++i) {
        // Records lie all over the heap, and each one read here is a wait on memory: asking for the records a few
        // keys ahead overlaps those waits.
        if (i + kPrefetchAhead < byPk.size())
            prefetchObject(byPk[i + kPrefetchAhead]);
        ManagedObject* o = byPk[i];
        if (!o || o->hasFlag(ManagedObject::Deleted) || (!all && !o->entity()->isKindOf(e)))
            continue;
        if (!fn(o))
            return;
    }
}

std::vector<std::pair<qint64, qint64>> ObjectContext::storedIntegers(
    const QString& entityName, const QString& key) const
{
    std::vector<std::pair<qint64, qint64>> out;
    const EntityDescription* e = d->schema.entityNamed(entityName);
    const PropertyDescription* p = e ? e->property(key) : nullptr;
    if (!p || !p->isAttribute() || p->column < 0) {
        qWarning("ObjectContext: no stored attribute %s of %s", qPrintable(key), qPrintable(entityName));
        return out;
    }
    const Key k = Key::find(key);
    Private::TableState& t = d->tables[size_t(e->tableIndex())];
    const bool all = e->parent() == nullptr;
    const auto kindOf = [&](const ManagedObject* o) { return all || o->entity()->isKindOf(e); };
    const auto live = [&](const ManagedObject* o) { return !o->hasFlag(ManagedObject::Deleted) && kindOf(o); };
    if (!d->large || !d->db.isOpen() || t.complete) {
        forEachObject(entityName, [&](ManagedObject* o) {
            out.emplace_back(o->primaryKey(), o->integerValue(k));
            return true;
        });
        return out;
    }
    SqliteStatement st(d->db.handle(), QStringLiteral("SELECT \"_pk\", \"_entity\", %1 FROM %2 ORDER BY \"_pk\"")
                                           .arg(StoreSchema::quoted(t.table->columns[size_t(p->column)].name),
                                               StoreSchema::quoted(t.table->name)));
    ++d->readStatements;
    qint64 last = 0;
    while (st.next()) {
        const qint64 pk = st.columnInt(0);
        last = pk;
        const ManagedObject* o = pk > 0 && size_t(pk) < t.byPk.size() ? t.byPk[size_t(pk)] : nullptr;
        if (o && !Private::isFault(o)) {
            if (live(o))
                out.emplace_back(pk, o->integerValue(k));
            continue;
        }
        if (o && !live(o))
            continue;
        if (!o && !all) {
            const QByteArrayView name = st.columnBytes(1);
            const auto map = std::find_if(t.entities.begin(), t.entities.end(),
                [&name](const Private::EntityMap& m) { return m.nameUtf8 == name; });
            if (map == t.entities.end() || !map->entity->isKindOf(e))
                continue;
        }
        out.emplace_back(pk, st.isNull(2) ? 0 : st.columnInt(2));
    }
    if (!st.ok())
        d->readFailed(t, QStringLiteral("the column %1").arg(key), st.error());
    // Records made since the last save have keys above every row of the file.
    for (size_t i = size_t(last) + 1; i < t.byPk.size(); ++i)
        if (const ManagedObject* o = t.byPk[i]; o && !Private::isFault(o) && live(o))
            out.emplace_back(o->primaryKey(), o->integerValue(k));
    return out;
}

QList<ManagedObject*> ObjectContext::fetch(
    const QString& entityName, const Predicate& predicate, const Less& less) const
{
    QList<ManagedObject*> out;
    forEachObject(entityName, [&](ManagedObject* o) {
        if (!predicate || predicate(o))
            out.push_back(o);
        return true;
    });
    if (less)
        std::stable_sort(out.begin(), out.end(), less);
    return out;
}

int ObjectContext::count(const QString& entityName, const Predicate& predicate) const
{
    int n = 0;
    forEachObject(entityName, [&](ManagedObject* o) {
        if (!predicate || predicate(o))
            ++n;
        return true;
    });
    return n;
}

bool ObjectContext::hasChanges() const
{
    if (d->metadataDirty)
        return true;
    for (const Private::JoinState& j : d->joins)
        if (!j.pending.isEmpty())
            return true;
    for (const ManagedObject* o : d->changed) {
        const bool persisted = o->hasFlag(ManagedObject::Persisted);
        if (o->hasFlag(ManagedObject::Deleted) ? persisted : (!persisted || o->m_dirtyColumns))
            return true;
    }
    return false;
}

UndoManager* ObjectContext::undoManager() const
{
    return d->undo.get();
}

void ObjectContext::setUndoManager(std::unique_ptr<UndoManager> manager)
{
    d->undo = std::move(manager);
    if (d->undo)
        d->undo->attach(this);
    d->purgeGraveyard();
}

QVariant ObjectContext::valueForKey(const QString& key) const
{
    Q_UNUSED(key);
    return {};
}
