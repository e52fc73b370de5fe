#pragma once

#include "NotificationCenterDelegate.h"

namespace quillery {

// The program's delegate: every alarm is shown as a banner with sound and
// kept in the desktop's notification list, even while Quillery is in front.
// It touches no program state, so the centre may call it from any thread.
// The program owns one and installs it before any notification is shown.
// What the user does with a notification reaches the program through the
// centre, not through the delegate.
class NotificationDelegate final : public NotificationCenterDelegate
{
public:
    static constexpr PresentationOptions Presentation
        = PresentationOption::Banner | PresentationOption::List | PresentationOption::Sound;

    void willPresent(
        const NotificationRequest &request, std::function<void(PresentationOptions)> completion) const override;
};

} // namespace quillery
