#pragma once

#include "SyncEvent.h"
#include "core/app/StatusLine.h"
#include "core/util/CalendarContext.h"

#include <QMetaObject>
#include <QPointer>

#include <optional>

namespace quillery {

class AccountProbe;
class SyncEventFeed;
class SystemLog;

// What the program knows about mirroring the book: whether it is on for this
// run, whether a run is under way, when the last run ended well and what went
// wrong last. It listens to the mirror's events, checks the account once at
// start, writes every event and check to the system log and to "sync.log",
// and renders the status line of the page menu. The logs get every error in
// full; the status line gets one short line a person understands. Each field
// is written only when its value changes, with its own signal, followed by
// StatusLine::changed. One instance lives for the whole program.
class SyncMonitor final : public StatusLine
{
    Q_OBJECT
public:
    // `probe` and `feed` may be null where mirroring can never be on.
    SyncMonitor(SystemLog &log, AccountProbe *probe, SyncEventFeed *feed, CalendarContext calendar = CalendarContext(),
        QObject *parent = nullptr);

    // Called once at launch with whether the book is mirrored.
    void start(bool enabled);
    void handle(const SyncEvent &event);
    // Asks for the account status; the answer is logged and may set lastError.
    void checkAccount();

    bool enabled() const { return m_enabled; }
    bool busy() const { return m_busy; }
    std::optional<QDateTime> lastSuccess() const { return m_lastSuccess; }
    // The last error in full, as logged.
    std::optional<QString> lastError() const { return m_lastError; }
    // Whether the monitor listens to the mirror's events.
    bool isObserving() const { return bool(m_observer); }

    QString statusText() const;
    QString text() const override { return statusText(); }

    // The words for an account status, and what it means for the user when
    // it keeps mirroring from working (`server` names the server, if known).
    static QString accountText(int status);
    static std::optional<QString> accountError(int status, const QString &server = QString());
    // One line for the status: what went wrong, in the user's words.
    static QString errorLine(const SyncError &error);

Q_SIGNALS:
    void enabledChanged();
    void busyChanged();
    void lastSuccessChanged();
    void lastErrorChanged();

private:
    void setEnabled(bool enabled);
    void setBusy(bool busy);
    void setLastSuccess(const std::optional<QDateTime> &moment);
    // `line` is what the status shows for `error`.
    void setLastError(const std::optional<QString> &error, const QString &line = QString());
    void log(bool error, const QString &systemMessage, const QString &fileLine);

    SystemLog &m_log;
    AccountProbe *m_probe;
    QPointer<SyncEventFeed> m_feed;
    CalendarContext m_calendar;
    bool m_enabled = false;
    bool m_busy = false;
    std::optional<QDateTime> m_lastSuccess;
    std::optional<QString> m_lastError;
    QString m_errorLine;
    // The error shown came from the account check: failed runs for the same
    // reason (the sign-in) leave it in place.
    bool m_accountProblem = false;
    QMetaObject::Connection m_observer;
};

} // namespace quillery
