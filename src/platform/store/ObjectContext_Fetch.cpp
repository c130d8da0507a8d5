#include "platform/store/ObjectContextPrivate.h"
#include "platform/store/TextMatch.h"

#include "platform/FTLog.h"

#include <QCborValue>
#include <QElapsedTimer>
#include <QSet>

#include <sqlite3.h>

namespace {
// The fold as a SQL function, for the statement that fills the folded columns of an older store. Registered on our
// own connection for that statement only: nothing in the file ever names it, so the file stays one that any
// SQLite program reads and writes.
void foldFunction(sqlite3_context* context, int, sqlite3_value** values)
{
    if (sqlite3_value_type(values[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(values[0]));
    const QByteArray folded = TextMatch::fold(QString::fromUtf8(text, sqlite3_value_bytes(values[0]))).toUtf8();
    sqlite3_result_text(context, folded.constData(), int(folded.size()), SQLITE_TRANSIENT);
}

const char kFoldFunction[] = "kinloom_fold";
}

bool ObjectContext::Private::foldedReady() const
{
    return db.isOpen() && metadata.value(StoreSchema::kFoldedColumnsKey).toInt() == StoreSchema::kFoldedColumnsVersion;
}

QString ObjectContext::Private::foldedValue(const ManagedObject* o, const EntityMap& m, int column)
{
    const PropertyDescription* p = m.byColumn[size_t(column)];
    if (!p || p->slot != PropertyDescription::Slot::String)
        return {};
    const QString& text = *reinterpret_cast<const QString*>(o->m_values + p->slotOffset);
    return text.isNull() ? QString() : TextMatch::fold(text);
}

bool ObjectContext::Private::makeFoldedColumns(QString* message)
{
    bool any = false;
    for (const StoreSchema::Table& t : schema.tables())
        any = any || !t.folded.empty();
    if (!any || readOnly || !db.isOpen())
        return true;
    QElapsedTimer timer;
    timer.start();
    sqlite3* h = db.handle();
    if (!db.exec(QStringLiteral("BEGIN IMMEDIATE"), message))
        return false;
    sqlite3_create_function_v2(
        h, kFoldFunction, 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, foldFunction, nullptr, nullptr, nullptr);
    bool ok = true;
    auto run = [&](const QString& sql) { return ok = ok && db.exec(sql, message); };
    for (const StoreSchema::Table& t : schema.tables()) {
        if (t.folded.empty())
            continue;
        QSet<QString> present;
        SqliteStatement info(h, QStringLiteral("PRAGMA table_info(%1)").arg(StoreSchema::quoted(t.name)));
        while (info.next())
            present.insert(info.columnText(1));
        QStringList sets;
        for (const StoreSchema::FoldedColumn& f : t.folded) {
            if (!present.contains(f.name))
                run(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 TEXT")
                        .arg(StoreSchema::quoted(t.name), StoreSchema::quoted(f.name)));
            sets << QStringLiteral("%1=%2(%3)")
                        .arg(StoreSchema::quoted(f.name), QLatin1String(kFoldFunction),
                            StoreSchema::quoted(t.columns[size_t(f.source)].name));
        }
        run(QStringLiteral("UPDATE %1 SET %2").arg(StoreSchema::quoted(t.name), sets.join(',')));
        for (const StoreSchema::FoldedColumn& f : t.folded) {
            if (f.wordsTable.isEmpty())
                continue;
            const QString words = StoreSchema::quoted(f.wordsTable);
            run(QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (\"word\" TEXT NOT NULL, \"pk\" INTEGER NOT NULL, "
                               "PRIMARY KEY (\"word\", \"pk\")) WITHOUT ROWID")
                    .arg(words));
            run(QStringLiteral("DELETE FROM %1").arg(words));
            if (!ok)
                break;
            SqliteStatement rows(h,
                QStringLiteral("SELECT \"_pk\", %1 FROM %2 WHERE %1 IS NOT NULL")
                    .arg(StoreSchema::quoted(f.name), StoreSchema::quoted(t.name)));
            SqliteStatement insert(h, QStringLiteral("INSERT OR IGNORE INTO %1 VALUES (?, ?)").arg(words));
            while (ok && rows.next()) {
                const qint64 pk = rows.columnInt(0);
                for (const QString& start : TextMatch::wordStarts(rows.columnText(1))) {
                    insert.bindText(1, start);
                    insert.bindInt(2, pk);
                    if (!insert.execute()) {
                        ok = false;
                        *message = db.lastError();
                        break;
                    }
                }
            }
            if (ok && !rows.ok()) {
                ok = false;
                *message = db.lastError();
            }
        }
    }
    for (const QString& sql : schema.foldedIndexStatements())
        run(sql);
    if (ok) {
        SqliteStatement stamp(h, QStringLiteral("INSERT OR REPLACE INTO \"_metadata\" VALUES (?, ?)"));
        stamp.bindText(1, StoreSchema::kFoldedColumnsKey);
        stamp.bindBlob(2, QCborValue::fromVariant(StoreSchema::kFoldedColumnsVersion).toCbor());
        ok = stamp.execute();
        if (!ok)
            *message = db.lastError();
    }
    ok = ok && db.exec(QStringLiteral("COMMIT"), message);
    if (!ok && db.inTransaction())
        db.exec(QStringLiteral("ROLLBACK"));
    sqlite3_create_function_v2(h, kFoldFunction, 1, SQLITE_UTF8, nullptr, nullptr, nullptr, nullptr, nullptr);
    if (!ok) {
        FTLog(QStringLiteral("Store: the folded columns of \"%1\" could not be made (%2); searches read the records")
                  .arg(path, *message));
        return false;
    }
    metadata.insert(StoreSchema::kFoldedColumnsKey, StoreSchema::kFoldedColumnsVersion);
    FTLog(QStringLiteral("Store: folded columns made in %1 ms").arg(timer.elapsed()));
    return true;
}

bool ObjectContext::Private::writeWords(QString* failure)
{
    sqlite3* h = db.handle();
    for (TableState& t : tables) {
        for (const StoreSchema::FoldedColumn& f : t.table->folded) {
            if (f.wordsTable.isEmpty())
                continue;
            const QString words = StoreSchema::quoted(f.wordsTable);
            std::unique_ptr<SqliteStatement> remove, insert;
            const quint64 bit = quint64(1) << f.source;
            for (ManagedObject* o : changed) {
                if (o->entity()->tableIndex() != int(&t - tables.data()))
                    continue;
                const bool persisted = o->hasFlag(ManagedObject::Persisted);
                const bool deleted = o->hasFlag(ManagedObject::Deleted);
                // A saved record's words go when it goes or its text changes; a new record has none yet.
                if (deleted ? !persisted : persisted && !(o->m_dirtyColumns & bit))
                    continue;
                if (persisted) {
                    if (!remove)
                        remove = std::make_unique<SqliteStatement>(
                            h, QStringLiteral("DELETE FROM %1 WHERE \"pk\"=?").arg(words));
                    remove->bindInt(1, o->primaryKey());
                    if (!remove->execute()) {
                        *failure = "indexing the words of " + t.table->name;
                        return false;
                    }
                }
                if (deleted)
                    continue;
                const QString text = foldedValue(o, mapOf(o), f.source);
                if (text.isEmpty())
                    continue;
                if (!insert)
                    insert = std::make_unique<SqliteStatement>(
                        h, QStringLiteral("INSERT OR IGNORE INTO %1 VALUES (?, ?)").arg(words));
                for (const QString& start : TextMatch::wordStarts(text)) {
                    insert->bindText(1, start);
                    insert->bindInt(2, o->primaryKey());
                    if (!insert->execute()) {
                        *failure = "indexing the words of " + t.table->name;
                        return false;
                    }
                }
            }
        }
    }
    return true;
}
