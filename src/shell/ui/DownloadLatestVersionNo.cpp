#include "shell/ui/DownloadLatestVersionNo.h"

#include "shell/DisplayMsg.h"
#include "shell/UpdateCheck.h"
#include "shell/Utils.h"

#include "platform/FTLog.h"
#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"
#include "platform/Prompts.h"
#include "platform/UserDefaults.h"

#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

const QString DownloadLatestVersionNo::kFinished = QStringLiteral("GetLatestSerialNoFinished");

namespace {
int g_timeoutMs = UpdateCheck::kTimeoutMs;

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
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
    }
}

int DownloadLatestVersionNo::timeoutMs()
{
    return g_timeoutMs;
}

void DownloadLatestVersionNo::setTimeoutMs(int ms)
{
    g_timeoutMs = ms > 0 ? ms : UpdateCheck::kTimeoutMs;
}

QNetworkAccessManager* DownloadLatestVersionNo::networkFor(const QUrl& url, QObject* parent)
{
    auto* network = new QNetworkAccessManager(parent);
    network->setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
    // Only https leaves this machine; plain http is allowed to this machine only, never through a proxy.
    if (url.scheme().compare(QLatin1String("http"), Qt::CaseInsensitive) == 0)
        network->setProxy(QNetworkProxy::NoProxy);
    return network;
}

QNetworkRequest DownloadLatestVersionNo::requestFor(const QUrl& url)
{
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    request.setAttribute(QNetworkRequest::AuthenticationReuseAttribute, QNetworkRequest::Manual);
    request.setRawHeader("Cache-Control", "no-cache");
    request.setHeader(QNetworkRequest::UserAgentHeader,
                      QStringLiteral("Kinloom/%1").arg(QStringLiteral(KINLOOM_VERSION)));
    return request;
}

QString DownloadLatestVersionNo::failureOf(QNetworkReply* reply)
{
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->error() != QNetworkReply::NoError)
        return reply->errorString();
    if (status == 200)
        return {};
    const QString reason = reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
    if (status >= 300 && status < 400)
        return QStringLiteral("The server sent the request elsewhere (HTTP %1 %2), which Kinloom does not follow.")
            .arg(status)
            .arg(reason)
            .simplified();
    return QStringLiteral("The server answered HTTP %1 %2.").arg(status).arg(reason).simplified();
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
    const QUrl url = UpdateCheck::fileUrl(server, QStringLiteral("version.txt"));
    m_network = networkFor(url, this);
    // No credentials are ever sent: a server that asks for them fails the check.
    m_reply = m_network->get(requestFor(url));
    m_receivedData.clear();
    m_timer = new QTimer(this);
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, [this] {
        m_timedOut = true;
        if (m_reply)
            m_reply->abort();
    });
    m_timer->start(g_timeoutMs);
    connect(m_reply, &QNetworkReply::readyRead, this, [this] {
        m_receivedData += m_reply->readAll();
        if (m_receivedData.size() > UpdateCheck::kMaxVersionFileBytes) {
            m_tooLong = true;
            m_reply->abort();
        }
    });
    connect(m_reply, &QNetworkReply::finished, this, &DownloadLatestVersionNo::replyFinished);
    return true;
}

void DownloadLatestVersionNo::replyFinished()
{
    QNetworkReply* reply = m_reply;
    if (!reply)
        return;
    m_timer->stop();
    if (reply->isOpen())
        m_receivedData += reply->readAll();
    reply->deleteLater();
    m_reply = nullptr;
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();

    if (m_tooLong) {
        FTLog(QStringLiteral("version.txt is longer than %1 bytes").arg(UpdateCheck::kMaxVersionFileBytes));
        finish(QStringLiteral("TerminalVerNo"));
        return;
    }
    if (status == 401 || reply->error() == QNetworkReply::AuthenticationRequiredError) {
        DisplayMsg(QStringLiteral("%1 %2").arg(L("AuthFailed"), Utils::supportEmailAddress()));
        finish(QStringLiteral("AuthError"));
        return;
    }
    const QString failure = m_timedOut ? L("cnxnTimedOut").arg(g_timeoutMs / 1000.0) : failureOf(reply);
    if (!failure.isEmpty()) {
        DisplayMsg(QStringLiteral("%1 %2").arg(L("cnxnFailed"), failure));
        finish(QStringLiteral("cnxnError"));
        return;
    }
    m_latestVersionNo = UpdateCheck::readVersionFile(m_receivedData);
    m_receivedData.clear();
    finish(m_latestVersionNo.isEmpty() ? QStringLiteral("TerminalVerNo") : QStringLiteral("Success"));
}

void DownloadLatestVersionNo::finish(const QString& statusKey)
{
    if (m_finished)
        return;
    m_finished = true;
    m_receivedData.clear();
    NotificationCenter::defaultCenter().post(
        kFinished, this, nullptr, {{QStringLiteral("status"), LocalizedString(statusKey)}});
}
