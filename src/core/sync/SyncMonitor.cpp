#include "SyncMonitor.h"

#include "AccountProbe.h"
#include "RelativeTime.h"
#include "SyncEventFeed.h"
#include "SystemLog.h"
#include "core/alarms/LogWriter.h"

#include <QTimer>

namespace quillery {

namespace {
const QString LogFile = QStringLiteral("sync.log");
} // namespace

SyncMonitor::SyncMonitor(
    SystemLog &log, AccountProbe *probe, SyncEventFeed *feed, CalendarContext calendar, QObject *parent)
    : StatusLine(parent)
    , m_log(log)
    , m_probe(probe)
    , m_feed(feed)
    , m_calendar(std::move(calendar))
{ }

void SyncMonitor::log(bool error, const QString &systemMessage, const QString &fileLine)
{
    m_log.write(error ? SystemLog::Level::Error : SystemLog::Level::Default, systemMessage);
    appendLogLine(LogFile, fileLine, m_calendar.clock());
}

void SyncMonitor::start(bool enabled)
{
    setEnabled(enabled);
    const QString state = enabled ? QStringLiteral("ON") : QStringLiteral("OFF (local only)");
    log(false, QStringLiteral("iCloud sync ") + state, QStringLiteral("start: iCloud sync ") + state);
    if (!enabled || m_observer)
        return;
    if (m_feed)
        m_observer = connect(m_feed, &SyncEventFeed::eventChanged, this, &SyncMonitor::handle);
    QTimer::singleShot(0, this, &SyncMonitor::checkAccount);
}

void SyncMonitor::handle(const SyncEvent &event)
{
    const QString kind = syncEventKind(event.type);
    if (!event.end) {
        setBusy(true);
        log(false, QStringLiteral("sync %1 started").arg(kind), kind + QStringLiteral(" started"));
        return;
    }
    setBusy(false);
    if (!event.succeeded) {
        const QString text = event.error
            ? QStringLiteral("%1 %2: %3").arg(event.error->domain).arg(event.error->code).arg(event.error->description)
            : QStringLiteral("unknown error");
        // A retry that fails at the sign-in again says less than the account
        // check did ("Sign in to … to sync"), so that line stays.
        const bool signIn = event.error && event.error->domain == QLatin1String(MirrorErrors::Domain)
            && event.error->code == MirrorErrors::Refused;
        if (!(m_accountProblem && signIn)) {
            m_accountProblem = false;
            setLastError(text, event.error ? errorLine(*event.error) : tr("unknown error"));
        }
        log(true, QStringLiteral("sync %1 FAILED: %2").arg(kind, text), kind + QStringLiteral(" FAILED: ") + text);
    } else {
        setLastSuccess(*event.end);
        m_accountProblem = false;
        setLastError(std::nullopt);
        log(false, QStringLiteral("sync %1 finished OK").arg(kind), kind + QStringLiteral(" finished OK"));
    }
}

void SyncMonitor::checkAccount()
{
    if (!m_probe)
        return;
    m_probe->check(this, [this](const AccountProbe::Result &result) {
        if (!result.status) {
            log(true, QStringLiteral("iCloud account check failed: ") + result.failure,
                QStringLiteral("iCloud account check failed: ") + result.failure);
            return;
        }
        if (const auto error = accountError(*result.status, result.server)) {
            m_accountProblem = true;
            setLastError(*error, *error);
        }
        const QString text = accountText(*result.status);
        log(false, QStringLiteral("iCloud account: ") + text, QStringLiteral("iCloud account: ") + text);
    });
}

QString SyncMonitor::accountText(int status)
{
    switch (status) {
    case AccountProbe::CouldNotDetermine:
        return QStringLiteral("could not determine");
    case AccountProbe::Available:
        return QStringLiteral("available");
    case AccountProbe::Restricted:
        return QStringLiteral("restricted");
    case AccountProbe::NoAccount:
        return QStringLiteral("no iCloud account");
    case AccountProbe::TemporarilyUnavailable:
        return QStringLiteral("temporarily unavailable");
    default:
        return QStringLiteral("unknown");
    }
}

std::optional<QString> SyncMonitor::accountError(int status, const QString &server)
{
    switch (status) {
    case AccountProbe::Restricted:
        return tr("the server turned the sign-in down");
    case AccountProbe::NoAccount:
        return server.isEmpty() ? tr("Sign in to your server to sync.") : tr("Sign in to %1 to sync.").arg(server);
    default:
        return std::nullopt;
    }
}

QString SyncMonitor::errorLine(const SyncError &error)
{
    if (error.domain == QLatin1String(MirrorErrors::Domain)) {
        switch (error.code) {
        case MirrorErrors::Unreachable:
            return error.server.isEmpty() ? tr("can't reach the server")
                                          : tr("can't reach the server (%1)").arg(error.server);
        case MirrorErrors::Refused:
            return tr("the server turned the sign-in down");
        case MirrorErrors::Denied:
            return tr("the server doesn't give you access to the mirror");
        case MirrorErrors::Outdated:
            return tr("the mirror on the server needs its administrator to set it up again");
        case MirrorErrors::Busy:
            return tr("the server is busy, trying again");
        case MirrorErrors::Server:
            return tr("the server ran into an error (see sync.log)");
        case MirrorErrors::LocalStore:
            return tr("can't read or write the book (see sync.log)");
        case MirrorErrors::NoProgress:
            return tr("the server keeps turning a change down (see sync.log)");
        case MirrorErrors::Unusable:
            return tr("the connection service can't be used (see sync.log)");
        default:
            break;
        }
    }
    // Someone else's words: their first line only.
    const QString first = error.description.section(u'\n', 0, 0).simplified();
    return first.isEmpty() ? tr("unknown error") : first;
}

QString SyncMonitor::statusText() const
{
    if (!m_enabled)
        return tr("Sync: off (local only)");
    if (m_lastError)
        return tr("Sync: %1").arg(m_errorLine);
    if (m_busy)
        return tr("Sync: syncing…");
    if (!m_lastSuccess)
        return tr("Sync: connecting…");
    //: %1 says when: "5 minutes ago", "now".
    return tr("Sync: synced %1").arg(relativeTime(*m_lastSuccess, m_calendar));
}

void SyncMonitor::setEnabled(bool enabled)
{
    if (m_enabled == enabled)
        return;
    m_enabled = enabled;
    Q_EMIT enabledChanged();
    Q_EMIT changed();
}

void SyncMonitor::setBusy(bool busy)
{
    if (m_busy == busy)
        return;
    m_busy = busy;
    Q_EMIT busyChanged();
    Q_EMIT changed();
}

void SyncMonitor::setLastSuccess(const std::optional<QDateTime> &moment)
{
    if (m_lastSuccess == moment)
        return;
    m_lastSuccess = moment;
    Q_EMIT lastSuccessChanged();
    Q_EMIT changed();
}

void SyncMonitor::setLastError(const std::optional<QString> &error, const QString &line)
{
    if (m_lastError == error && m_errorLine == line)
        return;
    m_lastError = error;
    m_errorLine = line;
    Q_EMIT lastErrorChanged();
    Q_EMIT changed();
}

} // namespace quillery
