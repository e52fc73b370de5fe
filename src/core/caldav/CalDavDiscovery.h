#pragma once

#include "DavClient.h"

#include <QList>
#include <QUrl>

#include <functional>

namespace quillery {

// A task list on a server, as the user picks it.
struct CalDavList {
    QUrl url; // ends with a slash
    QString name;
};

// Finds a user's task lists from the address of their server: the server's
// well-known address (or the address itself) names the user's principal,
// the principal names the calendar home, and the collections in the home
// that hold VTODOs are the lists. Also makes a new list there.
class CalDavDiscovery final
{
public:
    struct Found {
        QList<CalDavList> lists;
        QUrl home;
        int status = 200;
        QString error; // empty when the lists were found
    };
    using Done = std::function<void(const Found &)>;
    using Made = std::function<void(const CalDavList &list, const QString &error)>;

    explicit CalDavDiscovery(DavClient &client)
        : m_client(client)
    { }

    void find(const QUrl &server, Done done);
    void create(const QUrl &home, const QString &name, Made done);

    // The address a user typed, made a URL (https when no scheme is given).
    static QUrl serverUrl(const QString &typed);

private:
    void propfind(
        const QUrl &url, const QByteArray &depth, const QByteArray &props, std::function<void(const DavReply &)> done);
    void askPrincipal(const QUrl &url, bool wellKnown);
    void askHome(const QUrl &principal);
    void listHome(const QUrl &home);
    void fail(const DavReply &reply);

    DavClient &m_client;
    QUrl m_server;
    Found m_found;
    Done m_done;
};

} // namespace quillery
