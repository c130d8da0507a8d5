#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// A prepared statement, finalized when the object goes. Bind indexes count from 1, column indexes from 0.
class SqliteStatement {
public:
    SqliteStatement() = default;
    SqliteStatement(sqlite3* db, const QString& sql);
    ~SqliteStatement();
    SqliteStatement(SqliteStatement&& other) noexcept;
    SqliteStatement& operator=(SqliteStatement&& other) noexcept;
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    bool isValid() const { return m_stmt != nullptr; }
    QString error() const;

    void bindNull(int i);
    void bindInt(int i, qint64 v);
    void bindDouble(int i, double v);
    void bindText(int i, const QString& v); // a null string binds NULL
    // UTF-8 text that the caller keeps unchanged until the statement has run: bound without a copy.
    void bindStaticUtf8(int i, QByteArrayView utf8);
    void bindUtf8(int i, QByteArrayView utf8); // copied
    void bindBlob(int i, const QByteArray& v); // a null array binds NULL

    // Steps once: true while a row is ready. After false, ok() tells a finished statement from an error.
    bool next();
    bool ok() const { return m_ok; }
    // Runs a statement that returns no rows and resets it; false on error. Both this and reset() set every
    // parameter back to NULL (callers leave nil values unbound).
    bool execute();
    void reset();

    bool isNull(int col) const;
    qint64 columnInt(int col) const;
    double columnDouble(int col) const;
    QString columnText(int col) const;
    QByteArray columnBlob(int col) const;
    // The raw bytes of a text or blob column, valid until the next step.
    QByteArrayView columnBytes(int col) const;
    int columnType(int col) const;

private:
    sqlite3_stmt* m_stmt = nullptr;
    sqlite3* m_db = nullptr;
    bool m_ok = true;
    // The UTF-8 form of each bound text, by parameter: reused from row to row, so binding a text costs neither an
    // allocation nor sqlite's copy of it.
    std::vector<QByteArray> m_texts;
};

// Adds `rows` rows of two values to the table named `quotedTable` (INSERT OR IGNORE), many rows to a statement:
// rows given in the table's order then land next to each other. `bind(statement, parameter, row)` binds the two
// values of row `row` at `parameter` and the one after it. False at the first statement that fails.
bool insertPairs(sqlite3* db, const QString& quotedTable, size_t rows,
    const std::function<void(SqliteStatement&, int, size_t)>& bind);
