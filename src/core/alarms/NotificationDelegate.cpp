#include "NotificationDelegate.h"

namespace quillery {

NotificationDelegate &NotificationDelegate::shared()
{
    static NotificationDelegate delegate;
    return delegate;
}

void NotificationDelegate::willPresent(
    const NotificationRequest &, std::function<void(PresentationOptions)> completion) const
{
    completion(Presentation);
}

} // namespace quillery
