// Several users on one database: each one's mirror is their own, and nobody
// can stall or overhear another. The shared database is the one the README's
// recipe makes, run as written there.
#include "MirrorDevice.h"
#include "PgCluster.h"

#include "platform/cloud/PgConnection.h"
#include "platform/cloud/PgMirrorSchema.h"

#include <QCryptographicHash>
#include <QTest>
#include <gtest/gtest.h>

#include <libpq-fe.h>

using namespace quillery;
using namespace quillery::test;

namespace {

// A connection as one of the users, for trying what Quillery never would.
std::unique_ptr<PgConnection> connectAs(const QString &service)
{
    PgConnection::Options options;
    options.service = service;
    PgFailure failure;
    auto connection = PgConnection::open(options, &failure);
    EXPECT_TRUE(connection) << failure.message.toStdString();
    if (connection) {
        EXPECT_TRUE(PgMirrorSchema::use(*connection, &failure)) << failure.message.toStdString();
    }
    return connection;
}

qint64 number(PgConnection &connection, const QByteArray &sql)
{
    PgFailure failure;
    const auto result = connection.exec(sql, &failure);
    EXPECT_TRUE(result) << failure.message.toStdString();
    return result ? QByteArray(PQgetvalue(result.get(), 0, 0)).toLongLong() : -1;
}

bool runs(PgConnection &connection, const QByteArray &sql)
{
    PgFailure failure;
    return bool(connection.exec(sql, &failure));
}

class MirrorIsolation : public ::testing::Test
{
protected:
    void SetUp() override
    {
        database = cluster.sharedDatabase();
        cluster.useServices({ { QStringLiteral("quillery"), QStringLiteral("alice"), database },
            { QStringLiteral("quillery-bob"), QStringLiteral("bob"), database } });
    }

    PgCluster &cluster = PgCluster::instance();
    QString database;
};

} // namespace

TEST_F(MirrorIsolation, oneUserCannotReadOrChangeAnothersBook)
{
    EXPECT_TRUE(PgCluster::readmeBlock("### One shared database").contains(PgMirrorSchema::tablesScript()))
        << "the README's recipe makes the tables Quillery makes itself; after a change to a record's fields its "
           "table statements read:\n"
        << PgMirrorSchema::tablesScript().toStdString();

    MirrorDevice alice, alicesLaptop, bob(QStringLiteral("quillery-bob"));
    TaskItem *task = addTask(
        QStringLiteral("alice only"), 0, addPage(alice.store(), QStringLiteral("Alice's secrets")), alice.store());
    addPage(bob.store(), QStringLiteral("Bob's page"));
    bob.start(); // mirroring while Alice's computers do
    ASSERT_TRUE(converge({ &alice, &alicesLaptop }));
    ASSERT_TRUE(converge({ &bob }));
    EXPECT_EQ(alicesLaptop.store().pages().size(), 1) << "the same user's other computer gets the book";
    ASSERT_EQ(bob.store().pages().size(), 1);
    EXPECT_EQ(bob.store().pages().first()->title(), QStringLiteral("Bob's page"));
    EXPECT_TRUE(bob.store().tasks().isEmpty());
    EXPECT_EQ(alice.store().pages().size(), 1) << "Bob's page stays out of Alice's book";

    // Bob trying by hand, with his own credentials.
    const std::unique_ptr<PgConnection> asBob = connectAs(QStringLiteral("quillery-bob"));
    ASSERT_TRUE(asBob);
    EXPECT_EQ(number(*asBob, "SELECT count(*) FROM page"), 1) << "only his own page";
    EXPECT_EQ(number(*asBob, "SELECT count(*) FROM task"), 0);
    EXPECT_EQ(number(*asBob, "SELECT count(*) FROM account"), 1) << "only his own counter and channel";
    const QByteArray id = task->id().toByteArray(QUuid::WithoutBraces);
    PgFailure failure;
    const auto update = asBob->exec("UPDATE task SET text = 'owned' WHERE id = $1", { id }, &failure);
    ASSERT_TRUE(update);
    EXPECT_STREQ(PQcmdTuples(update.get()), "0") << "her rows are not there for him to change";
    EXPECT_FALSE(runs(*asBob,
        "INSERT INTO task (owner, id, change, modified, device, text) "
        "VALUES ('alice', gen_random_uuid(), 1, now(), gen_random_uuid(), 'planted')"))
        << "he cannot write rows in her name";
    EXPECT_FALSE(runs(*asBob, "DELETE FROM task")) << "nobody deletes rows; deletions are tombstones";
    EXPECT_FALSE(runs(*asBob, "ALTER TABLE task DISABLE ROW LEVEL SECURITY"));

    EXPECT_EQ(cluster.adminValue(database, "SELECT text FROM \"iCloud.app.quillery.Quillery\".task"),
        QStringLiteral("alice only"));
}

TEST_F(MirrorIsolation, oneUserCannotStallOrOverhearAnother)
{
    MirrorDevice alice, alicesLaptop, bob(QStringLiteral("quillery-bob"));
    addTask(QStringLiteral("bob's"), 0, nullptr, bob.store());
    bob.start();
    ASSERT_TRUE(converge({ &alice, &alicesLaptop }));
    ASSERT_TRUE(converge({ &bob }));

    // Bob holds every lock he can take and listens where he might hear her;
    // a table-wide lock that would keep everyone waiting is not his to take.
    const std::unique_ptr<PgConnection> asBob = connectAs(QStringLiteral("quillery-bob"));
    const std::unique_ptr<PgConnection> bobAgain = connectAs(QStringLiteral("quillery-bob"));
    ASSERT_TRUE(asBob && bobAgain);
    for (const char *table : { "account", "page", "task", "attachment" }) {
        ASSERT_TRUE(runs(*bobAgain, "BEGIN"));
        EXPECT_FALSE(runs(*bobAgain, QByteArray("LOCK TABLE ") + table + " IN SHARE MODE"))
            << "no table-wide lock that would keep others waiting: " << table;
        ASSERT_TRUE(runs(*bobAgain, "ROLLBACK"));
    }
    ASSERT_TRUE(
        runs(*asBob, "LISTEN \"quillery_" + QCryptographicHash::hash("alice", QCryptographicHash::Md5).toHex() + "\""));
    ASSERT_TRUE(runs(*asBob, "BEGIN"));
    ASSERT_TRUE(
        runs(*asBob, "SELECT pg_advisory_xact_lock(hashtext('iCloud.app.quillery.Quillery'), hashtext('alice'))"));
    ASSERT_TRUE(runs(*asBob, "SELECT pg_advisory_xact_lock(hashtext('iCloud.app.quillery.Quillery'))"));
    ASSERT_TRUE(runs(*asBob, "SELECT FROM account FOR UPDATE"));
    ASSERT_TRUE(runs(*asBob, "LOCK TABLE account, page, task, attachment IN ROW EXCLUSIVE MODE"));

    const qint64 bobsBefore = number(*bobAgain, "SELECT change FROM account");
    for (int i = 0; i < 20; ++i)
        addTask(QStringLiteral("alice %1").arg(i), 0, nullptr, alice.store());
    EXPECT_TRUE(converge({ &alice, &alicesLaptop }, 8'000)) << "her changes reach her laptop while Bob holds on";
    ASSERT_TRUE(runs(*asBob, "ROLLBACK"));
    ASSERT_EQ(PQconsumeInput(asBob->handle()), 1);
    PGnotify *heard = PQnotifies(asBob->handle());
    EXPECT_EQ(heard, nullptr) << "Bob heard of Alice's changes on " << (heard ? heard->relname : "");
    PQfreemem(heard);
    bob.store().tasks().first()->setText(QStringLiteral("bob's, edited"));
    ASSERT_TRUE(converge({ &bob }));
    EXPECT_EQ(number(*bobAgain, "SELECT change FROM account"), bobsBefore + 1)
        << "Bob's change numbers do not count hers";

    // A session of Alice's own that holds her row (a stuck computer of hers)
    // keeps her waiting only as long as the lock timeout.
    cluster.admin(database, "ALTER ROLE alice IN DATABASE quillery SET lock_timeout = '300ms'");
    MirrorDevice impatient;
    ASSERT_TRUE(converge({ &impatient, &alicesLaptop }));
    const std::unique_ptr<PgConnection> stuck = connectAs(QStringLiteral("quillery"));
    ASSERT_TRUE(runs(*stuck, "BEGIN") && runs(*stuck, "SELECT FROM account FOR UPDATE"));
    addTask(QStringLiteral("waits"), 0, nullptr, impatient.store());
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            const QList<SyncEvent> &events = impatient.events();
            return !events.isEmpty() && events.last().error && events.last().error->code == MirrorErrors::Busy;
        },
        5'000))
        << "the export gives up waiting and says the server is busy";
    ASSERT_TRUE(runs(*stuck, "ROLLBACK"));
    EXPECT_TRUE(converge({ &impatient, &alicesLaptop }));
    cluster.admin(database, "ALTER ROLE alice IN DATABASE quillery RESET lock_timeout");
}
