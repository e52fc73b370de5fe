// The task-server sync's rules that need no server: reading multistatus
// answers as servers write them, the later-change rule where both sides
// changed, and the queue and link file that carry changes across restarts.
#include "core/caldav/CalDavLink.h"
#include "core/caldav/CalDavMerge.h"
#include "core/caldav/DavMultistatus.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace quillery;

TEST(CalDavRules, MultistatusKeepsFoundPropertiesGoneMembersAndTheNewToken)
{
    // Prefixes differ from the ones the client sends, a property the server
    // lacks comes in a 404 propstat, and a member removed since the token
    // has a response-level 404.
    const QByteArray body = R"(<?xml version="1.0" encoding="utf-8"?>
<D:multistatus xmlns:D="DAV:" xmlns:C="urn:ietf:params:xml:ns:caldav" xmlns:X="http://example.com/ns">
 <D:response><D:href>/alice/tasks/</D:href>
  <D:propstat><D:prop><D:resourcetype><D:collection/><C:calendar/></D:resourcetype>
   <D:displayname>Errands &amp; more</D:displayname>
   <C:supported-calendar-component-set><C:comp name="VEVENT"/><C:comp name="vtodo"/></C:supported-calendar-component-set>
   <X:color>#ff0000</X:color></D:prop><D:status>HTTP/1.1 200 OK</D:status></D:propstat>
  <D:propstat><D:prop><D:getetag/></D:prop><D:status>HTTP/1.1 404 Not Found</D:status></D:propstat>
 </D:response>
 <D:response><D:href>/alice/tasks/a%20b.ics</D:href>
  <D:propstat><D:prop><D:getetag>"e1"</D:getetag><C:calendar-data>BEGIN:VCALENDAR
END:VCALENDAR
</C:calendar-data></D:prop><D:status>HTTP/1.1 200 OK</D:status></D:propstat></D:response>
 <D:response><D:href>/alice/tasks/gone.ics</D:href><D:status>HTTP/1.1 404 Not Found</D:status></D:response>
 <D:response><D:href>/</D:href><D:propstat><D:prop><D:current-user-principal><D:href>/alice/</D:href>
  </D:current-user-principal><C:calendar-home-set><D:href>/alice/</D:href></C:calendar-home-set></D:prop>
  <D:status>HTTP/1.1 200 OK</D:status></D:propstat></D:response>
 <D:sync-token>http://radicale.org/ns/sync/42</D:sync-token>
</D:multistatus>)";
    const DavMultistatus answer = DavMultistatus::parse(body);
    ASSERT_TRUE(answer.ok) << answer.error.toStdString();
    ASSERT_EQ(answer.resources.size(), 4);
    const DavResource &list = answer.resources[0];
    EXPECT_TRUE(list.isCalendar);
    EXPECT_EQ(list.displayName, "Errands & more");
    EXPECT_EQ(list.components, QStringList({ "VEVENT", "VTODO" }));
    EXPECT_TRUE(list.etag.isEmpty());
    EXPECT_EQ(list.status, 200);
    EXPECT_EQ(answer.resources[1].href, "/alice/tasks/a%20b.ics");
    EXPECT_EQ(answer.resources[1].etag, "\"e1\"");
    EXPECT_TRUE(answer.resources[1].calendarData.startsWith("BEGIN:VCALENDAR"));
    EXPECT_EQ(answer.resources[2].status, 404);
    EXPECT_EQ(answer.resources[3].principal, "/alice/");
    EXPECT_EQ(answer.resources[3].calendarHome, "/alice/");
    EXPECT_EQ(answer.syncToken, "http://radicale.org/ns/sync/42");

    // A cut-off answer is an error, never the part that arrived.
    const DavMultistatus cut = DavMultistatus::parse(body.left(body.indexOf("gone.ics")));
    EXPECT_FALSE(cut.ok);
    EXPECT_TRUE(cut.resources.isEmpty());
    EXPECT_FALSE(DavMultistatus::parse("<html><body>Login</body></html>").ok);
}

TEST(CalDavRules, WhenBothSidesChangedTheLaterChangeWinsAndEditsOutliveUntimedDeletions)
{
    using namespace CalDavMerge;
    const Side editHere { true, true, 2'000 };
    const Side editThereLater { true, true, 3'000 };
    const Side editThereEarlier { true, true, 1'000 };
    EXPECT_EQ(decide(editHere, editThereLater), Action::Pull);
    EXPECT_EQ(decide(editHere, editThereEarlier), Action::Push);
    EXPECT_EQ(decide(editHere, Side { true, true, 2'000 }), Action::Adopt);

    // The server says only that the task is gone: the edit is sent back.
    EXPECT_EQ(decide(editHere, Side { false, true, 0 }), Action::Push);
    // Deleted here at 2 s: an edit there after it brings the task back,
    // one before it is deleted there too.
    const Side deletedHere { false, true, 2'000 };
    EXPECT_EQ(decide(deletedHere, editThereLater), Action::Pull);
    EXPECT_EQ(decide(deletedHere, editThereEarlier), Action::DeleteRemote);
}

TEST(CalDavRules, QueueKeepsTheLatestChangeAndOnlyTheServerSettlesIt)
{
    CalDavQueue queue;
    const QUuid task = QUuid::createUuid();
    queue.add("a", CalDavQueue::Kind::Put, task, 100);
    queue.add("b", CalDavQueue::Kind::Put, QUuid::createUuid(), 50);
    queue.add("a", CalDavQueue::Kind::Delete, task, 200);
    EXPECT_EQ(queue.size(), 2);
    EXPECT_EQ(queue.uids(), QStringList({ "b", "a" }));

    // Sent as a deletion at 200; edited again (put back) before the answer.
    const CalDavQueue::Entry sent = queue.entry("a");
    queue.add("a", CalDavQueue::Kind::Put, task, 300);
    queue.settle("a", sent);
    EXPECT_TRUE(queue.contains("a"));
    queue.settle("a", queue.entry("a"));
    EXPECT_FALSE(queue.contains("a"));

    queue.refuse("b", "HTTP 415");
    EXPECT_EQ(queue.refusedCount(), 1);
    EXPECT_EQ(CalDavQueue::fromJson(queue.toJson()).entry("b"), queue.entry("b"));
}

TEST(CalDavRules, LinkFileIsPrivateRoundTripsAndAnUnreadableOneIsAnError)
{
    QTemporaryDir dir;
    const CalDavLinkFile file(CalDavLinkFile::besideBook(dir.filePath("book.sqlite")));
    CalDavLink link;
    link.page = QUuid::createUuid();
    link.server = "https://dav.example.com";
    link.user = "alice";
    link.collection = "https://dav.example.com/alice/tasks/";
    link.syncToken = "t1";
    link.items.insert("uid-1", CalDavItem { "/alice/tasks/uid-1.ics", "\"e\"", QUuid::createUuid(), 1234 });
    link.queue.add("uid-2", CalDavQueue::Kind::Delete, QUuid::createUuid(), 99);
    link.lastSuccess = QDateTime::fromMSecsSinceEpoch(1'700'000'000'123, Qt::UTC);
    ASSERT_TRUE(file.save({ link }));

    struct stat info {
    };
    ASSERT_EQ(::stat(QFile::encodeName(file.path()).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    QList<CalDavLink> loaded;
    ASSERT_TRUE(file.load(loaded));
    ASSERT_EQ(loaded.size(), 1);
    EXPECT_EQ(loaded[0].collection, link.collection);
    EXPECT_EQ(loaded[0].items.value("uid-1").synced, 1234);
    EXPECT_EQ(loaded[0].items.value("uid-1").task, link.items.value("uid-1").task);
    EXPECT_EQ(loaded[0].queue.entry("uid-2"), link.queue.entry("uid-2"));
    EXPECT_EQ(loaded[0].lastSuccess, link.lastSuccess);

    QFile damaged(file.path());
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
    damaged.write("{\"links\": [");
    damaged.close();
    QString error;
    EXPECT_FALSE(file.load(loaded, &error));
    EXPECT_FALSE(error.isEmpty());
}
