#include "PgMirrorRemote.h"

#include "PgMirrorWorker.h"

namespace quillery {

PgMirrorRemote::PgMirrorRemote(const QString &service, QObject *parent)
    : MirrorRemote(parent)
    , m_worker(new PgMirrorWorker(service))
{
    m_thread.setObjectName(QStringLiteral("mirror"));
    m_worker->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    connect(m_worker, &PgMirrorWorker::remoteChanged, this, &MirrorRemote::remoteChanged, Qt::QueuedConnection);
    m_thread.start();
}

PgMirrorRemote::~PgMirrorRemote()
{
    m_worker->stop();
    m_thread.quit();
    m_thread.wait();
}

void PgMirrorRemote::setup(const QUuid &device)
{
    QMetaObject::invokeMethod(m_worker, [this, worker = m_worker, device] {
        const SetupReply reply = worker->setup(device);
        QMetaObject::invokeMethod(
            this, [this, reply] { Q_EMIT setupDone(reply); }, Qt::QueuedConnection);
    });
}

void PgMirrorRemote::importChanges(qint64 cursor)
{
    QMetaObject::invokeMethod(m_worker, [this, worker = m_worker, cursor] {
        const ImportReply reply = worker->importChanges(cursor);
        QMetaObject::invokeMethod(
            this, [this, reply] { Q_EMIT importDone(reply); }, Qt::QueuedConnection);
    });
}

void PgMirrorRemote::exportChanges(const ExportRequest &request)
{
    QMetaObject::invokeMethod(m_worker, [this, worker = m_worker, request] {
        const ExportReply reply = worker->exportChanges(request);
        QMetaObject::invokeMethod(
            this, [this, reply] { Q_EMIT exportDone(reply); }, Qt::QueuedConnection);
    });
}

} // namespace quillery
