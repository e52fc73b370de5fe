#include "DesktopNotificationCenter.h"

#include "DesktopNotificationSettings.h"
#include "NotificationPermissionProbe.h"
#include "NotificationSender.h"
#include "SleepWatcher.h"
#include "WallClockTimer.h"

#include "core/alarms/AlarmRequests.h"
#include "core/alarms/LogWriter.h"
#include "core/alarms/NotificationCenterDelegate.h"
#include "core/alarms/QueuedCall.h"
#include "core/alarms/ReminderActions.h"
#include "core/app/AppPaths.h"

#include <QCoreApplication>
#include <QSet>

#include <algorithm>

namespace quillery {

namespace {

QString defaultFilePath()
{
    return AppPaths::dataDirectory() + QStringLiteral("/notifications.json");
}

void log(const QString &message, const Clock &clock)
{
    appendLogLine(Alarms::LogName, message, clock);
}

void write(const PendingNotificationFile &file, const QList<PendingNotification> &pending, const Clock &clock)
{
    QString error;
    if (!file.save(pending, &error))
        log(QStringLiteral("could not save pending notifications to %1: %2").arg(file.path(), error), clock);
}

} // namespace

DesktopNotificationCenter::DesktopNotificationCenter(
    const CalendarContext &calendar, const Options &options, QObject *parent)
    : QObject(parent)
    , m_calendar(calendar)
    , m_file(options.filePath.isEmpty() ? defaultFilePath() : options.filePath)
    , m_probe(new NotificationPermissionProbe(options.bus, this))
    , m_sender(new NotificationSender(options.bus, this))
    , m_timer(new WallClockTimer(m_calendar.clock(), this))
    , m_sleep(new SleepWatcher(this))
{
    PendingNotificationFile::Loaded loaded = m_file.load();
    m_pending = std::move(loaded.pending);
    if (!loaded.problem.isEmpty()) {
        const QString where = loaded.movedAside.isEmpty() ? QStringLiteral("could not be moved aside")
                                                          : QStringLiteral("moved to %1").arg(loaded.movedAside);
        log(QStringLiteral("pending notifications unreadable (%1); %2, starting with none").arg(loaded.problem, where),
            m_calendar.clock());
    }

    m_saveTimer.setSingleShot(true);
    connect(&m_saveTimer, &QTimer::timeout, this, &DesktopNotificationCenter::saveInBackground);
    m_writer.setMaxThreadCount(1);
    m_rearmTimer.setSingleShot(true);
    connect(&m_rearmTimer, &QTimer::timeout, this, &DesktopNotificationCenter::rearm);
    connect(m_timer, &WallClockTimer::timeout, this, &DesktopNotificationCenter::fireDue);
    connect(m_timer, &WallClockTimer::clockChanged, this, &DesktopNotificationCenter::rearm);
    connect(m_sleep, &SleepWatcher::resumed, this, &DesktopNotificationCenter::rearm);
    QDBusConnection bus = options.bus;
    if (bus.isConnected()) {
        bus.connect(NotificationSender::Service, NotificationSender::Path, NotificationSender::Interface,
            QStringLiteral("ActionInvoked"), this, SLOT(onActionInvoked(uint, QString)));
        bus.connect(NotificationSender::Service, NotificationSender::Path, NotificationSender::Interface,
            QStringLiteral("NotificationClosed"), this, SLOT(onNotificationClosed(uint, uint)));
    }
    // Requests that came due while Quillery was not running fire once the
    // event loop runs, after the program has installed its delegate.
    rearmSoon();
}

DesktopNotificationCenter::~DesktopNotificationCenter()
{
    if (m_dirty)
        saveNow();
    m_writer.waitForDone();
}

template <typename F> void DesktopNotificationCenter::later(F f)
{
    QMetaObject::invokeMethod(this, std::move(f), Qt::QueuedConnection);
}

void DesktopNotificationCenter::add(const NotificationRequest &request, AddCompletion completion)
{
    const QString invalid = request.identifier.isEmpty()
        ? QCoreApplication::translate("DesktopNotificationCenter", "The request has no identifier.")
        : request.trigger.validationError(m_calendar);
    if (!invalid.isEmpty()) {
        later([completion, invalid] { completion(NotificationError { invalid }); });
        return;
    }
    PendingNotification entry { request, std::nullopt };
    if (request.trigger.kind() == NotificationTrigger::Kind::TimeInterval)
        entry.intervalDue = m_calendar.now().toMSecsSinceEpoch() + qRound64(request.trigger.seconds() * 1000);
    const auto same = std::find_if(m_pending.begin(), m_pending.end(),
        [&](const PendingNotification &pending) { return pending.request.identifier == request.identifier; });
    if (same != m_pending.end())
        *same = std::move(entry);
    else
        m_pending.append(std::move(entry));
    saveSoon();
    rearmSoon();
    later([completion] { completion(std::nullopt); });
}

void DesktopNotificationCenter::removePendingRequests(const QStringList &identifiers)
{
    if (identifiers.isEmpty())
        return;
    const QSet<QString> gone(identifiers.cbegin(), identifiers.cend());
    const qsizetype removed = m_pending.removeIf(
        [&](const PendingNotification &pending) { return gone.contains(pending.request.identifier); });
    if (removed == 0)
        return;
    saveSoon();
    rearmSoon();
}

void DesktopNotificationCenter::pendingRequests(PendingCompletion completion)
{
    QList<NotificationRequest> requests;
    requests.reserve(m_pending.size());
    for (const PendingNotification &pending : m_pending)
        requests.append(pending.request);
    later([completion, requests] { completion(requests); });
}

void DesktopNotificationCenter::removeDeliveredNotifications(const QStringList &identifiers)
{
    for (const QString &identifier : identifiers) {
        if (const uint id = m_shown.take(identifier))
            m_sender->close(id);
    }
}

void DesktopNotificationCenter::adoptShown(const QHash<QString, uint> &shown)
{
    for (auto it = shown.cbegin(); it != shown.cend(); ++it) {
        if (!m_shown.contains(it.key()))
            m_shown.insert(it.key(), it.value());
    }
}

void DesktopNotificationCenter::onActionInvoked(uint id, const QString &action)
{
    // Only notifications this process showed: ids are the server's, and
    // another program's may be the same number.
    const QString identifier = m_shown.key(id);
    if (!identifier.isEmpty())
        Q_EMIT responded(identifier, action);
}

void DesktopNotificationCenter::onNotificationClosed(uint id, uint)
{
    const QString identifier = m_shown.key(id);
    if (!identifier.isEmpty())
        m_shown.remove(identifier);
}

void DesktopNotificationCenter::notificationSettings(SettingsCompletion completion)
{
    m_probe->probe(
        [completion](AlarmStatus::Authorization authorization) { completion(NotificationSettings { authorization }); });
}

void DesktopNotificationCenter::requestAuthorization(AuthorizationOptions, AuthorizationCompletion completion)
{
    // The desktop has no question to ask: permission is what it already says.
    m_probe->probe([completion](AlarmStatus::Authorization authorization) {
        completion(authorization == AlarmStatus::Authorized, std::nullopt);
    });
}

void DesktopNotificationCenter::setDelegate(const NotificationCenterDelegate *delegate)
{
    m_delegate = delegate;
}

bool DesktopNotificationCenter::openSettings()
{
    return DesktopNotificationSettings::open();
}

void DesktopNotificationCenter::rearm()
{
    m_rearmTimer.stop();
    const QDateTime now = m_calendar.now();
    std::optional<QDateTime> next;
    bool anyDue = false;
    for (const PendingNotification &pending : std::as_const(m_pending)) {
        const auto due = pending.due(m_calendar);
        if (!due)
            continue;
        if (*due <= now)
            anyDue = true;
        else if (!next || *due < *next)
            next = due;
    }
    if (anyDue) {
        // Through the timer's own signal, so firing never runs inside add().
        m_timer->start(now);
    } else if (next) {
        m_timer->start(*next);
    } else {
        m_timer->stop();
    }
}

void DesktopNotificationCenter::fireDue()
{
    const QDateTime now = m_calendar.now();
    QList<std::pair<NotificationRequest, QDateTime>> due;
    m_pending.removeIf([&](const PendingNotification &pending) {
        const auto moment = pending.due(m_calendar);
        if (!moment || *moment > now)
            return false;
        due.append({ pending.request, *moment });
        return true;
    });
    if (!due.isEmpty()) {
        // Written before anything is shown: a request fires once, even if
        // the program ends right after.
        saveNow();
    }
    for (const auto &[request, moment] : std::as_const(due))
        present(request, moment);
    rearm();
}

void DesktopNotificationCenter::present(NotificationRequest request, const QDateTime &due)
{
    const QString late = ReminderActions::latenessNote(m_calendar, due);
    if (!late.isEmpty())
        request.body = request.body.isEmpty() ? late : late + u'\n' + request.body;
    const auto show = [this, request](PresentationOptions options) {
        // A reminder that rings again replaces its notification on the desktop.
        const uint replaces = m_shown.value(request.identifier);
        m_sender->show(
            request, options, replaces, [this, identifier = request.identifier](const QString &error, uint id) {
                if (!error.isEmpty())
                    log(QStringLiteral("could not show %1: %2").arg(identifier, error), m_calendar.clock());
                if (id != 0)
                    m_shown.insert(identifier, id);
                --m_presenting;
                Q_EMIT delivered(identifier, error);
            });
    };
    ++m_presenting;
    if (!m_delegate) {
        // Without a delegate the desktop's own defaults apply.
        show(PresentationOption::Banner | PresentationOption::List | PresentationOption::Sound);
        return;
    }
    m_delegate->willPresent(request, queuedTo(this, show));
}

void DesktopNotificationCenter::saveSoon()
{
    // A burst of changes (a full reschedule adds sixty requests) is written
    // once, when the event loop next runs.
    m_dirty = true;
    if (!m_saveTimer.isActive())
        m_saveTimer.start(0);
}

void DesktopNotificationCenter::rearmSoon()
{
    if (!m_rearmTimer.isActive())
        m_rearmTimer.start(0);
}

void DesktopNotificationCenter::saveInBackground()
{
    // The disk is the slow part of every change (the file is synced before
    // it replaces the old one); the main thread hands over a copy and goes on.
    m_saveTimer.stop();
    m_dirty = false;
    m_writer.start([file = m_file, pending = m_pending, clock = &m_calendar.clock()] { write(file, pending, *clock); });
}

void DesktopNotificationCenter::saveNow()
{
    m_saveTimer.stop();
    m_dirty = false;
    m_writer.waitForDone();
    write(m_file, m_pending, m_calendar.clock());
}

} // namespace quillery
