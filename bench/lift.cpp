// Moving tasks on a long page: the work of one pointer move and of a drop.
#include "core/lift/Lift.h"
#include "core/alarms/AlarmService.h"
#include "core/alarms/AlarmStatus.h"
#include "core/app/Preferences.h"
#include "core/app/Services.h"
#include "core/model/Editing.h"
#include "core/model/Store.h"
#include "core/model/TaskItem.h"
#include "gui/theme/Appearance.h"
#include "support/QuietAlarms.h"
#include "ui/lift/RowLifter.h"
#include "ui/pages/PageView.h"
#include "ui/pages/TaskListView.h"
#include "ui/tasks/TaskRow.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSettings>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

using namespace quillery;
using quillery::bench::QuietAlarms;

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

// A shown page of `count` tasks (every fourth a subtask) with one row held
// down and lifted, ready to be dragged.
struct LiftedPage {
    explicit LiftedPage(int count)
    {
        StoreOpenError error;
        store = Store::open(dir.filePath(QStringLiteral("book.sqlite")), &error);
        preferences = std::make_unique<Preferences>(
            std::make_unique<QSettings>(dir.filePath(QStringLiteral("q.conf")), QSettings::IniFormat));
        page = new Page(1, 4);
        store->insert(page);
        for (int i = 0; i < count; ++i)
            addTask(QStringLiteral("Task number %1 with a few words of text").arg(i), i % 4 == 1, page, *store);
        store->save();
        Services services;
        services.store = store.get();
        services.preferences = preferences.get();
        services.alarms = &alarms;
        services.appearance = &appearance;
        view = std::make_unique<ui::PageView>(page, 1, 1, PageActions {}, services, &editing);
        view->resize(600, 834);
        view->show();
        view->list()->lifter()->setHoldDuration(0);
        QApplication::processEvents();
        row = view->rows().at(4); // a task with a subtask under it, near the top
        start = QPointF(row->geometry().center());
        send(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, 0);
        while (!view->isLifted())
            QApplication::processEvents();
    }
    ~LiftedPage() { send(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, 0); }

    // A pointer event `dy` points below where the press began.
    void send(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons, double dy)
    {
        const QPointF global = view->list()->mapToGlobal(start + QPointF(0, dy));
        QMouseEvent event(type, row->mapFromGlobal(global), global, button, buttons, Qt::NoModifier);
        QApplication::sendEvent(row, &event);
    }

    QTemporaryDir dir;
    std::unique_ptr<Store> store;
    std::unique_ptr<Preferences> preferences;
    QuietAlarms alarms;
    Appearance appearance;
    Editing editing;
    Page *page = nullptr;
    std::unique_ptr<ui::PageView> view;
    ui::TaskRow *row = nullptr;
    QPointF start; // list coordinates
};

// One pointer move over a lifted row of a 500-row page on screen: the slot,
// the level, every carried row moved, the bar placed. With `paint` the
// frame is drawn too, as the screen would show it.
void BM_WidgetPointerMove(benchmark::State &state)
{
    LiftedPage lifted(static_cast<int>(state.range(0)));
    const bool paint = state.range(1) != 0;
    double dy = 0;
    for (auto _ : state) {
        dy = dy > 600 ? 0 : dy + 7;
        lifted.send(QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, dy);
        if (paint)
            QApplication::processEvents();
    }
    state.counters["slot"] = lifted.view->list()->lifter()->dropSlot();
}
BENCHMARK(BM_WidgetPointerMove)->Args({ 500, 0 })->Args({ 500, 1 })->Unit(benchmark::kMicrosecond);

} // namespace
