#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QNetworkRequest>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>

#include <functional>

class QNetworkAccessManager;
class QNetworkReply;

namespace quillery {

class NetworkAccess;

// One GET to an outside server, with the guards every answer from the network
// gets here: Quillery's User-Agent, redirects followed only within the same
// scheme, host and port, a deadline for the whole exchange (so a server that
// trickles bytes cannot hold it open), a cap on the size of the body, and a
// check of the content type. The body is taken from Qt as it arrives through
// a small read buffer, so memory stays within the cap plus that buffer
// however fast the server sends. A request that hits its deadline or its cap
// drops the connections of its NetworkAccess, so a server that keeps Qt busy
// cannot hold up later requests. The callback runs exactly once, unless the
// object is destroyed first, which abandons the request quietly.
class HttpGet final : public QObject
{
    Q_OBJECT
public:
    struct Options {
        QUrl url;
        QByteArray accept; // the Accept header
        std::function<bool(const QByteArray &contentType)> acceptsType;
        int timeoutMs = 8000;
        qint64 maxBytes = 2 * 1024 * 1024;
        QNetworkRequest::CacheLoadControl cache = QNetworkRequest::PreferNetwork;
    };

    struct Answer {
        QByteArray body;
        QString error; // empty on success
        bool fromCache = false;
        // Whether the server was never reached (as opposed to answering badly).
        bool unreachable = false;

        bool failed() const { return !error.isEmpty(); }
    };
    using Done = std::function<void(const Answer &)>;

    // How much of an answer Qt holds before this object has taken it.
    static constexpr qint64 ReadBufferBytes = 64 * 1024;

    HttpGet(NetworkAccess &network, Options options, Done done, QObject *parent = nullptr);
    ~HttpGet() override;

    static bool isJson(const QByteArray &contentType);
    static bool isImage(const QByteArray &contentType);

private:
    void readMore();
    void checkHeaders();
    void finish();
    void fail(const QString &error, bool unreachable = false);
    // Fails and drops the connections of the whole NetworkAccess.
    void abandon(const QString &error);
    void release();

    NetworkAccess &m_network;
    Options m_options;
    Done m_done;
    QPointer<QNetworkReply> m_reply;
    QByteArray m_body;
    QTimer m_deadline;
    bool m_finished = false;
};

} // namespace quillery
