#pragma once

#include <QObject>

#include <functional>
#include <memory>
#include <vector>

class QNetworkAccessManager;
class QThread;

namespace quillery {

// The network manager a service sends its requests through, replaced by a
// fresh one whenever a request is abandoned at its deadline or its size cap.
// Qt reads every answer of one manager on one thread of its own; a hostile
// answer (a header line of many megabytes, hundreds of thousands of header
// lines) keeps that thread busy long after the request was aborted, and every
// later request of the same manager would wait behind it. Requests still
// running on an abandoned manager are told to give up (`dropping`); the
// manager itself is destroyed on a thread of its own, because its destructor
// waits for the busy one.
class NetworkAccess final : public QObject
{
    Q_OBJECT
public:
    // Runs on every new manager (a disk cache, for instance).
    using Setup = std::function<void(QNetworkAccessManager &)>;

    explicit NetworkAccess(Setup setup = {}, QObject *parent = nullptr);
    // Waits for abandoned managers still being destroyed.
    ~NetworkAccess() override;

    QNetworkAccessManager &manager() const { return *m_manager; }
    // Abandons the current manager and its connections; later requests go
    // to a fresh one.
    void dropConnections();

Q_SIGNALS:
    // Requests running on `manager` must let go of it now.
    void dropping(QNetworkAccessManager *manager);

private:
    std::unique_ptr<QNetworkAccessManager> makeManager() const;

    Setup m_setup;
    std::unique_ptr<QNetworkAccessManager> m_manager;
    std::vector<std::unique_ptr<QThread>> m_reapers;
};

} // namespace quillery
