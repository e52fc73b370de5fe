// Several users on one server: each one's mirror is their own. The shared set-up
// is the one the README gives administrators, run as written there.
#include "MirrorDevice.h"
#include "PgCluster.h"

#include "platform/cloud/PgConnection.h"
#include "platform/cloud/PgMirrorSchema.h"

#include <QFile>
#include <gtest/gtest.h>

#include <libpq-fe.h>

using namespace quillery;
using namespace quillery::test;

namespace {

// The administrator's statements from the README's shared-database recipe.
QByteArray readmeSharedSetup()
{
    QFile readme(QStringLiteral(QUILLERY_SOURCE_DIR "/README.md"));
    if (!readme.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    const QByteArray text = readme.readAll();
    const qsizetype section = text.indexOf("### One shared database");
    const qsizetype start = text.indexOf("<<'SQL'\n", section);
    const qsizetype end = text.indexOf("\nSQL\n", start);
    if (section < 0 || start < 0 || end < 0)
        return {};
    return text.mid(start + 8, end - start - 8);
}

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

int count(PgConnection &connection, const QByteArray &sql)
{
    PgFailure failure;
    const auto result = connection.exec(sql, &failure);
    EXPECT_TRUE(result) << failure.message.toStdString();
    return result ? QByteArray(PQgetvalue(result.get(), 0, 0)).toInt() : -1;
}

} // namespace

TEST(MirrorIsolation, theReadmeSetUpIsTheOneQuilleryMakesItself)
{
    const QByteArray setup = readmeSharedSetup();
    ASSERT_FALSE(setup.isEmpty()) << "the README has the shared-database recipe";
    EXPECT_TRUE(setup.contains(PgMirrorSchema::setupScript()))
        << "the README's statements are the ones in PgMirrorSchema::setupScript()";
}

TEST(MirrorIsolation, oneUserCannotReadOrChangeAnothersBookOnASharedDatabase)
{
    PgCluster &cluster = PgCluster::instance();
    const QString database = cluster.freshDatabase(QStringLiteral("quillery_owner"));
    cluster.admin(database, readmeSharedSetup());
    cluster.useServices({ { QStringLiteral("quillery"), QStringLiteral("alice"), database },
        { QStringLiteral("quillery-bob"), QStringLiteral("bob"), database } });

    MirrorDevice alice, alicesLaptop, bob(QStringLiteral("quillery-bob"));
    auto *page = new Page(1, 0);
    page->setTitle(QStringLiteral("Alice's secrets"));
    alice.store().insert(page);
    TaskItem *task = addTask(QStringLiteral("alice only"), 0, page, alice.store());
    auto *bobsPage = new Page(1, 1);
    bobsPage->setTitle(QStringLiteral("Bob's page"));
    bob.store().insert(bobsPage);
    alice.start();
    alicesLaptop.start();
    bob.start();
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
    EXPECT_EQ(count(*asBob, "SELECT count(*) FROM page"), 1) << "only his own page";
    EXPECT_EQ(count(*asBob, "SELECT count(*) FROM task"), 0);
    const QByteArray id = task->id().toByteArray(QUuid::WithoutBraces);
    PgFailure failure;
    const auto update = asBob->exec("UPDATE task SET text = 'owned' WHERE id = $1", { id }, &failure);
    ASSERT_TRUE(update);
    EXPECT_STREQ(PQcmdTuples(update.get()), "0") << "her rows are not there for him to change";
    EXPECT_FALSE(asBob->exec("INSERT INTO task (owner, id, modified, device, text) "
                             "VALUES ('alice', gen_random_uuid(), now(), gen_random_uuid(), 'planted')",
        &failure))
        << "he cannot write rows in her name";
    EXPECT_FALSE(asBob->exec("DELETE FROM task", &failure)) << "nobody deletes rows; deletions are tombstones";
    EXPECT_FALSE(asBob->exec("ALTER TABLE task DISABLE ROW LEVEL SECURITY", &failure));

    EXPECT_EQ(cluster.adminValue(database, "SELECT text FROM \"iCloud.app.quillery.Quillery\".task"),
        QStringLiteral("alice only"));
    EXPECT_EQ(cluster.adminValue(database, "SELECT count(*) FROM \"iCloud.app.quillery.Quillery\".task"),
        QStringLiteral("1"));
}
