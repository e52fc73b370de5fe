#include "AlarmScheduler.h"

#include "AlarmRequests.h"
#include "AlarmStatus.h"
#include "LogWriter.h"
#include "QueuedCall.h"

#include "core/model/TaskItem.h"
#include "core/util/Uuid.h"

#include <algorithm>
#include <tuple>
#include <vector>

namespace quillery {

AlarmScheduler::AlarmScheduler(
    NotificationCenter &center, const CalendarContext &calendar, AlarmStatus &status, QObject *parent)
    : QObject(parent)
    , m_center(center)
    , m_calendar(calendar)
    , m_status(status)
{ }

void AlarmScheduler::schedule(TaskItem *task)
{
    if (!task)
        return;
    m_center.removePendingRequests({ uuidString(task->id()) });
    m_tickets.remove(uuidString(task->id()));
    // A task already removed from the book keeps its fields until it is
    // destroyed; it must not ring.
    const auto request = task->isDeleted() ? std::nullopt : makeRequest(*task, m_calendar);
    // A reminder on the desktop goes once it no longer stands: the task was
    // ticked, removed or lost its reminder, or the reminder was set anew.
    // Editing a task whose reminder has rung leaves the notification alone.
    const bool stillRinging = !request && !task->isDeleted() && !task->done() && task->alarm();
    if (!stillRinging)
        m_center.removeDeliveredNotifications({ uuidString(task->id()) });
    if (!request) {
        log(notScheduledMessage(*task));
        refreshStatusLater();
        return;
    }
    add(*request);
}

void AlarmScheduler::cancel(TaskItem *task)
{
    if (!task)
        return;
    m_center.removePendingRequests({ uuidString(task->id()) });
    m_center.removeDeliveredNotifications({ uuidString(task->id()) });
    m_tickets.remove(uuidString(task->id()));
    refreshStatusLater();
}

void AlarmScheduler::rescheduleAll(const QList<TaskItem *> &tasks)
{
    // The requests are built now: the tasks may be gone by the time the
    // centre answers.
    struct Upcoming {
        qint64 alarm;
        qsizetype index;
        TaskItem *task;
    };
    const qint64 now = m_calendar.now().toMSecsSinceEpoch();
    std::vector<Upcoming> upcoming;
    for (qsizetype i = 0; i < tasks.size(); ++i) {
        TaskItem *task = tasks.at(i);
        if (!task || task->isDeleted() || task->done())
            continue;
        const std::optional<QDateTime> alarm = task->alarm();
        const qint64 at = alarm ? alarm->toMSecsSinceEpoch() : now;
        if (at > now)
            upcoming.push_back({ at, i, task });
    }
    const auto soonest = upcoming.begin() + std::min<std::ptrdiff_t>(Alarms::MaxPending, std::ssize(upcoming));
    // Equal alarms keep the order of `tasks`.
    std::partial_sort(upcoming.begin(), soonest, upcoming.end(),
        [](const Upcoming &a, const Upcoming &b) { return std::tie(a.alarm, a.index) < std::tie(b.alarm, b.index); });
    QList<NotificationRequest> requests;
    requests.reserve(soonest - upcoming.begin());
    for (auto it = upcoming.begin(); it != soonest; ++it) {
        if (auto request = makeRequest(*it->task, m_calendar))
            requests.append(std::move(*request));
    }

    const quint64 generation = ++m_rescheduleGeneration;
    m_center.pendingRequests(queuedTo(this, [this, generation, requests](const QList<NotificationRequest> &pending) {
        // A newer reschedule asked for the pending list after this one
        // did; it will replace everything, including what this one would
        // add (otherwise two overlapping reschedules leave the requests
        // of both).
        if (generation != m_rescheduleGeneration)
            return;
        // A request pending exactly as it would be made again stays, and is
        // not logged again: activating the window must not rewrite the log.
        QStringList stale;
        for (const NotificationRequest &request : pending) {
            if (request.identifier != Alarms::TestIdentifier && !requests.contains(request))
                stale.append(request.identifier);
        }
        if (!stale.isEmpty())
            m_center.removePendingRequests(stale);
        for (const QString &identifier : std::as_const(stale))
            m_tickets.remove(identifier);
        for (const NotificationRequest &request : requests) {
            if (!pending.contains(request))
                add(request);
        }
        refreshStatus();
    }));
}

void AlarmScheduler::sendTestAlarm(int seconds)
{
    ensurePermission([this, seconds](bool granted) {
        if (granted)
            add(makeTestRequest(seconds));
    });
}

void AlarmScheduler::ensurePermission(std::function<void(bool granted)> done)
{
    m_status.ensurePermission(m_center, m_calendar.clock(), std::move(done));
}

void AlarmScheduler::refreshStatus()
{
    m_status.refresh(m_center);
}

void AlarmScheduler::openNotificationSettings()
{
    if (!m_center.openSettings())
        log(QStringLiteral("notification settings: this desktop has none Quillery knows how to open"));
}

void AlarmScheduler::add(const NotificationRequest &request)
{
    const quint64 ticket = ++m_lastTicket;
    m_tickets.insert(request.identifier, ticket);
    m_center.add(request, queuedTo(this, [this, request, ticket](const std::optional<NotificationError> &error) {
        afterAdd(request, ticket, error);
    }));
}

void AlarmScheduler::afterAdd(
    const NotificationRequest &request, quint64 ticket, const std::optional<NotificationError> &error)
{
    // An answer about a request that was replaced or withdrawn since would
    // put a stale line after the one that says what holds now.
    if (m_tickets.value(request.identifier) == ticket) {
        m_tickets.remove(request.identifier);
        log(error ? failedMessage(request, *error) : scheduledMessage(request, m_calendar));
    }
    refreshStatus();
}

void AlarmScheduler::refreshStatusLater()
{
    QMetaObject::invokeMethod(
        this, [this] { refreshStatus(); }, Qt::QueuedConnection);
}

void AlarmScheduler::log(const QString &message) const
{
    appendLogLine(Alarms::LogName, message, m_calendar.clock());
}

} // namespace quillery
