// A book restored from a copy on one computer reaches the other as ordinary
// changes: what was edited, deleted or added there since the copy ends as
// the copy has it on both, and nothing is left to send.
#include "MirrorDevice.h"
#include "PgCluster.h"

#include "core/backup/BookCopy.h"
#include "core/backup/BookRestore.h"
#include "core/model/Attachment.h"

#include <gtest/gtest.h>

using namespace quillery;
using namespace quillery::test;

TEST(MirrorRestore, theOtherComputerEndsWithTheRestoredBook)
{
    PgCluster &cluster = PgCluster::instance();
    const QString database = cluster.freshDatabase(QStringLiteral("alice"));
    cluster.useServices({ { QStringLiteral("quillery"), QStringLiteral("alice"), database } });
    MirrorDevice a, b;
    a.start();
    b.start();
    ASSERT_TRUE(converge({ &a, &b }));

    auto *home = new Page(0, 2);
    a.store().insert(home);
    home->setTitle(QStringLiteral("Home"));
    TaskItem *milk = addTask(QStringLiteral("Milk"), 0, home, a.store());
    addTask(QStringLiteral("Bread"), 1, home, a.store());
    auto *photo = new Attachment(QStringLiteral("list.png"), QStringLiteral("public.png"), QByteArray("bytes"));
    a.store().insert(photo);
    photo->setTask(milk);
    ASSERT_TRUE(converge({ &a, &b }));
    ASSERT_TRUE(a.store().save());
    QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("copy.sqlite"));
    ASSERT_TRUE(BookCopy::copy(a.bookPath(), copy).ok);
    const QString then = bookText(a.store());

    // Since the copy, B renamed the page and deleted a task with its photo,
    // A added a task; both saw all of it.
    b.store().page(home->id())->setTitle(QStringLiteral("Flat"));
    b.store().remove(b.store().task(milk->id()));
    addTask(QStringLiteral("Eggs"), 0, home, a.store());
    ASSERT_TRUE(converge({ &a, &b }));
    ASSERT_NE(bookText(b.store()), then);

    BookRestore restore(a.store());
    QString error;
    ASSERT_TRUE(restore.load(copy, &error)) << error.toStdString();
    ASSERT_TRUE(restore.keepBook(dir.filePath(QStringLiteral("backups")), QDateTime::currentDateTime(), &error))
        << error.toStdString();
    restore.apply(nullptr);
    ASSERT_TRUE(converge({ &a, &b })) << bookText(a.store()).toStdString() << "\n--\n"
                                      << bookText(b.store()).toStdString();
    EXPECT_EQ(bookText(a.store()), then);
    EXPECT_EQ(bookText(b.store()), then) << "the deleted task and its photo came back on B too";
    b.restart();
    EXPECT_EQ(bookText(b.store()), then);
}
