#pragma once

#include "PgConnection.h"
#include "core/sync/MirrorRemote.h"

#include <QMutex>
#include <QObject>

#include <atomic>
#include <memory>

class QSocketNotifier;

namespace quillery {

// The mirror's work on the server, done on the mirror's own thread with its
// own connection (made again whenever it was lost). Each call is one
// transaction, and no wait for a lock is longer than the session's
// lock_timeout. Between calls the connection listens on the user's own
// channel, whose name only the user can read, for the pushes of their other
// devices; a push carries nothing.
class PgMirrorWorker final : public QObject
{
    Q_OBJECT
public:
    explicit PgMirrorWorker(QString service, QObject *parent = nullptr);
    ~PgMirrorWorker() override;

    // Any thread: gives up a connection attempt and the statement under way.
    void stop();

    SetupReply setup(const QUuid &device);
    ImportReply importChanges(qint64 cursor);
    ExportReply exportChanges(const ExportRequest &request);

Q_SIGNALS:
    void remoteChanged();

private:
    bool connectIfNeeded(PgFailure *failure);
    bool listen(PgFailure *failure);
    void drop();
    void readNotifications(bool consume);
    SyncError failed(const PgFailure &failure);
    bool exportKind(Record::Kind kind, const QList<const MirrorRecord *> &records, ExportReply &reply, qint64 &newest,
        PgFailure *failure);

    QString m_service;
    QMutex m_connectionLock; // guards m_connection against stop() from other threads
    std::unique_ptr<PgConnection> m_connection;
    std::unique_ptr<QSocketNotifier> m_notifier;
    QByteArray m_channel;
    bool m_stagesReady = false; // the session's staging tables and change counter exist
    std::atomic_bool m_stopped { false };
};

} // namespace quillery
