#include "platform/store/ObjectContextPrivate.h"
#include "platform/store/TextMatch.h"

#include "platform/FTLog.h"

#include <QCborValue>
#include <QElapsedTimer>
#include <QScopeGuard>
#include <QSet>

#include <sqlite3.h>

#include <algorithm>
#include <cstring>

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

bool ObjectContext::Private::appendFoldedValue(const ManagedObject* o, const EntityMap& m, int column, QByteArray& utf8)
{
    const PropertyDescription* p = m.byColumn[size_t(column)];
    if (!p || p->slot != PropertyDescription::Slot::String)
        return false;
    const QString& text = *reinterpret_cast<const QString*>(o->m_values + p->slotOffset);
    if (text.isNull())
        return false;
    TextMatch::appendFolded(text, utf8);
    return true;
}

bool ObjectContext::Private::foldedColumnsPresent()
{
    QSet<QString> tablesPresent;
    SqliteStatement names(db.handle(), QStringLiteral("SELECT name FROM sqlite_master WHERE type='table'"));
    while (names.next())
        tablesPresent.insert(names.columnText(0));
    for (const StoreSchema::Table& t : schema.tables()) {
        if (t.folded.empty())
            continue;
        QSet<QString> columns;
        SqliteStatement info(db.handle(), QStringLiteral("PRAGMA table_info(%1)").arg(StoreSchema::quoted(t.name)));
        while (info.next())
            columns.insert(info.columnText(1));
        for (const StoreSchema::FoldedColumn& f : t.folded)
            if (!columns.contains(f.name) || (!f.wordsTable.isEmpty() && !tablesPresent.contains(f.wordsTable)))
                return false;
    }
    return true;
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
    endHeldRead();
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
            run(StoreSchema::wordsTableStatement(f.wordsTable));
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
        // Saves leave them alone then, and the next opening tries again.
        metadata.remove(StoreSchema::kFoldedColumnsKey);
        FTLog(QStringLiteral("Store: the folded columns of \"%1\" could not be made (%2); searches read the records")
                  .arg(path, *message));
        return false;
    }
    metadata.insert(StoreSchema::kFoldedColumnsKey, StoreSchema::kFoldedColumnsVersion);
    FTLog(QStringLiteral("Store: folded columns made in %1 ms").arg(timer.elapsed()));
    return true;
}

bool ObjectContext::Private::removeWords(ManagedObject* o, TableState& t, std::vector<WordTexts>* bound)
{
    const bool deleted = o->hasFlag(ManagedObject::Deleted);
    t.words.resize(t.table->folded.size());
    for (size_t i = 0; i < t.table->folded.size(); ++i) {
        const StoreSchema::FoldedColumn& f = t.table->folded[i];
        if (f.wordsTable.isEmpty() || !(deleted || (o->m_dirtyColumns & (quint64(1) << f.source))))
            continue;
        auto& [read, remove] = t.words[i];
        if (!read) {
            read = std::make_unique<SqliteStatement>(db.handle(),
                QStringLiteral("SELECT %1 FROM %2 WHERE \"_pk\"=?")
                    .arg(StoreSchema::quoted(f.name), StoreSchema::quoted(t.table->name)));
            remove = std::make_unique<SqliteStatement>(db.handle(),
                QStringLiteral("DELETE FROM %1 WHERE \"word\"=? AND \"pk\"=?").arg(StoreSchema::quoted(f.wordsTable)));
        }
        // The words written for the text the file holds now.
        read->bindInt(1, o->primaryKey());
        const bool found = read->next();
        QString stored;
        if (found && !read->isNull(0)) {
            // A change the fold does not see (of case, say, as when every family name is capitalised) leaves the
            // words as they are: neither taken out nor written again.
            WordTexts* texts = bound && i < bound->size() ? &(*bound)[i] : nullptr;
            if (texts && !texts->rows.empty() && texts->rows.back().key == o->primaryKey()) {
                const WordTexts::Text& text = texts->rows.back();
                if (QByteArrayView(texts->utf8).sliced(text.begin, text.end - text.begin) == read->columnBytes(0)) {
                    texts->rows.pop_back();
                    read->reset();
                    continue;
                }
            }
            stored = read->columnText(0);
        }
        const bool readOk = read->ok();
        read->reset();
        if (!readOk)
            return false;
        for (const QString& start : TextMatch::wordStarts(stored)) {
            remove->bindText(1, start);
            remove->bindInt(2, o->primaryKey());
            if (!remove->execute())
                return false;
        }
    }
    return true;
}

namespace {
// A word start to write, with its first bytes beside it for sorting (big-endian, zeros after its end): most are
// ordered by them without a look at the text. Kept small: a whole database's word starts may be sorted at once.
struct Word {
    quint64 head;
    qint64 key;
    quint32 at;
    quint32 size;
};
constexpr size_t kKeptWords = 1 << 16;
}

bool ObjectContext::Private::writeWords(const TableState& t, std::vector<WordTexts>& texts)
{
    sqlite3* h = db.handle();
    // Kept from one save to the next on the thread when small: the batches of an import would each be given
    // new memory otherwise, whose first use is costly.
    thread_local std::vector<Word> added;
    thread_local std::vector<std::pair<qsizetype, qsizetype>> starts;
    const auto release = qScopeGuard([] {
        if (added.capacity() > kKeptWords)
            std::vector<Word>().swap(added);
    });
    for (size_t column = 0; column < t.table->folded.size() && column < texts.size(); ++column) {
        const StoreSchema::FoldedColumn& f = t.table->folded[column];
        WordTexts& from = texts[column];
        if (f.wordsTable.isEmpty() || from.rows.empty())
            continue;
        // Offsets of 32 bits: the texts of a larger buffer are written a part at a time. (No one text is that
        // large: SQLite refuses it first.)
        constexpr qsizetype kMostBytes = qsizetype(1) << 31;
        if (from.utf8.size() >= kMostBytes && from.rows.size() > 1) {
            std::vector<WordTexts> parts(column + 1);
            WordTexts& part = parts[column];
            for (const WordTexts::Text& text : from.rows) {
                part.utf8 += char(TextMatch::kFirstWordMark.unicode());
                part.rows.push_back({ text.key, part.utf8.size(), part.utf8.size() + (text.end - text.begin) });
                part.utf8 += QByteArrayView(from.utf8).sliced(text.begin, text.end - text.begin);
                if ((part.utf8.size() >= kMostBytes / 2 || &text == &from.rows.back()) && !writeWords(t, parts))
                    return false;
                if (part.utf8.size() >= kMostBytes / 2)
                    part = {};
            }
            continue;
        }
        added.clear();
        added.reserve(from.rows.size() * 3);
        for (const auto& [key, begin, end] : from.rows) {
            starts.clear();
            TextMatch::wordStartsInUtf8(from.utf8, begin, end, starts);
            const auto* bytes = reinterpret_cast<const uchar*>(from.utf8.constData());
            for (const auto& [at, size] : starts) {
                Word w { 0, key, quint32(at), quint32(size) };
                for (qsizetype i = 0; i < 8; ++i)
                    w.head = (w.head << 8) | (i < size ? bytes[at + i] : 0);
                added.push_back(w);
            }
        }
        // In the table's own order (the bytes, then the key) and many to a statement: each row then goes where the
        // one before went, and a new table is written from its start to its end.
        const char* bytes = from.utf8.constData();
        std::sort(added.begin(), added.end(), [bytes](const Word& a, const Word& b) {
            if (a.head != b.head)
                return a.head < b.head;
            if (a.size > 8 && b.size > 8)
                if (const int c = std::memcmp(bytes + a.at + 8, bytes + b.at + 8, std::min(a.size, b.size) - 8))
                    return c < 0;
            return a.size != b.size ? a.size < b.size : a.key < b.key;
        });
        if (!insertPairs(h, StoreSchema::quoted(f.wordsTable), added.size(), [&](SqliteStatement& st, int at, size_t n) {
                const Word& word = added[n];
                st.bindStaticUtf8(at, QByteArrayView(bytes + word.at, word.size));
                st.bindInt(at + 1, word.key);
            }))
            return false;
    }
    return true;
}
