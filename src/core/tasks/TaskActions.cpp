#include "TaskActions.h"

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

void TaskActions::schedule(TaskItem *task) const
{
    if (task && !task->isDeleted() && m_alarms)
        m_alarms->schedule(task);
}

} // namespace quillery
