#pragma once

#include "core/sync/AccountProbe.h"
#include "core/sync/MirrorRemote.h"

#include <QtPlugin>

#include <memory>

namespace quillery {

// The PostgreSQL mirror as the program reaches it. libpq, and with it the
// Kerberos, LDAP and TLS libraries, is loaded only with this module
// (quillery-pg), the first time a book with a defined connection service
// asks for it; a book without a mirror never maps them.
class MirrorBackend
{
public:
    virtual ~MirrorBackend() = default;

    // Whether libpq can use `service` at all (it is defined, its file reads,
    // its settings are valid), without waiting for the server.
    virtual bool isUsable(const QString &service, QString *why = nullptr) = 0;
    // The mirror reached through `service`, working on a thread of its own.
    virtual std::unique_ptr<MirrorRemote> makeRemote(const QString &service) = 0;
    virtual std::unique_ptr<AccountProbe> makeAccountProbe(const QString &service) = 0;

    // The module, loaded on first use; null, with `why` filled, when it is
    // missing or does not load.
    static MirrorBackend *load(QString *why = nullptr);
};

} // namespace quillery

Q_DECLARE_INTERFACE(quillery::MirrorBackend, "app.quillery.MirrorBackend/1")
