#include "TaskActions.h"

#include "Recurrence.h"
#include "ReminderDates.h"
#include "core/alarms/AlarmService.h"
#include "core/model/Store.h"
#include "core/model/TaskItem.h"

#include <algorithm>

namespace quillery {

TaskActions::TaskActions(AlarmService *alarms)
    : m_alarms(alarms)
{ }

bool TaskActions::isBlankTitle(const QString &text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c == u' ' || c == u'\t'; });
}

void TaskActions::discard(TaskItem *task) const
{
    if (!task || task->isDeleted())
        return;
    // The notification goes first: withdrawing it needs the task's identity.
    if (m_alarms)
        m_alarms->cancel(task);
    if (Store *store = task->store())
        store->remove(task);
}

bool TaskActions::discardIfBlank(TaskItem *task) const
{
    if (!task || task->isDeleted() || !isBlankTitle(task->text()))
        return false;
    discard(task);
    return true;
}

void TaskActions::dueChanged(TaskItem *task, const CalendarContext &calendar) const
{
    if (!task || task->isDeleted())
        return;
    task->setAlarm(ReminderDates::alarmForNewDue(calendar, task->alarm(), task->due()));
    schedule(task);
}

void TaskActions::textChanged(TaskItem *task) const
{
    schedule(task);
}

void TaskActions::notesChanged(TaskItem *task) const
{
    if (task && task->alarm())
        schedule(task);
}

bool TaskActions::complete(TaskItem *task, const CalendarContext &calendar) const
{
    if (!task || task->isDeleted() || task->done())
        return false;
    const std::optional<QDateTime> due = task->due();
    if (due && !task->repeat().isEmpty()) {
        const CalendarContext::Components from = calendar.components(*due);
        const CalendarContext::Components today = calendar.components(calendar.now());
        const std::optional<Recurrence::Next> next = Recurrence::next(
            task->repeat(), QDate(from.year, from.month, from.day), QDate(today.year, today.month, today.day));
        // The start of the new day (the first moment it has where midnight
        // is skipped); the reminder keeps its wall-clock time there.
        const std::optional<QDateTime> day
            = next ? calendar.moment({ next->day.year(), next->day.month(), next->day.day(), 0, 0, 0 }) : std::nullopt;
        if (day) {
            const std::optional<QDateTime> alarm = task->alarm();
            task->setRepeat(next->rule);
            task->setDue(*day);
            if (alarm)
                task->setAlarm(ReminderDates::combineDayAndTime(calendar, *day, *alarm));
            schedule(task);
            return true;
        }
    }
    task->setDone(true);
    schedule(task);
    return false;
}

bool TaskActions::toggleDone(TaskItem *task, const CalendarContext &calendar) const
{
    if (!task || task->isDeleted())
        return false;
    if (!task->done())
        return complete(task, calendar);
    task->setDone(false);
    schedule(task);
    return false;
}

void TaskActions::schedule(TaskItem *task) const
{
    if (task && !task->isDeleted() && m_alarms)
        m_alarms->schedule(task);
}

} // namespace quillery
