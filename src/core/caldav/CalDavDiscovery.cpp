#include "CalDavDiscovery.h"

#include "DavMultistatus.h"

#include <QUuid>

namespace quillery {

namespace {

QUrl asFolder(QUrl url)
{
    if (!url.path().endsWith(u'/'))
        url.setPath(url.path() + u'/');
    return url;
}

} // namespace

QUrl CalDavDiscovery::serverUrl(const QString &typed)
{
    const QString trimmed = typed.trimmed();
    if (trimmed.isEmpty())
        return {};
    QUrl url
        = QUrl::fromUserInput(trimmed.contains(QStringLiteral("://")) ? trimmed : QStringLiteral("https://") + trimmed);
    if (!url.isValid() || (url.scheme() != u"https" && url.scheme() != u"http"))
        return {};
    return url;
}

void CalDavDiscovery::propfind(
    const QUrl &url, const QByteArray &depth, const QByteArray &props, std::function<void(const DavReply &)> done)
{
    DavRequest request = DavRequest::xml("PROPFIND", url, depth);
    request.body = "<?xml version=\"1.0\" encoding=\"utf-8\"?><d:propfind xmlns:d=\"DAV:\" "
                   "xmlns:c=\"urn:ietf:params:xml:ns:caldav\"><d:prop>"
        + props + "</d:prop></d:propfind>";
    m_client.send(request, std::move(done));
}

void CalDavDiscovery::find(const QUrl &server, Done done)
{
    m_server = server;
    m_found = Found {};
    m_done = std::move(done);
    QUrl wellKnown = server;
    wellKnown.setPath(QStringLiteral("/.well-known/caldav"));
    askPrincipal(wellKnown, true);
}

void CalDavDiscovery::askPrincipal(const QUrl &url, bool wellKnown)
{
    propfind(url, "0", "<d:current-user-principal/>", [this, wellKnown](const DavReply &reply) {
        const DavMultistatus answer = DavMultistatus::parse(reply.body);
        QString principal;
        for (const DavResource &resource : answer.resources)
            principal = principal.isEmpty() ? resource.principal : principal;
        if (reply.ok() && !principal.isEmpty())
            return askHome(reply.url.resolved(QUrl(principal)));
        // No well-known address there: ask the address itself.
        if (wellKnown && reply.status != 0 && reply.status != 401)
            return askPrincipal(m_server, false);
        fail(reply.ok() ? DavReply { 404, QStringLiteral("no CalDAV account found at this address"), {}, {}, {} }
                        : reply);
    });
}

void CalDavDiscovery::askHome(const QUrl &principal)
{
    propfind(principal, "0", "<c:calendar-home-set/>", [this, principal](const DavReply &reply) {
        const DavMultistatus answer = DavMultistatus::parse(reply.body);
        QString home;
        for (const DavResource &resource : answer.resources)
            home = home.isEmpty() ? resource.calendarHome : home;
        if (!reply.ok())
            return fail(reply);
        // A principal without a home set is its own home.
        listHome(asFolder(home.isEmpty() ? principal : principal.resolved(QUrl(home))));
    });
}

void CalDavDiscovery::listHome(const QUrl &home)
{
    m_found.home = home;
    propfind(home, "1", "<d:resourcetype/><d:displayname/><c:supported-calendar-component-set/>",
        [this, home](const DavReply &reply) {
            if (!reply.ok())
                return fail(reply);
            const DavMultistatus answer = DavMultistatus::parse(reply.body);
            if (!answer.ok)
                return fail(DavReply { reply.status, answer.error, {}, {}, {} });
            for (const DavResource &resource : answer.resources) {
                // A collection that names no components takes every kind.
                if (!resource.isCalendar || (!resource.components.isEmpty() && !resource.components.contains(u"VTODO")))
                    continue;
                const QUrl url = asFolder(home.resolved(QUrl(resource.href)));
                const QString name
                    = resource.displayName.isEmpty() ? url.path().section(u'/', -2, -2) : resource.displayName;
                m_found.lists.append({ url, name });
            }
            const Done done = std::move(m_done);
            done(m_found);
        });
}

void CalDavDiscovery::fail(const DavReply &reply)
{
    m_found.status = reply.status;
    m_found.error = reply.error.isEmpty() ? QStringLiteral("HTTP %1").arg(reply.status) : reply.error;
    const Done done = std::move(m_done);
    done(m_found);
}

void CalDavDiscovery::create(const QUrl &home, const QString &name, Made done)
{
    const CalDavList list { asFolder(home.resolved(QUrl(QUuid::createUuid().toString(QUuid::WithoutBraces)))), name };
    DavRequest request = DavRequest::xml("MKCALENDAR", list.url);
    request.body = "<?xml version=\"1.0\" encoding=\"utf-8\"?><c:mkcalendar xmlns:d=\"DAV:\" "
                   "xmlns:c=\"urn:ietf:params:xml:ns:caldav\"><d:set><d:prop><d:displayname>"
        + name.toHtmlEscaped().toUtf8()
        + "</d:displayname><c:supported-calendar-component-set><c:comp name=\"VTODO\"/>"
          "</c:supported-calendar-component-set></d:prop></d:set></c:mkcalendar>";
    m_client.send(request, [list, done = std::move(done)](const DavReply &reply) {
        done(list,
            reply.ok() ? QString()
                       : (reply.error.isEmpty() ? QStringLiteral("HTTP %1").arg(reply.status) : reply.error));
    });
}

} // namespace quillery
