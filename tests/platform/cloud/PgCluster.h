#pragma once

#include "platform/ThrowawayServer.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace quillery::test {

// The throwaway PostgreSQL cluster of these tests (started by CTest, or by
// the test program itself when run by hand), with the roles the tests use:
//   alice, bob  — users with passwords in the password file
//   carol       — a user whose password nobody has
//   mallory     — a user the password file gives a wrong password
// PGPASSFILE points at the password file for the whole test program.
class PgCluster final : public ThrowawayServer
{
public:
    static PgCluster &instance();

    // Runs `sql` as the superuser in `database`; a failure fails the test.
    void admin(const QString &database, const QByteArray &sql) const;
    // The first value `sql` returns, run as the superuser (who sees every row).
    QString adminValue(const QString &database, const QByteArray &sql) const;
    // A new empty database owned by `owner`.
    QString freshDatabase(const QString &owner) const;
    // Runs a shell script as an administrator would, where "sudo -u postgres"
    // reaches this cluster's superuser, and hands over what it printed; a
    // failure fails the test.
    bool shell(const QByteArray &script, QByteArray *output = nullptr) const;
    // The database "quillery" made by the README's shared-database recipe,
    // run as written (once per cluster).
    QString sharedDatabase() const;
    // The README's shell block that follows `heading`.
    static QByteArray readmeBlock(const QByteArray &heading);

    // Writes a connection service file with one section per (name, user,
    // database) entry and points PGSERVICEFILE at it.
    struct Service {
        QString name;
        QString user;
        QString database;
        int port = 0; // 0: the cluster's
    };
    void useServices(const QList<Service> &services) const;

private:
    PgCluster();

    QString m_socket;
    QString m_admin;
    int m_port = 0;
    QTemporaryDir m_files;
};

} // namespace quillery::test
