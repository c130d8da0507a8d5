#include "platform/store/SqliteDatabase.h"

#include "platform/store/SqliteStatement.h"

#include <QFileInfo>
#include <QUrl>

#include <sqlite3.h>

SqliteDatabase::~SqliteDatabase()
{
    close();
}

bool SqliteDatabase::open(const QString& path, Mode mode, QString* error)
{
    // Nothing here reads sqlite's memory statistics, and keeping them costs a global lock on every allocation
    // sqlite makes. Only possible before sqlite's first use in the process.
    static const int memoryStatistics = sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
    Q_UNUSED(memoryStatistics);
    close();
    int flags = SQLITE_OPEN_NOMUTEX;
    QByteArray name = path.toUtf8();
    switch (mode) {
    case Mode::ReadOnly:
        flags |= SQLITE_OPEN_READONLY;
        break;
    case Mode::Unchanging:
        // Only a URI says "immutable"; the file's URL carries any '?', '#' or '%' of its name escaped.
        flags |= SQLITE_OPEN_READONLY | SQLITE_OPEN_URI;
        name = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toEncoded() + "?immutable=1";
        break;
    case Mode::ReadWrite:
        flags |= SQLITE_OPEN_READWRITE;
        break;
    case Mode::ReadWriteCreate:
        flags |= SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
        break;
    }
    const int rc = sqlite3_open_v2(name.constData(), &m_db, flags, nullptr);
    if (rc != SQLITE_OK) {
        if (error)
            *error = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString::fromUtf8(sqlite3_errstr(rc));
        close();
        return false;
    }
    sqlite3_extended_result_codes(m_db, 0);
    return true;
}

void SqliteDatabase::close()
{
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

bool SqliteDatabase::exec(const QString& sql, QString* error)
{
    char* msg = nullptr;
    const int rc = sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &msg);
    if (rc != SQLITE_OK) {
        if (error)
            *error = msg ? QString::fromUtf8(msg) : lastError();
        sqlite3_free(msg);
        return false;
    }
    return true;
}

QString SqliteDatabase::queryText(const QString& sql, QString* error)
{
    SqliteStatement st(m_db, sql);
    if (!st.isValid()) {
        if (error)
            *error = st.error();
        return {};
    }
    if (st.next())
        return st.columnText(0);
    if (!st.ok() && error)
        *error = st.error();
    return {};
}

bool SqliteDatabase::tableExists(const QString& name)
{
    SqliteStatement st(m_db, QStringLiteral("SELECT 1 FROM sqlite_master WHERE type='table' AND name=?"));
    st.bindText(1, name);
    return st.next();
}

bool SqliteDatabase::isReadOnly() const
{
    return m_db && sqlite3_db_readonly(m_db, "main") == 1;
}

QString SqliteDatabase::lastError() const
{
    return m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString();
}

int SqliteDatabase::lastErrorCode() const
{
    return m_db ? sqlite3_errcode(m_db) & 0xff : SQLITE_MISUSE;
}

bool SqliteDatabase::inTransaction() const
{
    return m_db && sqlite3_get_autocommit(m_db) == 0;
}
