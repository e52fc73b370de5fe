// iCalendar files: exporting and importing a book of 5,000 tasks that use
// every field (due days, reminders, places, notes, subtasks, a small
// attachment on every fiftieth task).
#include "core/ical/IcalExport.h"
#include "core/ical/IcalImport.h"
#include "core/model/Store.h"
#include "core/model/TypeRegistry.h"
#include "core/util/CalendarContext.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <memory>

using namespace quillery;

namespace {

const CalendarContext &calendar()
{
    static const CalendarContext context(Clock::system(), "Europe/Berlin", "en_US");
    return context;
}

std::unique_ptr<Store> openStore(const QTemporaryDir &dir, const QString &name)
{
    StoreOpenError error;
    return Store::open(dir.filePath(name), &error);
}

// A book of `pages` pages of `perPage` tasks, every field in use.
void fill(Store &store, int pages, int perPage)
{
    const QDateTime start = QDateTime::currentDateTimeUtc();
    for (int p = 0; p < pages; ++p) {
        auto *page = new Page(p + 1, p);
        store.insert(page);
        page->setTitle(QStringLiteral("Page %1").arg(p + 1));
        for (int i = 0; i < perPage; ++i) {
            TaskItem *task = addTask(
                QStringLiteral("Task %1 on page %2, with some words").arg(i).arg(p), i % 4 ? 1 : 0, page, store);
            task->setNotes(QStringLiteral("Notes of task %1\nsecond line, with a comma; and more").arg(i));
            task->setDue(start.addDays(i % 30));
            if (i % 3 == 0)
                task->setAlarm(start.addDays(i % 30).addSecs(9 * 3600));
            if (i % 5 == 0)
                task->setPlace(Place { QStringLiteral("Market hall"), QStringLiteral("Hauptstraße 5"), 52.5, 13.4 });
            task->setDone(i % 7 == 0);
            if (i % 50 == 0) {
                auto *file = new Attachment(QStringLiteral("note.pdf"), TypeRegistry::pdf(), QByteArray(8192, 'x'));
                store.insert(file);
                file->setTask(task);
            }
        }
    }
    store.save();
}

QByteArray exportedBook(int pages, int perPage)
{
    QTemporaryDir dir;
    auto store = openStore(dir, QStringLiteral("source.sqlite"));
    fill(*store, pages, perPage);
    return IcalExport::pages(store->pages(), *store, calendar()).text;
}

void BM_ExportBook(benchmark::State &state)
{
    QTemporaryDir dir;
    auto store = openStore(dir, QStringLiteral("book.sqlite"));
    fill(*store, int(state.range(0)), int(state.range(1)));
    qsizetype bytes = 0;
    for (auto _ : state) {
        const IcalExport::Result result = IcalExport::pages(store->pages(), *store, calendar());
        bytes = result.text.size();
        benchmark::DoNotOptimize(result.text.constData());
    }
    state.counters["MB"] = double(bytes) / (1024 * 1024);
}
BENCHMARK(BM_ExportBook)->Args({ 10, 500 })->Unit(benchmark::kMillisecond);

// The file read into pages of tasks, then made records of a fresh book (and
// saved), as "Import iCalendar…" does.
void BM_ImportBook(benchmark::State &state)
{
    const QByteArray text = exportedBook(int(state.range(0)), int(state.range(1)));
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir dir;
        auto store = openStore(dir, QStringLiteral("target.sqlite"));
        state.ResumeTiming();
        const IcalReadResult read = IcalReader::read(text, QStringLiteral("book"), calendar());
        const IcalImport::Result result = IcalImport::add(read, *store, nullptr);
        store->save();
        benchmark::DoNotOptimize(result.tasks);
        state.PauseTiming();
        store.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ImportBook)->Args({ 10, 500 })->Unit(benchmark::kMillisecond);

// Reading alone, without the store.
void BM_ReadFile(benchmark::State &state)
{
    const QByteArray text = exportedBook(int(state.range(0)), int(state.range(1)));
    for (auto _ : state) {
        const IcalReadResult read = IcalReader::read(text, QStringLiteral("book"), calendar());
        benchmark::DoNotOptimize(read.pages.size());
    }
}
BENCHMARK(BM_ReadFile)->Args({ 10, 500 })->Unit(benchmark::kMillisecond);

} // namespace
