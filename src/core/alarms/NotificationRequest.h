#pragma once

#include "NotificationTrigger.h"

#include <QString>

namespace quillery {

// One local notification handed to the notification centre: what it says,
// how insistent it is, and when it fires. Adding a request whose identifier
// is already pending replaces the pending one.
struct NotificationRequest {
    enum class Sound { None, Default };
    // The urgency levels of the notification service, by raw value.
    enum class InterruptionLevel { Passive = 0, Active = 1, TimeSensitive = 2, Critical = 3 };

    QString identifier;
    QString title;
    QString subtitle;
    QString body;
    Sound sound = Sound::Default;
    InterruptionLevel interruptionLevel = InterruptionLevel::Active;
    NotificationTrigger trigger;

    friend bool operator==(const NotificationRequest &, const NotificationRequest &) = default;
};

} // namespace quillery
