#include "NotificationDelegate.h"

namespace quillery {

void NotificationDelegate::willPresent(
    const NotificationRequest &, std::function<void(PresentationOptions)> completion) const
{
    completion(Presentation);
}

} // namespace quillery
