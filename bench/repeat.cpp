// The next occurrence of many repeating tasks, as ticking them asks for it:
// 5,000 rules of every kind the card writes (and a few it does not), due on
// days spread over a year, some of them months late.
#include "core/tasks/Recurrence.h"

#include <benchmark/benchmark.h>

#include <QList>

#include <array>

using namespace quillery;

namespace {

struct Due {
    QString rule;
    QDate day;
};

QList<Due> dues(int count)
{
    static const std::array<const char *, 10> rules { "FREQ=DAILY", "FREQ=WEEKLY;BYDAY=MO,TU,WE,TH,FR", "FREQ=WEEKLY",
        "FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,TH", "FREQ=MONTHLY", "FREQ=MONTHLY;BYMONTHDAY=28,29,30,31;BYSETPOS=-1",
        "FREQ=MONTHLY;BYDAY=2TU;COUNT=12", "FREQ=YEARLY", "FREQ=DAILY;INTERVAL=3;UNTIL=20291231",
        "FREQ=MONTHLY;BYDAY=MO,TU;BYSETPOS=2" };
    QList<Due> out;
    const QDate start(2027, 1, 1);
    for (int i = 0; i < count; ++i)
        out.append({ QString::fromLatin1(rules[size_t(i) % rules.size()]), start.addDays(i % 365) });
    return out;
}

void BM_NextOccurrence(benchmark::State &state)
{
    const QList<Due> tasks = dues(int(state.range(0)));
    // Mid-year: the tasks due in the first months are late.
    const QDate today(2027, 7, 1);
    for (auto _ : state) {
        int found = 0;
        for (const Due &task : tasks)
            found += Recurrence::next(task.rule, task.day, today).has_value();
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_NextOccurrence)->Arg(5000)->Unit(benchmark::kMillisecond);

} // namespace
