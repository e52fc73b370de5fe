// A server set up by an earlier version, where every owner's changes were
// numbered from one shared sequence: it is brought up to date in place, and
// the books already mirrored there go on converging.
#include "MirrorDevice.h"
#include "PgCluster.h"

#include "platform/cloud/PgConnection.h"
#include "platform/cloud/PgMirrorSchema.h"

#include <QFile>
#include <QTest>
#include <gtest/gtest.h>

using namespace quillery;
using namespace quillery::test;

namespace {

// The administrator's statements of the earlier shared set-up.
QByteArray earlierSharedSetup()
{
    QFile file(QStringLiteral(QUILLERY_SOURCE_DIR "/tests/platform/cloud/earlier-shared-setup.sql"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What the earlier version ran by itself in a database its user owns.
QByteArray earlierOwnSetup()
{
    const QByteArray all = earlierSharedSetup();
    const qsizetype start = all.indexOf("CREATE SCHEMA IF NOT EXISTS");
    const qsizetype end = all.indexOf("$$;\n", start);
    return "BEGIN;\n" + all.mid(start, end + 4 - start) + "COMMIT;\n";
}

// Rows as the earlier version wrote them (numbered by the shared sequence,
// which other users had moved far on), as `user`.
void writeEarlierRows(PgCluster &cluster, const QString &database, const char *user)
{
    cluster.admin(database,
        QByteArray("SET search_path TO \"iCloud.app.quillery.Quillery\";"
                   "SELECT setval('change', 500);"
                   "SET ROLE ")
            + user
            + ";INSERT INTO page (id, modified, device, title, created) VALUES "
              "('11111111-1111-4111-8111-111111111111', now(), gen_random_uuid(), 'Written before', now());"
              "INSERT INTO task (id, modified, device, text, page_id, created) VALUES "
              "(gen_random_uuid(), now(), gen_random_uuid(), 'kept', '11111111-1111-4111-8111-111111111111', now());"
              "RESET ROLE");
}

QString tasksOf(const MirrorDevice &device)
{
    QStringList texts;
    for (const TaskItem *task : device.store().tasks())
        texts << task->text();
    texts.sort();
    return texts.join(u',');
}

} // namespace

TEST(MirrorUpgrade, aUsersOwnMirrorIsUpgradedByTheirFirstComputerAndTheirBooksGoOnConverging)
{
    PgCluster &cluster = PgCluster::instance();
    const QString database = cluster.freshDatabase(QStringLiteral("alice"));
    cluster.admin(database, "SET ROLE alice;" + earlierOwnSetup() + "RESET ROLE;");
    writeEarlierRows(cluster, database, "alice");
    cluster.useServices({ { QStringLiteral("quillery"), QStringLiteral("alice"), database } });

    MirrorDevice desk, laptop;
    desk.start();
    laptop.start();
    ASSERT_TRUE(converge({ &desk, &laptop })) << "both read what was there";
    EXPECT_EQ(tasksOf(desk), QStringLiteral("kept"));
    addTask(QStringLiteral("new"), 0, desk.store().pages().first(), desk.store());
    ASSERT_TRUE(converge({ &desk, &laptop }))
        << "a change numbered after the upgrade reaches a computer that read the earlier numbers";
    EXPECT_EQ(tasksOf(laptop), QStringLiteral("kept,new"));

    const QByteArray schema = "\"iCloud.app.quillery.Quillery\"";
    EXPECT_EQ(cluster.adminValue(database, "SELECT to_regclass('" + schema + ".change') IS NULL"), QStringLiteral("t"))
        << "the shared sequence is gone";
    EXPECT_EQ(cluster.adminValue(database, "SELECT change > 502 FROM " + schema + ".task WHERE text = 'new'"),
        QStringLiteral("t"))
        << "her numbers go on from her own highest";
}

TEST(MirrorUpgrade, aSharedMirrorWaitsForItsAdministratorAndThenConvergesWithNothingLost)
{
    PgCluster &cluster = PgCluster::instance();
    cluster.sharedDatabase(); // the roles of the recipe
    const QString database = cluster.freshDatabase(QStringLiteral("quillery_owner"));
    cluster.admin(database, earlierSharedSetup());
    writeEarlierRows(cluster, database, "alice");
    cluster.useServices({ { QStringLiteral("quillery"), QStringLiteral("alice"), database } });

    MirrorDevice desk, laptop;
    addTask(QStringLiteral("written while waiting"), 0, nullptr, desk.store());
    desk.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !desk.events().isEmpty() && desk.events().last().end; }, 10'000));
    ASSERT_TRUE(desk.events().last().error);
    EXPECT_EQ(desk.events().last().error->code, MirrorErrors::Outdated) << "a user may not upgrade a shared mirror";

    // The administrator runs the recipe's psql command again.
    QByteArray psql = PgCluster::readmeBlock("### One shared database");
    psql = psql.mid(psql.indexOf("sudo -u postgres psql"));
    psql.replace("-d quillery ", "-d " + database.toUtf8() + ' ');
    ASSERT_TRUE(cluster.shell(psql));

    laptop.start();
    ASSERT_TRUE(converge({ &desk, &laptop }));
    EXPECT_EQ(tasksOf(laptop), QStringLiteral("kept,written while waiting"));
    EXPECT_EQ(cluster.adminValue(
                  database, "SELECT has_table_privilege('bob', '\"iCloud.app.quillery.Quillery\".task', 'UPDATE')"),
        QStringLiteral("f"))
        << "users may change columns, not lock whole tables";
}
