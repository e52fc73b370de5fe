#pragma once

#include "ImportMerger.h"
#include "MirrorLedger.h"
#include "MirrorRemote.h"
#include "SyncEventFeed.h"
#include "core/util/Clock.h"

#include <QSet>
#include <QTimer>

namespace quillery {

class Store;

// Runs the mirroring of one book: sets the mirror up on start, imports the
// server's changes (on start, when another device pushes, and periodically as
// a fallback), and exports local changes soon after they are saved. One run
// at a time; each is reported as an event (setup, import, export) with its
// start, end, success and error. A periodic import that finds nothing and
// fails at nothing is not reported, so an idle book does not fill the logs.
// A failed run is tried again after a pause that doubles up to a limit;
// nothing pending is ever dropped.
class MirrorEngine final : public SyncEventFeed
{
    Q_OBJECT
public:
    struct Timing {
        int exportDelayMs = 300; // after a save
        int pollIntervalMs = 60'000; // import even without a push
        int retryMinMs = 2'000;
        int retryMaxMs = 120'000;
        int chunkRecords = 500; // records per export transaction (and per acknowledgement on the main thread)
        qint64 chunkBytes = 16 << 20; // attachment content per export transaction
    };

    MirrorEngine(Store &store, MirrorRemote &remote, Timing timing, const Clock &clock = Clock::system(),
        QObject *parent = nullptr);
    MirrorEngine(Store &store, MirrorRemote &remote, QObject *parent = nullptr);
    ~MirrorEngine() override;

    void start();
    // Imports soon, as if another device had pushed a change.
    void requestImport();

    // Nothing running, nothing waiting to run and nothing pending.
    bool isSettled();

    MirrorLedger &ledger() { return m_ledger; }
    ImportMerger &merger() { return m_merger; }

private:
    enum class Run { None, Setup, Import, Export };

    static int eventType(Run run);
    void poll();
    void next();
    void begin(Run run, bool announce = true);
    void announce();
    void end(std::optional<SyncError> error = std::nullopt);
    void failLocal(const QString &why) { end(MirrorErrors::make(MirrorErrors::LocalStore, why)); }

    void runSetup();
    void runImport();
    void runExport();
    void exportNext();
    void send(const QList<MirrorRecord> &chunk);

    void onSetupDone(const SetupReply &reply);
    void onImportDone(const ImportReply &reply);
    void onExportDone(const ExportReply &reply);
    void onMerged(bool ok, const QString &error);
    void onSaved();

    Store &m_store;
    MirrorRemote &m_remote;
    Timing m_timing;
    const Clock &m_clock;
    MirrorLedger m_ledger;
    ImportMerger m_merger;

    bool m_started = false;
    bool m_ledgerOpen = false;
    bool m_setupDone = false;
    bool m_wantImport = false;
    bool m_quietImport = false; // the wanted import was asked for only by the poll
    bool m_unannounced = false; // the run under way has not been reported yet
    bool m_wantExport = false;
    Run m_running = Run::None;
    QDateTime m_runStart;
    int m_failures = 0;
    qint64 m_importCursor = 0;
    std::optional<qint64> m_exportCursor;
    QList<MirrorKey> m_inFlight;
    QSet<QPair<QUuid, qint64>> m_turnedDown;

    QTimer m_exportTimer;
    QTimer m_pollTimer;
    QTimer m_retryTimer;
};

} // namespace quillery
