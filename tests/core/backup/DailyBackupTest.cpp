// Daily copies of a real book over simulated days: which ones stay, that a
// copy taken while the book is being written is whole, and that a disk that
// cannot take the copy leaves the book and the older copies alone.
#include "core/backup/DailyBackup.h"
#include "core/backup/BackupRotation.h"
#include "core/backup/BookCopy.h"
#include "core/model/Page.h"
#include "core/model/TaskItem.h"
#include "support/FileDigest.h"
#include "support/FullDisk.h"
#include "support/TempStore.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <gtest/gtest.h>

using namespace quillery;
using namespace quillery::test;

namespace {

// Noon in New York on `date`.
QDateTime noon(const QDate &date)
{
    return QDateTime(date, QTime(17, 0), Qt::UTC);
}

bool waitForCopy(DailyBackup &backup)
{
    return QTest::qWaitFor([&] { return !backup.isCopying(); }, 20'000);
}

Page *pageOf(Store &store, int tasks, const QString &title)
{
    auto *page = new Page(store.pages().size(), 0);
    store.insert(page);
    page->setTitle(title);
    for (int i = 0; i < tasks; ++i)
        addTask(QStringLiteral("%1 task %2").arg(title).arg(i), 0, page, store);
    return page;
}

} // namespace

TEST(DailyBackup, overSixtyDaysKeepsTheLastWeekDailyAndFourOlderWeeksOneEach)
{
    TempStore store;
    pageOf(*store, 3, QStringLiteral("Home"));
    ManualClock clock(noon(QDate(2027, 1, 1)));
    QTemporaryDir folder;
    DailyBackup backup(*store, folder.path(), CalendarContext(clock, "America/New_York", "en_US"));
    backup.start();
    for (int day = 0; day < 60; ++day) {
        if (day > 0)
            clock.set(noon(QDate(2027, 1, 1).addDays(day)));
        ASSERT_TRUE(waitForCopy(backup));
        clock.advance(3 * 3600 * 1000); // a second look the same day copies nothing more
        EXPECT_FALSE(backup.isCopying());
    }
    EXPECT_TRUE(backup.text().isEmpty());

    const QList<QDate> kept = DailyBackup::copies(folder.path());
    const QDate last = QDate(2027, 1, 1).addDays(59); // Monday 1 March
    ASSERT_EQ(kept.size(), 11);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(kept[i], last.addDays(-i));
    // Then the Sundays of the four weeks before (the week of 22 February is
    // partly in the daily copies already).
    EXPECT_EQ(
        kept.mid(7), (QList<QDate> { QDate(2027, 2, 21), QDate(2027, 2, 14), QDate(2027, 2, 7), QDate(2027, 1, 31) }));
    for (const QDate &date : kept)
        EXPECT_TRUE(BookCopy::check(QDir(folder.path()).filePath(DailyBackup::fileName(date))));
}

TEST(DailyBackup, aCopyTakenWhileTheBookIsWrittenHoldsWholeSavesOnly)
{
    TempStore store;
    // Attachments live in the book: the copy carries them.
    TaskItem *task = addTask(QStringLiteral("Photo"), 0, pageOf(*store, 0, QStringLiteral("Trip")), *store);
    auto *photo = new Attachment(QStringLiteral("beach.jpg"), QStringLiteral("public.jpeg"), QByteArray(200'000, 'x'));
    photo->setTask(task);
    store->insert(photo);
    for (int i = 0; i < 200; ++i)
        pageOf(*store, 20, QStringLiteral("Bulk %1").arg(i));
    ASSERT_TRUE(store->save());

    ManualClock clock(noon(QDate(2027, 3, 3)));
    QTemporaryDir folder;
    DailyBackup backup(*store, folder.path(), CalendarContext(clock, "America/New_York", "en_US"));
    backup.checkNow();
    ASSERT_TRUE(backup.isCopying());
    // Each save adds a page of exactly ten tasks, while the copy runs.
    int saves = 0;
    while (backup.isCopying() || saves < 3) {
        pageOf(*store, 10, QStringLiteral("During %1").arg(saves++));
        ASSERT_TRUE(store->save());
        QCoreApplication::processEvents();
    }
    ASSERT_TRUE(waitForCopy(backup));
    ASSERT_TRUE(backup.text().isEmpty()) << backup.text().toStdString();

    // Opened from a scratch copy, so the kept file stays as it was written.
    const QString scratch = store.dir() + QStringLiteral("/restored.sqlite");
    ASSERT_TRUE(QFile::copy(QDir(folder.path()).filePath(DailyBackup::fileName(QDate(2027, 3, 3))), scratch));
    StoreOpenError error;
    std::unique_ptr<Store> copy = Store::open(scratch, &error);
    ASSERT_TRUE(copy) << error.message().toStdString();
    EXPECT_GE(copy->pages().size(), 201);
    for (Page *page : copy->pages()) {
        if (page->title().startsWith(QLatin1String("During"))) {
            EXPECT_EQ(page->sortedTasks().size(), 10) << page->title().toStdString();
        }
    }
    ASSERT_EQ(copy->attachments().size(), 1);
    EXPECT_EQ(copy->loadAttachmentData(copy->attachments().first())->size(), 200'000);
}

TEST(DailyBackup, aFullDiskLeavesTheBookAndOlderCopiesAndIsTriedAgainTheNextDay)
{
    TempStore store;
    pageOf(*store, 10, QStringLiteral("Short")); // a dozen copies fit the 1 MiB disk
    ASSERT_TRUE(store->save());
    FullDisk disk;
    // Twelve earlier copies: more than are kept, so a successful copy lets
    // some go.
    for (int day = 1; day <= 12; ++day) {
        const BookCopy::Result made
            = BookCopy::copy(store.path(), disk.filePath(DailyBackup::fileName(QDate(2027, 4, day))));
        ASSERT_TRUE(made.ok) << made.error.toStdString() << " on " << disk.kind();
    }
    const QByteArray book = quillery::test::fileDigest(store.path());
    disk.fill();

    ManualClock clock(noon(QDate(2027, 4, 13)));
    DailyBackup backup(*store, disk.path(), CalendarContext(clock, "America/New_York", "en_US"));
    QList<bool> outcomes;
    QObject::connect(&backup, &DailyBackup::finished, [&](bool ok) { outcomes << ok; });
    backup.start();
    ASSERT_TRUE(waitForCopy(backup));
    EXPECT_EQ(outcomes, QList<bool> { false }) << disk.kind();
    EXPECT_TRUE(backup.text().contains(QStringLiteral("the disk is full"))) << backup.text().toStdString();
    EXPECT_EQ(DailyBackup::copies(disk.path()).size(), 12);
    EXPECT_EQ(QDir(disk.path()).entryList({ QStringLiteral("*.part") }, QDir::Files), QStringList());
    EXPECT_EQ(quillery::test::fileDigest(store.path()), book);

    // Later the same day nothing is tried; the next day, with room, it works.
    disk.free();
    clock.advance(3600 * 1000);
    EXPECT_FALSE(backup.isCopying());
    clock.set(noon(QDate(2027, 4, 14)));
    ASSERT_TRUE(waitForCopy(backup));
    EXPECT_EQ(outcomes, (QList<bool> { false, true }));
    EXPECT_TRUE(backup.text().isEmpty());
    EXPECT_EQ(DailyBackup::copies(disk.path()).size(), BackupRotation::Daily + 1);
}
