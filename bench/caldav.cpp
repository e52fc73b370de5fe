// Syncing a page linked to a task list of 5,000 tasks on a local Radicale
// server: one round that takes 50 changes made on another computer and
// sends 50 made here. The list is uploaded whole before measuring, and both
// books take it once (that first pull is reported as well).
//
// The server is a throwaway one made by tests/platform/caldav/radicale.sh
// (found beside the build folder, or named by QUILLERY_RADICALE_SCRIPT).
#include "core/caldav/CalDavSync.h"
#include "core/ical/IcalExport.h"
#include "core/model/Store.h"
#include "platform/caldav/QtDavClient.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <ctime>

using namespace quillery;

namespace {

constexpr int ListSize = 5'000;

// Sleeps in the event loop until `condition` holds. processEvents() with a
// time limit never waits, so a loop over it spins and its processor time
// would be counted as the round's; the tick only lets the deadline be seen.
template <typename Fn> bool waitFor(Fn &&condition, int msecs = 600'000)
{
    QElapsedTimer timer;
    timer.start();
    QTimer tick;
    tick.start(100);
    while (!condition() && timer.elapsed() < msecs)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return condition();
}

class Server
{
public:
    Server()
    {
        m_script = qEnvironmentVariable("QUILLERY_RADICALE_SCRIPT");
        if (m_script.isEmpty())
            m_script = QCoreApplication::applicationDirPath() + "/../../tests/platform/caldav/radicale.sh";
        m_state = m_dir.filePath("state");
        QProcess::execute(m_script, { "start", m_state });
        QFile file(m_state);
        file.open(QIODevice::ReadOnly);
        for (const QByteArray &line : file.readAll().split('\n')) {
            if (line.startsWith("RAD_PORT="))
                port = line.mid(9).toInt();
            if (line.startsWith("RAD_PASSWORD="))
                password = QString::fromUtf8(line.mid(13));
        }
    }
    ~Server() { QProcess::execute(m_script, { "stop", m_state }); }
    QUrl list() const { return QUrl(QStringLiteral("http://127.0.0.1:%1/alice/bench/").arg(port)); }
    int port = 0;
    QString password;

private:
    QTemporaryDir m_dir;
    QString m_script;
    QString m_state;
};

struct Book {
    Book(const Server &server, const QUrl &list)
    {
        StoreOpenError error;
        store = Store::open(dir.filePath("book.sqlite"), &error);
        page = new Page(1.0, 0);
        store->insert(page);
        link.page = page->id();
        link.collection = list.toString();
        client = std::make_unique<QtDavClient>("alice", server.password);
        // The server's first listing of a new list of 5,000 builds its cache
        // before it answers.
        client->setTimeout(600'000);
        sync = std::make_unique<CalDavSync>(*store, link, *client);
    }
    CalDavSync::Outcome round()
    {
        std::optional<CalDavSync::Outcome> outcome;
        const auto connection = QObject::connect(
            sync.get(), &CalDavSync::finished, [&](const CalDavSync::Outcome &done) { outcome = done; });
        sync->run();
        waitFor([&] { return outcome.has_value(); });
        QObject::disconnect(connection);
        return outcome.value_or(CalDavSync::Outcome { 0, "timed out" });
    }
    QTemporaryDir dir;
    std::unique_ptr<Store> store;
    Page *page = nullptr;
    CalDavLink link;
    std::unique_ptr<QtDavClient> client;
    std::unique_ptr<CalDavSync> sync;
};

// Uploads a list of `count` tasks in one request (the server takes a whole
// calendar PUT on a collection).
bool upload(const Server &server, int count)
{
    QTemporaryDir dir;
    StoreOpenError error;
    std::unique_ptr<Store> store = Store::open(dir.filePath("source.sqlite"), &error);
    auto *page = new Page(1.0, 0);
    store->insert(page);
    page->setTitle("Bench");
    for (int i = 0; i < count; ++i) {
        auto *task = new TaskItem(QStringLiteral("Task %1").arg(i), i + 1);
        store->insert(task);
        task->setPage(page);
        if (i % 3 == 0)
            task->setNotes(QStringLiteral("Two lines\nof notes for %1").arg(i));
    }
    const QByteArray text = IcalExport::pages({ page }, *store, CalendarContext()).text;
    QtDavClient client("alice", server.password);
    client.setTimeout(600'000); // the server files 5,000 resources before it answers
    std::optional<DavReply> answer;
    client.send(DavRequest { "PUT", server.list(), text, "text/calendar; charset=utf-8", {} },
        [&](const DavReply &reply) { answer = reply; });
    waitFor([&] { return answer.has_value(); });
    if (answer && !answer->ok())
        std::fprintf(stderr, "upload: HTTP %d %s\n", answer->status, qPrintable(answer->error));
    return answer && answer->ok();
}

void BM_SyncRound(benchmark::State &state)
{
    Server server;
    if (!upload(server, ListSize)) {
        state.SkipWithError("the list could not be uploaded");
        return;
    }
    Book here(server, server.list());
    Book there(server, server.list());
    QElapsedTimer firstPull;
    firstPull.start();
    const std::clock_t firstPullCpu = std::clock();
    const auto pulled = here.round();
    const double firstPullMs = double(firstPull.elapsed());
    // This process's processor time: the server's is not in it.
    const double firstPullCpuMs = 1000.0 * double(std::clock() - firstPullCpu) / CLOCKS_PER_SEC;
    const auto otherPull = there.round();
    if (!pulled.error.isEmpty() || !otherPull.error.isEmpty() || here.page->sortedTasks().size() != ListSize) {
        std::fprintf(stderr, "first pull: %d %s / %d %s, %lld tasks\n", pulled.status, qPrintable(pulled.error),
            otherPull.status, qPrintable(otherPull.error), qlonglong(here.page->sortedTasks().size()));
        state.SkipWithError("the first pull failed");
        return;
    }
    int iteration = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QList<TaskItem *> theirs = there.page->sortedTasks();
        const QList<TaskItem *> ours = here.page->sortedTasks();
        for (int i = 0; i < 50; ++i) {
            theirs[(iteration * 100 + i * 2) % ListSize]->setText(QStringLiteral("There %1.%2").arg(iteration).arg(i));
            ours[(iteration * 100 + i * 2 + 1) % ListSize]->setText(QStringLiteral("Here %1.%2").arg(iteration).arg(i));
        }
        if (!there.round().error.isEmpty()) {
            state.SkipWithError("the other computer's round failed");
            return;
        }
        ++iteration;
        state.ResumeTiming();
        const CalDavSync::Outcome outcome = here.round();
        if (!outcome.error.isEmpty() || outcome.sent != 50 || outcome.received != 50) {
            state.SkipWithError("the round did not sync 100 changes");
            return;
        }
    }
    state.counters["first_pull_5000_ms"] = firstPullMs;
    state.counters["first_pull_5000_cpu_ms"] = firstPullCpuMs;
}
BENCHMARK(BM_SyncRound)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

} // namespace
