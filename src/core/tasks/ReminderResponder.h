#pragma once

#include "core/util/CalendarContext.h"

#include <QString>

namespace quillery {

class AlarmService;
class Store;
class TaskItem;

// Carries out what the user chose on a reminder's notification: ticks the
// task, rings it again ten minutes from now, or moves it to tomorrow. Each
// writes the task the way its row and its card do, so the pending
// notification, the mirror and the log follow. Opening the task is left to
// whoever shows the window.
class ReminderResponder final
{
public:
    enum class Outcome {
        Gone, // no such task (any more): the notification has nothing to act on
        Changed, // the task was written
        Open, // the user wants to see the task
        Unknown, // an action this program never offered
    };
    struct Result {
        Outcome outcome = Outcome::Unknown;
        TaskItem *task = nullptr;
    };

    // `alarms` may be null (then nothing is scheduled).
    ReminderResponder(Store &store, AlarmService *alarms, const CalendarContext &calendar);

    // `identifier` names the task as its notification request does.
    Result respond(const QString &identifier, const QString &action) const;

private:
    Store &m_store;
    AlarmService *m_alarms;
    CalendarContext m_calendar;
};

} // namespace quillery
