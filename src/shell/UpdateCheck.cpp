#include "shell/UpdateCheck.h"

#include "shell/Utils.h"

#include "platform/UserDefaults.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QVersionNumber>

const QString UpdateCheck::kUpdateUrlKey = QStringLiteral("updateURL");
const QString UpdateCheck::kDefaultUpdateUrl = QStringLiteral("https://kinloom.org");

namespace {
const QString kReleasePrefix = QStringLiteral("KinloomForVovadid");
const QString kReleaseExtension = QStringLiteral("tar.gz");

// This machine: "localhost", 127.0.0.0/8 or ::1.
bool isLoopback(const QString& host)
{
    if (host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0 || host == QLatin1String("::1"))
        return true;
    static const QRegularExpression ipv4(QStringLiteral("^127\\.([0-9]{1,3})\\.([0-9]{1,3})\\.([0-9]{1,3})$"));
    const QRegularExpressionMatch match = ipv4.match(host);
    if (!match.hasMatch())
        return false;
    for (int i = 1; i <= 3; ++i)
        if (match.captured(i).toInt() > 255)
            return false;
    return true;
}

// Splits "V<major>.<minor>" into its two numbers; false unless there are exactly two parts.
bool versionNumbers(const QString& version, long long* major, long long* minor)
{
    if (!version.startsWith(QLatin1Char('V')))
        return false;
    const QStringList parts = version.mid(1).split(QLatin1Char('.'));
    if (parts.size() != 2)
        return false;
    *major = parts[0].toLongLong();
    // The minor part is a decimal fraction: "5" ranks above "45".
    *minor = parts[1].leftJustified(6, QLatin1Char('0'), true).toLongLong();
    return true;
}
}

QString UpdateCheck::installedVersion(const QString& programVersion)
{
    const QVersionNumber number = QVersionNumber::fromString(programVersion);
    return QStringLiteral("V%1.%2").arg(number.majorVersion()).arg(number.minorVersion());
}

bool UpdateCheck::canDownload(const QString& installed, const QString& latest)
{
    long long installedMajor = 0, installedMinor = 0, latestMajor = 0, latestMinor = 0;
    if (!versionNumbers(installed, &installedMajor, &installedMinor)
        || !versionNumbers(latest, &latestMajor, &latestMinor))
        return false;
    if (installedMajor != latestMajor)
        return installedMajor < latestMajor;
    return installedMinor < latestMinor;
}

bool UpdateCheck::isReleaseVersion(const QString& version)
{
    static const QRegularExpression form(QStringLiteral("^V[0-9]{1,6}\\.[0-9]{1,6}$"));
    return form.match(version).hasMatch();
}

QString UpdateCheck::readVersionFile(const QByteArray& data)
{
    if (data.size() > kMaxVersionFileBytes)
        return {};
    for (const char c : data) {
        const auto u = static_cast<unsigned char>(c);
        if (u > 126 || (u < 32 && c != '\n' && c != '\r' && c != '\t'))
            return {};
    }
    const QString version = QString::fromLatin1(data).trimmed();
    return isReleaseVersion(version) ? version : QString();
}

QString UpdateCheck::releaseFileName(const QString& version)
{
    if (!isReleaseVersion(version))
        return {};
    return QStringLiteral("%1%2.%3").arg(kReleasePrefix, version, kReleaseExtension);
}

QByteArray UpdateCheck::readChecksumFile(const QByteArray& data, const QString& fileName)
{
    if (data.size() > kMaxChecksumFileBytes)
        return {};
    static const QRegularExpression line(QStringLiteral("^([0-9A-Fa-f]{64})(?:[ \\t]+\\*?(\\S.*?))?[ \\t]*$"));
    const QString text = QString::fromLatin1(data).trimmed();
    const QRegularExpressionMatch match = line.match(text);
    if (!match.hasMatch())
        return {};
    const QString named = match.captured(2);
    if (!named.isEmpty() && named != fileName)
        return {};
    return match.captured(1).toLower().toLatin1();
}

QUrl UpdateCheck::updateUrl(QString* error)
{
    QString text = UserDefaults::standard().stringForKey(kUpdateUrlKey).trimmed();
    if (text.isEmpty())
        text = kDefaultUpdateUrl;
    const QUrl url(text, QUrl::StrictMode);
    if (!isAllowedUrl(url, error))
        return {};
    return url;
}

bool UpdateCheck::isAllowedUrl(const QUrl& url, QString* error)
{
    auto refuse = [&](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    if (!url.isValid() || url.host().isEmpty())
        return refuse(QStringLiteral("\"%1\" is not a web address.").arg(url.toString()));
    if (!url.userInfo().isEmpty())
        return refuse(QStringLiteral("The address of the update server may not hold a user name or password."));
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("https"))
        return true;
    if (scheme == QLatin1String("http") && isLoopback(url.host()))
        return true;
    return refuse(QStringLiteral("The update server must be reached over https: \"%1\".").arg(url.toString()));
}

QUrl UpdateCheck::fileUrl(const QUrl& server, const QString& fileName)
{
    QUrl url = server;
    QString path = url.path();
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    url.setPath(path + fileName);
    url.setQuery(QString());
    url.setFragment(QString());
    return url;
}

QString UpdateCheck::downloadFolder()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    QDir().mkpath(folder);
    return folder;
}

QString UpdateCheck::placeDownload(const QString& partPath, const QString& folder, const QString& fileName,
                                   QString* error)
{
    // "_1" goes before the whole ".tar.gz".
    const QString suffix = QStringLiteral(".") + kReleaseExtension;
    const bool release = fileName.endsWith(suffix);
    const QString base = release ? fileName.chopped(suffix.size()) : QFileInfo(fileName).completeBaseName();
    const QString extension = release ? kReleaseExtension : QFileInfo(fileName).suffix();
    // Another program may take the free name between the look-up and the move: the move never replaces a file,
    // so look again.
    for (int attempt = 0; attempt < 5; ++attempt) {
        const QString target = Utils::uniquePathInFolder(folder, base, extension, -1, error);
        if (target.isEmpty())
            return {};
        if (QFile::rename(partPath, target))
            return target;
        if (!QFileInfo::exists(target)) {
            if (error)
                *error = QStringLiteral("The download could not be moved to %1.").arg(target);
            return {};
        }
    }
    if (error)
        *error = QStringLiteral("No free name was found for %1 in %2.").arg(fileName, folder);
    return {};
}
