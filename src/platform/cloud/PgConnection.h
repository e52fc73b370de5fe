#pragma once

#include "core/sync/SyncEvent.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <atomic>
#include <memory>
#include <optional>

struct pg_conn;
struct pg_result;
struct pg_cancel;

namespace quillery {

// A failure of libpq or of the server, sorted by what it means for the user.
// The message never holds a password: libpq's and the server's words pass
// through redactSecrets() before they are kept.
struct PgFailure {
    enum class Kind {
        Unusable, // libpq cannot use the connection service at all
        NoCredentials, // no password, no such role or no such database
        Refused, // authentication or permission refused
        Unreachable, // the server cannot be reached (or went away)
        Server, // a statement failed
        Unknown,
        Denied, // a statement was not allowed for this role
        Outdated, // the mirror's tables need setting up and this role may not
        Busy, // a lock was not granted within lock_timeout
    };
    Kind kind = Kind::Unknown;
    QByteArray sqlState;
    QString message;
    QString server; // the host as the service names it; empty for a local socket

    SyncError toSyncError() const;
};

// One libpq connection, opened through a connection service so that host,
// database, user, password file and TLS settings all stay libpq's business.
// Used by one thread at a time; cancel() may be called from any thread.
class PgConnection final
{
public:
    struct Options {
        QString service = QStringLiteral("quillery");
        int connectTimeoutMs = 10'000;
        const std::atomic_bool *abort = nullptr; // stops a connection attempt early
    };

    using Result = std::unique_ptr<pg_result, void (*)(pg_result *)>;
    using Params = QList<std::optional<QByteArray>>; // text values; none is NULL

    static std::unique_ptr<PgConnection> open(const Options &options, PgFailure *failure);

    // Whether libpq can use `service` at all (it is defined, its file reads,
    // its settings are valid), without waiting for the server.
    static bool isUsable(const QString &service, QString *why = nullptr);

    ~PgConnection();
    PgConnection(const PgConnection &) = delete;
    PgConnection &operator=(const PgConnection &) = delete;

    pg_conn *handle() const { return m_conn; }
    bool isOk() const;
    // The host as the service names it; empty for a local socket.
    QString server() const { return m_server; }

    // Runs `sql` (several statements when there are no parameters). Null, with
    // `failure` filled, unless the server answered with success.
    Result exec(const QByteArray &sql, PgFailure *failure);
    Result exec(const QByteArray &sql, const Params &params, PgFailure *failure);
    // Runs a `COPY … FROM STDIN` statement and sends `data` (in COPY text form).
    bool copyIn(const QByteArray &sql, const QByteArray &data, PgFailure *failure);

    // Asks the server to stop the statement now running (any thread).
    void cancel();

private:
    explicit PgConnection(pg_conn *conn);
    Result check(pg_result *result, PgFailure *failure);

    pg_conn *m_conn;
    pg_cancel *m_cancel = nullptr;
    QString m_server;
};

// Removes passwords from a text that may quote connection settings.
QString redactSecrets(QString text);
// `name` as an SQL identifier, quoted.
QByteArray quoteIdentifier(const QString &name);

} // namespace quillery
