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

    // How long a transfer may stay silent before it fails (default 30 s).
    void setTimeout(int msecs) { m_timeoutMs = msecs; }

private:
    QNetworkAccessManager m_network;
    QByteArray m_authorization;
    int m_timeoutMs = 30'000;
    QHash<QNetworkReply *, std::function<void(const DavReply &)>> m_pending;
};

} // namespace quillery
