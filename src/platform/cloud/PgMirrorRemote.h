#pragma once

#include "core/sync/MirrorRemote.h"

#include <QThread>

namespace quillery {

class PgMirrorWorker;

// The mirror in the user's PostgreSQL database, reached through a libpq
// connection service. The work runs on a thread of its own, so the window
// never waits for the network; answers arrive on the thread that made this
// object.
class PgMirrorRemote final : public MirrorRemote
{
    Q_OBJECT
public:
    explicit PgMirrorRemote(const QString &service = QStringLiteral("quillery"), QObject *parent = nullptr);
    // Gives up what is under way (it is sent again next time) and waits for
    // the thread to end.
    ~PgMirrorRemote() override;

    void setup(const QUuid &device) override;
    void importChanges(qint64 cursor) override;
    void exportChanges(const ExportRequest &request) override;

private:
    QThread m_thread;
    PgMirrorWorker *m_worker;
};

} // namespace quillery
