#pragma once

#include "core/caldav/DavClient.h"

#include <QHash>
#include <QNetworkAccessManager>

class QNetworkReply;

namespace quillery {

// WebDAV over Qt Network for one user with basic authentication: TLS as
// the system configures it, redirects that do not lower the security,
// proxies from the environment, and a time limit on silent transfers.
// Requests still under way when it is destroyed are answered with status 0.
class QtDavClient final : public DavClient
{
    Q_OBJECT
public:
    QtDavClient(const QString &user, const QString &password, QObject *parent = nullptr);
    ~QtDavClient() override;

    void send(const DavRequest &request, std::function<void(const DavReply &)> done) override;

    // How long a transfer may stay silent before it fails (default 2 min: a
    // server answers the first listing of a large list only once it has read
    // all of it).
    void setTimeout(int msecs) { m_timeoutMs = msecs; }

private:
    QNetworkAccessManager m_network;
    QByteArray m_authorization;
    int m_timeoutMs = 120'000;
    QHash<QNetworkReply *, std::function<void(const DavReply &)>> m_pending;
};

} // namespace quillery
