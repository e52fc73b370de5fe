#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace quillery::test {

// The throwaway PostgreSQL cluster of these tests (started by CTest, or by
// the test program itself when run by hand), with the roles the tests use:
//   alice, bob  — users with passwords in the password file
//   carol       — a user whose password nobody has
//   mallory     — a user the password file gives a wrong password
// PGPASSFILE points at the password file for the whole test program.
class PgCluster
{
public:
    static PgCluster &instance();

    int port() const { return m_port; }

    // Runs `sql` as the superuser in `database`; a failure fails the test.
    void admin(const QString &database, const QByteArray &sql) const;
    // The first value `sql` returns, run as the superuser (who sees every row).
    QString adminValue(const QString &database, const QByteArray &sql) const;
    // A new empty database owned by `owner`.
    QString freshDatabase(const QString &owner) const;
    // Runs a shell script as an administrator would, where "sudo -u postgres"
    // reaches this cluster's superuser; a failure fails the test.
    bool shell(const QByteArray &script) const;
    // The database "quillery" made by the README's shared-database recipe,
    // run as written (once per cluster).
    QString sharedDatabase() const;
    // The README's shell block that follows `heading`.
    static QByteArray readmeBlock(const QByteArray &heading);

    // Stops the server at once, as a crash would, and starts it again.
    void halt() const;
    void resume() const;

    // Writes a connection service file with one section per (name, user,
    // database) entry and points PGSERVICEFILE at it.
    struct Service {
        QString name;
        QString user;
        QString database;
        int port = 0; // 0: the cluster's
    };
    QString useServices(const QList<Service> &services) const;

    // The script that makes, stops and removes the cluster.
    static QString script();

private:
    PgCluster();
    void runScript(const char *command) const;

    QString m_state;
    QString m_socket;
    QString m_admin;
    int m_port = 0;
    bool m_ownCluster = false;
    std::unique_ptr<QTemporaryDir> m_files;
    friend class PgClusterEnvironment;
};

} // namespace quillery::test
