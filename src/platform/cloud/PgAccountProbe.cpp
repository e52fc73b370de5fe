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
            return { std::nullopt, failure.message, failure.server };
        case PgFailure::Kind::NoCredentials:
            return { NoAccount, {}, failure.server };
        case PgFailure::Kind::Refused:
        case PgFailure::Kind::Denied:
            return { Restricted, {}, failure.server };
        case PgFailure::Kind::Unreachable:
            return { TemporarilyUnavailable, {}, failure.server };
        case PgFailure::Kind::Server:
        case PgFailure::Kind::Unknown:
        case PgFailure::Kind::Outdated:
        case PgFailure::Kind::Busy:
            break;
        }
        return { CouldNotDetermine, {}, failure.server };
    }
    // Connected: the role must also be allowed to use the mirror (reading,
    // adding and changing rows; changes may be granted column by column), or
    // to create it where it does not exist yet.
    const auto allowed
        = connection->exec("WITH s AS (SELECT to_regnamespace(quote_ident($1)) AS oid) "
                           "SELECT CASE WHEN s.oid IS NULL THEN has_database_privilege(current_database(), 'CREATE') "
                           "ELSE has_schema_privilege(s.oid, 'USAGE') AND NOT EXISTS (SELECT FROM pg_class c "
                           "WHERE c.relnamespace = s.oid AND c.relname IN ('page', 'task', 'attachment', 'account') "
                           "AND NOT (has_table_privilege(c.oid, 'SELECT') AND has_table_privilege(c.oid, 'INSERT') "
                           "AND has_any_column_privilege(c.oid, 'UPDATE'))) END FROM s",
            { AppPaths::containerIdentifier().toUtf8() }, &failure);
    if (!allowed)
        return { CouldNotDetermine, {}, connection->server() };
    return { PQgetvalue(allowed.get(), 0, 0)[0] == 't' ? Available : Restricted, {}, connection->server() };
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
