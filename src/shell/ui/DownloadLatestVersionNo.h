#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;
class QNetworkRequest;
class QTimer;

// Reads the latest released version from "version.txt" on the update server (UpdateCheck::updateUrl()) and
// posts "GetLatestSerialNoFinished" with itself as object and the outcome as userInfo "status": the text of
// "Success", or of "TerminalVerNo" (no version could be read), "AuthError" (the server wants a password) or
// "cnxnError" (no answer, a refusal, a redirect, a time-out), each of which begins with the text of "Error".
// Every outcome is posted exactly once, also when the check cannot start. Failures are also told at once.
//
//   auto* check = new DownloadLatestVersionNo(this);
//   NotificationCenter::defaultCenter().addObserver(DownloadLatestVersionNo::kFinished, check, ...);
//   check->connectToWebSite();
class DownloadLatestVersionNo : public QObject {
    Q_OBJECT
public:
    static const QString kFinished; // "GetLatestSerialNoFinished"

    explicit DownloadLatestVersionNo(QObject* parent = nullptr);
    ~DownloadLatestVersionNo() override;

    // Starts reading. False when it could not start (the outcome has been posted already).
    bool connectToWebSite();
    // The version read, trimmed; empty until then and after a failure.
    QString latestVersionNo() const { return m_latestVersionNo; }

    // How long the server may stay silent before the check or a download gives up (tests shorten it).
    static int timeoutMs();
    static void setTimeoutMs(int ms);

    // What the version check and the release download share: a network access that never caches, follows no
    // redirect and sends no credentials (and goes straight to this machine without a proxy), a plain GET...
    static QNetworkAccessManager* networkFor(const QUrl& url, QObject* parent);
    static QNetworkRequest requestFor(const QUrl& url);
    // ... and what went wrong with a finished reply: empty for a complete "200 OK", else a description.
    static QString failureOf(QNetworkReply* reply);

private:
    void finish(const QString& statusKey);
    void replyFinished();

    QString m_latestVersionNo;
    QByteArray m_receivedData;
    QNetworkAccessManager* m_network = nullptr;
    QPointer<QNetworkReply> m_reply;
    QTimer* m_timer = nullptr;
    bool m_tooLong = false;
    bool m_timedOut = false;
    bool m_finished = false;
};
