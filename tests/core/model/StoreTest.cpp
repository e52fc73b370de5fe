// The store against a real SQLite file: what is saved comes back, removals
// cascade, rows written by others load with defaults, and the automatic save
// keeps every change on disk within a second.
#include "core/model/RecordPointer.h"
#include "support/FieldSamples.h"
#include "support/TempStore.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>

#include <QElapsedTimer>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace quillery;
using namespace quillery::test;

namespace {

int rowCount(const QString &path, const char *table)
{
    SQLite::Database db(path.toStdString(), SQLite::OPEN_READONLY);
    SQLite::Statement count(db, std::string("SELECT count(*) FROM ") + table);
    count.executeStep();
    return count.getColumn(0).getInt();
}

} // namespace

TEST(Store, everyFieldOfEveryKindSurvivesSavingAndReopening)
{
    TempStore store;
    auto *page = new Page();
    auto *task = new TaskItem();
    auto *attachment = new Attachment();
    for (Record *record : std::initializer_list<Record *> { page, task, attachment })
        store->insert(record);
    giveSamples(*page);
    giveSamples(*task, page->id());
    giveSamples(*attachment, task->id());
    const QVariantList pageValues = fieldValues(*page), taskValues = fieldValues(*task),
                       attachmentValues = fieldValues(*attachment);

    Store &reopened = store.reopen();
    ASSERT_EQ(reopened.pages().size(), 1);
    ASSERT_EQ(reopened.tasks().size(), 1);
    ASSERT_EQ(reopened.attachments().size(), 1);
    EXPECT_EQ(differingFields(*reopened.pages().first(), pageValues), QStringList());
    EXPECT_EQ(differingFields(*reopened.tasks().first(), taskValues), QStringList());
    EXPECT_EQ(differingFields(*reopened.attachments().first(), attachmentValues), QStringList());
}

TEST(Store, aBookWithoutTheColumnOfANewerFieldOpensAndKeepsIt)
{
    TempStore store;
    auto *page = new Page();
    store->insert(page);
    TaskItem *task = addTask(QStringLiteral("kept"), 0, page, *store);
    task->setNotes(QStringLiteral("goes with the column"));
    store.close();
    {
        SQLite::Database db(store.path().toStdString(), SQLite::OPEN_READWRITE);
        db.exec("ALTER TABLE task DROP COLUMN notes");
    }
    Store &older = store.reopen();
    ASSERT_EQ(older.tasks().size(), 1);
    EXPECT_EQ(older.tasks().first()->text(), QStringLiteral("kept"));
    EXPECT_EQ(older.tasks().first()->notes(), QString());
    older.tasks().first()->setNotes(QStringLiteral("written again"));
    EXPECT_EQ(store.reopen().tasks().first()->notes(), QStringLiteral("written again"));
}

TEST(Store, attachmentBytesLoadOnlyWhenAskedAndCanBeReleased)
{
    TempStore store;
    auto *attachment = new Attachment(QStringLiteral("a.bin"), QStringLiteral("public.data"), QByteArray(1000, 'x'));
    store->insert(attachment);
    auto *empty = new Attachment(QStringLiteral("none"), QStringLiteral("public.data"));
    store->insert(empty);
    Store &reopened = store.reopen();
    ASSERT_EQ(reopened.attachments().size(), 2);
    for (Attachment *a : reopened.attachments()) {
        if (a->name() == QStringLiteral("none")) {
            EXPECT_FALSE(a->hasData());
            EXPECT_FALSE(a->data());
            continue;
        }
        EXPECT_EQ(a->data(), QByteArray(1000, 'x'));
        a->unloadData();
        EXPECT_EQ(a->data(), QByteArray(1000, 'x')) << "read again after release";
        a->setData(QByteArray("new"));
        a->unloadData(); // unsaved bytes are never released
        EXPECT_EQ(a->data(), QByteArray("new"));
        a->setData(std::nullopt);
    }
    Store &again = store.reopen();
    for (Attachment *a : again.attachments())
        EXPECT_FALSE(a->hasData());
    EXPECT_EQ(rowCount(store.path(), "attachment_data"), 0) << "bytes of cleared attachments are not orphaned";
}

TEST(Store, removingAPageCascadesToItsTasksAndTheirAttachments)
{
    TempStore store;
    auto *keep = new Page(1, 0);
    auto *drop = new Page(2, 1);
    store->insert(keep);
    store->insert(drop);
    addTask(QStringLiteral("kept"), 0, keep, *store);
    TaskItem *doomed = addTask(QStringLiteral("doomed"), 0, drop, *store);
    auto *attachment = new Attachment(QStringLiteral("f"), QStringLiteral("public.data"), QByteArray("bytes"));
    store->insert(attachment);
    attachment->setTask(doomed);
    ASSERT_TRUE(store->save());

    QSignalSpy removed(store.get(), &Store::recordRemoved);
    QSignalSpy pages(store.get(), &Store::pagesChanged);
    QSignalSpy tasks(store.get(), &Store::tasksChanged);
    store->remove(drop);
    EXPECT_EQ(removed.count(), 3);
    EXPECT_EQ(pages.count(), 1);
    EXPECT_EQ(tasks.count(), 1);
    EXPECT_TRUE(doomed->isDeleted());
    EXPECT_TRUE(attachment->isDeleted());
    EXPECT_EQ(store->pages(), QList<Page *> { keep });
    EXPECT_EQ(store->tasks().size(), 1);

    RecordPointer<TaskItem> watched(doomed);
    ASSERT_TRUE(store->save());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(watched.isNull()) << "removed records are let go after processing";

    store.reopen();
    EXPECT_EQ(rowCount(store.path(), "page"), 1);
    EXPECT_EQ(rowCount(store.path(), "task"), 1);
    EXPECT_EQ(rowCount(store.path(), "attachment"), 0);
    EXPECT_EQ(rowCount(store.path(), "attachment_data"), 0);
    EXPECT_EQ(rowCount(store.path(), "tombstone"), 3) << "each removal leaves a tombstone for the mirror";
}

TEST(Store, removingATaskKeepsItsSubtasksAndItsPage)
{
    TempStore store;
    auto *page = new Page(1, 0);
    store->insert(page);
    TaskItem *parent = addTask(QStringLiteral("parent"), 0, page, *store);
    TaskItem *child = addTask(QStringLiteral("child"), 1, page, *store);
    store->remove(parent);
    store->save();
    EXPECT_EQ(page->sortedTasks(), QList<TaskItem *> { child });
    EXPECT_FALSE(page->isDeleted());
}

TEST(Store, pagesComeInPositionOrderThenCreationAndFollowMoves)
{
    TempStore store;
    const auto make = [&](double position, qint64 created) {
        auto *page = new Page(position, 0);
        page->setCreated(QDateTime::fromMSecsSinceEpoch(created, Qt::UTC));
        store->insert(page);
        return page;
    };
    Page *b = make(2, 100);
    Page *a = make(1, 500);
    Page *twinLate = make(3, 900);
    Page *twinEarly = make(3, 800);
    EXPECT_EQ(store->pages(), (QList<Page *> { a, b, twinEarly, twinLate }));

    QSignalSpy pages(store.get(), &Store::pagesChanged);
    a->setPosition(10);
    EXPECT_EQ(pages.count(), 1);
    a->setTitle(QStringLiteral("title only"));
    EXPECT_EQ(pages.count(), 1) << "a title change does not reorder the book";
    EXPECT_EQ(store->pages(), (QList<Page *> { b, twinEarly, twinLate, a }));
}

TEST(Store, rowsWithMissingValuesLoadWithDefaults)
{
    TempStore store;
    store.close();
    {
        SQLite::Database db(store.path().toStdString(), SQLite::OPEN_READWRITE);
        db.exec("INSERT INTO page (id) VALUES ('0F5E6D1A-0000-4000-8000-000000000001')");
        db.exec("INSERT INTO page (id, position, title, color_index, created) "
                "VALUES (NULL, NULL, NULL, NULL, NULL)");
        db.exec("INSERT INTO task (id, page_id) VALUES ('0F5E6D1A-0000-4000-8000-000000000002', "
                "'0F5E6D1A-0000-4000-8000-000000000001')");
        db.exec("INSERT INTO task (id, page_id, text) VALUES ('not a uuid', 'no such page', 'orphan')");
        db.exec("INSERT INTO attachment (id, task_id) VALUES ('0F5E6D1A-0000-4000-8000-000000000003', "
                "'0F5E6D1A-0000-4000-8000-000000000002')");
    }
    Store &s = store.reopen();
    ASSERT_EQ(s.pages().size(), 2);
    // A row of NULLs holds what a new record holds.
    const auto expectDefaults = [](const Record &loaded, const Record &fresh) {
        for (const StoredField &entry : fieldsOf(loaded.kind())) {
            if (entry.field != Field::Created && entry.type != FieldType::Link) {
                EXPECT_EQ(entry.get(loaded), entry.get(fresh)) << entry.name;
            }
        }
        EXPECT_GT(loaded.createdMSecs(), 0);
    };
    for (Page *page : s.pages()) {
        EXPECT_FALSE(page->id().isNull());
        expectDefaults(*page, Page());
    }
    Page *linked = s.page(QUuid::fromString(QStringLiteral("0F5E6D1A-0000-4000-8000-000000000001")));
    ASSERT_TRUE(linked);
    ASSERT_EQ(linked->sortedTasks().size(), 1);
    TaskItem *task = linked->sortedTasks().first();
    expectDefaults(*task, TaskItem());
    ASSERT_EQ(task->attachments().size(), 1);
    expectDefaults(*task->attachments().first(), Attachment());

    TaskItem *orphan = nullptr;
    for (TaskItem *t : s.tasks())
        if (t->text() == QStringLiteral("orphan"))
            orphan = t;
    ASSERT_TRUE(orphan);
    EXPECT_EQ(orphan->page(), nullptr);
    EXPECT_FALSE(orphan->id().isNull());

    // Rows that had no usable id keep the one they were given.
    const QUuid given = orphan->id();
    Store &again = store.reopen();
    EXPECT_TRUE(again.task(given));
    EXPECT_EQ(rowCount(store.path(), "task"), 2) << "no duplicate rows";
    EXPECT_EQ(rowCount(store.path(), "page"), 2);
}

TEST(Store, changesReachTheFileWithinASecondWithoutAnExplicitSave)
{
    TempStore store;
    auto *page = new Page(1, 0);
    store->insert(page);
    ASSERT_TRUE(store->save());
    page->setTitle(QStringLiteral("autosaved"));
    EXPECT_TRUE(store->hasUnsavedChanges());

    QElapsedTimer timer;
    timer.start();
    QSignalSpy saved(store.get(), &Store::saved);
    ASSERT_TRUE(saved.wait(1000));
    EXPECT_LT(timer.elapsed(), 1000);
    EXPECT_FALSE(store->hasUnsavedChanges());

    SQLite::Database db(store.path().toStdString(), SQLite::OPEN_READONLY);
    SQLite::Statement title(db, "SELECT title FROM page");
    ASSERT_TRUE(title.executeStep());
    EXPECT_EQ(title.getColumn(0).getString(), "autosaved");
}

TEST(Store, aSecondRecordWithAnIdInUseGetsItsOwnId)
{
    TempStore store;
    auto *first = new Page(1, 0);
    store->insert(first);
    auto *second = new Page(2, 0);
    second->setId(first->id());
    store->insert(second);
    EXPECT_NE(second->id(), first->id());
    EXPECT_TRUE(store->save()) << "saving never gets stuck on a duplicate id";
    EXPECT_EQ(store.reopen().pages().size(), 2);
}

TEST(Store, notifiesInsertsAndRemovalsOncePerChange)
{
    TempStore store;
    auto *page = new Page(1, 0);
    QSignalSpy inserted(store.get(), &Store::recordInserted);
    QSignalSpy pages(store.get(), &Store::pagesChanged);
    QSignalSpy tasks(store.get(), &Store::tasksChanged);
    store->insert(page);
    store->insert(page); // twice: ignored
    EXPECT_EQ(inserted.count(), 1);
    EXPECT_EQ(pages.count(), 1);
    addTask(QStringLiteral("a"), 0, page, *store);
    EXPECT_EQ(tasks.count(), 1);
    page->sortedTasks().first()->setText(QStringLiteral("edited"));
    EXPECT_EQ(tasks.count(), 1) << "editing a task does not change the number of tasks";

    TaskItem free(QStringLiteral("never inserted"));
    store->remove(&free); // not the store's: nothing happens
    EXPECT_FALSE(free.isDeleted());
}
