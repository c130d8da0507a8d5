#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

#include <functional>

class QNetworkAccessManager;
class QNetworkReply;
class QTimer;

// One GET of a file on the update server, as the update check and the release download make it: never from a
// cache, no redirect followed, no credentials sent (a server that asks for them fails), no proxy for an address on
// this machine. It gives up when the server sends nothing for timeoutMs(). The bytes are collected, at most
// `maxBytes` of them, unless `onData` takes them as they arrive. `done` is called once, unless abort() comes first.
//
//   auto* get = new UpdateServerRequest(url, 64, this);
//   get->done = [](const UpdateServerRequest::Result& r) { ... r.failure.isEmpty() ... r.data ... };
//   get->start();
class UpdateServerRequest : public QObject {
    Q_OBJECT
public:
    struct Result {
        int status = 0; // the HTTP status; 0 without an answer
        QString failure; // empty for a complete "200 OK"; else what went wrong, for the user
        bool authenticationRequired = false; // the server wants a user name and password
        bool tooLong = false; // more than maxBytes arrived
        QByteArray data; // what arrived (nothing when onData took it)
    };

    UpdateServerRequest(const QUrl& url, qsizetype maxBytes, QObject* parent = nullptr);
    ~UpdateServerRequest() override;

    // Takes the bytes as they arrive, with the announced length (-1 when unknown); false stops the transfer,
    // after which `done` is not called.
    std::function<bool(const QByteArray& bytes, qint64 length)> onData;
    std::function<void(const Result& result)> done;

    void start();
    // Stops the transfer; `done` is not called.
    void abort();

    // How long the server may stay silent (tests shorten it; 0 restores the normal time).
    static int timeoutMs();
    static void setTimeoutMs(int ms);

private:
    void finished();

    QUrl m_url;
    qsizetype m_maxBytes = 0;
    QNetworkAccessManager* m_network = nullptr;
    QPointer<QNetworkReply> m_reply;
    QTimer* m_timer = nullptr;
    QByteArray m_data;
    bool m_timedOut = false;
    bool m_tooLong = false;
};
