#include "PgMirrorWorker.h"

#include "PgMirrorSchema.h"
#include "PgMirrorSql.h"

#include <QHash>
#include <QSocketNotifier>

#include <libpq-fe.h>

namespace quillery {

namespace {
constexpr Record::Kind Kinds[] = { Record::Kind::Page, Record::Kind::Task, Record::Kind::Attachment };

// How long a statement waits for a lock before the run fails (and is tried
// again later), where neither the service nor the server sets a bound.
constexpr const char *LockTimeout = "10s";
} // namespace

PgMirrorWorker::PgMirrorWorker(QString service, QObject *parent)
    : QObject(parent)
    , m_service(std::move(service))
{ }

PgMirrorWorker::~PgMirrorWorker()
{
    drop();
}

void PgMirrorWorker::stop()
{
    m_stopped = true;
    QMutexLocker lock(&m_connectionLock);
    if (m_connection)
        m_connection->cancel();
}

void PgMirrorWorker::drop()
{
    m_notifier.reset();
    QMutexLocker lock(&m_connectionLock);
    m_connection.reset();
    m_stagesReady = false;
}

SyncError PgMirrorWorker::failed(const PgFailure &failure)
{
    // A broken connection is made again by the next call; after a failed
    // statement the transaction is given up but the connection kept.
    if (m_connection && m_connection->isOk())
        m_connection->exec("ROLLBACK", nullptr);
    else
        drop();
    return failure.toSyncError();
}

bool PgMirrorWorker::connectIfNeeded(PgFailure *failure)
{
    if (m_connection && m_connection->isOk())
        return true;
    drop();
    if (m_stopped) {
        *failure = PgFailure { PgFailure::Kind::Unknown, {}, QStringLiteral("the mirror is shutting down"), {} };
        return false;
    }
    PgConnection::Options options;
    options.service = m_service;
    options.abort = &m_stopped;
    std::unique_ptr<PgConnection> connection = PgConnection::open(options, failure);
    if (!connection || !PgMirrorSchema::use(*connection, failure)
        || !connection->exec("SELECT set_config('lock_timeout', $1, false) WHERE current_setting('lock_timeout') = '0'",
            { QByteArray(LockTimeout) }, failure))
        return false;
    QMutexLocker lock(&m_connectionLock);
    m_connection = std::move(connection);
    return true;
}

bool PgMirrorWorker::listen(PgFailure *failure)
{
    if (m_notifier)
        return true;
    const std::optional<QByteArray> channel = PgMirrorSchema::enroll(*m_connection, failure);
    if (!channel || !m_connection->exec("LISTEN " + quoteIdentifier(QString::fromLatin1(*channel)), failure))
        return false;
    m_channel = *channel;
    m_notifier = std::make_unique<QSocketNotifier>(PQsocket(m_connection->handle()), QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, [this] { readNotifications(true); });
    return true;
}

void PgMirrorWorker::readNotifications(bool consume)
{
    if (!m_connection)
        return;
    PGconn *conn = m_connection->handle();
    if (consume && !PQconsumeInput(conn)) {
        drop(); // the server went away; the next call connects again
        return;
    }
    // This connection hears its own pushes too; those need no import.
    const int own = PQbackendPID(conn);
    bool others = false;
    while (PGnotify *notify = PQnotifies(conn)) {
        others = others || notify->be_pid != own;
        PQfreemem(notify);
    }
    if (others)
        Q_EMIT remoteChanged();
}

SetupReply PgMirrorWorker::setup(const QUuid &)
{
    SetupReply reply;
    PgFailure failure;
    if (!connectIfNeeded(&failure)) {
        reply.error = failed(failure);
        return reply;
    }
    const std::optional<QUuid> id = PgMirrorSchema::ensure(*m_connection, &failure);
    if (id && listen(&failure))
        reply.mirrorId = *id;
    else
        reply.error = failed(failure);
    return reply;
}

ImportReply PgMirrorWorker::importChanges(qint64 cursor)
{
    ImportReply reply;
    reply.cursor = cursor;
    PgFailure failure;
    if (!connectIfNeeded(&failure) || !listen(&failure)
        || !m_connection->exec("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY", &failure)) {
        reply.error = failed(failure);
        return reply;
    }
    // One snapshot for the three tables, so a task never arrives without the
    // page it was sent with.
    for (Record::Kind kind : Kinds) {
        const auto rows
            = m_connection->exec(PgMirrorSql::selectChangedSince(kind), { QByteArray::number(cursor) }, &failure);
        if (!rows) {
            reply.error = failed(failure);
            reply.records.clear();
            return reply;
        }
        const int count = PQntuples(rows.get());
        reply.records.reserve(reply.records.size() + count);
        for (int row = 0; row < count; ++row)
            reply.records.append(PgMirrorSql::decodeRow(kind, rows.get(), row));
        reply.cursor = PgMirrorSql::maxChange(rows.get(), reply.cursor);
    }
    if (!m_connection->exec("COMMIT", &failure)) {
        reply.error = failed(failure);
        reply.records.clear();
    }
    readNotifications(false);
    return reply;
}

bool PgMirrorWorker::exportKind(Record::Kind kind, const QList<const MirrorRecord *> &records, ExportReply &reply,
    qint64 &newest, PgFailure *failure)
{
    if (records.isEmpty())
        return true;
    QHash<QUuid, const MirrorRecord *> byId;
    for (const MirrorRecord *r : records)
        byId.insert(r->id, r);
    for (const QByteArray &sql : { PgMirrorSql::upsertLive(kind), PgMirrorSql::upsertDeleted(kind) }) {
        const auto taken = m_connection->exec(sql, failure);
        if (!taken)
            return false;
        for (int row = 0; row < PQntuples(taken.get()); ++row) {
            const QUuid id = QUuid::fromString(QLatin1StringView(PQgetvalue(taken.get(), row, 0)));
            if (const MirrorRecord *r = byId.take(id))
                reply.held.append({ kind, r->id, r->modified, r->deleted });
        }
        newest = PgMirrorSql::maxChange(taken.get(), newest);
    }
    if (byId.isEmpty())
        return true;
    // Turned down: the server holds a later version, which this device takes.
    const auto current
        = m_connection->exec(PgMirrorSql::selectByIds(kind), { PgMirrorSql::uuidArray(byId.keys()) }, failure);
    if (!current)
        return false;
    for (int row = 0; row < PQntuples(current.get()); ++row)
        reply.current.append(PgMirrorSql::decodeRow(kind, current.get(), row));
    return true;
}

ExportReply PgMirrorWorker::exportChanges(const ExportRequest &request)
{
    ExportReply reply;
    PgFailure failure;
    const auto fail = [&] {
        reply.error = failed(failure);
        reply.held.clear();
        reply.current.clear();
        reply.cursor.reset();
        return reply;
    };
    if (!connectIfNeeded(&failure) || !listen(&failure))
        return fail();
    if (!m_stagesReady) {
        for (Record::Kind kind : Kinds) {
            if (!m_connection->exec(PgMirrorSql::createStage(kind), &failure))
                return fail();
        }
        if (!m_connection->exec(PgMirrorSql::createChangeCounter(), &failure))
            return fail();
        m_stagesReady = true;
    }
    QList<const MirrorRecord *> byKind[std::size(Kinds)];
    for (const MirrorRecord &r : request.records)
        byKind[size_t(r.kind)].append(&r);
    if (!m_connection->exec("BEGIN", &failure))
        return fail();
    // The upload comes first, so the owner's row is locked only while the
    // server moves the rows into place.
    for (Record::Kind kind : Kinds) {
        const QList<const MirrorRecord *> &records = byKind[size_t(kind)];
        if (!records.isEmpty()
            && !m_connection->copyIn(PgMirrorSql::copyIntoStage(kind), PgMirrorSql::copyRows(records), &failure))
            return fail();
    }
    // The user's writers take turns on the user's own row (which no other
    // role can see, let alone lock), so change numbers are committed in order
    // and a reader that has seen one has seen every earlier one.
    const auto before
        = m_connection->exec("SELECT change FROM account WHERE owner = current_user FOR UPDATE", &failure);
    if (!before)
        return fail();
    if (PQntuples(before.get()) == 0) {
        failure = PgFailure { PgFailure::Kind::Server, {}, QStringLiteral("no account row for this user"),
            m_connection->server() };
        return fail();
    }
    const QByteArray newestBefore = PQgetvalue(before.get(), 0, 0);
    if (!m_connection->exec(PgMirrorSql::startChangeCounter(), { newestBefore }, &failure))
        return fail();

    qint64 newest = request.cursor;
    for (Record::Kind kind : Kinds) {
        if (!exportKind(kind, byKind[size_t(kind)], reply, newest, &failure))
            return fail();
    }
    if (!reply.held.isEmpty()
        && !(m_connection->exec("UPDATE account SET change = greatest(change, $1::bigint) WHERE owner = current_user",
                 { QByteArray::number(newest) }, &failure)
            && m_connection->exec("SELECT pg_notify($1, '')", { m_channel }, &failure)))
        return fail();
    if (!m_connection->exec("COMMIT", &failure))
        return fail();
    // Nothing of another device came in since this device last read: every
    // change up to the newest one written here is its own.
    if (newestBefore.toLongLong() <= request.cursor)
        reply.cursor = newest;
    readNotifications(false);
    return reply;
}

} // namespace quillery
