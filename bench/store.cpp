// The book's store: opening a large book, saving one change, sorting a page.
#include "core/model/Store.h"
#include "support/LargeBook.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <SQLiteCpp/Transaction.h>

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QUuid>
#include <benchmark/benchmark.h>

#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

using namespace quillery;

namespace {

double residentMegabytes()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * double(::sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// A large book, written once per size for the whole run.
QString largeBook(int pages, int tasksPerPage)
{
    static QTemporaryDir dir;
    dir.setAutoRemove(qEnvironmentVariableIsEmpty("QUILLERY_BENCH_KEEP"));
    const QString path = dir.filePath(QStringLiteral("book-%1-%2.sqlite").arg(pages).arg(tasksPerPage));
    if (QFile::exists(path))
        return path;
    return bench::writeLargeBook(path, pages, tasksPerPage, false);
}

// Opens the book in a fresh child process and reports its resident memory
// then (heap reuse in this process would hide the real figure).
std::pair<double, double> residentAfterOpen(const QString &path)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return { 0, 0 };
    const pid_t child = ::fork();
    if (child == 0) {
        const double before = residentMegabytes();
        StoreOpenError error;
        auto store = Store::open(path, &error);
        const double values[2] = { residentMegabytes(), residentMegabytes() - before };
        [[maybe_unused]] auto written = ::write(fds[1], values, sizeof values);
        ::_exit(store ? 0 : 1);
    }
    double values[2] = { 0, 0 };
    [[maybe_unused]] auto got = ::read(fds[0], values, sizeof values);
    ::close(fds[0]);
    ::close(fds[1]);
    ::waitpid(child, nullptr, 0);
    return { values[0], values[1] };
}

void BM_OpenBook(benchmark::State &state)
{
    const QString path = largeBook(int(state.range(0)), int(state.range(1)));
    const auto [resident, growth] = residentAfterOpen(path);
    for (auto _ : state) {
        StoreOpenError error;
        auto store = Store::open(path, &error);
        if (!store) {
            state.SkipWithError("cannot open");
            return;
        }
        benchmark::DoNotOptimize(store->pages().size());
        state.PauseTiming();
        store.reset();
        state.ResumeTiming();
    }
    state.counters["rss_MB"] = resident;
    state.counters["rss_growth_MB"] = growth;
    state.counters["tasks"] = double(state.range(0) * state.range(1));
}
BENCHMARK(BM_OpenBook)->Args({ 1000, 100 })->Unit(benchmark::kMillisecond)->Iterations(5);

// Opening the same book on its first page: what is read before the window
// can show it, and (as a counter) reading the rest after it.
void BM_OpenBookPageFirst(benchmark::State &state)
{
    const QString path = largeBook(int(state.range(0)), int(state.range(1)));
    double restMs = 0;
    for (auto _ : state) {
        StoreOpenError error;
        auto store = Store::openPageFirst(path, QString(), &error);
        if (!store) {
            state.SkipWithError("cannot open");
            return;
        }
        benchmark::DoNotOptimize(store->pages().first()->tasks().size());
        state.PauseTiming();
        QElapsedTimer rest;
        rest.start();
        store->finishLoading();
        restMs += double(rest.nsecsElapsed()) / 1e6;
        store.reset();
        state.ResumeTiming();
    }
    state.counters["rest_ms"] = restMs / double(state.iterations());
}
BENCHMARK(BM_OpenBookPageFirst)->Args({ 1000, 100 })->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_SaveOneFieldChange(benchmark::State &state)
{
    const QString path = largeBook(1000, 100);
    StoreOpenError error;
    auto store = Store::open(path, &error);
    TaskItem *task = store->tasks().at(store->tasks().size() / 2);
    int n = 0;
    for (auto _ : state) {
        task->setText(QStringLiteral("Edited %1").arg(++n));
        if (!store->save())
            state.SkipWithError("save failed");
    }
}
BENCHMARK(BM_SaveOneFieldChange)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_SortedTasksOfALargePage(benchmark::State &state)
{
    static QTemporaryDir dir;
    StoreOpenError error;
    auto store = Store::open(dir.filePath(QStringLiteral("sort.sqlite")), &error);
    auto *page = new Page(1, 0);
    store->insert(page);
    auto *random = QRandomGenerator::global();
    for (int i = 0; i < state.range(0); ++i)
        addTask(QStringLiteral("task %1").arg(i), 0, page, *store)->setOrder(random->bounded(int(state.range(0) / 2)));
    for (auto _ : state)
        benchmark::DoNotOptimize(page->sortedTasks());
}
BENCHMARK(BM_SortedTasksOfALargePage)->Arg(1000)->Unit(benchmark::kMicrosecond);

} // namespace
