// Pages linked to a task list on a real Radicale server: the first link of
// a full page, edits, deletions and a conflict on two computers, the server
// going away mid-sync and a client killed mid-round. Each test ends with
// both books, and a third book that links afresh, holding the same tasks.
#include "RadicaleServer.h"

#include "core/caldav/CalDavDiscovery.h"
#include "core/caldav/CalDavLinks.h"
#include "core/caldav/CalDavSync.h"
#include "core/model/Store.h"
#include "platform/caldav/QtDavClient.h"
#include "support/PageTestKit.h"
#include "support/Screenshot.h"
#include "ui/app/CalDavDialog.h"
#include "ui/pages/PageOptionsMenu.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

using namespace quillery;
using quillery::test::RadicaleServer;

namespace {

template <typename Fn> void waitFor(Fn &&condition, int msecs = 30'000)
{
    // Sleeps between events (a time limit would make processEvents spin and
    // take the processor from the server); the tick lets the deadline be seen.
    QElapsedTimer timer;
    timer.start();
    QTimer tick;
    tick.start(100);
    while (!condition() && timer.elapsed() < msecs)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    ASSERT_TRUE(condition()) << "timed out";
}

QUrl makeList(const QString &name)
{
    RadicaleServer &server = RadicaleServer::instance();
    QtDavClient client(server.user(), server.password());
    CalDavDiscovery discovery(client);
    std::optional<CalDavDiscovery::Found> found;
    discovery.find(server.url(), [&](const CalDavDiscovery::Found &answer) { found = answer; });
    waitFor([&] { return found.has_value(); });
    EXPECT_TRUE(found->error.isEmpty()) << found->error.toStdString();
    std::optional<CalDavList> made;
    discovery.create(found->home, name, [&](const CalDavList &list, const QString &error) {
        EXPECT_TRUE(error.isEmpty()) << error.toStdString();
        made = list;
    });
    waitFor([&] { return made.has_value(); });
    return made->url;
}

// One computer: a book with one page linked to the list.
struct Device {
    explicit Device(const QUrl &list, const QString &bookPath = QString())
        : clock(QDateTime::currentDateTimeUtc())
    {
        StoreOpenError error;
        store = Store::open(bookPath.isEmpty() ? dir.filePath("book.sqlite") : bookPath, &error, clock);
        EXPECT_TRUE(store) << error.message().toStdString();
        if (store->pages().isEmpty())
            store->insert(new Page(1.0, 0));
        page = store->pages().first();
        link.page = page->id();
        link.collection = list.toString();
        link.user = RadicaleServer::instance().user();
        client = std::make_unique<QtDavClient>(link.user, RadicaleServer::instance().password());
        sync = std::make_unique<CalDavSync>(*store, link, *client);
    }

    TaskItem *add(const QString &text, int indent = 0)
    {
        const QList<TaskItem *> tasks = page->sortedTasks();
        auto *task = new TaskItem(text, tasks.isEmpty() ? 1.0 : tasks.last()->order() + 1.0);
        store->insert(task);
        task->setPage(page);
        task->setIndent(indent);
        return task;
    }
    TaskItem *find(const QString &text) const
    {
        for (TaskItem *task : page->sortedTasks()) {
            if (task->text() == text)
                return task;
        }
        return nullptr;
    }

    CalDavSync::Outcome round()
    {
        clock.advance(1'000);
        std::optional<CalDavSync::Outcome> outcome;
        const auto connection = QObject::connect(
            sync.get(), &CalDavSync::finished, [&](const CalDavSync::Outcome &finished) { outcome = finished; });
        sync->run();
        waitFor([&] { return outcome.has_value(); });
        QObject::disconnect(connection);
        store->processPendingChanges();
        return outcome.value_or(CalDavSync::Outcome {});
    }

    QStringList contents() const
    {
        QStringList lines;
        for (const TaskItem *task : page->sortedTasks()) {
            lines << QStringLiteral("%1|%2|%3|%4|%5|%6")
                         .arg(task->text(), task->done() ? "done" : "open", task->notes())
                         .arg(task->indent())
                         .arg(task->due() ? task->due()->date().toString(Qt::ISODate) : QString(), task->placeName());
        }
        return lines;
    }

    QTemporaryDir dir;
    ManualClock clock;
    std::unique_ptr<Store> store;
    Page *page = nullptr;
    CalDavLink link;
    std::unique_ptr<DavClient> client;
    std::unique_ptr<CalDavSync> sync;
};

void expectOk(const CalDavSync::Outcome &outcome)
{
    EXPECT_TRUE(outcome.error.isEmpty()) << outcome.status << " " << outcome.error.toStdString();
}

// What a book linking the list afresh gets.
QStringList onServer(const QUrl &list)
{
    Device fresh(list);
    expectOk(fresh.round());
    return fresh.contents();
}

} // namespace

TEST(CalDavServer, FirstLinkOfAFullPageReachesASecondBookWithEveryField)
{
    const QUrl list = makeList("Errands");
    Device here(list);
    for (int i = 0; i < 25; ++i) {
        TaskItem *task = here.add(QStringLiteral("Task %1").arg(i), i % 5 == 1 ? 1 : 0);
        if (i % 3 == 0)
            task->setNotes(QStringLiteral("Notes for %1\nsecond line, with ümlauts").arg(i));
        if (i % 4 == 0)
            task->setDue(QDateTime(QDate(2027, 1, 1 + i), QTime(0, 0)));
        if (i % 7 == 0)
            task->setPlace(Place { "Market", "1 Square", 48.85, 2.35 });
        task->setDone(i % 6 == 0);
    }
    const auto first = here.round();
    expectOk(first);
    EXPECT_EQ(first.sent, 25);
    EXPECT_TRUE(here.link.queue.isEmpty());
    EXPECT_FALSE(here.link.syncToken.isEmpty());

    Device there(list);
    const auto pulled = there.round();
    expectOk(pulled);
    EXPECT_EQ(pulled.received, 25);
    EXPECT_EQ(there.contents(), here.contents());
    // Nothing changed since: a round sends and takes nothing.
    const auto quiet = here.round();
    EXPECT_EQ(quiet.sent + quiet.received, 0);

    // A wrong password is told apart from a missing server.
    QtDavClient wrong(RadicaleServer::instance().user(), "not-the-password");
    CalDavDiscovery discovery(wrong);
    std::optional<CalDavDiscovery::Found> found;
    discovery.find(RadicaleServer::instance().url(), [&](const CalDavDiscovery::Found &answer) { found = answer; });
    waitFor([&] { return found.has_value(); });
    EXPECT_EQ(found->status, 401);
}

TEST(CalDavServer, EditsDeletionsAndAConflictOnTwoBooksEndTheSame)
{
    const QUrl list = makeList("Shared");
    Device a(list);
    for (int i = 0; i < 8; ++i)
        a.add(QStringLiteral("T%1").arg(i));
    expectOk(a.round());
    Device b(list);
    expectOk(b.round());
    ASSERT_EQ(b.contents(), a.contents());

    a.find("T1")->setText("T1 edited here");
    a.store->remove(a.find("T2"));
    a.add("New here");
    b.find("T3")->setDone(true);
    b.store->remove(b.find("T4"));
    // Both change T5; the other book's change is the later one.
    a.find("T5")->setText("T5 by a");
    b.clock.advance(5'000);
    b.find("T5")->setText("T5 by b");
    // A deletes T6 while B edits it later: the edit brings it back.
    a.store->remove(a.find("T6"));
    b.clock.advance(5'000);
    b.find("T6")->setNotes("still needed");
    b.add("New there", 1);

    expectOk(a.round());
    expectOk(b.round());
    expectOk(a.round());
    EXPECT_EQ(a.contents(), b.contents());
    EXPECT_EQ(a.contents(),
        QStringList({ "T0|open||0||", "T1 edited here|open||0||", "T3|done||0||", "T5 by b|open||0||",
            "T6|open|still needed|0||", "T7|open||0||", "New here|open||0||", "New there|open||1||" }));
    EXPECT_EQ(onServer(list), a.contents());
}

namespace {

DavReply ask(const QByteArray &method, const QUrl &url, const QByteArray &body = {})
{
    RadicaleServer &server = RadicaleServer::instance();
    QtDavClient client(server.user(), server.password());
    std::optional<DavReply> answer;
    client.send(DavRequest { method, url, body, body.isEmpty() ? QByteArray() : "text/calendar; charset=utf-8", {} },
        [&](const DavReply &reply) { answer = reply; });
    waitFor([&] { return answer.has_value(); });
    return answer.value_or(DavReply {});
}

} // namespace

// A task another planner put on the list goes back, once edited here, under
// its own name and with the properties Quillery has no field for.
TEST(CalDavServer, ATaskFromAnotherPlannerKeepsItsNameAndUnknownPropertiesWhenEditedHere)
{
    const QUrl list = makeList("Elsewhere");
    const QUrl resource = list.resolved(QUrl("other-42.ics"));
    ASSERT_TRUE(ask("PUT", resource,
        "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Other//EN\r\nBEGIN:VTODO\r\nUID:other-planner-42\r\n"
        "DTSTAMP:20270101T000000Z\r\nSUMMARY:From elsewhere\r\nX-OTHER-FLAG:kept\r\nEND:VTODO\r\nEND:VCALENDAR\r\n")
                    .ok());
    Device here(list);
    here.add("Made here");
    expectOk(here.round());
    ASSERT_NE(here.find("From elsewhere"), nullptr);
    here.find("From elsewhere")->setText("Edited here");
    const auto sent = here.round();
    expectOk(sent);
    EXPECT_EQ(sent.sent, 1);

    const QByteArray back = ask("GET", resource).body;
    EXPECT_TRUE(back.contains("UID:other-planner-42")) << back.toStdString();
    EXPECT_TRUE(back.contains("X-OTHER-FLAG:kept")) << back.toStdString();
    EXPECT_TRUE(back.contains("SUMMARY:Edited here")) << back.toStdString();
    EXPECT_EQ(onServer(list), here.contents());
}

namespace {

// Passes requests on until it is killed; from then on no answer arrives,
// as for a process that is gone.
class KillableClient final : public DavClient
{
public:
    explicit KillableClient(DavClient &inner)
        : m_inner(inner)
    { }
    void send(const DavRequest &request, std::function<void(const DavReply &)> done) override
    {
        m_inner.send(request, [this, alive = m_alive, method = request.method, done](const DavReply &reply) {
            if (!*alive)
                return;
            done(reply);
            if (method == "PUT" && ++m_puts == killAfterPuts)
                *alive = false;
        });
    }
    int killAfterPuts = -1;
    bool killed() const { return !*m_alive; }

private:
    DavClient &m_inner;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
    int m_puts = 0;
};

class PasswordBackend final : public CalDavBackend
{
public:
    std::unique_ptr<DavClient> client(const QString &user, const QString &password) override
    {
        return std::make_unique<QtDavClient>(user, password);
    }
    void readPassword(const QString &account, PasswordRead done) override { done(m_passwords.value(account), {}); }
    void writePassword(const QString &account, const QString &password, PasswordWritten done) override
    {
        m_passwords.insert(account, password);
        done({});
    }

private:
    QHash<QString, QString> m_passwords;
};

} // namespace

TEST(CalDavServer, NothingIsLostWhenTheServerStopsOrTheClientIsKilledMidRound)
{
    RadicaleServer &server = RadicaleServer::instance();
    const QUrl list = makeList("Offline");
    QTemporaryDir dir;
    const QString bookPath = dir.filePath("book.sqlite");
    {
        // Linked through the program's own links, so the link file and the
        // status line are the real ones.
        Device book(list, bookPath);
        for (int i = 0; i < 5; ++i)
            book.add(QStringLiteral("Before %1").arg(i));
        book.store->save();
        CalDavTiming timing;
        timing.afterSaveMs = 60'000; // rounds only when asked for
        CalDavLinks links(
            *book.store, [] { return std::make_unique<PasswordBackend>(); }, CalendarContext(), timing);
        QSignalSpy rounds(&links, &CalDavLinks::roundFinished);
        links.link(book.page, server.url().toString(), server.user(), server.password(), list, "Offline",
            [](const QString &error) { EXPECT_TRUE(error.isEmpty()); });
        waitFor([&] { return rounds.count() == 1; });
        EXPECT_TRUE(links.isSettled());

        server.halt();
        for (int i = 0; i < 3; ++i)
            book.find(QStringLiteral("Before %1").arg(i))->setText(QStringLiteral("Edited offline %1").arg(i));
        book.add("Added offline");
        book.store->save();
        links.syncNow();
        waitFor([&] { return rounds.count() == 2; });
        EXPECT_EQ(rounds.last().first().value<CalDavSync::Outcome>().status, 0);
        EXPECT_TRUE(links.text().contains("server unreachable, 4 waiting to be sent")) << links.text().toStdString();
        EXPECT_EQ(links.linkOf(book.page)->queue.size(), 4);
    }
    server.resume();

    // The program starts again with what is on disk, and is killed after
    // two of the four changes reached the server.
    CalDavLinkFile file(CalDavLinkFile::besideBook(bookPath));
    QList<CalDavLink> saved;
    ASSERT_TRUE(file.load(saved));
    ASSERT_EQ(saved.size(), 1);
    EXPECT_EQ(saved[0].queue.size(), 4);
    {
        Device book(list, bookPath);
        book.link = saved[0];
        KillableClient killable(*book.client);
        killable.killAfterPuts = 2;
        CalDavSync sync(*book.store, book.link, killable);
        sync.run();
        waitFor([&] { return killable.killed(); });
    }

    // The kill came before the round recorded what the server took.
    ASSERT_TRUE(file.load(saved));
    EXPECT_EQ(saved[0].queue.size(), 4);

    // And once more, to the end.
    Device book(list, bookPath);
    book.link = saved[0];
    expectOk(book.round());
    EXPECT_TRUE(book.link.queue.isEmpty());
    EXPECT_EQ(book.contents(),
        QStringList({ "Edited offline 0|open||0||", "Edited offline 1|open||0||", "Edited offline 2|open||0||",
            "Before 3|open||0||", "Before 4|open||0||", "Added offline|open||0||" }));
    EXPECT_EQ(onServer(list), book.contents());
}

TEST(CalDavServer, LinkingFromThePageMenuMakesAListAndTheMenuShowsTheLink)
{
    RadicaleServer &server = RadicaleServer::instance();
    test::PageKit kit;
    Page *page = kit.page(QStringLiteral("Groceries"), { "Milk", "Bread", ">Rye" });
    CalDavTiming timing;
    timing.afterSaveMs = 60'000;
    CalDavLinks links(
        *kit.store, [] { return std::make_unique<PasswordBackend>(); }, CalendarContext(), timing);
    QSignalSpy rounds(&links, &CalDavLinks::roundFinished);
    Services services = kit.services();
    services.taskListStatus = &links;
    QPointer<ui::CalDavDialog> dialog;
    services.linkTaskList = [&](Page *chosen) { dialog = ui::CalDavDialog::open(links, chosen, nullptr); };
    ui::PageOptionsMenu menu(services);
    menu.setPage(page);
    menu.rebuild();
    EXPECT_EQ(menu.statusLines().size(), 2) << "no line for links while none exists";
    QAction *command = menu.action(QStringLiteral("Sync Page with CalDAV…"));
    ASSERT_TRUE(command);
    command->trigger();
    ASSERT_TRUE(dialog);

    dialog->serverField()->setText(server.url().toString());
    dialog->userField()->setText(server.user());
    dialog->passwordField()->setText(server.password());
    dialog->findButton()->click();
    waitFor([&] { return dialog->linkButton()->isEnabled(); });
    EXPECT_EQ(dialog->listChoice()->itemText(0), QStringLiteral("New List “Groceries”"));
    dialog->listChoice()->setCurrentIndex(0);
    test::saveScreenshot(QStringLiteral("caldav-dialog"), *dialog);
    dialog->linkButton()->click();
    // The page's own autosave may ask for a second round.
    waitFor([&] { return rounds.count() >= 1 && links.isSettled(); });
    EXPECT_TRUE(dialog.isNull() || !dialog->isVisible());

    const std::optional<CalDavLink> link = links.linkOf(page);
    ASSERT_TRUE(link);
    EXPECT_EQ(link->listName, "Groceries");
    menu.rebuild();
    const QStringList lines = menu.statusLines();
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const QString &line) {
        return line.startsWith(QStringLiteral("“Groceries”: synced "));
    })) << lines.join(" / ").toStdString();
    EXPECT_EQ(onServer(QUrl(link->collection)), QStringList({ "Milk|open||0||", "Bread|open||0||", "Rye|open||1||" }));
}
