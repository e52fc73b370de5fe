#include "MirrorEngine.h"

#include "core/model/Store.h"

#include <algorithm>

namespace quillery {

MirrorEngine::MirrorEngine(Store &store, MirrorRemote &remote, QObject *parent)
    : MirrorEngine(store, remote, Timing {}, Clock::system(), parent)
{ }

MirrorEngine::MirrorEngine(Store &store, MirrorRemote &remote, Timing timing, const Clock &clock, QObject *parent)
    : SyncEventFeed(parent)
    , m_store(store)
    , m_remote(remote)
    , m_timing(timing)
    , m_clock(clock)
    , m_ledger(store)
    , m_merger(store, m_ledger)
{
    m_exportTimer.setSingleShot(true);
    m_retryTimer.setSingleShot(true);
    connect(&m_exportTimer, &QTimer::timeout, this, [this] {
        m_wantExport = true;
        next();
    });
    connect(&m_pollTimer, &QTimer::timeout, this, &MirrorEngine::poll);
    connect(&m_retryTimer, &QTimer::timeout, this, [this] {
        // Reported even when it finds nothing: its success is what clears
        // the failure from the status line.
        m_wantImport = m_wantExport = true;
        m_quietImport = false;
        next();
    });
    connect(&m_store, &Store::saved, this, &MirrorEngine::onSaved);
    connect(&m_remote, &MirrorRemote::setupDone, this, &MirrorEngine::onSetupDone);
    connect(&m_remote, &MirrorRemote::importDone, this, &MirrorEngine::onImportDone);
    connect(&m_remote, &MirrorRemote::exportDone, this, &MirrorEngine::onExportDone);
    connect(&m_remote, &MirrorRemote::remoteChanged, this, &MirrorEngine::requestImport);
    connect(&m_merger, &ImportMerger::finished, this, &MirrorEngine::onMerged);
}

MirrorEngine::~MirrorEngine()
{
    disconnect(&m_remote, nullptr, this, nullptr);
}

void MirrorEngine::start()
{
    if (m_started)
        return;
    m_started = true;
    m_pollTimer.start(m_timing.pollIntervalMs);
    next();
}

void MirrorEngine::requestImport()
{
    m_wantImport = true;
    m_quietImport = false;
    next();
}

void MirrorEngine::poll()
{
    if (!m_wantImport)
        m_quietImport = true;
    m_wantImport = true;
    next();
}

bool MirrorEngine::isSettled()
{
    return m_setupDone && m_running == Run::None && !m_wantImport && !m_wantExport && !m_exportTimer.isActive()
        && !m_retryTimer.isActive() && !m_ledger.hasPending();
}

void MirrorEngine::onSaved()
{
    if (m_ledgerOpen && !m_exportTimer.isActive() && m_ledger.hasPending())
        m_exportTimer.start(m_timing.exportDelayMs);
}

void MirrorEngine::next()
{
    // While a failed run waits for its retry, saves and pushes only raise the
    // wish; the retry carries it out.
    if (!m_started || m_running != Run::None || m_retryTimer.isActive())
        return;
    if (!m_setupDone)
        runSetup();
    else if (m_wantImport)
        runImport();
    else if (m_wantExport)
        runExport();
}

int MirrorEngine::eventType(Run run)
{
    switch (run) {
    case Run::Setup:
        return SyncEvent::Setup;
    case Run::Import:
        return SyncEvent::Import;
    case Run::None:
    case Run::Export:
        break;
    }
    return SyncEvent::Export;
}

void MirrorEngine::begin(Run run, bool announceNow)
{
    m_running = run;
    m_runStart = m_clock.now();
    m_unannounced = true;
    if (announceNow)
        announce();
}

void MirrorEngine::announce()
{
    if (!m_unannounced)
        return;
    m_unannounced = false;
    SyncEvent event;
    event.type = eventType(m_running);
    event.start = m_runStart;
    Q_EMIT eventChanged(event);
}

void MirrorEngine::end(std::optional<SyncError> error)
{
    announce();
    SyncEvent event;
    event.type = eventType(m_running);
    event.start = m_runStart;
    event.end = m_clock.now();
    event.succeeded = !error;
    event.error = error;
    m_running = Run::None;
    m_inFlight.clear();
    m_exportCursor.reset();
    if (error) {
        ++m_failures;
        const qint64 pause = qint64(m_timing.retryMinMs) << std::min(m_failures - 1, 16);
        m_retryTimer.start(int(std::min<qint64>(pause, m_timing.retryMaxMs)));
    } else {
        m_failures = 0;
    }
    Q_EMIT eventChanged(event);
    next();
}

void MirrorEngine::runSetup()
{
    begin(Run::Setup);
    if (!m_ledgerOpen) {
        QString why;
        if (!m_ledger.open(&why)) {
            failLocal(why);
            return;
        }
        m_ledgerOpen = true;
    }
    m_remote.setup(m_ledger.device());
}

void MirrorEngine::onSetupDone(const SetupReply &reply)
{
    if (m_running != Run::Setup)
        return;
    if (reply.error) {
        end(reply.error);
        return;
    }
    if (reply.mirrorId != m_ledger.mirrorId()) {
        // A mirror this book has never been merged with (the first mirror, or
        // one made anew on the server): merge both sides from the start.
        QString why;
        if (!m_ledger.adoptMirror(reply.mirrorId, &why)) {
            failLocal(why);
            return;
        }
    }
    m_setupDone = true;
    m_wantImport = m_wantExport = true;
    end();
}

void MirrorEngine::runImport()
{
    const bool quiet = m_quietImport;
    m_wantImport = m_quietImport = false;
    begin(Run::Import, !quiet);
    m_remote.importChanges(m_ledger.cursor());
}

void MirrorEngine::onImportDone(const ImportReply &reply)
{
    if (m_running != Run::Import)
        return;
    if (reply.error) {
        end(reply.error);
        return;
    }
    if (m_unannounced && reply.records.isEmpty()) {
        // A poll that found nothing: no event.
        m_running = Run::None;
        m_unannounced = false;
        m_failures = 0;
        next();
        return;
    }
    announce();
    m_importCursor = reply.cursor;
    m_merger.merge(reply.records);
}

void MirrorEngine::onMerged(bool ok, const QString &error)
{
    if (!ok) {
        failLocal(error);
        return;
    }
    QString why;
    if (m_running == Run::Import) {
        // Only now is everything up to the cursor in the book file.
        if (!m_ledger.setCursor(std::max(m_importCursor, m_ledger.cursor()), &why)) {
            failLocal(why);
            return;
        }
        m_wantExport = true;
        end();
    } else if (m_running == Run::Export) {
        if (m_exportCursor && !m_ledger.setCursor(*m_exportCursor, &why)) {
            failLocal(why);
            return;
        }
        exportNext();
    }
}

void MirrorEngine::runExport()
{
    m_wantExport = false;
    m_turnedDown.clear();
    QString why;
    const QList<MirrorRecord> chunk = m_ledger.collect(m_timing.chunkRecords, m_timing.chunkBytes, &why);
    if (chunk.isEmpty()) {
        if (!why.isEmpty()) {
            begin(Run::Export);
            failLocal(why);
        }
        return; // nothing to send: no event
    }
    begin(Run::Export);
    send(chunk);
}

void MirrorEngine::exportNext()
{
    QString why;
    const QList<MirrorRecord> chunk = m_ledger.collect(m_timing.chunkRecords, m_timing.chunkBytes, &why);
    if (!why.isEmpty()) {
        failLocal(why);
        return;
    }
    if (chunk.isEmpty()) {
        end();
        return;
    }
    for (const MirrorRecord &r : chunk) {
        if (m_turnedDown.contains({ r.id, r.modified })) {
            end(MirrorErrors::make(MirrorErrors::NoProgress,
                QStringLiteral("the server keeps turning down the change of %1 %2")
                    .arg(QLatin1String(entityName(r.kind)), r.id.toString(QUuid::WithoutBraces))));
            return;
        }
    }
    send(chunk);
}

void MirrorEngine::send(const QList<MirrorRecord> &chunk)
{
    m_inFlight.clear();
    for (const MirrorRecord &r : chunk)
        m_inFlight.append({ r.kind, r.id, r.modified, r.deleted });
    m_remote.exportChanges({ chunk, m_ledger.cursor() });
}

void MirrorEngine::onExportDone(const ExportReply &reply)
{
    if (m_running != Run::Export)
        return;
    if (reply.error) {
        end(reply.error);
        return;
    }
    QString why;
    if (!m_ledger.acknowledge(reply.held, &why)) {
        failLocal(why);
        return;
    }
    QSet<QPair<QUuid, qint64>> held;
    for (const MirrorKey &key : reply.held)
        held.insert({ key.id, key.modified });
    for (const MirrorKey &key : std::as_const(m_inFlight)) {
        if (!held.contains({ key.id, key.modified }))
            m_turnedDown.insert({ key.id, key.modified });
    }
    m_exportCursor = reply.cursor;
    // The server's later versions of what it turned down are merged like an
    // import before the next chunk goes out.
    m_merger.merge(reply.current);
}

} // namespace quillery
