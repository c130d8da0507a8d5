#include "shell/ui/UpdateServerRequest.h"

#include "shell/UpdateCheck.h"

#include "platform/Localizer.h"

#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

namespace {
int g_timeoutMs = UpdateCheck::kTimeoutMs;
}

int UpdateServerRequest::timeoutMs()
{
    return g_timeoutMs;
}

void UpdateServerRequest::setTimeoutMs(int ms)
{
    g_timeoutMs = ms > 0 ? ms : UpdateCheck::kTimeoutMs;
}

UpdateServerRequest::UpdateServerRequest(const QUrl& url, qsizetype maxBytes, QObject* parent)
    : QObject(parent)
    , m_url(url)
    , m_maxBytes(maxBytes)
{
}

UpdateServerRequest::~UpdateServerRequest()
{
    abort();
}

void UpdateServerRequest::start()
{
    m_network = new QNetworkAccessManager(this);
    m_network->setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
    // Only https leaves this machine; plain http is allowed to this machine only, never through a proxy.
    if (m_url.scheme().compare(QLatin1String("http"), Qt::CaseInsensitive) == 0)
        m_network->setProxy(QNetworkProxy::NoProxy);

    QNetworkRequest request(m_url);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    request.setAttribute(QNetworkRequest::AuthenticationReuseAttribute, QNetworkRequest::Manual);
    request.setRawHeader("Cache-Control", "no-cache");
    request.setHeader(
        QNetworkRequest::UserAgentHeader, QStringLiteral("Kinloom/%1").arg(QStringLiteral(KINLOOM_VERSION)));
    m_reply = m_network->get(request);

    m_timer = new QTimer(this);
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, [this] {
        m_timedOut = true;
        if (m_reply)
            m_reply->abort();
    });
    m_timer->start(g_timeoutMs);
    connect(m_reply, &QNetworkReply::readyRead, this, [this] {
        m_timer->start(g_timeoutMs);
        const QByteArray bytes = m_reply->readAll();
        if (onData) {
            if (!onData(bytes, m_reply->header(QNetworkRequest::ContentLengthHeader).toLongLong()))
                abort();
            return;
        }
        m_data += bytes;
        if (m_maxBytes > 0 && m_data.size() > m_maxBytes) {
            m_tooLong = true;
            m_reply->abort();
        }
    });
    connect(m_reply, &QNetworkReply::finished, this, &UpdateServerRequest::finished);
}

void UpdateServerRequest::abort()
{
    if (m_timer)
        m_timer->stop();
    if (QNetworkReply* reply = m_reply) {
        m_reply = nullptr;
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
}

void UpdateServerRequest::finished()
{
    QNetworkReply* reply = m_reply;
    if (!reply)
        return;
    m_timer->stop();
    m_reply = nullptr;
    reply->deleteLater();
    Result result;
    if (reply->isOpen() && !m_tooLong) {
        const QByteArray rest = reply->readAll();
        const qint64 length = reply->header(QNetworkRequest::ContentLengthHeader).toLongLong();
        if (onData && !rest.isEmpty() && !onData(rest, length))
            return;
        if (!onData)
            m_data += rest;
    }
    result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    result.tooLong = m_tooLong || (m_maxBytes > 0 && m_data.size() > m_maxBytes);
    result.authenticationRequired
        = result.status == 401 || reply->error() == QNetworkReply::AuthenticationRequiredError;
    result.data = m_data;
    m_data.clear();
    const QString reason = reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
    if (m_timedOut)
        result.failure = LocalizedString(QStringLiteral("cnxnTimedOut")).arg(g_timeoutMs / 1000.0);
    else if (reply->error() != QNetworkReply::NoError)
        result.failure = reply->errorString();
    else if (result.status >= 300 && result.status < 400)
        result.failure = QStringLiteral("The server sent the request elsewhere (HTTP %1 %2), which Kinloom does not "
                                        "follow.")
                             .arg(result.status)
                             .arg(reason)
                             .simplified();
    else if (result.status != 200)
        result.failure = QStringLiteral("The server answered HTTP %1 %2.").arg(result.status).arg(reason).simplified();
    if (done)
        done(result);
}
