#pragma once

#include "CalDavCodec.h"
#include "CalDavLink.h"
#include "DavClient.h"

#include <QHash>
#include <QSet>

#include <functional>

namespace quillery {

// What changed on the server since a link last read it: the resources
// that are new or changed (with their content) and those that are gone.
struct CalDavChanges {
    struct Resource {
        QString etag;
        std::optional<CalDavCodec::Remote> content; // none for a resource without a task (an event)
    };
    QHash<QString, Resource> changed; // by href
    QSet<QString> gone; // hrefs
    QString syncToken;
    QString ctag;
    int status = 200; // of the request that failed, 0 for no answer
    QString error; // empty when the changes were read
};

// Reads a list's changes: a sync-collection report from the link's token;
// a fresh listing when the server forgets the token; and where the server
// has no such report, its ctag and a listing of ETags compared with what
// the link knows. Changed resources are fetched in batches with a
// multiget report. One fetch at a time per object.
class CalDavFetch final
{
public:
    using Done = std::function<void(const CalDavChanges &)>;
    CalDavFetch(DavClient &client, const CalendarContext &calendar, const TypeRegistry &types)
        : m_client(client)
        , m_calendar(calendar)
        , m_types(types)
    { }

    void run(const CalDavLink &link, Done done);

private:
    void syncReport(const QString &token);
    void ctagCheck();
    void listEtags();
    void fetchNext();
    void fail(const DavReply &reply);
    void finish();
    QUrl url(const QString &href) const;
    bool isCollection(const QString &href) const;

    DavClient &m_client;
    const CalendarContext &m_calendar;
    const TypeRegistry &m_types;
    QUrl m_collection;
    QHash<QString, QString> m_known; // href → ETag, as the link knows them
    QString m_oldCtag;
    QStringList m_toFetch;
    CalDavChanges m_changes;
    Done m_done;
};

} // namespace quillery
