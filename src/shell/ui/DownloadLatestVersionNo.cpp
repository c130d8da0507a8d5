#include "shell/ui/DownloadLatestVersionNo.h"

#include "shell/DisplayMsg.h"
#include "shell/UpdateCheck.h"
#include "shell/Utils.h"
#include "shell/ui/UpdateServerRequest.h"

#include "platform/FTLog.h"
#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"
#include "platform/Prompts.h"
#include "platform/UserDefaults.h"

const QString DownloadLatestVersionNo::kFinished = QStringLiteral("GetLatestSerialNoFinished");

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}
}

DownloadLatestVersionNo::DownloadLatestVersionNo(QObject* parent)
    : QObject(parent)
{
}

DownloadLatestVersionNo::~DownloadLatestVersionNo()
{
    if (m_request)
        m_request->abort();
}

bool DownloadLatestVersionNo::connectToWebSite()
{
    m_latestVersionNo.clear();
    QString why;
    const QUrl server = UpdateCheck::updateUrl(&why);
    if (!server.isValid()) {
        const QString address = UserDefaults::standard().stringForKey(UpdateCheck::kUpdateUrlKey);
        DisplayMsg(QStringLiteral("%1 %2 %3.\n%4\n\n%5")
                       .arg(L("UnableToConnect"), Prompts::kAlertTitle, L("webSite"), address, why));
        finish(QStringLiteral("cnxnError"));
        return false;
    }
    m_request = new UpdateServerRequest(
        UpdateCheck::fileUrl(server, QStringLiteral("version.txt")), UpdateCheck::kMaxVersionFileBytes, this);
    m_request->done = [this](const UpdateServerRequest::Result& result) {
        m_request->deleteLater();
        if (result.tooLong) {
            FTLog(QStringLiteral("version.txt is longer than %1 bytes").arg(UpdateCheck::kMaxVersionFileBytes));
            finish(QStringLiteral("TerminalVerNo"));
        } else if (result.authenticationRequired) {
            DisplayMsg(QStringLiteral("%1 %2").arg(L("AuthFailed"), Utils::supportEmailAddress()));
            finish(QStringLiteral("AuthError"));
        } else if (!result.failure.isEmpty()) {
            DisplayMsg(QStringLiteral("%1 %2").arg(L("cnxnFailed"), result.failure));
            finish(QStringLiteral("cnxnError"));
        } else {
            m_latestVersionNo = UpdateCheck::readVersionFile(result.data);
            finish(m_latestVersionNo.isEmpty() ? QStringLiteral("TerminalVerNo") : QStringLiteral("Success"));
        }
    };
    m_request->start();
    return true;
}

void DownloadLatestVersionNo::finish(const QString& statusKey)
{
    if (m_finished)
        return;
    m_finished = true;
    NotificationCenter::defaultCenter().post(
        kFinished, this, nullptr, {{QStringLiteral("status"), LocalizedString(statusKey)}});
}
