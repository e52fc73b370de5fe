#pragma once

#include "core/alarms/AlarmService.h"
#include "core/alarms/AlarmStatus.h"

namespace quillery::bench {

// An alarm service that schedules nothing, so a benchmark measures its own
// subject and not the notification centre.
class QuietAlarms final : public AlarmService
{
public:
    void schedule(TaskItem *) override { }
    void cancel(TaskItem *) override { }
    void rescheduleAll(const QList<TaskItem *> &) override { }
    void sendTestAlarm(int) override { }
    void ensurePermission(std::function<void(bool)> done) override { done(true); }
    void refreshStatus() override { }
    void openNotificationSettings() override { }
    AlarmStatus &status() override { return m_status; }

private:
    AlarmStatus m_status;
};

} // namespace quillery::bench
