#include "platform/store/ObjectContextPrivate.h"
#include "platform/store/TextMatch.h"

#include "platform/FTLog.h"

#include <QCborValue>
#include <QDir>
#include <QElapsedTimer>

#include <algorithm>
#include <memory>
#include <vector>

#include <sqlite3.h>

namespace {
// The room for new rows that a save keeps for the next: enough for an import's batches, which would pay for new
// memory at each one otherwise.
constexpr size_t kKeptNewRows = 65536;

// Binds one value of a row. Nil values bind nothing: a statement starts with every parameter NULL, and
// SqliteStatement::execute() clears them again after each run, so most of a new row's columns (nil, or not of
// its sub-entity) cost nothing.
void bindSlot(SqliteStatement& st, int i, PropertyDescription::Slot slot, bool isDouble, int bit, const std::byte* at,
    quint64 nilBits)
{
    switch (slot) {
    case PropertyDescription::Slot::Number:
        if (nilBits & (quint64(1) << bit))
            break;
        if (isDouble)
            st.bindDouble(i, reinterpret_cast<const NumberSlot*>(at)->d);
        else
            st.bindInt(i, reinterpret_cast<const NumberSlot*>(at)->i);
        break;
    case PropertyDescription::Slot::String:
        if (const auto* text = reinterpret_cast<const QString*>(at); !text->isNull())
            st.bindText(i, *text);
        break;
    case PropertyDescription::Slot::Binary:
        if (const auto* data = reinterpret_cast<const QByteArray*>(at); !data->isNull())
            st.bindBlob(i, *data);
        break;
    case PropertyDescription::Slot::Object:
        if (const ManagedObject* target = *reinterpret_cast<ManagedObject* const*>(at))
            st.bindInt(i, target->primaryKey());
        break;
    default:
        break;
    }
}

void bindProperty(SqliteStatement& st, int i, const PropertyDescription* p, const std::byte* values, quint64 nilBits)
{
    bindSlot(st, i, p->slot, p->type == AttributeType::Double, p->bit, values + p->slotOffset, nilBits);
}

QString reasonFor(ObjectContext::ErrorCode code)
{
    switch (code) {
    case ObjectContext::ErrorCode::ReadOnly:
        return QStringLiteral("the file or its folder cannot be written to");
    case ObjectContext::ErrorCode::Locked:
        return QStringLiteral("the file is in use by another program");
    case ObjectContext::ErrorCode::DiskFull:
        return QStringLiteral("the disk is full");
    case ObjectContext::ErrorCode::Io:
        return QStringLiteral("the disk could not be written");
    case ObjectContext::ErrorCode::Damaged:
        return QStringLiteral("the file is damaged");
    default:
        return QStringLiteral("the database refused the changes");
    }
}
}

bool ObjectContext::save(QString* error)
{
    Q_ASSERT_X(QThread::currentThread() == d->thread, "ObjectContext", "used on another thread");
    if (!isOpen())
        return d->fail(ErrorCode::Other, QStringLiteral("No store is open."), error);
    if (!hasChanges()) {
        d->errorCode = ErrorCode::None;
        d->error.clear();
        return true;
    }
    if (d->readOnly)
        return d->fail(ErrorCode::ReadOnly,
            QStringLiteral("The Kinloom database \"%1\" is open only for reading: its changes are not saved.")
                .arg(QDir::toNativeSeparators(d->path)),
            error);
    QElapsedTimer timer;
    timer.start();
    SqliteDatabase& db = d->db;
    sqlite3* h = db.handle();
    QString failure;
    int failedRc = SQLITE_OK;
    auto check = [&](bool ok, const QString& what) {
        if (!ok && failure.isEmpty()) {
            failedRc = db.lastErrorCode();
            failure = what + ": " + db.lastError();
        }
        return ok;
    };

    // The folded copies of texts are written with the texts, where the store has them.
    const bool folded = d->foldedReady();
    d->endHeldRead();
    bool ok = check(db.exec(QStringLiteral("BEGIN IMMEDIATE")), QStringLiteral("starting the transaction"));
    // The folded copy of a text, bound as UTF-8; that of a column with words kept for its words.
    QByteArray foldedText;
    const auto bindFolded = [&foldedText](SqliteStatement& st, int i, const ManagedObject* o,
                                const Private::EntityMap& m, int column, Private::WordTexts* words) {
        if (!words) {
            foldedText.resize(0);
            if (Private::appendFoldedValue(o, m, column, foldedText))
                st.bindUtf8(i, foldedText);
            return;
        }
        words->utf8 += char(TextMatch::kFirstWordMark.unicode());
        const qsizetype begin = words->utf8.size();
        if (!Private::appendFoldedValue(o, m, column, words->utf8)) {
            words->utf8.chop(1);
            return;
        }
        st.bindUtf8(i, QByteArrayView(words->utf8).sliced(begin));
        words->rows.push_back({ o->primaryKey(), begin, words->utf8.size() });
    };
    // By table and folded column: the words of changed records, written after the new rows.
    std::vector<std::vector<Private::WordTexts>> reworded(folded ? d->tables.size() : 0);
    // A save of a whole new database gathers a million rows: room made once for them rather than grown by doubling,
    // which at its peak holds three times as much.
    for (Private::TableState& t : d->tables)
        t.newRows.reserve(size_t(std::min(t.inserted, qint64(d->changed.size()))));
    for (size_t n = 0; ok && n < d->changed.size(); ++n) {
        if (n + kPrefetchAhead < d->changed.size())
            prefetchObject(d->changed[n + kPrefetchAhead]);
        ManagedObject* o = d->changed[n];
        const bool persisted = o->hasFlag(ManagedObject::Persisted);
        Private::TableState& t = d->tableOf(o);
        const auto table = [&t] { return StoreSchema::quoted(t.table->name); };
        // What is written comes from memory.
        if (!o->hasFlag(ManagedObject::Deleted))
            Private::ensureLoaded(o);
        if (o->hasFlag(ManagedObject::Deleted)) {
            if (!persisted)
                continue;
            if (!t.remove)
                t.remove
                    = std::make_unique<SqliteStatement>(h, QStringLiteral("DELETE FROM %1 WHERE \"_pk\"=?").arg(table()));
            if (folded)
                ok = check(d->removeWords(o, t), "indexing the words of " + t.table->name);
            t.remove->bindInt(1, o->primaryKey());
            ok = ok && check(t.remove->execute(), "deleting from " + t.table->name);
        } else if (!persisted) {
            t.newRows.push_back(o);
        } else if (o->m_dirtyColumns) {
            const quint64 mask = o->m_dirtyColumns;
            auto& st = t.updates[mask];
            if (!st) {
                QStringList sets;
                for (size_t c = 0; c < t.table->columns.size(); ++c)
                    if (mask & (quint64(1) << c))
                        sets << StoreSchema::quoted(t.table->columns[c].name) + "=?";
                if (folded)
                    for (const StoreSchema::FoldedColumn& f : t.table->folded)
                        if (mask & (quint64(1) << f.source))
                            sets << StoreSchema::quoted(f.name) + "=?";
                st = std::make_shared<SqliteStatement>(
                    h, QStringLiteral("UPDATE %1 SET %2 WHERE \"_pk\"=?").arg(table(), sets.join(',')));
            }
            const Private::EntityMap& m = d->mapOf(o);
            int i = 1;
            for (size_t c = 0; c < t.table->columns.size(); ++c) {
                if (!(mask & (quint64(1) << c)))
                    continue;
                if (m.byColumn[c])
                    bindProperty(*st, i, m.byColumn[c], o->m_values, o->m_nilBits);
                ++i;
            }
            if (folded) {
                auto& words = reworded[size_t(&t - d->tables.data())];
                words.resize(t.table->folded.size());
                for (size_t c = 0; c < t.table->folded.size(); ++c) {
                    const StoreSchema::FoldedColumn& f = t.table->folded[c];
                    if (mask & (quint64(1) << f.source))
                        bindFolded(*st, i++, o, m, f.source, f.wordsTable.isEmpty() ? nullptr : &words[c]);
                }
            }
            st->bindInt(i, o->primaryKey());
            if (folded && !t.table->folded.empty())
                ok = check(d->removeWords(o, t, &reworded[size_t(&t - d->tables.data())]),
                    "indexing the words of " + t.table->name);
            ok = ok && check(st->execute(), "changing " + t.table->name);
        }
    }
    // New rows, table by table in the order they were made; no other change of the save touches them.
    const Private::EntityMap* map = nullptr; // the entity of the row before: rows of one kind come in runs
    std::vector<Private::WordTexts> added; // the texts of the new rows of one table with words
    const auto bindRow = [this, &map, &bindFolded, &added, folded](SqliteStatement& st, int first, ManagedObject* o) {
        if (map->entity != o->entity())
            map = &d->mapOf(o);
        if (map->lazy)
            d->loadAllLazy(o);
        st.bindInt(first, o->primaryKey());
        st.bindStaticUtf8(first + 1, map->nameUtf8);
        const std::byte* values = o->m_values;
        for (const Private::EntityMap::Bind& b : map->binds)
            bindSlot(st, first + b.parameter, b.slot, b.isDouble, b.bit, values + b.offset, o->m_nilBits);
        if (!folded)
            return;
        const StoreSchema::Table& table = d->schema.tables()[size_t(map->entity->tableIndex())];
        int i = first + 2 + int(table.columns.size());
        for (size_t c = 0; c < table.folded.size(); ++c) {
            const StoreSchema::FoldedColumn& f = table.folded[c];
            bindFolded(st, i++, o, *map, f.source, f.wordsTable.isEmpty() ? nullptr : &added[c]);
        }
    };
    for (Private::TableState& t : d->tables) {
        if (t.newRows.empty())
            continue;
        map = &t.entities.front();
        // Grown as the texts come, not reserved for every row: most rows have no text in most such columns.
        added.assign(t.table->folded.size(), {});
        // Columns by name: a store made before the folded columns has them last, after its other columns.
        QStringList names { QStringLiteral("\"_pk\""), QStringLiteral("\"_entity\"") };
        for (const StoreSchema::Column& c : t.table->columns)
            names << StoreSchema::quoted(c.name);
        if (folded)
            for (const StoreSchema::FoldedColumn& f : t.table->folded)
                names << StoreSchema::quoted(f.name);
        const QString table = StoreSchema::quoted(t.table->name) + '(' + names.join(',') + ')';
        const int width = int(names.size());
        const QString row = QLatin1Char('(') + QStringList(width, QStringLiteral("?")).join(',') + QLatin1Char(')');
        if (!t.insert)
            t.insert = std::make_unique<SqliteStatement>(h, QStringLiteral("INSERT INTO %1 VALUES %2").arg(table, row));
        if (!t.insertBlock) {
            const int variables = sqlite3_limit(h, SQLITE_LIMIT_VARIABLE_NUMBER, -1);
            t.insertBlockRows = qBound(1, variables / width, 64);
            if (t.insertBlockRows > 1)
                t.insertBlock = std::make_unique<SqliteStatement>(h,
                    QStringLiteral("INSERT INTO %1 VALUES %2")
                        .arg(table, QStringList(t.insertBlockRows, row).join(',')));
        }
        const size_t count = t.newRows.size();
        size_t n = 0;
        if (t.insertBlock) {
            const size_t block = size_t(t.insertBlockRows);
            for (; ok && n + block <= count; n += block) {
                for (size_t r = 0; r < block; ++r) {
                    if (n + r + kPrefetchAhead < count)
                        prefetchObject(t.newRows[n + r + kPrefetchAhead]);
                    bindRow(*t.insertBlock, 1 + int(r) * width, t.newRows[n + r]);
                }
                ok = check(t.insertBlock->execute(), "adding to " + t.table->name);
            }
        }
        for (; ok && n < count; ++n) {
            bindRow(*t.insert, 1, t.newRows[n]);
            ok = check(t.insert->execute(), "adding to " + t.table->name);
        }
        if (folded)
            ok = ok && check(d->writeWords(t, added), "indexing the words of " + t.table->name);
        // Written: the room of a large save is given back before the next table's rows and words take theirs.
        if (t.newRows.capacity() > kKeptNewRows)
            std::vector<ManagedObject*>().swap(t.newRows);
    }
    for (size_t n = 0; ok && n < reworded.size(); ++n)
        if (!reworded[n].empty())
            ok = check(d->writeWords(d->tables[n], reworded[n]), "indexing the words of " + d->tables[n].table->name);
    for (Private::TableState& t : d->tables)
        t.newRows.clear();
    for (size_t j = 0; ok && j < d->joins.size(); ++j) {
        Private::JoinState& js = d->joins[j];
        if (js.pending.isEmpty())
            continue;
        const QString table = StoreSchema::quoted(js.join->name);
        // New links go in key order and many to a statement: a join table is ordered by its key, and links taken
        // from the hash in its own order would each land on another page.
        std::vector<QPair<qint64, qint64>> added;
        SqliteStatement remove(h, QStringLiteral("DELETE FROM %1 WHERE src=? AND dst=?").arg(table));
        for (auto it = js.pending.cbegin(); ok && it != js.pending.cend(); ++it) {
            if (it.value() > 0) {
                added.push_back(it.key());
                continue;
            }
            remove.bindInt(1, it.key().first);
            remove.bindInt(2, it.key().second);
            ok = check(remove.execute(), "unlinking in " + js.join->name);
        }
        std::sort(added.begin(), added.end());
        ok = ok && check(insertPairs(h, table, added.size(), [&](SqliteStatement& st, int at, size_t n) {
            st.bindInt(at, added[n].first);
            st.bindInt(at + 1, added[n].second);
        }), "linking in " + js.join->name);
    }
    if (ok && d->metadataDirty) {
        ok = check(db.exec(QStringLiteral("DELETE FROM \"_metadata\"")), QStringLiteral("writing the metadata"));
        SqliteStatement st(h, QStringLiteral("INSERT INTO \"_metadata\" VALUES (?, ?)"));
        for (auto it = d->metadata.cbegin(); ok && it != d->metadata.cend(); ++it) {
            st.bindText(1, it.key());
            st.bindBlob(2, QCborValue::fromVariant(it.value()).toCbor());
            ok = check(st.execute(), QStringLiteral("writing the metadata"));
        }
    }
    if (ok)
        ok = check(db.exec(QStringLiteral("COMMIT")), QStringLiteral("committing"));
    if (!ok) {
        if (db.inTransaction())
            db.exec(QStringLiteral("ROLLBACK"));
        const ErrorCode code = d->codeForSqlite(failedRc);
        const QString message = QStringLiteral("The changes could not be saved to \"%1\" because %2 (%3).")
                                    .arg(QDir::toNativeSeparators(d->path), reasonFor(code), failure);
        FTLog(message);
        return d->fail(code, message, error);
    }

    // New records join the list of those in memory here, saved: the list would hold a new database's every record
    // while the save needs its own room for their rows, and none could be given back before now anyway.
    for (ManagedObject* o : d->changed) {
        if (!o->hasFlag(ManagedObject::Deleted))
            d->noteInMemory(o);
        o->setFlag(ManagedObject::Persisted, !o->hasFlag(ManagedObject::Deleted));
        o->setFlag(ManagedObject::Updated, false);
        o->setFlag(ManagedObject::InChangeList, false);
        o->m_dirtyColumns = 0;
    }
    const size_t written = d->changed.size();
    d->changed.clear();
    for (Private::TableState& t : d->tables)
        t.inserted = 0;
    for (Private::JoinState& js : d->joins)
        js.pending.clear();
    d->metadataDirty = false;
    d->errorCode = ErrorCode::None;
    d->error.clear();
    d->purgeGraveyard();
    FTLog(QStringLiteral("Store: saved %1 changed records in %2 ms").arg(written).arg(timer.elapsed()));
    return true;
}
