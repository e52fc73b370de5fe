#include "NetworkAccess.h"

#include <QNetworkAccessManager>
#include <QThread>

namespace quillery {

NetworkAccess::NetworkAccess(Setup setup, QObject *parent)
    : QObject(parent)
    , m_setup(std::move(setup))
    , m_manager(makeManager())
{ }

NetworkAccess::~NetworkAccess()
{
    for (const std::unique_ptr<QThread> &reaper : m_reapers)
        reaper->wait();
}

std::unique_ptr<QNetworkAccessManager> NetworkAccess::makeManager() const
{
    auto manager = std::make_unique<QNetworkAccessManager>();
    if (m_setup)
        m_setup(*manager);
    return manager;
}

void NetworkAccess::dropConnections()
{
    std::unique_ptr<QNetworkAccessManager> old = std::exchange(m_manager, makeManager());
    // Requests that give up may start new ones at once: those find the new
    // manager already in place.
    Q_EMIT dropping(old.get());

    std::erase_if(m_reapers, [](const std::unique_ptr<QThread> &reaper) { return reaper->isFinished(); });
    QNetworkAccessManager *abandoned = old.release();
    std::unique_ptr<QThread> reaper(QThread::create([abandoned] { delete abandoned; }));
    reaper->setObjectName(QStringLiteral("network reaper"));
    abandoned->moveToThread(reaper.get());
    reaper->start(QThread::LowPriority);
    m_reapers.push_back(std::move(reaper));
}

} // namespace quillery
