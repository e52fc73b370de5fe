#pragma once

#include "platform/ThrowawayServer.h"

#include <QUrl>

namespace quillery::test {

// The throwaway Radicale server of these tests (started by CTest, or by the
// test program itself when run by hand) with one user, whose password is
// made fresh for each server.
class RadicaleServer final : public ThrowawayServer
{
public:
    static RadicaleServer &instance()
    {
        static RadicaleServer server;
        return server;
    }

    QUrl url() const { return QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(state("RAD_PORT"))); }
    QString user() const { return state("RAD_USER"); }
    QString password() const { return state("RAD_PASSWORD"); }

private:
    RadicaleServer()
        : ThrowawayServer(QStringLiteral(QUILLERY_RADICALE_SCRIPT), "QUILLERY_RADICALE_STATE")
    {
        if (state("RAD_PORT").isEmpty())
            ADD_FAILURE() << "no server state";
    }
};

} // namespace quillery::test
