// A server set up by the earlier version, where everybody's changes were
// numbered from one shared sequence, is brought up to date in place, and the
// books already mirrored there go on converging.
#include "MirrorDevice.h"
#include "PgCluster.h"

#include <QFile>
#include <QTest>
#include <gtest/gtest.h>

using namespace quillery;
using namespace quillery::test;

namespace {

// A database as the earlier version left it, holding a page and a task of
// alice's numbered 501 and 502 (other users had moved the sequence on).
// `shared`: the administrator's set-up; else the one alice's computer ran.
QString earlierMirror(bool shared)
{
    PgCluster &cluster = PgCluster::instance();
    QFile file(QStringLiteral(QUILLERY_SOURCE_DIR "/tests/platform/cloud/earlier-shared-setup.sql"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray setup = file.readAll();
    if (!shared) {
        const qsizetype start = setup.indexOf("CREATE SCHEMA IF NOT EXISTS");
        setup = "SET ROLE alice; BEGIN;\n" + setup.mid(start, setup.indexOf("$$;\n", start) + 4 - start) + "COMMIT;";
    }
    QString database = cluster.freshDatabase(shared ? QStringLiteral("quillery_owner") : QStringLiteral("alice"));
    cluster.admin(database, setup);
    cluster.admin(database,
        "SET search_path TO \"iCloud.app.quillery.Quillery\"; SELECT setval('change', 500); SET ROLE alice;"
        "INSERT INTO page (id, modified, device, title, created) VALUES "
        "('11111111-1111-4111-8111-111111111111', now(), gen_random_uuid(), 'Written before', now());"
        "INSERT INTO task (id, modified, device, text, page_id, created) VALUES "
        "(gen_random_uuid(), now(), gen_random_uuid(), 'kept', '11111111-1111-4111-8111-111111111111', now());");
    cluster.useServices({ { QStringLiteral("quillery"), QStringLiteral("alice"), database } });
    return database;
}

} // namespace

TEST(MirrorUpgrade, aUsersOwnMirrorIsUpgradedByTheirFirstComputerAndChangeNumbersGoOnFromTheirs)
{
    const QString database = earlierMirror(false);
    MirrorDevice desk, laptop;
    ASSERT_TRUE(converge({ &desk, &laptop }));
    ASSERT_EQ(laptop.store().tasks().size(), 1);
    // The laptop has read up to 502: a change numbered from anything lower
    // would never reach it.
    addTask(QStringLiteral("new"), 0, desk.store().pages().first(), desk.store());
    ASSERT_TRUE(converge({ &desk, &laptop }));
    EXPECT_EQ(laptop.store().tasks().size(), 2);
    EXPECT_EQ(
        PgCluster::instance().adminValue(database, "SELECT to_regclass('\"iCloud.app.quillery.Quillery\".change')"),
        QString())
        << "the shared sequence is gone";
}

TEST(MirrorUpgrade, aSharedMirrorWaitsForItsAdministratorAndThenConvergesWithNothingLost)
{
    PgCluster &cluster = PgCluster::instance();
    cluster.sharedDatabase(); // the recipe's roles
    const QString database = earlierMirror(true);
    MirrorDevice desk, laptop;
    addTask(QStringLiteral("written while waiting"), 0, nullptr, desk.store());
    desk.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !desk.events().isEmpty() && desk.events().last().end; }, 10'000));
    ASSERT_TRUE(desk.events().last().error);
    EXPECT_EQ(desk.events().last().error->code, MirrorErrors::Outdated) << "a user may not upgrade a shared mirror";

    // The administrator runs the recipe's psql command again, as the README says.
    QByteArray psql = PgCluster::readmeBlock("### One shared database");
    psql = psql.mid(psql.indexOf("sudo -u postgres psql")).replace("-d quillery ", "-d " + database.toUtf8() + ' ');
    ASSERT_TRUE(cluster.shell(psql));
    ASSERT_TRUE(converge({ &desk, &laptop }));
    EXPECT_EQ(laptop.store().tasks().size(), 2);
    EXPECT_EQ(cluster.adminValue(
                  database, "SELECT has_table_privilege('bob', '\"iCloud.app.quillery.Quillery\".task', 'UPDATE')"),
        QStringLiteral("f"))
        << "users may change columns, not lock whole tables";
}
