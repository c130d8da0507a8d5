#include "platform/store/SqliteStatement.h"

#include <sqlite3.h>

#include <QStringList>

#include <algorithm>
#include <cstring>
#include <memory>
#include <utility>

SqliteStatement::SqliteStatement(sqlite3* db, const QString& sql)
    : m_db(db)
{
    const QByteArray utf8 = sql.toUtf8();
    if (sqlite3_prepare_v3(db, utf8.constData(), int(utf8.size()), SQLITE_PREPARE_PERSISTENT, &m_stmt, nullptr)
        != SQLITE_OK) {
        m_stmt = nullptr;
        m_ok = false;
    }
}

SqliteStatement::~SqliteStatement()
{
    if (m_stmt)
        sqlite3_finalize(m_stmt);
}

SqliteStatement::SqliteStatement(SqliteStatement&& other) noexcept
    : m_stmt(std::exchange(other.m_stmt, nullptr))
    , m_db(other.m_db)
    , m_ok(other.m_ok)
    , m_texts(std::move(other.m_texts))
{
}

SqliteStatement& SqliteStatement::operator=(SqliteStatement&& other) noexcept
{
    if (this != &other) {
        if (m_stmt)
            sqlite3_finalize(m_stmt);
        m_stmt = std::exchange(other.m_stmt, nullptr);
        m_db = other.m_db;
        m_ok = other.m_ok;
        m_texts = std::move(other.m_texts);
    }
    return *this;
}

QString SqliteStatement::error() const
{
    return m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString();
}

void SqliteStatement::bindNull(int i)
{
    sqlite3_bind_null(m_stmt, i);
}
void SqliteStatement::bindInt(int i, qint64 v)
{
    sqlite3_bind_int64(m_stmt, i, v);
}
void SqliteStatement::bindDouble(int i, double v)
{
    sqlite3_bind_double(m_stmt, i, v);
}

void SqliteStatement::bindText(int i, const QString& v)
{
    if (v.isNull() || i < 1) {
        sqlite3_bind_null(m_stmt, i);
        return;
    }
    if (size_t(i) > m_texts.size())
        m_texts.resize(std::max(size_t(i), size_t(sqlite3_bind_parameter_count(m_stmt))));
    QByteArray& utf8 = m_texts[size_t(i - 1)];
    // Most texts are ASCII: narrowed in place into the parameter's buffer; any other goes through the converter.
    const qsizetype n = v.size();
    const char16_t* from = reinterpret_cast<const char16_t*>(v.constData());
    utf8.resize(n); // keeps the capacity of earlier rows
    char* to = utf8.data();
    char16_t high = 0;
    for (qsizetype k = 0; k < n; ++k) {
        high |= from[k];
        to[k] = char(from[k]);
    }
    if (high >= 0x80)
        utf8 = v.toUtf8();
    sqlite3_bind_text(m_stmt, i, utf8.constData(), int(utf8.size()), SQLITE_STATIC);
}

void SqliteStatement::bindUtf8(int i, QByteArrayView utf8)
{
    if (i < 1)
        return;
    if (size_t(i) > m_texts.size())
        m_texts.resize(std::max(size_t(i), size_t(sqlite3_bind_parameter_count(m_stmt))));
    QByteArray& text = m_texts[size_t(i - 1)];
    text.resize(utf8.size()); // keeps the capacity of earlier rows
    if (!utf8.isEmpty())
        std::memcpy(text.data(), utf8.data(), size_t(utf8.size()));
    sqlite3_bind_text(m_stmt, i, text.constData(), int(text.size()), SQLITE_STATIC);
}

void SqliteStatement::bindStaticUtf8(int i, QByteArrayView utf8)
{
    sqlite3_bind_text(m_stmt, i, utf8.isNull() ? "" : utf8.data(), int(utf8.size()), SQLITE_STATIC);
}

void SqliteStatement::bindBlob(int i, const QByteArray& v)
{
    if (v.isNull()) {
        sqlite3_bind_null(m_stmt, i);
        return;
    }
    // An empty array must stay an empty value, not NULL: sqlite binds a zero-length blob for a non-null pointer.
    static const char empty = 0;
    sqlite3_bind_blob(m_stmt, i, v.isEmpty() ? &empty : v.constData(), int(v.size()), SQLITE_TRANSIENT);
}

bool SqliteStatement::next()
{
    if (!m_stmt) {
        m_ok = false;
        return false;
    }
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW) {
        m_ok = true;
        return true;
    }
    m_ok = rc == SQLITE_DONE;
    return false;
}

bool SqliteStatement::execute()
{
    while (next()) { }
    const bool ok = m_ok;
    if (m_stmt) {
        // Reset keeps the error message of a failed step only until the next call, so read it first.
        sqlite3_reset(m_stmt);
        sqlite3_clear_bindings(m_stmt);
    }
    return ok;
}

void SqliteStatement::reset()
{
    if (m_stmt) {
        sqlite3_reset(m_stmt);
        sqlite3_clear_bindings(m_stmt);
    }
    m_ok = true;
}

bool SqliteStatement::isNull(int col) const
{
    return sqlite3_column_type(m_stmt, col) == SQLITE_NULL;
}
qint64 SqliteStatement::columnInt(int col) const
{
    return sqlite3_column_int64(m_stmt, col);
}
double SqliteStatement::columnDouble(int col) const
{
    return sqlite3_column_double(m_stmt, col);
}
int SqliteStatement::columnType(int col) const
{
    return sqlite3_column_type(m_stmt, col);
}

QString SqliteStatement::columnText(int col) const
{
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, col));
    if (!p)
        return {};
    return QString::fromUtf8(p, sqlite3_column_bytes(m_stmt, col));
}

QByteArray SqliteStatement::columnBlob(int col) const
{
    if (sqlite3_column_type(m_stmt, col) == SQLITE_NULL)
        return {};
    const void* p = sqlite3_column_blob(m_stmt, col);
    const int n = sqlite3_column_bytes(m_stmt, col);
    if (!p || n == 0)
        return QByteArray("", 0);
    return QByteArray(static_cast<const char*>(p), n);
}

QByteArrayView SqliteStatement::columnBytes(int col) const
{
    const void* p = sqlite3_column_blob(m_stmt, col);
    return QByteArrayView(static_cast<const char*>(p), sqlite3_column_bytes(m_stmt, col));
}

bool insertPairs(sqlite3* db, const QString& quotedTable, size_t rows,
    const std::function<void(SqliteStatement&, int, size_t)>& bind)
{
    constexpr size_t kBlock = 64;
    const auto insertRows = [&](size_t count) {
        return std::make_unique<SqliteStatement>(db,
            QStringLiteral("INSERT OR IGNORE INTO %1 VALUES %2")
                .arg(quotedTable, QStringList(int(count), QStringLiteral("(?,?)")).join(',')));
    };
    std::unique_ptr<SqliteStatement> block, single;
    for (size_t n = 0; n < rows;) {
        const size_t count = rows - n >= kBlock ? kBlock : 1;
        std::unique_ptr<SqliteStatement>& st = count == kBlock ? block : single;
        if (!st)
            st = insertRows(count);
        for (size_t r = 0; r < count; ++r, ++n)
            bind(*st, int(2 * r + 1), n);
        if (!st->execute())
            return false;
    }
    return true;
}
