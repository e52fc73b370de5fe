#pragma once

#include "core/caldav/DavClient.h"

namespace quillery {

// The task-server sync's way to the platform: Qt Network for HTTP and the
// desktop's secret store (Secret Service, through QtKeychain) for
// passwords, filed under "Quillery" by account ("user@server").
class KeychainBackend final : public CalDavBackend
{
public:
    explicit KeychainBackend(QString service = QStringLiteral("Quillery"))
        : m_service(std::move(service))
    { }

    std::unique_ptr<DavClient> client(const QString &user, const QString &password) override;
    void readPassword(const QString &account, PasswordRead done) override;
    void writePassword(const QString &account, const QString &password, PasswordWritten done) override;

private:
    QString m_service;
};

// The one place the platform's sync backend is made.
std::unique_ptr<CalDavBackend> makeCalDavBackend();

} // namespace quillery
