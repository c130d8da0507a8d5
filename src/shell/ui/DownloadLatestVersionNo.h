#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class UpdateServerRequest;

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

private:
    void finish(const QString& statusKey);

    QString m_latestVersionNo;
    QPointer<UpdateServerRequest> m_request;
    bool m_finished = false;
};
