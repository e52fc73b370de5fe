#pragma once

#include "AlarmService.h"
#include "NotificationCenter.h"

#include "core/util/CalendarContext.h"

#include <QObject>

namespace quillery {

class AlarmStatus;

// Keeps the notification centre's pending requests in step with the tasks:
// one request per task whose alarm lies ahead, at most the 60 soonest after a
// full reschedule, plus the test alarm. Every decision and every answer of
// the centre goes to "alarms.log". Lives on the main thread; the centre's
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
    void afterAdd(const NotificationRequest &request, const std::optional<NotificationError> &error);
    void refreshStatusLater();
    void log(const QString &message) const;

    NotificationCenter &m_center;
    CalendarContext m_calendar;
    AlarmStatus &m_status;
    // Counts full reschedules, so that one still waiting for the pending
    // list gives way to a newer one.
    quint64 m_rescheduleGeneration = 0;
};

} // namespace quillery
