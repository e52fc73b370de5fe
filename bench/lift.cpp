// Moving tasks on a long page: the work of one pointer move and of a drop.
#include "core/lift/Lift.h"
#include "core/model/Store.h"
#include "core/model/TaskItem.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

using namespace quillery;

namespace {

struct Page500 {
    std::vector<std::unique_ptr<TaskItem>> owned;
    QList<TaskItem *> tasks;
    RowFrames frames;

    explicit Page500(int count)
    {
        for (int i = 0; i < count; ++i) {
            owned.push_back(std::make_unique<TaskItem>(QStringLiteral("task %1").arg(i), double(i)));
            owned.back()->setIndent(i % 4 == 1 ? 1 : 0);
            tasks.append(owned.back().get());
            frames.report(owned.back()->id(), QRectF(0, i * 44.0, 500, 44));
        }
    }
};

void BM_PointerMove(benchmark::State &state)
{
    Page500 page(int(state.range(0)));
    Lift lift = Lift::begin(page.tasks, page.tasks.at(page.tasks.size() / 2));
    double dy = 0;
    for (auto _ : state) {
        lift.dy = dy;
        lift.dx = 16;
        dy = dy > 2000 ? -2000 : dy + 7;
        benchmark::DoNotOptimize(lift.dropIndex(page.tasks, page.frames));
        for (TaskItem *task : page.tasks)
            benchmark::DoNotOptimize(lift.offset(task->id(), page.tasks, page.frames));
        benchmark::DoNotOptimize(lift.indicatorY(page.tasks, page.frames));
    }
}
BENCHMARK(BM_PointerMove)->Arg(500)->Unit(benchmark::kMicrosecond);

// A drop on a page of the real store: every renumbered task is a change the
// store records (and saves shortly after).
void BM_CommitDrop(benchmark::State &state)
{
    QTemporaryDir dir;
    StoreOpenError error;
    auto store = Store::open(dir.filePath(QStringLiteral("lift.sqlite")), &error);
    auto *page = new Page(1, 0);
    store->insert(page);
    for (int i = 0; i < state.range(0); ++i)
        addTask(QStringLiteral("task %1").arg(i), i % 4 == 1 ? 1 : 0, page, *store);
    store->save();
    const QList<TaskItem *> tasks = page->sortedTasks();
    RowFrames frames;
    for (qsizetype i = 0; i < tasks.size(); ++i)
        frames.report(tasks.at(i)->id(), QRectF(0, i * 44.0, 500, 44));
    bool down = true;
    for (auto _ : state) {
        const QList<TaskItem *> sorted = page->sortedTasks();
        Lift lift = Lift::begin(sorted, sorted.at(2));
        lift.dy = (down ? 200 : -200) * 44.0;
        down = !down;
        lift.commit(sorted, sorted, frames);
    }
}
BENCHMARK(BM_CommitDrop)->Arg(500)->Unit(benchmark::kMicrosecond);

} // namespace
