#pragma once

#include "PendingNotification.h"
#include "PendingNotificationFile.h"

#include "core/alarms/NotificationCenter.h"
#include "core/util/CalendarContext.h"

#include <QDBusConnection>
#include <QHash>
#include <QObject>
#include <QThreadPool>
#include <QTimer>

namespace quillery {

class NotificationPermissionProbe;
class NotificationSender;
class SleepWatcher;
class WallClockTimer;

// The notification centre of the Linux desktop. Pending requests live in a
// file in the application data folder, so they outlive the process; each
// fires at its moment as a desktop notification over D-Bus and stops being
// pending. Requests that came due while Quillery was not running fire once
// when the centre starts. The timer follows the wall clock, so firing
// survives the clock being set and the machine sleeping. A request that fires
// late (the machine was off at its moment) says in its body how late it is.
// What the user chooses on a notification shown by this process (an action,
// or clicking it) comes back as responded().
//
// Lives on the main thread; completions run later on the same thread. Only
// the file is written elsewhere, on a thread of its own, from a copy.
class DesktopNotificationCenter final : public QObject, public NotificationCenter
{
    Q_OBJECT
public:
    struct Options {
        QString filePath; // empty: "notifications.json" in the data folder
        QDBusConnection bus = QDBusConnection::sessionBus();
    };

    // `calendar` reads the calendar triggers (the user's zone) and gives now.
    explicit DesktopNotificationCenter(
        const CalendarContext &calendar, const Options &options = defaultOptions(), QObject *parent = nullptr);
    ~DesktopNotificationCenter() override; // writes what is not yet written

    static Options defaultOptions() { return {}; }

    void add(const NotificationRequest &request, AddCompletion completion) override;
    void removePendingRequests(const QStringList &identifiers) override;
    void pendingRequests(PendingCompletion completion) override;
    void removeDeliveredNotifications(const QStringList &identifiers) override;
    void notificationSettings(SettingsCompletion completion) override;
    void requestAuthorization(AuthorizationOptions options, AuthorizationCompletion completion) override;
    void setDelegate(const NotificationCenterDelegate *delegate) override;
    bool openSettings() override;

    QString filePath() const { return m_file.path(); }

    // The notifications this process has on the desktop: the server's id by
    // request identifier.
    QHash<QString, uint> shownNotifications() const { return m_shown; }
    // Takes over notifications another image of this process showed (before
    // it replaced itself): what the user chooses on them comes back as
    // responded() too, and withdrawing them reaches them.
    void adoptShown(const QHash<QString, uint> &shown);
    // Reminders that fired and are on their way to the notification server:
    // no longer pending, not yet on the desktop.
    int presenting() const { return m_presenting; }

    // Looks again at what is due now and when the next request is; called
    // when the clock jumps and when the machine wakes.
    void rearm();

Q_SIGNALS:
    // A request fired and was handed to the notification server (`error` is
    // empty when the server took it).
    void delivered(const QString &identifier, const QString &error);
    // The user chose `action` on the notification of request `identifier`.
    void responded(const QString &identifier, const QString &action);

private Q_SLOTS:
    // The notification server's signals.
    void onActionInvoked(uint id, const QString &action);
    void onNotificationClosed(uint id, uint reason);

private:
    void fireDue();
    void present(NotificationRequest request, const QDateTime &due);
    void saveSoon();
    void saveInBackground();
    void saveNow();
    void rearmSoon();
    template <typename F> void later(F f);

    CalendarContext m_calendar;
    PendingNotificationFile m_file;
    QList<PendingNotification> m_pending;
    const NotificationCenterDelegate *m_delegate = nullptr;
    NotificationPermissionProbe *m_probe;
    NotificationSender *m_sender;
    WallClockTimer *m_timer;
    SleepWatcher *m_sleep;
    QTimer m_saveTimer;
    QTimer m_rearmTimer;
    bool m_dirty = false;
    int m_presenting = 0;
    // The server's id of each notification on the desktop, by identifier.
    QHash<QString, uint> m_shown;
    // Writes the file off the main thread, one write after the other. Last,
    // so it is destroyed (waiting for its writes) before what they use.
    QThreadPool m_writer;
};

} // namespace quillery
