// Alarm scheduling: a full reschedule of a large book and the scheduling of
// one task, over the real desktop notification centre (its file included).
// The centre is given no bus connection, so what is measured is Quillery's
// own main-thread work, not the notification server's latency.
#include "core/alarms/AlarmScheduler.h"
#include "core/alarms/AlarmStatus.h"
#include "core/model/Page.h"
#include "core/model/TaskItem.h"
#include "platform/notifications/DesktopNotificationCenter.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

using namespace quillery;

namespace {

// Runs the event loop until nothing is left to do.
void drain()
{
    while (QCoreApplication::eventDispatcher()->processEvents(QEventLoop::AllEvents)) { }
}

struct Book {
    std::vector<std::unique_ptr<Page>> pages;
    std::vector<std::unique_ptr<TaskItem>> tasks;
    QList<TaskItem *> list;
};

// `count` tasks on pages of 100; every `alarmEvery`-th has an alarm ahead,
// and of the rest some are done, some have alarms in the past, most none.
const Book &book(int count, int alarmEvery)
{
    static Book made;
    if (!made.list.isEmpty())
        return made;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (int i = 0; i < count; ++i) {
        if (i % 100 == 0) {
            made.pages.push_back(std::make_unique<Page>(i / 100 + 1, i % 7));
            made.pages.back()->setTitle(QStringLiteral("Page %1").arg(i / 100));
        }
        auto task = std::make_unique<TaskItem>(QStringLiteral("Call the plumber about the sink, item %1").arg(i), i);
        task->setPage(made.pages.back().get());
        if (i % alarmEvery == 0)
            task->setAlarm(now.addSecs(3600 + (qint64(i) * 7919) % (90 * 86400)));
        else if (i % 7 == 1)
            task->setAlarm(now.addSecs(-86400));
        if (i % 3 == 2)
            task->setDone(true);
        made.list.append(task.get());
        made.tasks.push_back(std::move(task));
    }
    return made;
}

struct Alarms {
    QTemporaryDir dir;
    CalendarContext calendar;
    std::unique_ptr<DesktopNotificationCenter> center;
    AlarmStatus status;
    std::unique_ptr<AlarmScheduler> scheduler;

    Alarms()
    {
        DesktopNotificationCenter::Options options;
        options.filePath = dir.filePath(QStringLiteral("notifications.json"));
        options.bus = QDBusConnection(QStringLiteral("no bus"));
        center = std::make_unique<DesktopNotificationCenter>(calendar, options);
        scheduler = std::make_unique<AlarmScheduler>(*center, calendar, status);
        drain();
    }
};

void BM_RescheduleAll(benchmark::State &state)
{
    // 100,000 tasks, every 20th with an alarm ahead (5,000) that is not done.
    const Book &tasks = book(100'000, 20);
    Alarms alarms;
    for (auto _ : state) {
        alarms.scheduler->rescheduleAll(tasks.list);
        if (state.range(0) == 1)
            drain();
        else {
            state.PauseTiming();
            drain();
            state.ResumeTiming();
        }
    }
    state.counters["pending"] = alarms.status.pending();
}
// 0: the call alone (what the caller waits for); 1: until the centre holds
// the 60 requests, has written its file, the log lines are written and the
// status is refreshed.
BENCHMARK(BM_RescheduleAll)
    ->Arg(0)
    ->Arg(1)
    ->Iterations(20)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_ScheduleOneTask(benchmark::State &state)
{
    Page page(1, 0);
    page.setTitle(QStringLiteral("Errands"));
    TaskItem task(QStringLiteral("Call Ann about the boat"));
    task.setPage(&page);
    task.setNotes(QStringLiteral("Bring the papers"));
    task.setAlarm(QDateTime::currentDateTimeUtc().addSecs(86400));
    Alarms alarms;
    for (auto _ : state) {
        alarms.scheduler->schedule(&task);
        if (state.range(0) == 1)
            drain();
        else {
            state.PauseTiming();
            drain();
            state.ResumeTiming();
        }
    }
}
BENCHMARK(BM_ScheduleOneTask)
    ->Arg(0)
    ->Arg(1)
    ->Iterations(500)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace
