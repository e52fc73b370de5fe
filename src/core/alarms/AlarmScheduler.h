#pragma once

#include "AlarmService.h"
#include "NotificationCenter.h"

#include "core/util/CalendarContext.h"

#include <QHash>
#include <QObject>

namespace quillery {

class AlarmStatus;

// Keeps the notification centre's pending requests in step with the tasks:
// one request per task whose alarm lies ahead, at most the 60 soonest after a
// full reschedule, plus the test alarm. What changed goes to "alarms.log":
// every decision, and the centre's answer to the latest request of a task. Lives on the main thread; the centre's
// completions are brought back here before any state is touched.
class AlarmScheduler final : public QObject, public AlarmService
{
    Q_OBJECT
public:
    // `center` and `status` must outlive the scheduler.
    AlarmScheduler(
        NotificationCenter &center, const CalendarContext &calendar, AlarmStatus &status, QObject *parent = nullptr);

    void schedule(TaskItem *task) override;
    void cancel(TaskItem *task) override;
    void rescheduleAll(const QList<TaskItem *> &tasks) override;
    void sendTestAlarm(int seconds) override;
    void ensurePermission(std::function<void(bool granted)> done) override;
    void refreshStatus() override;
    void openNotificationSettings() override;
    AlarmStatus &status() override { return m_status; }

private:
    void add(const NotificationRequest &request);
    void afterAdd(const NotificationRequest &request, quint64 ticket, const std::optional<NotificationError> &error);
    void refreshStatusLater();
    void log(const QString &message) const;

    NotificationCenter &m_center;
    CalendarContext m_calendar;
    AlarmStatus &m_status;
    // Counts full reschedules, so that one still waiting for the pending
    // list gives way to a newer one.
    quint64 m_rescheduleGeneration = 0;
    // The latest request added for each identifier whose answer is still
    // awaited; replacing or withdrawing it drops it, and only a request still
    // listed here has its answer logged.
    QHash<QString, quint64> m_tickets;
    quint64 m_lastTicket = 0;
};

} // namespace quillery
