#include "AlarmRequests.h"

#include "core/model/Page.h"
#include "core/model/TaskItem.h"
#include "core/util/Uuid.h"

#include <QCoreApplication>

#include <cmath>

namespace quillery {

namespace {

QString isoTime(const QDateTime &moment)
{
    return moment.toUTC().toString(Qt::ISODate);
}

} // namespace

std::optional<NotificationRequest> makeRequest(const TaskItem &task, const CalendarContext &calendar)
{
    const std::optional<QDateTime> alarm = task.alarm();
    if (task.done() || !alarm || *alarm <= calendar.now())
        return std::nullopt;

    NotificationRequest request;
    request.identifier = uuidString(task.id());
    request.title = task.text().isEmpty() ? QCoreApplication::translate("Alarms", "Task") : task.text();
    const Page *page = task.page();
    request.subtitle
        = page && !page->title().isEmpty() ? page->title() : QCoreApplication::translate("Alarms", "Quillery");
    request.body = task.notes();
    request.sound = NotificationRequest::Sound::Default;
    request.interruptionLevel = NotificationRequest::InterruptionLevel::Active;
    request.trigger = NotificationTrigger::calendar(calendar.components(*alarm));
    return request;
}

NotificationRequest makeTestRequest(double seconds)
{
    NotificationRequest request;
    request.identifier = Alarms::TestIdentifier;
    request.title = QCoreApplication::translate("Alarms", "Test alarm");
    request.body = QCoreApplication::translate("Alarms", "If you can read this, Quillery alarms work on this device.");
    request.sound = NotificationRequest::Sound::Default;
    request.interruptionLevel = NotificationRequest::InterruptionLevel::Active;
    request.trigger = NotificationTrigger::timeInterval(seconds);
    return request;
}

QString triggerDescription(const NotificationTrigger &trigger, const CalendarContext &calendar)
{
    switch (trigger.kind()) {
    case NotificationTrigger::Kind::Calendar:
        if (const auto next = trigger.nextTriggerDate(calendar))
            return QStringLiteral("calendar → next ") + isoTime(*next);
        break;
    case NotificationTrigger::Kind::TimeInterval:
        if (std::isfinite(trigger.seconds()))
            return QStringLiteral("in %1s").arg(qint64(std::trunc(trigger.seconds())));
        break;
    case NotificationTrigger::Kind::None:
        break;
    }
    return QStringLiteral("unknown");
}

QString notScheduledMessage(const TaskItem &task)
{
    const std::optional<QDateTime> alarm = task.alarm();
    return QStringLiteral("not scheduled: \"%1\" (no alarm, done, or time already passed: %2)")
        .arg(task.text(), alarm ? isoTime(*alarm) : QStringLiteral("none"));
}

QString scheduledMessage(const NotificationRequest &request, const CalendarContext &calendar)
{
    return QStringLiteral("scheduled \"%1\" (%2) trigger: %3")
        .arg(request.title, request.identifier.left(8), triggerDescription(request.trigger, calendar));
}

QString failedMessage(const NotificationRequest &request, const NotificationError &error)
{
    return QStringLiteral("FAILED to schedule %1: %2").arg(request.identifier, error.localizedDescription);
}

} // namespace quillery
