// Quillery left running for its reminders: a book of 5,000 tasks opened with
// its window, the window closed, then the process left alone. Measures what
// the process keeps in memory without the window and how often it wakes up
// while nothing is due.
#include "support/LargeBook.h"

#include "app/QuilleryApp.h"
#include "ui/app/MainWindow.h"
#include "ui/book/BookView.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QHash>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <functional>

using namespace quillery;

namespace {

constexpr int Pages = 50;
constexpr int TasksPerPage = 100;

double residentMB(const char *field = "VmRSS:")
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return -1;
}

// Memory no other process shares: the heap, stacks and written pages of
// mapped files (Private_Clean and Private_Dirty of all mappings).
double privateMB()
{
    QFile rollup(QStringLiteral("/proc/self/smaps_rollup"));
    if (!rollup.open(QIODevice::ReadOnly))
        return -1;
    double kilobytes = 0;
    for (const QByteArray &line : rollup.readAll().split('\n')) {
        if (line.startsWith("Private_Clean:") || line.startsWith("Private_Dirty:"))
            kilobytes += line.mid(line.indexOf(':') + 1).trimmed().split(' ').first().toDouble();
    }
    return kilobytes / 1024.0;
}

// Context switches so far of each thread of the process, by thread id: each
// is a thread going to sleep or being woken.
QHash<QString, qint64> contextSwitches()
{
    QHash<QString, qint64> switches;
    const QDir tasks(QStringLiteral("/proc/self/task"));
    for (const QString &task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile status(tasks.filePath(task + QStringLiteral("/status")));
        if (!status.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.startsWith("voluntary_ctxt_switches:") || line.startsWith("nonvoluntary_ctxt_switches:"))
                switches[task] += line.mid(line.indexOf(':') + 1).trimmed().toLongLong();
        }
    }
    return switches;
}

// The switches between two readings; a thread that ended meanwhile is not
// counted.
qint64 switchesBetween(const QHash<QString, qint64> &before, const QHash<QString, qint64> &after)
{
    qint64 total = 0;
    for (auto it = after.cbegin(); it != after.cend(); ++it)
        total += it.value() - before.value(it.key(), 0);
    return total;
}

bool runUntil(const std::function<bool()> &condition, int msecs)
{
    QDeadlineTimer deadline(msecs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

void runFor(int msecs)
{
    QEventLoop loop;
    QTimer::singleShot(msecs, &loop, &QEventLoop::quit);
    loop.exec();
}

// The program over a large book, its window shown, then closed.
struct ClosedWindow {
    QTemporaryDir dir;
    std::unique_ptr<QuilleryApp> app;
    double withWindowMB = 0;
    double beforeMB = residentMB();

    ClosedWindow()
    {
        const QString book
            = bench::writeLargeBook(dir.filePath(QStringLiteral("book.sqlite")), Pages, TasksPerPage, false);
        app = std::make_unique<QuilleryApp>(
            QuilleryApp::Options { book, dir.filePath(QStringLiteral("pending.json")) });
        StoreOpenError error;
        if (!app->start(&error))
            qFatal("cannot open the book: %s", qPrintable(error.message()));
        app->showWindow();
        runUntil([&] { return app->bookView().currentPageView() != nullptr; }, 10'000);
        runFor(1500); // drawn, settled, pictures cached
        withWindowMB = residentMB();
        app->window().close();
        runUntil([&] { return !app->hasWindow(); }, 5000);
        runFor(1500);
    }
};

void BM_ResidentAfterTheWindowClosed(benchmark::State &state)
{
    for (auto _ : state) {
        ClosedWindow program;
        state.counters["before_start_MB"] = program.beforeMB;
        state.counters["with_window_MB"] = program.withWindowMB;
        state.counters["background_MB"] = residentMB();
        // Of which the process's own heap and stacks, the rest being mapped
        // files (libraries, ICU data, fonts), shared with other processes.
        state.counters["background_anon_MB"] = residentMB("RssAnon:");
        state.counters["background_private_MB"] = privateMB();
    }
    state.counters["tasks"] = Pages * TasksPerPage;
}
BENCHMARK(BM_ResidentAfterTheWindowClosed)->Iterations(1)->Unit(benchmark::kMillisecond);

// Idle for the given seconds with nothing due: how often the main thread
// leaves its wait, and how often any thread of the process is switched.
void BM_IdleWakeUps(benchmark::State &state)
{
    ClosedWindow program;
    int awakenings = 0;
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::awake, [&] { ++awakenings; });
    const QHash<QString, qint64> switchesBefore = contextSwitches();
    QElapsedTimer elapsed;
    for (auto _ : state) {
        awakenings = 0;
        elapsed.start();
        runFor(int(state.range(0)) * 1000);
    }
    const double minutes = double(elapsed.elapsed()) / 60'000.0;
    state.counters["main_wakeups_per_min"] = double(awakenings) / minutes;
    state.counters["ctx_switches_per_min"] = double(switchesBetween(switchesBefore, contextSwitches())) / minutes;
}
BENCHMARK(BM_IdleWakeUps)->Arg(300)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace
