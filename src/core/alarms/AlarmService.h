#pragma once

#include <QList>

#include <functional>

namespace quillery {

class AlarmStatus;
class TaskItem;

// The alarm subsystem as the pages, the book and the task card see it. The
// program's implementation turns tasks into desktop notifications; tests use
// a double. Every operation returns at once; platform work completes later
// on the main thread.
class AlarmService
{
public:
    virtual ~AlarmService() = default;

    // Brings the one pending notification of `task` up to date: removes it,
    // and adds a new one when the task is not done and its alarm lies ahead.
    virtual void schedule(TaskItem *task) = 0;
    // Withdraws the pending notification of `task`.
    virtual void cancel(TaskItem *task) = 0;
    // Replaces every pending notification (the test alarm excepted) by those
    // of the 60 soonest future alarms among `tasks`.
    virtual void rescheduleAll(const QList<TaskItem *> &tasks) = 0;
    // Asks for permission when needed, then sends the test notification
    // `seconds` from now.
    virtual void sendTestAlarm(int seconds) = 0;

    // Asks for notification permission when it was never asked, refreshes the
    // status and reports whether notifications may be delivered.
    virtual void ensurePermission(std::function<void(bool granted)> done) = 0;
    // Re-reads the permission and the pending count into status().
    virtual void refreshStatus() = 0;
    // Opens the desktop's notification settings, where one is known.
    virtual void openNotificationSettings() = 0;

    virtual AlarmStatus &status() = 0;
};

} // namespace quillery
