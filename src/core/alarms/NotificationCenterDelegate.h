#pragma once

#include "NotificationRequest.h"

#include <QFlags>

#include <functional>

namespace quillery {

// How a notification is presented while Quillery runs, by the raw values of
// the notification service.
enum class PresentationOption {
    Badge = 1 << 0,
    Sound = 1 << 1,
    Alert = 1 << 2,
    List = 1 << 3,
    Banner = 1 << 4,
};
using PresentationOptions = QFlags<PresentationOption>;
Q_DECLARE_OPERATORS_FOR_FLAGS(PresentationOptions)

// Decides how the notification centre presents a notification that is about
// to be shown. The centre may ask from any thread; the answer goes through
// `completion`, which may also be called from any thread.
class NotificationCenterDelegate
{
public:
    virtual ~NotificationCenterDelegate() = default;
    virtual void willPresent(
        const NotificationRequest &request, std::function<void(PresentationOptions)> completion) const = 0;
};

} // namespace quillery
