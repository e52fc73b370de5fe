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
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <functional>

using namespace quillery;

namespace {

constexpr int Pages = 50;
constexpr int TasksPerPage = 100;

double residentMB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return -1;
}

// Context switches of every thread of the process so far: each is a thread
// going to sleep or being woken.
qint64 contextSwitches()
{
    qint64 total = 0;
    const QDir tasks(QStringLiteral("/proc/self/task"));
    for (const QString &task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile status(tasks.filePath(task + QStringLiteral("/status")));
        if (!status.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.startsWith("voluntary_ctxt_switches:") || line.startsWith("nonvoluntary_ctxt_switches:"))
                total += line.mid(line.indexOf(':') + 1).trimmed().toLongLong();
        }
    }
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
        state.counters["with_window_MB"] = program.withWindowMB;
        state.counters["background_MB"] = residentMB();
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
    const qint64 switchesBefore = contextSwitches();
    QElapsedTimer elapsed;
    for (auto _ : state) {
        awakenings = 0;
        elapsed.start();
        runFor(int(state.range(0)) * 1000);
    }
    const double minutes = double(elapsed.elapsed()) / 60'000.0;
    state.counters["main_wakeups_per_min"] = double(awakenings) / minutes;
    state.counters["ctx_switches_per_min"] = double(contextSwitches() - switchesBefore) / minutes;
}
BENCHMARK(BM_IdleWakeUps)->Arg(300)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace
