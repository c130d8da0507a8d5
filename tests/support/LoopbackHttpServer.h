#pragma once

// A small HTTP/1.1 server on 127.0.0.1 for the tests of code that fetches files: each path gets a canned answer,
// and every request head is kept. It runs on the test's own event loop (wait with processEvents) and needs
// Qt Network, which the test binary gets from the library it tests. Nothing leaves this machine.
//
//   LoopbackHttpServer server;
//   server.setResponse("/version.txt", {200, "V2.6\r\n"});
//   ... fetch server.url("/version.txt") ...
//   EXPECT_EQ(server.requests.size(), 1);

#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QList>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

#include <memory>
#include <utility>

class LoopbackHttpServer : public QObject {
public:
    struct Response {
        int status = 200;
        QByteArray body;
        QList<std::pair<QByteArray, QByteArray>> headers = {};
        enum Behaviour {
            Answer, // the whole answer, then the connection closes
            CloseAtOnce, // the connection closes without an answer
            Silent, // nothing is ever sent
            Stall, // the head (with the full Content-Length) and the first `stallAfter` bytes, then nothing
        } behaviour = Answer;
        qsizetype stallAfter = 0;
    };

    LoopbackHttpServer()
    {
        m_server.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection())
                serve(socket);
        });
    }
    ~LoopbackHttpServer() override
    {
        for (const QPointer<QTcpSocket>& socket : m_open)
            delete socket.data();
    }

    // An address on this machine where nothing listens.
    static QUrl closedPortUrl()
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        const quint16 port = probe.serverPort();
        probe.close();
        return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(port));
    }

    QUrl url(const QString& path = {}) const
    {
        return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path));
    }
    // Paths without a response get "404 Not Found".
    void setResponse(const QByteArray& path, const Response& response) { m_responses.insert(path, response); }

    // The request heads (request line and headers), in order.
    QList<QByteArray> requests;
    // The paths asked for, in order.
    QList<QByteArray> paths;

private:
    void serve(QTcpSocket* socket)
    {
        m_open << socket;
        auto buffer = std::make_shared<QByteArray>();
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, buffer] {
            *buffer += socket->readAll();
            const qsizetype end = buffer->indexOf("\r\n\r\n");
            if (end < 0)
                return;
            const QByteArray head = buffer->left(end);
            buffer->clear();
            requests << head;
            const QList<QByteArray> line = head.left(head.indexOf("\r\n")).split(' ');
            const QByteArray path = line.value(1);
            paths << path;
            answer(socket, m_responses.value(path, Response {404, "not here"}));
        });
        QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }

    static QByteArray reasonFor(int status)
    {
        switch (status) {
        case 200:
            return "OK";
        case 301:
            return "Moved Permanently";
        case 302:
            return "Found";
        case 401:
            return "Unauthorized";
        case 404:
            return "Not Found";
        default:
            return "Status";
        }
    }

    void answer(QTcpSocket* socket, const Response& r)
    {
        switch (r.behaviour) {
        case Response::CloseAtOnce:
            socket->disconnectFromHost();
            return;
        case Response::Silent:
            return;
        case Response::Answer:
        case Response::Stall:
            break;
        }
        QByteArray out = "HTTP/1.1 " + QByteArray::number(r.status) + ' ' + reasonFor(r.status) + "\r\n";
        for (const auto& [name, value] : r.headers)
            out += name + ": " + value + "\r\n";
        out += "Content-Length: " + QByteArray::number(r.body.size()) + "\r\n";
        if (r.behaviour == Response::Answer)
            out += "Connection: close\r\n";
        out += "\r\n";
        if (r.behaviour == Response::Stall) {
            socket->write(out + r.body.left(r.stallAfter));
            socket->flush();
            return;
        }
        socket->write(out + r.body);
        socket->flush();
        socket->disconnectFromHost();
    }

    QTcpServer m_server;
    QHash<QByteArray, Response> m_responses;
    QList<QPointer<QTcpSocket>> m_open;
};
