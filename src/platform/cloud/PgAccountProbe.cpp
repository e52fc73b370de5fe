#include "PgAccountProbe.h"

#include "PgConnection.h"
#include "core/app/AppPaths.h"

#include <QFutureWatcher>
#include <QtConcurrent>

#include <libpq-fe.h>

namespace quillery {

PgAccountProbe::PgAccountProbe(const QString &service, int timeoutMs)
    : m_service(service)
    , m_timeoutMs(timeoutMs)
    , m_abort(std::make_shared<std::atomic_bool>(false))
{ }

PgAccountProbe::~PgAccountProbe()
{
    *m_abort = true;
}

AccountProbe::Result PgAccountProbe::run(const QString &service, int timeoutMs, const std::atomic_bool *abort)
{
    PgConnection::Options options;
    options.service = service;
    options.connectTimeoutMs = timeoutMs;
    options.abort = abort;
    PgFailure failure;
    const std::unique_ptr<PgConnection> connection = PgConnection::open(options, &failure);
    if (!connection) {
        switch (failure.kind) {
        case PgFailure::Kind::Unusable:
            return { std::nullopt, failure.message };
        case PgFailure::Kind::NoCredentials:
            return { NoAccount, {} };
        case PgFailure::Kind::Refused:
            return { Restricted, {} };
        case PgFailure::Kind::Unreachable:
            return { TemporarilyUnavailable, {} };
        case PgFailure::Kind::Server:
        case PgFailure::Kind::Unknown:
            break;
        }
        return { CouldNotDetermine, {} };
    }
    // Connected: the role must also be allowed to use the mirror, or to
    // create it where it does not exist yet.
    const auto allowed
        = connection->exec("WITH s AS (SELECT to_regnamespace(quote_ident($1)) AS oid) "
                           "SELECT CASE WHEN s.oid IS NULL THEN has_database_privilege(current_database(), 'CREATE') "
                           "ELSE has_schema_privilege(s.oid, 'USAGE') AND NOT EXISTS (SELECT FROM pg_class c "
                           "WHERE c.relnamespace = s.oid AND c.relname IN ('page', 'task', 'attachment') "
                           "AND NOT has_table_privilege(c.oid, 'SELECT, INSERT, UPDATE')) END FROM s",
            { AppPaths::containerIdentifier().toUtf8() }, &failure);
    if (!allowed)
        return { CouldNotDetermine, {} };
    return { PQgetvalue(allowed.get(), 0, 0)[0] == 't' ? Available : Restricted, {} };
}

void PgAccountProbe::check(QObject *context, std::function<void(const Result &)> done)
{
    // The watcher belongs to the context: when the context goes, no answer
    // is delivered.
    auto *watcher = new QFutureWatcher<Result>(context);
    QObject::connect(watcher, &QFutureWatcher<Result>::finished, context, [watcher, done = std::move(done)] {
        done(watcher->result());
        watcher->deleteLater();
    });
    watcher->setFuture(QtConcurrent::run(
        [service = m_service, timeout = m_timeoutMs, abort = m_abort] { return run(service, timeout, abort.get()); }));
}

} // namespace quillery
