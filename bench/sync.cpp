// Mirroring a large book through a real PostgreSQL server on loopback: the
// first export of 1,000 pages and 100,000 tasks, the first import of that book
// on a second computer, the import of 100 changed tasks once both are in step,
// and how long each merged slice holds the main thread.
//
// The server is a throwaway cluster made by tests/platform/cloud/pg-cluster.sh
// (found beside the build folder, or named by QUILLERY_PG_SCRIPT).
#include "core/model/Store.h"
#include "core/sync/ImportMerger.h"
#include "core/sync/MirrorEngine.h"
#include "core/sync/MirrorLedger.h"
#include "platform/cloud/PgConnection.h"
#include "platform/cloud/PgMirrorRemote.h"
#include "support/LargeBook.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <SQLiteCpp/Transaction.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <cstdlib>

using namespace quillery;

namespace {

// Runs the event loop until `condition` holds; false after `msecs`.
bool waitFor(const std::function<bool()> &condition, int msecs)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > msecs)
            return false;
        QEventLoop loop;
        QTimer::singleShot(1, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

// The main thread's time per merged slice, wall clock and working time.
struct SliceTimes {
    QList<qint64> wall, cpu;

    void watch(ImportMerger &merger)
    {
        QObject::connect(&merger, &ImportMerger::sliceDone, &merger, [this](qint64 wallNs, qint64 cpuNs) {
            wall.append(wallNs);
            cpu.append(cpuNs);
        });
    }
    static double percentile(QList<qint64> values, double p)
    {
        if (values.isEmpty())
            return 0;
        std::sort(values.begin(), values.end());
        return double(values.at(qsizetype(p * double(values.size() - 1)))) / 1e6;
    }
    void report(benchmark::State &state) const
    {
        state.counters["slices"] = double(wall.size());
        state.counters["wall_p50_ms"] = percentile(wall, 0.5);
        state.counters["wall_p95_ms"] = percentile(wall, 0.95);
        state.counters["wall_max_ms"] = percentile(wall, 1.0);
        state.counters["cpu_max_ms"] = percentile(cpu, 1.0);
    }
};

QString shellQuote(const QString &text)
{
    QString quoted = text;
    quoted.replace(u'\'', QStringLiteral("'\\''"));
    return u'\'' + quoted + u'\'';
}

// A cluster for the whole run, with the user "alice" and a service per database.
class BenchServer
{
public:
    static BenchServer &instance()
    {
        static BenchServer server;
        return server;
    }

    ~BenchServer() { run("stop"); }

    bool ok() const { return m_port != 0; }

    // Points the service "quillery" at a new empty database of alice's.
    void useFreshDatabase()
    {
        const QString name = QStringLiteral("bench_%1").arg(++m_databases);
        admin(QStringLiteral("CREATE DATABASE %1 OWNER alice").arg(name).toUtf8());
        writeServices(name);
    }

private:
    BenchServer()
    {
        QString script = qEnvironmentVariable("QUILLERY_PG_SCRIPT");
        if (script.isEmpty())
            script
                = QCoreApplication::applicationDirPath() + QStringLiteral("/../../tests/platform/cloud/pg-cluster.sh");
        m_script = script;
        m_state = m_dir.filePath(QStringLiteral("cluster.state"));
        if (!run("start"))
            return;
        QFile state(m_state);
        state.open(QIODevice::ReadOnly | QIODevice::Text);
        for (const QByteArray &line : state.readAll().split('\n')) {
            if (line.startsWith("PGC_PORT="))
                m_port = line.mid(9).toInt();
            else if (line.startsWith("PGC_SOCKET="))
                m_socket = QString::fromUtf8(line.mid(11));
        }
        QFile passwords(m_dir.filePath(QStringLiteral("pgpass")));
        passwords.open(QIODevice::WriteOnly | QIODevice::Text);
        passwords.write(QStringLiteral("127.0.0.1:%1:*:alice:alice-secret\n").arg(m_port).toUtf8());
        passwords.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        passwords.close();
        qputenv("PGPASSFILE", passwords.fileName().toLocal8Bit());
        writeServices(QStringLiteral("postgres"));
        admin("CREATE ROLE alice LOGIN PASSWORD 'alice-secret'");
    }

    bool run(const char *command)
    {
        const QString line = shellQuote(m_script) + u' ' + QString::fromLatin1(command) + u' ' + shellQuote(m_state);
        return std::system(line.toLocal8Bit().constData()) == 0;
    }

    void writeServices(const QString &database)
    {
        QFile file(m_dir.filePath(QStringLiteral("pg_service.conf")));
        file.open(QIODevice::WriteOnly | QIODevice::Text);
        file.write(QStringLiteral("[bench-admin]\nhost=%1\nport=%2\nuser=quillery_admin\ndbname=postgres\n\n"
                                  "[quillery]\nhost=127.0.0.1\nport=%2\nuser=alice\ndbname=%3\n")
                       .arg(m_socket)
                       .arg(m_port)
                       .arg(database)
                       .toUtf8());
        file.close();
        qputenv("PGSERVICEFILE", file.fileName().toLocal8Bit());
    }

    void admin(const QByteArray &sql)
    {
        PgConnection::Options options;
        options.service = QStringLiteral("bench-admin");
        PgFailure failure;
        auto connection = PgConnection::open(options, &failure);
        if (!connection || !connection->exec(sql, &failure))
            std::fprintf(stderr, "bench admin: %s\n", qPrintable(failure.message));
    }

    QTemporaryDir m_dir;
    QString m_script;
    QString m_state;
    QString m_socket;
    int m_port = 0;
    int m_databases = 0;
};

// One computer: its book and its mirror.
struct Device {
    explicit Device(const QString &path)
    {
        StoreOpenError error;
        store = Store::open(path, &error);
        remote = std::make_unique<PgMirrorRemote>();
        // Before the engine's own handler: the moment the server's commit is known.
        QObject::connect(remote.get(), &MirrorRemote::exportDone, remote.get(), [this](const ExportReply &reply) {
            if (!reply.error)
                lastExportCommitted.start();
        });
        engine = std::make_unique<MirrorEngine>(*store, *remote, MirrorEngine::Timing {});
        QObject::connect(engine.get(), &MirrorEngine::eventChanged, engine.get(), [this](const SyncEvent &event) {
            if (event.end && !event.succeeded)
                std::fprintf(
                    stderr, "sync failed: %s\n", qPrintable(event.error ? event.error->description : QString()));
        });
        slices.watch(engine->merger());
    }
    ~Device()
    {
        engine.reset();
        remote.reset();
        store.reset();
    }
    bool settle(int msecs)
    {
        return waitFor([this] { return engine->isSettled(); }, msecs);
    }

    std::unique_ptr<Store> store;
    std::unique_ptr<PgMirrorRemote> remote;
    std::unique_ptr<MirrorEngine> engine;
    QElapsedTimer lastExportCommitted;
    SliceTimes slices;
};

struct Pair {
    QTemporaryDir dir;
    std::unique_ptr<Device> a, b;
};

Pair &pair()
{
    static Pair p;
    return p;
}

// The path of a new book `name` in the pair's folder, for a repetition of its
// own: the device that had the old one closes it first, and the old file and
// its log go.
QString freshBook(std::unique_ptr<Device> &device, const QString &name)
{
    device.reset();
    const QString path = pair().dir.filePath(name);
    for (const char *suffix : { "", "-wal", "-shm" })
        QFile::remove(path + QLatin1String(suffix));
    return path;
}

void BM_FirstExport(benchmark::State &state)
{
    if (!BenchServer::instance().ok()) {
        state.SkipWithError("no PostgreSQL cluster");
        return;
    }
    // Every repetition starts from nothing: a new database, a new book, and
    // no second computer that was in step with the previous ones.
    BenchServer::instance().useFreshDatabase();
    pair().b.reset();
    const int pages = int(state.range(0)), perPage = int(state.range(1));
    const QString path = bench::writeLargeBook(freshBook(pair().a, QStringLiteral("a.sqlite")), pages, perPage, true);
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        pair().a = std::make_unique<Device>(path);
        pair().a->engine->start();
        if (!pair().a->settle(600'000))
            state.SkipWithError("the export did not finish");
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
    }
    state.counters["tasks"] = double(pages) * perPage;
}
BENCHMARK(BM_FirstExport)->Args({ 1000, 100 })->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

void BM_FirstImport(benchmark::State &state)
{
    if (!pair().a) {
        state.SkipWithError("needs BM_FirstExport");
        return;
    }
    for (auto _ : state) {
        // An empty book each time, or a repetition would find it in step.
        const QString path = freshBook(pair().b, QStringLiteral("b.sqlite"));
        QElapsedTimer timer;
        timer.start();
        pair().b = std::make_unique<Device>(path);
        pair().b->engine->start();
        if (!pair().b->settle(600'000) || pair().b->store->tasks().size() != pair().a->store->tasks().size())
            state.SkipWithError("the import did not finish");
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
    }
    pair().b->slices.report(state);
}
BENCHMARK(BM_FirstImport)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

// From the moment the other computer's export is on the server to the moment
// the last of the 100 changed tasks shows the change on this one.
void BM_ImportOf100ChangedTasks(benchmark::State &state)
{
    if (!pair().b) {
        state.SkipWithError("needs BM_FirstImport");
        return;
    }
    Device &a = *pair().a, &b = *pair().b;
    b.slices = {};
    // Counted across repetitions: a text a task already has is no change.
    static int round = 0;
    for (auto _ : state) {
        ++round;
        const QList<TaskItem *> &tasks = a.store->tasks();
        QSet<QUuid> ids;
        for (int i = 0; i < 100; ++i) {
            TaskItem *task = tasks.at((round * 997 + i * 101) % tasks.size());
            task->setText(QStringLiteral("changed in round %1").arg(round));
            ids.insert(task->id());
        }
        int seen = 0;
        qint64 visibleAfterNs = -1;
        a.lastExportCommitted.invalidate();
        const auto connection
            = QObject::connect(b.store.get(), &Store::recordChanged, b.store.get(), [&](Record *record, Field field) {
                  if (field == Field::Text && ids.contains(record->id()) && ++seen == 100)
                      visibleAfterNs = a.lastExportCommitted.isValid() ? a.lastExportCommitted.nsecsElapsed() : 0;
              });
        a.store->save();
        const bool done = waitFor([&] { return seen == 100; }, 30'000);
        QObject::disconnect(connection);
        if (!done) {
            state.SkipWithError("the change did not arrive");
            break;
        }
        state.SetIterationTime(double(visibleAfterNs) / 1e9);
        b.settle(10'000);
        a.settle(10'000);
    }
    b.slices.report(state);
}
BENCHMARK(BM_ImportOf100ChangedTasks)->Iterations(20)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

namespace {

// The main thread's share of an import, without the network: 100,000 tasks
// from the server merged into an empty book.
void BM_MergeIntoEmptyBook(benchmark::State &state)
{
    const int pages = int(state.range(0)), perPage = int(state.range(1));
    QList<MirrorRecord> records;
    const QUuid device = QUuid::createUuid();
    qint64 stamp = 1'700'000'000'000;
    for (int p = 0; p < pages; ++p) {
        MirrorRecord page;
        page.kind = Record::Kind::Page;
        page.id = QUuid::createUuid();
        page.modified = stamp++;
        page.device = device;
        page.setValue(Field::Created, page.modified);
        page.setValue(Field::Position, double(p));
        page.setValue(Field::Title, QStringLiteral("Page %1").arg(p));
        records.append(page);
        for (int t = 0; t < perPage; ++t) {
            MirrorRecord task;
            task.kind = Record::Kind::Task;
            task.id = QUuid::createUuid();
            task.modified = stamp++;
            task.device = device;
            task.setValue(Field::Created, task.modified);
            task.setValue(Field::Text, QStringLiteral("Call the plumber about the kitchen sink, item %1").arg(t));
            task.setValue(Field::Order, double(t + 1));
            task.setValue(Field::PageLink, QVariant::fromValue(page.id));
            records.append(task);
        }
    }
    for (auto _ : state) {
        QTemporaryDir dir;
        StoreOpenError error;
        auto store = Store::open(dir.filePath(QStringLiteral("book.sqlite")), &error);
        MirrorLedger ledger(*store);
        ledger.open(nullptr);
        ImportMerger merger(*store, ledger);
        SliceTimes slices;
        slices.watch(merger);
        bool finished = false;
        QObject::connect(&merger, &ImportMerger::finished, [&] { finished = true; });
        QElapsedTimer timer;
        timer.start();
        merger.merge(records);
        waitFor([&] { return finished; }, 600'000);
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
        slices.report(state);
    }
}
BENCHMARK(BM_MergeIntoEmptyBook)->Args({ 1000, 100 })->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

} // namespace
