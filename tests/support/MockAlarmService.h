#pragma once

#include "core/alarms/AlarmService.h"
#include "core/alarms/AlarmStatus.h"

#include <gmock/gmock.h>

namespace quillery::test {

// A double of the alarm subsystem that records what it is asked to do.
class MockAlarmService : public AlarmService
{
public:
    MOCK_METHOD(void, schedule, (TaskItem *), (override));
    MOCK_METHOD(void, cancel, (TaskItem *), (override));
    MOCK_METHOD(void, rescheduleAll, (const QList<TaskItem *> &), (override));
    MOCK_METHOD(void, sendTestAlarm, (int), (override));
    MOCK_METHOD(void, ensurePermission, (std::function<void(bool)>), (override));
    MOCK_METHOD(void, refreshStatus, (), (override));
    MOCK_METHOD(void, openNotificationSettings, (), (override));
    AlarmStatus &status() override { return m_status; }

private:
    AlarmStatus m_status;
};

using NiceAlarmService = ::testing::NiceMock<MockAlarmService>;

} // namespace quillery::test
