#pragma once

// A small HTTP/1.1 server on the loopback interface for the network tests:
// each request is answered by a handler the test supplies, and may be
// delayed, trickled or left hanging to play a slow or broken server.

#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QTcpServer>
#include <QUrl>
#include <QUrlQuery>

#include <functional>

class QTcpSocket;

namespace quillery::test {

class LocalHttpServer final : public QObject
{
    Q_OBJECT
public:
    struct Request {
        QByteArray method;
        QByteArray target; // path and query, as sent
        QHash<QByteArray, QByteArray> headers; // names in lower case

        QString path() const { return QUrl(QString::fromLatin1(target)).path(); }
        QUrlQuery query() const { return QUrlQuery(QUrl(QString::fromLatin1(target))); }
    };

    struct Response {
        int status = 200;
        QByteArray contentType = "application/json";
        QByteArray body;
        QList<std::pair<QByteArray, QByteArray>> headers;
        int delayMs = 0; // wait before answering
        bool hang = false; // never answer
        int trickleMs = 0; // send the body a byte at a time, this far apart
    };

    using Handler = std::function<Response(const Request &)>;

    explicit LocalHttpServer(Handler handler, const QHostAddress &address = QHostAddress::LocalHost);
    ~LocalHttpServer() override;

    bool isListening() const { return m_server.isListening(); }
    QUrl url(const QString &pathAndQuery = QStringLiteral("/")) const;
    // "http://127.0.0.1:<port>", to build address patterns on.
    QString origin() const;
    const QList<Request> &requests() const { return m_requests; }
    void setHandler(Handler handler) { m_handler = std::move(handler); }
    // Stops listening and drops every open connection.
    void close();

Q_SIGNALS:
    void requestReceived();

private:
    void accept();
    void read(QTcpSocket *socket);
    void respond(QTcpSocket *socket, const Response &response);

    QTcpServer m_server;
    Handler m_handler;
    QList<Request> m_requests;
    QHash<QTcpSocket *, QByteArray> m_buffers;
};

} // namespace quillery::test
