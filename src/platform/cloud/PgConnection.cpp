#include "PgConnection.h"

#include <QDeadlineTimer>
#include <QRegularExpression>

#include <libpq-fe.h>
#include <poll.h>

namespace quillery {

namespace {

void ignoreNotice(void *, const char *)
{ }

// The host the user named in the service, for the status line; a socket
// folder means the server on this computer, which needs no name.
QString serverName(const PGconn *conn)
{
    const char *host = conn ? PQhost(conn) : nullptr;
    if (!host || host[0] == '/' || host[0] == '@')
        return {};
    return QString::fromUtf8(host);
}

QString libpqMessage(const PGconn *conn)
{
    return redactSecrets(QString::fromUtf8(PQerrorMessage(conn)).trimmed());
}

// Connection failures carry no SQLSTATE in libpq, so they are told apart by
// libpq's own words (and by whether a password was wanted but missing).
PgFailure::Kind classifyConnectFailure(const PGconn *conn, const QString &message)
{
    if (conn && PQconnectionNeedsPassword(conn))
        return PgFailure::Kind::NoCredentials;
    const auto has = [&](const char *text) { return message.contains(QLatin1String(text), Qt::CaseInsensitive); };
    if (has("definition of service") || has("service file") || has("invalid connection option")
        || has("invalid sslmode") || has("invalid value for parameter") || has("invalid integer value"))
        return PgFailure::Kind::Unusable;
    if (has("does not exist") && (has("role \"") || has("database \"")))
        return PgFailure::Kind::NoCredentials;
    if (has("no password supplied"))
        return PgFailure::Kind::NoCredentials;
    if (has("authentication failed") || has("pg_hba.conf") || has("not permitted to log in") || has("permission denied")
        || has("certificate"))
        return PgFailure::Kind::Refused;
    if (has("could not connect") || has("connection refused") || has("timeout expired") || has("translate host name")
        || has("no such file or directory") || has("server closed the connection") || has("the database system is")
        || has("too many") || has("unreachable") || has("no route to host") || has("connection timed out"))
        return PgFailure::Kind::Unreachable;
    return PgFailure::Kind::Unknown;
}

PgFailure::Kind classifySqlState(const QByteArray &state)
{
    if (state.startsWith("28"))
        return PgFailure::Kind::Refused;
    if (state == "42501")
        return PgFailure::Kind::Denied;
    if (state == "55P03")
        return PgFailure::Kind::Busy;
    if (state == "3D000")
        return PgFailure::Kind::NoCredentials;
    if (state.startsWith("08") || state.startsWith("57P") || state == "53300")
        return PgFailure::Kind::Unreachable;
    return PgFailure::Kind::Server;
}

void setFailure(PgFailure *failure, PgFailure::Kind kind, const QString &message, const QByteArray &state = {},
    const QString &server = {})
{
    if (failure)
        *failure = PgFailure { kind, state, message, server };
}

} // namespace

SyncError PgFailure::toSyncError() const
{
    const QString text
        = sqlState.isEmpty() ? message : QStringLiteral("%1 (SQLSTATE %2)").arg(message, QString::fromLatin1(sqlState));
    switch (kind) {
    case Kind::Unusable:
        return MirrorErrors::make(MirrorErrors::Unusable, message, server);
    case Kind::NoCredentials:
    case Kind::Refused:
        return MirrorErrors::make(MirrorErrors::Refused, message, server);
    case Kind::Unreachable:
        return MirrorErrors::make(MirrorErrors::Unreachable, message, server);
    case Kind::Denied:
        return MirrorErrors::make(MirrorErrors::Denied, text, server);
    case Kind::Outdated:
        return MirrorErrors::make(MirrorErrors::Outdated, text, server);
    case Kind::Busy:
        return MirrorErrors::make(MirrorErrors::Busy, text, server);
    case Kind::Server:
    case Kind::Unknown:
        break;
    }
    return MirrorErrors::make(MirrorErrors::Server, text, server);
}

QString redactSecrets(QString text)
{
    static const QRegularExpression keyword(
        QStringLiteral(R"(\b(password|passwd|sslpassword)(\s*=\s*)('(?:[^'\\]|\\.)*'|[^\s'"]+))"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression uri(
        QStringLiteral(R"(\b(postgres(?:ql)?://[^:/@\s]*):[^@\s]*@)"), QRegularExpression::CaseInsensitiveOption);
    text.replace(keyword, QStringLiteral("\\1\\2***"));
    text.replace(uri, QStringLiteral("\\1:***@"));
    return text;
}

QByteArray quoteIdentifier(const QString &name)
{
    QByteArray quoted = name.toUtf8();
    quoted.replace('"', "\"\"");
    return '"' + quoted + '"';
}

PgConnection::PgConnection(PGconn *conn)
    : m_conn(conn)
    , m_cancel(PQgetCancel(conn))
    , m_server(serverName(conn))
{
    PQsetNoticeProcessor(m_conn, ignoreNotice, nullptr);
}

PgConnection::~PgConnection()
{
    if (m_cancel)
        PQfreeCancel(m_cancel);
    PQfinish(m_conn);
}

bool PgConnection::isUsable(const QString &service, QString *why)
{
    const QByteArray name = service.toUtf8();
    const char *keys[] = { "service", nullptr };
    const char *values[] = { name.constData(), nullptr };
    // Starting a connection reads the service file and checks every setting;
    // it is dropped before the server has to answer. It may already have
    // failed to look the host up or to reach a local socket: that is a server
    // out of reach (a computer started offline), not an unusable service.
    PGconn *conn = PQconnectStartParams(keys, values, 0);
    if (!conn) {
        if (why)
            *why = QStringLiteral("out of memory");
        return false;
    }
    const QString message = PQstatus(conn) == CONNECTION_BAD ? libpqMessage(conn) : QString();
    const bool usable
        = PQstatus(conn) != CONNECTION_BAD || classifyConnectFailure(conn, message) == PgFailure::Kind::Unreachable;
    if (!usable && why)
        *why = message;
    PQfinish(conn);
    return usable;
}

std::unique_ptr<PgConnection> PgConnection::open(const Options &options, PgFailure *failure)
{
    const QByteArray service = options.service.toUtf8();
    // Settings given here win over the service's; only those that Quillery
    // itself depends on are given.
    const char *keys[] = { "service", "fallback_application_name", "client_encoding", nullptr };
    const char *values[] = { service.constData(), "Quillery", "UTF8", nullptr };
    PGconn *conn = PQconnectStartParams(keys, values, 0);
    if (!conn) {
        setFailure(failure, PgFailure::Kind::Unknown, QStringLiteral("out of memory"));
        return nullptr;
    }
    const auto fail = [&](std::optional<PgFailure::Kind> kind = std::nullopt, const QString &message = {}) {
        const QString text = message.isEmpty() ? libpqMessage(conn) : message;
        setFailure(failure, kind.value_or(classifyConnectFailure(conn, text)), text, {}, serverName(conn));
        PQfinish(conn);
        return nullptr;
    };
    if (PQstatus(conn) == CONNECTION_BAD)
        return fail();

    QDeadlineTimer deadline(options.connectTimeoutMs);
    PostgresPollingStatusType state = PGRES_POLLING_WRITING;
    while (state != PGRES_POLLING_OK) {
        if (state == PGRES_POLLING_FAILED)
            return fail();
        if (options.abort && options.abort->load())
            return fail(PgFailure::Kind::Unknown, QStringLiteral("connection attempt stopped"));
        if (deadline.hasExpired())
            return fail(PgFailure::Kind::Unreachable, QStringLiteral("timeout expired while connecting to the server"));
        pollfd fd { PQsocket(conn), short(state == PGRES_POLLING_READING ? POLLIN : POLLOUT), 0 };
        const int ready = ::poll(&fd, 1, int(std::min<qint64>(100, deadline.remainingTime())));
        if (ready > 0)
            state = PQconnectPoll(conn);
    }
    return std::unique_ptr<PgConnection>(new PgConnection(conn));
}

bool PgConnection::isOk() const
{
    return PQstatus(m_conn) == CONNECTION_OK;
}

PgConnection::Result PgConnection::check(PGresult *raw, PgFailure *failure)
{
    Result result(raw, PQclear);
    const ExecStatusType status = raw ? PQresultStatus(raw) : PGRES_FATAL_ERROR;
    if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK || status == PGRES_COPY_IN)
        return result;
    if (PQstatus(m_conn) != CONNECTION_OK) {
        setFailure(failure, PgFailure::Kind::Unreachable, libpqMessage(m_conn), {}, m_server);
        return Result(nullptr, PQclear);
    }
    const QByteArray state = raw ? QByteArray(PQresultErrorField(raw, PG_DIAG_SQLSTATE)) : QByteArray();
    const QString message
        = redactSecrets(QString::fromUtf8(raw ? PQresultErrorMessage(raw) : PQerrorMessage(m_conn)).trimmed());
    setFailure(failure, classifySqlState(state), message, state, m_server);
    return Result(nullptr, PQclear);
}

PgConnection::Result PgConnection::exec(const QByteArray &sql, PgFailure *failure)
{
    return check(PQexec(m_conn, sql.constData()), failure);
}

PgConnection::Result PgConnection::exec(const QByteArray &sql, const Params &params, PgFailure *failure)
{
    std::vector<const char *> values;
    std::vector<int> lengths;
    values.reserve(size_t(params.size()));
    lengths.reserve(size_t(params.size()));
    for (const std::optional<QByteArray> &param : params) {
        values.push_back(param ? param->constData() : nullptr);
        lengths.push_back(param ? int(param->size()) : 0);
    }
    return check(
        PQexecParams(m_conn, sql.constData(), int(params.size()), nullptr, values.data(), lengths.data(), nullptr, 0),
        failure);
}

bool PgConnection::copyIn(const QByteArray &sql, const QByteArray &data, PgFailure *failure)
{
    if (!exec(sql, failure))
        return false;
    constexpr qsizetype Piece = 1 << 20;
    bool sent = true;
    for (qsizetype offset = 0; offset < data.size() && sent; offset += Piece)
        sent = PQputCopyData(m_conn, data.constData() + offset, int(std::min(Piece, data.size() - offset))) == 1;
    sent = PQputCopyEnd(m_conn, sent ? nullptr : "sending failed") == 1 && sent;
    bool ok = true;
    while (PGresult *raw = PQgetResult(m_conn)) {
        if (!ok)
            PQclear(raw);
        else if (!check(raw, failure)) // takes the result either way
            ok = false;
    }
    if (ok && !sent) {
        setFailure(failure, PgFailure::Kind::Unreachable, libpqMessage(m_conn), {}, m_server);
        return false;
    }
    return ok;
}

void PgConnection::cancel()
{
    if (!m_cancel)
        return;
    char error[256];
    PQcancel(m_cancel, error, sizeof error);
}

} // namespace quillery
