#pragma once

#include "AlarmStatus.h"
#include "NotificationRequest.h"

#include <QFlags>
#include <QList>
#include <QStringList>

#include <functional>
#include <optional>

namespace quillery {

class NotificationCenterDelegate;

// Why the notification centre refused something, in words for the log.
struct NotificationError {
    QString localizedDescription;
};

// What the notification centre allows this program.
struct NotificationSettings {
    AlarmStatus::Authorization authorizationStatus = AlarmStatus::NotDetermined;
};

// What the program asks to be allowed, by the raw values of the service.
enum class AuthorizationOption {
    Badge = 1 << 0,
    Sound = 1 << 1,
    Alert = 1 << 2,
};
using AuthorizationOptions = QFlags<AuthorizationOption>;
Q_DECLARE_OPERATORS_FOR_FLAGS(AuthorizationOptions)

// The desktop's service for one-shot local notifications: it keeps pending
// requests (beyond the life of the process), fires each at its moment and
// says whether notifications may be shown. Every call returns at once;
// completions may run on any thread, so callers hop back to their own before
// touching state.
class NotificationCenter
{
public:
    using AddCompletion = std::function<void(std::optional<NotificationError>)>;
    using PendingCompletion = std::function<void(QList<NotificationRequest>)>;
    using SettingsCompletion = std::function<void(NotificationSettings)>;
    using AuthorizationCompletion = std::function<void(bool granted, std::optional<NotificationError>)>;

    virtual ~NotificationCenter() = default;

    // Adds `request` (replacing a pending one with the same identifier). The
    // completion receives an error when the request is refused, for example
    // because its trigger can never fire.
    virtual void add(const NotificationRequest &request, AddCompletion completion) = 0;
    // Withdraws the pending requests with these identifiers; unknown ones are
    // ignored.
    virtual void removePendingRequests(const QStringList &identifiers) = 0;
    virtual void pendingRequests(PendingCompletion completion) = 0;
    // Takes notifications with these identifiers that were shown and are
    // still on the desktop off it; unknown ones are ignored.
    virtual void removeDeliveredNotifications(const QStringList &identifiers) = 0;
    virtual void notificationSettings(SettingsCompletion completion) = 0;
    // Asks the user for permission where the desktop has such a question.
    virtual void requestAuthorization(AuthorizationOptions options, AuthorizationCompletion completion) = 0;
    // The delegate decides how notifications are presented; not owned.
    virtual void setDelegate(const NotificationCenterDelegate *delegate) = 0;
    // Opens the desktop's notification settings. False when this desktop has
    // none the centre knows how to open.
    virtual bool openSettings() = 0;
};

} // namespace quillery
