#pragma once

#include "TestNotificationServer.h"

#include "core/alarms/NotificationCenter.h"

#include <QDBusConnection>
#include <QTest>
#include <gtest/gtest.h>

#include <optional>

namespace quillery::test {

// The tests speak to the private session bus of the test run; without one
// there is nothing to test against.
#define QUILLERY_REQUIRE_SESSION_BUS()                                                                                 \
    if (!QDBusConnection::sessionBus().isConnected())                                                                  \
    GTEST_SKIP() << "no D-Bus session bus (run the tests through scripts/run-tests.sh)"

// Adds `request` to `center` and waits for the answer.
inline std::optional<NotificationError> addAndWait(NotificationCenter &center, const NotificationRequest &request)
{
    bool answered = false;
    std::optional<NotificationError> error;
    center.add(request, [&](std::optional<NotificationError> e) {
        error = std::move(e);
        answered = true;
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return answered; }));
    return error;
}

inline QStringList pendingIdentifiers(NotificationCenter &center)
{
    std::optional<QStringList> ids;
    center.pendingRequests([&](const QList<NotificationRequest> &requests) {
        QStringList list;
        for (const auto &request : requests)
            list.append(request.identifier);
        ids = list;
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return ids.has_value(); }));
    return ids.value_or(QStringList {});
}

inline AlarmStatus::Authorization authorization(NotificationCenter &center)
{
    std::optional<AlarmStatus::Authorization> status;
    center.notificationSettings([&](NotificationSettings settings) { status = settings.authorizationStatus; });
    EXPECT_TRUE(QTest::qWaitFor([&] { return status.has_value(); }));
    return status.value_or(AlarmStatus::NotDetermined);
}

} // namespace quillery::test
