#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

// The rules of the update check and the release download, without the network: version texts, the files on the
// update server and where a downloaded release is put.
//
// Versions are written "V<major>.<minor>": majors compare as integers, minors as decimal fractions, so "V2.5" is
// newer than "V2.45". The server, the user default "updateURL", holds "version.txt" (one line, the latest
// version), the release "KinloomForVovadid<version>.tar.gz" and its checksum "<release>.sha256".
class UpdateCheck {
public:
    static const QString kUpdateUrlKey; // "updateURL"
    static const QString kDefaultUpdateUrl; // the project's site
    static constexpr qsizetype kMaxVersionFileBytes = 64;
    static constexpr qsizetype kMaxChecksumFileBytes = 1024;
    static constexpr int kTimeoutMs = 60000;

    // "V" + major.minor of a program version ("0.1.0" gives "V0.1").
    static QString installedVersion(const QString& programVersion = QStringLiteral(KINLOOM_VERSION));
    // Whether `latest` is newer than `installed`. False unless both are "V" followed by exactly two parts
    // separated by ".".
    static bool canDownload(const QString& installed, const QString& latest);
    // Whether a text is a release version: "V", digits, ".", digits.
    static bool isReleaseVersion(const QString& version);

    // The version held by the bytes of "version.txt": plain ASCII of at most kMaxVersionFileBytes bytes, blanks
    // and line ends trimmed, a release version. Empty for anything else (empty, too long, not text, not a
    // version).
    static QString readVersionFile(const QByteArray& data);

    // "KinloomForVovadid<version>.tar.gz"; empty unless `version` is a release version, so that no text from
    // the server can choose where a file goes.
    static QString releaseFileName(const QString& version);
    // The SHA-256 (64 hex digits, lower case) in a checksum file, "<digest>" or "<digest>  <file name>" as
    // sha256sum writes it. Empty when there is none or the line names a file other than `fileName`.
    static QByteArray readChecksumFile(const QByteArray& data, const QString& fileName);

    // The update server: the user default when it is an address the check may use (HTTPS; HTTP only to this
    // machine; no user name or password in it). Invalid, with the reason, otherwise.
    static QUrl updateUrl(QString* error = nullptr);
    static bool isAllowedUrl(const QUrl& url, QString* error = nullptr);
    // A file on the server beside "version.txt".
    static QUrl fileUrl(const QUrl& server, const QString& fileName);

    // The folder a release is saved in: the user's download folder, made when missing.
    static QString downloadFolder();
    // Moves a checked download from `partPath` into `folder` under the first free name for `fileName`
    // ("<name>_1.tar.gz" when the name is taken, ...), never over an existing file. The final path, or empty
    // with the reason.
    static QString placeDownload(
        const QString& partPath, const QString& folder, const QString& fileName, QString* error = nullptr);
};
