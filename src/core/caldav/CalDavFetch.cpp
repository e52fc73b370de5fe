#include "CalDavFetch.h"

#include "DavMultistatus.h"

namespace quillery {

namespace {

constexpr int MultigetBatch = 200;

QByteArray escaped(const QString &text)
{
    return text.toHtmlEscaped().toUtf8();
}

} // namespace

QUrl CalDavFetch::url(const QString &href) const
{
    return m_collection.resolved(QUrl::fromEncoded(href.toUtf8()));
}

bool CalDavFetch::isCollection(const QString &href) const
{
    const QString path = url(href).path();
    const QString own = m_collection.path();
    return path == own || path + u'/' == own || path == own + u'/';
}

void CalDavFetch::run(const CalDavLink &link, Done done)
{
    m_done = std::move(done);
    m_collection = QUrl(link.collection);
    m_known.clear();
    for (const CalDavItem &item : link.items)
        m_known.insert(item.href, item.etag);
    m_oldCtag = link.ctag;
    m_changes = CalDavChanges {};
    m_toFetch.clear();
    syncReport(link.syncToken);
}

void CalDavFetch::syncReport(const QString &token)
{
    DavRequest request = DavRequest::xml("REPORT", m_collection, "0");
    request.body = "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
                   "<d:sync-collection xmlns:d=\"DAV:\"><d:sync-token>"
        + escaped(token)
        + "</d:sync-token><d:sync-level>1</d:sync-level>"
          "<d:prop><d:getetag/></d:prop></d:sync-collection>";
    m_client.send(request, [this, token](const DavReply &reply) {
        if (!reply.ok()) {
            // A token the server no longer knows: start again from none.
            if (!token.isEmpty() && (reply.status == 403 || reply.status == 409 || reply.status == 412))
                return syncReport(QString());
            // No sync reports here: compare ctag and ETags instead.
            if (reply.status == 400 || reply.status == 405 || reply.status == 415 || reply.status == 501
                || reply.status == 403)
                return ctagCheck();
            return fail(reply);
        }
        const DavMultistatus answer = DavMultistatus::parse(reply.body);
        if (!answer.ok)
            return fail(DavReply { reply.status, answer.error, {}, {}, reply.url });
        const bool full = token.isEmpty();
        QSet<QString> listed;
        for (const DavResource &resource : answer.resources) {
            if (isCollection(resource.href))
                continue;
            listed.insert(resource.href);
            if (resource.status == 404) {
                if (m_known.contains(resource.href))
                    m_changes.gone.insert(resource.href);
            } else if (resource.etag.isEmpty() || m_known.value(resource.href) != resource.etag) {
                m_toFetch << resource.href;
            }
        }
        if (full) {
            for (auto it = m_known.cbegin(); it != m_known.cend(); ++it) {
                if (!listed.contains(it.key()))
                    m_changes.gone.insert(it.key());
            }
        }
        m_changes.syncToken = answer.syncToken;
        fetchNext();
    });
}

void CalDavFetch::ctagCheck()
{
    DavRequest request = DavRequest::xml("PROPFIND", m_collection, "0");
    request.body = "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
                   "<d:propfind xmlns:d=\"DAV:\" xmlns:cs=\"http://calendarserver.org/ns/\">"
                   "<d:prop><cs:getctag/></d:prop></d:propfind>";
    m_client.send(request, [this](const DavReply &reply) {
        if (!reply.ok())
            return fail(reply);
        const DavMultistatus answer = DavMultistatus::parse(reply.body);
        const QString ctag = answer.resources.isEmpty() ? QString() : answer.resources.first().ctag;
        m_changes.ctag = ctag;
        if (!ctag.isEmpty() && ctag == m_oldCtag)
            return finish();
        listEtags();
    });
}

void CalDavFetch::listEtags()
{
    DavRequest request = DavRequest::xml("PROPFIND", m_collection, "1");
    request.body = "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
                   "<d:propfind xmlns:d=\"DAV:\"><d:prop><d:getetag/></d:prop></d:propfind>";
    m_client.send(request, [this](const DavReply &reply) {
        if (!reply.ok())
            return fail(reply);
        const DavMultistatus answer = DavMultistatus::parse(reply.body);
        if (!answer.ok)
            return fail(DavReply { reply.status, answer.error, {}, {}, reply.url });
        QSet<QString> listed;
        for (const DavResource &resource : answer.resources) {
            if (isCollection(resource.href) || resource.status == 404)
                continue;
            listed.insert(resource.href);
            if (resource.etag.isEmpty() || m_known.value(resource.href) != resource.etag)
                m_toFetch << resource.href;
        }
        for (auto it = m_known.cbegin(); it != m_known.cend(); ++it) {
            if (!listed.contains(it.key()))
                m_changes.gone.insert(it.key());
        }
        fetchNext();
    });
}

void CalDavFetch::fetchNext()
{
    if (m_toFetch.isEmpty())
        return finish();
    const QStringList batch = m_toFetch.mid(0, MultigetBatch);
    m_toFetch.remove(0, batch.size());
    DavRequest request = DavRequest::xml("REPORT", m_collection, "1");
    request.body = "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
                   "<c:calendar-multiget xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:caldav\">"
                   "<d:prop><d:getetag/><c:calendar-data/></d:prop>";
    for (const QString &href : batch)
        request.body += "<d:href>" + escaped(href) + "</d:href>";
    request.body += "</c:calendar-multiget>";
    m_client.send(request, [this, batch](const DavReply &reply) {
        if (!reply.ok())
            return fail(reply);
        const DavMultistatus answer = DavMultistatus::parse(reply.body);
        if (!answer.ok)
            return fail(DavReply { reply.status, answer.error, {}, {}, reply.url });
        QSet<QString> answered;
        for (const DavResource &resource : answer.resources) {
            answered.insert(resource.href);
            if (resource.status == 404) {
                if (m_known.contains(resource.href))
                    m_changes.gone.insert(resource.href);
                continue;
            }
            m_changes.changed.insert(
                resource.href, { resource.etag, CalDavCodec::decode(resource.calendarData, m_calendar, m_types) });
        }
        // Removed between the listing and the fetch.
        for (const QString &href : batch) {
            if (!answered.contains(href) && m_known.contains(href))
                m_changes.gone.insert(href);
        }
        fetchNext();
    });
}

void CalDavFetch::fail(const DavReply &reply)
{
    m_changes.status = reply.status;
    m_changes.error = reply.error.isEmpty() ? QStringLiteral("HTTP %1").arg(reply.status) : reply.error;
    finish();
}

void CalDavFetch::finish()
{
    const Done done = std::move(m_done);
    m_done = nullptr;
    if (done)
        done(m_changes);
}

} // namespace quillery
