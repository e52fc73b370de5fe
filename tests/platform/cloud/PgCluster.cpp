#include "PgCluster.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <gtest/gtest.h>

#include <libpq-fe.h>

namespace quillery::test {

// Stops the cluster the test program started itself.
namespace {
PgCluster *made = nullptr;
}

class PgClusterEnvironment final : public ::testing::Environment
{
public:
    void TearDown() override
    {
        if (made && made->m_ownCluster)
            made->runScript("stop");
    }
};

namespace {
[[maybe_unused]] ::testing::Environment *const registered
    = ::testing::AddGlobalTestEnvironment(new PgClusterEnvironment);
}

QString PgCluster::script()
{
    return QStringLiteral(QUILLERY_PG_SCRIPT);
}

PgCluster &PgCluster::instance()
{
    static PgCluster cluster;
    made = &cluster;
    return cluster;
}

PgCluster::PgCluster()
    : m_files(std::make_unique<QTemporaryDir>())
{
    m_state = qEnvironmentVariable("QUILLERY_PG_STATE");
    if (m_state.isEmpty()) {
        m_state = m_files->filePath(QStringLiteral("cluster.state"));
        m_ownCluster = true;
        runScript("start");
        // Child processes of the tests find the same cluster.
        qputenv("QUILLERY_PG_STATE", m_state.toLocal8Bit());
    }
    // Lines of NAME=value, as an INI file without sections reads them.
    const QSettings state(m_state, QSettings::IniFormat);
    m_port = state.value(QStringLiteral("PGC_PORT")).toInt();
    m_socket = state.value(QStringLiteral("PGC_SOCKET")).toString();
    m_admin = state.value(QStringLiteral("PGC_ADMIN")).toString();
    if (m_port == 0)
        ADD_FAILURE() << "no cluster state in " << m_state.toStdString();

    QFile passwords(m_files->filePath(QStringLiteral("pgpass")));
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

void PgCluster::runScript(const char *command) const
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(script(), { QString::fromLatin1(command), m_state });
    if (!process.waitForFinished(120'000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        ADD_FAILURE() << "pg-cluster.sh " << command << " failed";
}

void PgCluster::halt() const
{
    runScript("halt");
}

void PgCluster::resume() const
{
    runScript("resume");
}

QString PgCluster::adminValue(const QString &database, const QByteArray &sql) const
{
    const QByteArray host = m_socket.toUtf8(), port = QByteArray::number(m_port), user = m_admin.toUtf8(),
                     db = database.toUtf8();
    const char *keys[] = { "host", "port", "user", "dbname", nullptr };
    const char *values[] = { host.constData(), port.constData(), user.constData(), db.constData(), nullptr };
    PGconn *conn = PQconnectdbParams(keys, values, 0);
    PQsetNoticeProcessor(
        conn, [](void *, const char *) {}, nullptr);
    QString value;
    if (PQstatus(conn) != CONNECTION_OK) {
        ADD_FAILURE() << "admin connection: " << PQerrorMessage(conn);
    } else {
        PGresult *result = PQexec(conn, sql.constData());
        const ExecStatusType status = PQresultStatus(result);
        if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
            ADD_FAILURE() << "admin statement failed: " << PQresultErrorMessage(result) << "\n" << sql.constData();
        else if (PQntuples(result) > 0)
            value = QString::fromUtf8(PQgetvalue(result, 0, 0));
        PQclear(result);
    }
    PQfinish(conn);
    return value;
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

bool PgCluster::shell(const QByteArray &script) const
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PGHOST"), m_socket);
    environment.insert(QStringLiteral("PGPORT"), QString::number(m_port));
    environment.insert(QStringLiteral("PGUSER"), m_admin);
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral("bash"), { QStringLiteral("-e") });
    process.write("bin=${QUILLERY_PG_BIN:-$(ls -d /usr/lib/postgresql/*/bin | sort -V | tail -n 1)}\n"
                  "PATH=$bin:$PATH\n"
                  "sudo() { if [ \"$1\" = -u ]; then shift 2; fi; \"$@\"; }\n");
    process.write(script);
    process.closeWriteChannel();
    const bool ok
        = process.waitForFinished(120'000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (!ok)
        ADD_FAILURE() << "the script failed:\n" << process.readAll().toStdString() << "\n" << script.toStdString();
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

QString PgCluster::useServices(const QList<Service> &services) const
{
    static int counter = 0;
    QString path = m_files->filePath(QStringLiteral("pg_service_%1.conf").arg(++counter));
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
    return path;
}

} // namespace quillery::test
