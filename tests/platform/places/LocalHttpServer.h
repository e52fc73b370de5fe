#pragma once

// A small HTTP/1.1 server on a loopback address for the network tests. Each
// request is answered by a handler the test supplies; an answer may be
// delayed, trickled, left hanging or be a body that never ends, to play a
// slow, broken or hostile server. It runs on threads of its own, so it keeps
// sending while the test's thread is busy, as a real server would.

#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QList>
#include <QUrl>
#include <QUrlQuery>

#include <atomic>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace quillery::test {

class LocalHttpServer final
{
public:
    struct Request {
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
        bool endless = false; // a chunked body of blanks sent as fast as the client takes it, without end
    };

    // Called on the server's threads, one request at a time.
    using Handler = std::function<Response(const Request &)>;

    explicit LocalHttpServer(Handler handler, const QHostAddress &address = QHostAddress::LocalHost);
    ~LocalHttpServer();

    QUrl url(const QString &pathAndQuery = QStringLiteral("/")) const { return QUrl(m_origin + pathAndQuery); }
    // "http://127.0.0.1:<port>", to build address patterns on.
    QString origin() const { return m_origin; }
    QList<Request> requests() const;
    // Stops listening and drops every open connection.
    void close();

private:
    void serve(int socket);
    std::optional<Request> read(int socket);
    bool send(int socket, const QByteArray &bytes);
    // Sleeps `msecs`; false when the server stops meanwhile.
    bool pause(int msecs);

    Handler m_handler;
    QString m_origin;
    mutable std::mutex m_mutex;
    QList<Request> m_requests;
    int m_listener = -1;
    std::atomic_bool m_stop = false;
    std::thread m_thread;
    std::vector<std::thread> m_connections;
};

} // namespace quillery::test
