#include "ReminderResponder.h"

#include "TaskActions.h"
#include "core/alarms/ReminderActions.h"
#include "core/model/Store.h"
#include "core/model/TaskItem.h"

#include <QUuid>

namespace quillery {

ReminderResponder::ReminderResponder(Store &store, AlarmService *alarms, const CalendarContext &calendar)
    : m_store(store)
    , m_alarms(alarms)
    , m_calendar(calendar)
{ }

ReminderResponder::Result ReminderResponder::respond(const QString &identifier, const QString &action) const
{
    const QUuid id = QUuid::fromString(identifier);
    TaskItem *task = id.isNull() ? nullptr : m_store.task(id);
    if (!task || task->isDeleted())
        return { Outcome::Gone, nullptr };

    const TaskActions actions(m_alarms);
    if (action == ReminderActions::Open)
        return { Outcome::Open, task };
    if (action == ReminderActions::Done) {
        // A repeating task moves on to its next occurrence.
        actions.complete(task, m_calendar);
        return { Outcome::Changed, task };
    } else if (action == ReminderActions::Snooze) {
        task->setAlarm(ReminderActions::snoozed(m_calendar));
    } else if (action == ReminderActions::Tomorrow) {
        const ReminderActions::Moved moved = ReminderActions::tomorrow(m_calendar, task->alarm(), task->due());
        task->setDue(moved.due);
        task->setAlarm(moved.alarm);
    } else {
        return { Outcome::Unknown, task };
    }
    actions.schedule(task);
    return { Outcome::Changed, task };
}

} // namespace quillery
