#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>
#include <utility>

namespace quillery {

struct DavRequest {
    QByteArray method; // GET, PUT, DELETE, PROPFIND, REPORT, MKCALENDAR
    QUrl url;
    QByteArray body;
    QByteArray contentType;
    QList<std::pair<QByteArray, QByteArray>> headers; // Depth, If-Match, If-None-Match

    // A request whose body is WebDAV XML (PROPFIND, REPORT, MKCALENDAR), with
    // a Depth header unless `depth` is empty; the caller adds the body.
    static DavRequest xml(QByteArray method, QUrl url, const QByteArray &depth = {})
    {
        DavRequest request { std::move(method), std::move(url), {}, "application/xml; charset=utf-8", {} };
        if (!depth.isEmpty())
            request.headers.append({ "Depth", depth });
        return request;
    }
};

struct DavReply {
    int status = 0; // the HTTP status; 0 when no answer came (no network, timeout, TLS)
    QString error; // why, when the status is 0 or not 2xx
    QByteArray body;
    QString etag; // the ETag header, when there is one
    QUrl url; // where the answer came from, after redirects
    bool ok() const { return status >= 200 && status < 300; }
};

// Sends WebDAV requests to one server as one user. Each request is answered
// exactly once through `done`, on the thread that owns the client, also
// when the client is destroyed first (then with status 0). Several
// requests may be under way at once.
class DavClient : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    virtual void send(const DavRequest &request, std::function<void(const DavReply &)> done) = 0;
};

// What the task-server sync needs from the platform: an HTTP client for a
// user, and the desktop's secret store for that user's password. Made in
// one place, so the network and keychain libraries can be loaded only
// when a page is linked.
class CalDavBackend
{
public:
    virtual ~CalDavBackend() = default;
    virtual std::unique_ptr<DavClient> client(const QString &user, const QString &password) = 0;

    // The secret store's answer: the password, or empty with why not.
    using PasswordRead = std::function<void(const QString &password, const QString &error)>;
    using PasswordWritten = std::function<void(const QString &error)>;
    virtual void readPassword(const QString &account, PasswordRead done) = 0;
    virtual void writePassword(const QString &account, const QString &password, PasswordWritten done) = 0;
};

} // namespace quillery
