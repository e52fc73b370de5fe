// Daily copies of a large book: how long a copy takes on its worker thread,
// and how long the main thread is held up meanwhile.
#include "core/backup/BookCopy.h"
#include "core/backup/BookRestore.h"
#include "core/backup/DailyBackup.h"
#include "core/model/Store.h"
#include "core/model/TaskItem.h"
#include "support/LargeBook.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>
#include <benchmark/benchmark.h>

using namespace quillery;

namespace {

QString largeBook()
{
    static QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("book.sqlite"));
    if (QFile::exists(path))
        return path;
    return bench::writeLargeBook(path, 1000, 100, false);
}

// A copy of 1,000 pages and 100,000 tasks, integrity check included.
void BM_CopyBook(benchmark::State &state)
{
    const QString book = largeBook();
    QTemporaryDir out;
    for (auto _ : state) {
        const BookCopy::Result result = BookCopy::copy(book, out.filePath(QStringLiteral("copy.sqlite")));
        if (!result.ok)
            state.SkipWithError(result.error.toUtf8().constData());
    }
    state.counters["MB"] = QFileInfo(book).size() / 1e6;
}
BENCHMARK(BM_CopyBook)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The daily copy from the program's side: the longest the main thread is
// busy with it at a time while the copy runs on its worker thread.
void BM_DailyCopyMainThreadStall(benchmark::State &state)
{
    StoreOpenError error;
    std::unique_ptr<Store> store = Store::open(largeBook(), &error);
    double worst = 0;
    int day = 0;
    for (auto _ : state) {
        ManualClock clock(QDateTime(QDate(2027, 1, 1).addDays(day++), QTime(12, 0), Qt::UTC));
        QTemporaryDir folder;
        DailyBackup backup(*store, folder.path(), CalendarContext(clock, "UTC", "en_US"));
        // The main thread's own work: starting the copy, and each turn of
        // the event loop while it runs (its end, with the clearing out of
        // old copies, included).
        QElapsedTimer turn;
        turn.start();
        backup.checkNow();
        worst = std::max(worst, turn.nsecsElapsed() / 1e6);
        while (backup.isCopying()) {
            QThread::msleep(1);
            turn.restart();
            QCoreApplication::processEvents();
            worst = std::max(worst, turn.nsecsElapsed() / 1e6);
        }
        turn.restart();
        QCoreApplication::processEvents();
        worst = std::max(worst, turn.nsecsElapsed() / 1e6);
    }
    state.counters["stall_ms"] = worst;
}
BENCHMARK(BM_DailyCopyMainThreadStall)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// A restore of the whole book from its copy, on the main thread: reading
// the copy (copied aside, checked, opened), keeping the book as it is, and
// making it equal to the copy after a day's work (1,000 tasks ticked, one
// page of 100 torn out).
void BM_RestoreBook(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString live = dir.filePath(QStringLiteral("live.sqlite"));
    double load = 0, keep = 0, apply = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(live);
        BookCopy::copy(largeBook(), live);
        StoreOpenError error;
        std::unique_ptr<Store> store = Store::open(live, &error);
        for (int i = 0; i < 1000; ++i)
            store->tasks().at(i * 97)->setDone(true);
        store->remove(store->pages().last());
        store->save();
        state.ResumeTiming();

        QElapsedTimer phase;
        phase.start();
        BookRestore restore(*store);
        QString why;
        if (!restore.load(largeBook(), &why))
            state.SkipWithError(why.toUtf8().constData());
        load += phase.restart() / 1e3;
        if (!restore.keepBook(dir.filePath(QStringLiteral("backups")), QDateTime::currentDateTime(), &why))
            state.SkipWithError(why.toUtf8().constData());
        keep += phase.restart() / 1e3;
        restore.apply(nullptr);
        apply += phase.elapsed() / 1e3;
    }
    state.counters["load_s"] = benchmark::Counter(load, benchmark::Counter::kAvgIterations);
    state.counters["keep_s"] = benchmark::Counter(keep, benchmark::Counter::kAvgIterations);
    state.counters["apply_s"] = benchmark::Counter(apply, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_RestoreBook)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

} // namespace
