#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace quillery {

// One <response> of a WebDAV multistatus answer, with the properties a task
// server reports that the sync reads. Properties come only from a propstat
// whose status is 2xx; `status` is the response's own status (404 for a
// member a sync report says is gone), or the propstat's when it has none.
struct DavResource {
    QString href; // as the server wrote it (percent-encoded), so it can be sent back as it is
    int status = 200;
    QString etag;
    QString ctag;
    QString syncToken;
    QString displayName;
    bool isCalendar = false;
    QStringList components; // supported-calendar-component-set, e.g. "VTODO"
    QString principal; // current-user-principal
    QString calendarHome; // calendar-home-set
    QByteArray calendarData;
};

// A parsed 207 Multi-Status body. Only the names in the DAV:, CalDAV and
// CalendarServer namespaces are read; anything else is skipped, so servers
// that add their own properties parse the same. A body that is not
// well-formed XML gives `ok` false and the reader's error, never a partial
// list taken for the whole.
struct DavMultistatus {
    bool ok = false;
    QString error;
    QList<DavResource> resources;
    QString syncToken; // the report's new token (sync-collection)

    static DavMultistatus parse(const QByteArray &body);
};

} // namespace quillery
