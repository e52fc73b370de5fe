#pragma once

#include "core/sync/AccountProbe.h"

#include <atomic>
#include <memory>

namespace quillery {

// The account status of the mirror, found by connecting with the connection
// service: available when the role may use the mirror (or create it), no
// account when there are no usable credentials (no password, no such role or
// database), restricted when authentication or permission is refused,
// temporarily unavailable when the server cannot be reached, and could not
// determine otherwise. A service libpq cannot use at all makes the check fail.
class PgAccountProbe final : public AccountProbe
{
public:
    explicit PgAccountProbe(const QString &service = QStringLiteral("quillery"), int timeoutMs = 10'000);
    ~PgAccountProbe() override; // gives up a check under way

    void check(QObject *context, std::function<void(const Result &)> done) override;

    // The check itself, blocking (run on a worker thread by check()).
    static Result run(const QString &service, int timeoutMs, const std::atomic_bool *abort = nullptr);

private:
    QString m_service;
    int m_timeoutMs;
    std::shared_ptr<std::atomic_bool> m_abort;
};

} // namespace quillery
