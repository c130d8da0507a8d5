#include "reports/ReportTextFile.h"

#include "shell/Utils.h"

#include "platform/Localizer.h"
#include "platform/Prompts.h"

#include <QFile>

ReportTextFile::ReportTextFile() = default;

ReportTextFile::~ReportTextFile() = default;

bool ReportTextFile::create(const QString& baseName, const QString& extension, int lastNumber)
{
    QString error;
    m_path = Utils::uniquePathInFolder(Utils::reportsDirectory(),
        Utils::safeFileName(baseName, QStringLiteral("Report")), extension,
        lastNumber, &error);
    if (m_path.isEmpty()) {
        Prompts::current().message(error.isEmpty() ? LocalizedString(QStringLiteral("UnableToCreateReport")) : error);
        return false;
    }
    m_file = std::make_unique<QFile>(m_path);
    // NewOnly: a report never replaces a file that is already there, even one made since the name was chosen.
    if (!m_file->open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return fail("UnableToCreateReport");
    m_ok = true;
    return true;
}

bool ReportTextFile::write(const QString& text)
{
    if (!m_file || !m_ok)
        return false;
    const QByteArray bytes = text.toUtf8();
    m_ok = m_file->write(bytes) == bytes.size();
    return m_ok;
}

bool ReportTextFile::close()
{
    if (!m_file)
        return false;
    const bool flushed = m_file->flush();
    m_file->close();
    const bool ok = m_ok && flushed && m_file->error() == QFileDevice::NoError;
    m_file.reset();
    if (ok)
        return true;
    // What could not be written whole is of no use to anyone: only this run's own file goes.
    QFile::remove(m_path);
    return fail("UnableToCreateReport");
}

bool ReportTextFile::fail(const char* key)
{
    m_ok = false;
    Prompts::current().message(QStringLiteral("%1: %2").arg(LocalizedString(QString::fromLatin1(key)), m_path));
    return false;
}
