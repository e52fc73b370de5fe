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
        setLastError(text);
        log(true, QStringLiteral("sync %1 FAILED: %2").arg(kind, text), kind + QStringLiteral(" FAILED: ") + text);
    } else {
        setLastSuccess(*event.end);
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
        if (const auto error = accountError(*result.status))
            setLastError(*error);
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

std::optional<QString> SyncMonitor::accountError(int status)
{
    switch (status) {
    case AccountProbe::Restricted:
        return tr("iCloud is restricted on this device.");
    case AccountProbe::NoAccount:
        return tr("Sign in to iCloud in Settings to sync.");
    default:
        return std::nullopt;
    }
}

QString SyncMonitor::statusText() const
{
    if (!m_enabled)
        return tr("iCloud: off (local only)");
    if (m_lastError)
        return tr("iCloud: ") + *m_lastError;
    if (m_busy)
        return tr("iCloud: syncing…");
    if (!m_lastSuccess)
        return tr("iCloud: connecting…");
    return tr("iCloud: synced ") + relativeTime(*m_lastSuccess, m_calendar);
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

void SyncMonitor::setLastError(const std::optional<QString> &error)
{
    if (m_lastError == error)
        return;
    m_lastError = error;
    Q_EMIT lastErrorChanged();
    Q_EMIT changed();
}

} // namespace quillery
