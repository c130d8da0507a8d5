#pragma once

#include <QString>

#include <utility>

struct sqlite3;

// One SQLite connection, closed when the object goes. Errors are answered as text (sqlite's own message with the
// result code's meaning), never thrown.
class SqliteDatabase {
public:
    // Unchanging: read only, and the file is taken never to change while it is open, so no lock is taken and no
    // side file is made (for a file that is only read where such side files could not, or should not, be made).
    enum class Mode { ReadOnly, Unchanging, ReadWrite, ReadWriteCreate };

    SqliteDatabase() = default;
    ~SqliteDatabase();
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;

    bool open(const QString& path, Mode mode, QString* error);
    void close();
    bool isOpen() const { return m_db != nullptr; }
    sqlite3* handle() const { return m_db; }
    void swap(SqliteDatabase& other) noexcept { std::swap(m_db, other.m_db); }

    // Runs one or more statements that return no rows.
    bool exec(const QString& sql, QString* error = nullptr);
    // The first column of the first row of a query, as text; empty when there is none.
    QString queryText(const QString& sql, QString* error = nullptr);
    bool tableExists(const QString& name);
    bool isReadOnly() const;

    // The last error of this connection: message and primary result code (SQLITE_BUSY, SQLITE_FULL, ...).
    QString lastError() const;
    int lastErrorCode() const;
    bool inTransaction() const;

private:
    sqlite3* m_db = nullptr;
};
