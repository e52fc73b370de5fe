#include "PgCluster.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace quillery::test {

PgCluster &PgCluster::instance()
{
    static PgCluster cluster;
    return cluster;
}

PgCluster::PgCluster()
    : ThrowawayServer(QStringLiteral(QUILLERY_PG_SCRIPT), "QUILLERY_PG_STATE")
    , m_socket(state("PGC_SOCKET"))
    , m_admin(state("PGC_ADMIN"))
    , m_port(state("PGC_PORT").toInt())
{
    if (m_port == 0)
        ADD_FAILURE() << "no cluster state";

    QFile passwords(m_files.filePath(QStringLiteral("pgpass")));
    if (passwords.open(QIODevice::WriteOnly | QIODevice::Text)) {
        passwords.write(QStringLiteral("127.0.0.1:%1:*:alice:alice-secret\n"
                                       "127.0.0.1:%1:*:bob:bob-secret\n"
                                       "127.0.0.1:%1:*:mallory:not-her-password\n")
                            .arg(m_port)
                            .toUtf8());
        passwords.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    }
    qputenv("PGPASSFILE", passwords.fileName().toLocal8Bit());

    admin(QStringLiteral("postgres"), R"sql(
        DO $$
        BEGIN
            IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = 'alice') THEN
                CREATE ROLE alice LOGIN PASSWORD 'alice-secret';
                CREATE ROLE bob LOGIN PASSWORD 'bob-secret';
                CREATE ROLE carol LOGIN PASSWORD 'carol-secret';
                CREATE ROLE mallory LOGIN PASSWORD 'mallory-secret';
            END IF;
        END
        $$;
    )sql");
}

QString PgCluster::adminValue(const QString &database, const QByteArray &sql) const
{
    QByteArray output;
    shell("psql -X -q -A -t -v ON_ERROR_STOP=1 -d '" + database.toUtf8() + "' <<'SQL'\n" + sql + "\nSQL\n", &output);
    return QString::fromUtf8(output.left(output.indexOf('\n')));
}

void PgCluster::admin(const QString &database, const QByteArray &sql) const
{
    adminValue(database, sql);
}

QString PgCluster::freshDatabase(const QString &owner) const
{
    static int counter = 0;
    QString name = QStringLiteral("book_%1_%2").arg(QCoreApplication::applicationPid()).arg(++counter);
    admin(QStringLiteral("postgres"), QStringLiteral("CREATE DATABASE %1 OWNER %2").arg(name, owner).toUtf8());
    return name;
}

bool PgCluster::shell(const QByteArray &script, QByteArray *output) const
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PGHOST"), m_socket);
    environment.insert(QStringLiteral("PGPORT"), QString::number(m_port));
    environment.insert(QStringLiteral("PGUSER"), m_admin);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral("bash"), { QStringLiteral("-e") });
    process.write("bin=${QUILLERY_PG_BIN:-$(ls -d /usr/lib/postgresql/*/bin | sort -V | tail -n 1)}\n"
                  "PATH=$bin:$PATH\n"
                  "sudo() { if [ \"$1\" = -u ]; then shift 2; fi; \"$@\"; }\n");
    process.write(script);
    process.closeWriteChannel();
    const bool ok
        = process.waitForFinished(120'000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    const QByteArray printed = process.readAllStandardOutput();
    if (!ok) {
        ADD_FAILURE() << "the script failed:\n"
                      << printed.toStdString() << process.readAllStandardError().toStdString() << "\n"
                      << script.toStdString();
    }
    if (output)
        *output = printed;
    return ok;
}

QString PgCluster::sharedDatabase() const
{
    static const bool made = shell(readmeBlock("### One shared database"));
    EXPECT_TRUE(made);
    return QStringLiteral("quillery");
}

QByteArray PgCluster::readmeBlock(const QByteArray &heading)
{
    QFile readme(QStringLiteral(QUILLERY_SOURCE_DIR "/README.md"));
    if (!readme.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    const QByteArray text = readme.readAll();
    const qsizetype section = text.indexOf(heading);
    const qsizetype start = section < 0 ? -1 : text.indexOf("```sh\n", section);
    const qsizetype end = start < 0 ? -1 : text.indexOf("\n```\n", start);
    return end < 0 ? QByteArray() : text.mid(start + 6, end - start - 5);
}

void PgCluster::useServices(const QList<Service> &services) const
{
    static int counter = 0;
    const QString path = m_files.filePath(QStringLiteral("pg_service_%1.conf").arg(++counter));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        ADD_FAILURE() << "cannot write " << path.toStdString();
    for (const Service &service : services) {
        file.write(QStringLiteral("[%1]\nhost=127.0.0.1\nport=%2\ndbname=%3\nuser=%4\n\n")
                       .arg(service.name)
                       .arg(service.port ? service.port : m_port)
                       .arg(service.database, service.user)
                       .toUtf8());
    }
    file.close();
    qputenv("PGSERVICEFILE", path.toLocal8Bit());
}

} // namespace quillery::test
