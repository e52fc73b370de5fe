// The book's store: opening a large book, saving one change, sorting a page.
#include "core/model/Store.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <SQLiteCpp/Transaction.h>

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

// A book of `pages` pages with `tasksPerPage` tasks each, written straight
// into the file so that building it costs the measured process nothing.
QString largeBook(int pages, int tasksPerPage)
{
    static QTemporaryDir dir;
    dir.setAutoRemove(qEnvironmentVariableIsEmpty("QUILLERY_BENCH_KEEP"));
    const QString path = dir.filePath(QStringLiteral("book-%1-%2.sqlite").arg(pages).arg(tasksPerPage));
    if (QFile::exists(path))
        return path;
    {
        StoreOpenError error;
        auto store = Store::open(path, &error); // creates the schema
    }
    SQLite::Database db(path.toStdString(), SQLite::OPEN_READWRITE);
    SQLite::Transaction transaction(db);
    SQLite::Statement page(db,
        "INSERT INTO page (id, position, title, color_index, created, modified, pending) "
        "VALUES (?, ?, ?, ?, ?, 0, 0)");
    SQLite::Statement task(db,
        "INSERT INTO task (id, text, done, sort_order, created, notes, indent, page_id, "
        "modified, pending) VALUES (?, ?, ?, ?, ?, ?, ?, ?, 0, 0)");
    qint64 created = 1'700'000'000'000;
    for (int p = 0; p < pages; ++p) {
        const std::string pageId = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper().toStdString();
        page.bind(1, pageId);
        page.bind(2, double(p + 1));
        page.bind(3, "Page title " + std::to_string(p));
        page.bind(4, p % 7);
        page.bind(5, static_cast<int64_t>(created++));
        page.exec();
        page.reset();
        for (int t = 0; t < tasksPerPage; ++t) {
            task.bind(1, QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper().toStdString());
            task.bind(2, "Call the plumber about the kitchen sink, item " + std::to_string(t));
            task.bind(3, t % 3 == 0 ? 1 : 0);
            task.bind(4, double(t + 1));
            task.bind(5, static_cast<int64_t>(created++));
            task.bind(6, t % 5 == 0 ? "A short note" : "");
            task.bind(7, t % 4 == 1 ? 1 : 0);
            task.bind(8, pageId);
            task.exec();
            task.reset();
        }
    }
    transaction.commit();
    return path;
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
