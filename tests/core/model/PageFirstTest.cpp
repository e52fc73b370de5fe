// A book opened page first: the page it opens on is complete at once, the
// rest arrives on the event loop, and the result is the book a whole read
// gives. Edits made before the rest is in survive it; damage found later
// keeps what was typed.
#include "core/model/RecoveryJournal.h"
#include "core/model/Store.h"
#include "core/util/Uuid.h"
#include "support/FieldSamples.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace quillery;

namespace {

// Every record of the store, by kind and id: each field's value as text.
using Key = std::pair<int, QString>;
using Contents = std::map<Key, QStringList>;

Key keyOf(const Record *record)
{
    return { int(record->kind()), uuidString(record->id()) };
}

// Each field's value as text.
QStringList valuesOf(const Record *record)
{
    QStringList values;
    for (const StoredField &entry : fieldsOf(record->kind())) {
        const QVariant value = entry.get(*record);
        values << (value.isNull() ? QStringLiteral("(null)") : value.toString());
    }
    return values;
}

// Every record of the store, by kind and id.
Contents contentsOf(const Store &store)
{
    Contents out;
    for (const Record *record : store.pages())
        out[keyOf(record)] = valuesOf(record);
    for (const Record *record : store.tasks())
        out[keyOf(record)] = valuesOf(record);
    for (const Record *record : store.attachments())
        out[keyOf(record)] = valuesOf(record);
    return out;
}

class PageFirstTest : public ::testing::Test
{
protected:
    // Five pages of 40 tasks, every field of every record set, attachments
    // on the second page, one task on no page at all.
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        StoreOpenError error;
        auto store = Store::open(path(), &error);
        ASSERT_TRUE(store);
        for (int p = 0; p < 5; ++p) {
            auto *page = new Page(p + 1, p);
            store->insert(page);
            test::giveSamples(*page);
            page->setPosition(p + 1);
            m_pages << uuidString(page->id());
            for (int t = 0; t < 40; ++t) {
                TaskItem *task = addTask(QStringLiteral("page %1 task %2").arg(p).arg(t), 0, page, *store);
                if (t % 7 == 0) {
                    test::giveSamples(*task, page->id());
                    task->setText(QStringLiteral("sampled %1 %2").arg(p).arg(t));
                }
                if (p == 1 && t < 3) {
                    auto *attachment = new Attachment;
                    store->insert(attachment);
                    test::giveSamples(*attachment, task->id());
                }
            }
        }
        store->insert(new TaskItem(QStringLiteral("on no page")));
        ASSERT_TRUE(store->save());
        m_whole = contentsOf(*store);
    }

    QString path() const { return m_dir.filePath(QStringLiteral("book.sqlite")); }

    std::unique_ptr<Store> openPageFirst(const QString &firstPage)
    {
        StoreOpenError error;
        auto store = Store::openPageFirst(path(), firstPage, &error);
        EXPECT_TRUE(store) << error.message().toStdString();
        return store;
    }

    static bool waitUntilRead(Store &store)
    {
        QSignalSpy loaded(&store, &Store::loaded);
        return QTest::qWaitFor([&] { return !loaded.isEmpty(); }, 5000);
    }

    QTemporaryDir m_dir;
    QStringList m_pages;
    Contents m_whole;
};

TEST_F(PageFirstTest, theFirstPageAloneAndThenTheRestAreTheWholeBook)
{
    for (const QString &first : { m_pages.at(1), QStringLiteral("not a page of this book") }) {
        auto store = openPageFirst(first);
        ASSERT_TRUE(store);
        ASSERT_TRUE(store->isLoading());
        // The page opened on (the first when the id is unknown) is complete,
        // attachments included, without the rest being read.
        Page *page = store->page(uuidFromString(first == m_pages.at(1) ? m_pages.at(1) : m_pages.at(0)));
        ASSERT_TRUE(page);
        ASSERT_EQ(page->tasks().size(), 40);
        int attachments = 0;
        for (const TaskItem *task : page->tasks()) {
            EXPECT_EQ(valuesOf(task), m_whole.at(keyOf(task)));
            for (const Attachment *attachment : task->attachments()) {
                EXPECT_EQ(valuesOf(attachment), m_whole.at(keyOf(attachment)));
                ++attachments;
            }
        }
        EXPECT_EQ(attachments, first == m_pages.at(1) ? 3 : 0);
        for (const Page *each : store->pages())
            EXPECT_EQ(valuesOf(each), m_whole.at(keyOf(each)));
        EXPECT_TRUE(store->isLoading());

        ASSERT_TRUE(waitUntilRead(*store));
        EXPECT_FALSE(store->isLoading());
        EXPECT_EQ(contentsOf(*store), m_whole);
        EXPECT_EQ(store->unsavedChangeCount(), 0);
    }

    // Asking for another page's tasks reads the rest at once.
    auto store = openPageFirst(m_pages.at(0));
    EXPECT_EQ(store->pages().at(3)->tasks().size(), 40);
    EXPECT_FALSE(store->isLoading());
    EXPECT_EQ(contentsOf(*store), m_whole);
}

TEST_F(PageFirstTest, editsMadeBeforeTheRestIsReadAreKept)
{
    auto store = openPageFirst(m_pages.at(2));
    store->setAutosaveDelay(0);
    Page *page = store->page(uuidFromString(m_pages.at(2)));
    const QList<TaskItem *> tasks = page->sortedTasks();
    ASSERT_TRUE(store->isLoading());
    tasks.at(0)->setText(QStringLiteral("typed at once"));
    store->remove(tasks.at(1));
    TaskItem *added = addTask(QStringLiteral("added at once"), 1, page, *store);
    const QString addedId = uuidString(added->id());
    const QString removedId = uuidString(tasks.at(1)->id());
    const QString typedId = uuidString(tasks.at(0)->id());
    ASSERT_TRUE(waitUntilRead(*store));
    QTRY_COMPARE_WITH_TIMEOUT(store->hasUnsavedChanges(), false, 5000);
    EXPECT_EQ(store->tasks().size(), 201);

    store.reset();
    StoreOpenError error;
    store = Store::open(path(), &error);
    ASSERT_TRUE(store);
    const auto task = [](const QString &id) { return Key { int(Record::Kind::Task), id }; };
    Contents expected = m_whole;
    expected.erase(task(removedId));
    expected[task(typedId)][0] = QStringLiteral("typed at once");
    Contents found = contentsOf(*store);
    EXPECT_EQ(found[task(addedId)].value(0), QStringLiteral("added at once"));
    found.erase(task(addedId));
    EXPECT_EQ(found, expected);
}

// A damaged task table that the first page does not touch is found after
// the page is shown: the store says so, writes nothing more to the file, and
// what was typed in the meantime goes to the recovery journal, from which a
// sound copy of the book gets it back.
TEST_F(PageFirstTest, damageFoundLaterKeepsWhatWasTyped)
{
    const QString sound = m_dir.filePath(QStringLiteral("sound.sqlite"));
    qint64 leaf = 0;
    {
        SQLite::Database db(path().toStdString(), SQLite::OPEN_READWRITE);
        db.exec("PRAGMA wal_checkpoint(TRUNCATE)");
        // The leaf holding the last rows (the last page's tasks), far from
        // the first page's.
        leaf = db.execAndGet("SELECT pageno FROM dbstat WHERE name = 'task' AND pagetype = 'leaf' ORDER BY path DESC")
                   .getInt64();
    }
    ASSERT_TRUE(QFile::copy(path(), sound));
    {
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        file.seek((leaf - 1) * 4096);
        file.write(QByteArray(4096, '\xA5'));
    }

    auto store = openPageFirst(m_pages.at(0));
    ASSERT_TRUE(store);
    QSignalSpy damaged(store.get(), &Store::damaged);
    Page *page = store->page(uuidFromString(m_pages.at(0)));
    page->sortedTasks().at(0)->setText(QStringLiteral("typed in the first second"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !damaged.isEmpty(); }, 5000));
    EXPECT_EQ(store->damage()->reason, StoreOpenError::Reason::Corrupt);
    EXPECT_FALSE(store->save());
    EXPECT_TRUE(store->hasUnsavedChanges());

    const auto journal = RecoveryJournal::write(*store, RecoveryJournal::locations(path()));
    ASSERT_TRUE(journal);
    store.reset();
    ASSERT_TRUE(QFile::remove(path()));
    QFile::remove(path() + QStringLiteral("-wal"));
    ASSERT_TRUE(QFile::copy(sound, path()));
    StoreOpenError error;
    store = Store::open(path(), &error);
    ASSERT_TRUE(store);
    ASSERT_EQ(RecoveryJournal::replay(*store, *journal), 1);
    EXPECT_EQ(store->page(uuidFromString(m_pages.at(0)))->sortedTasks().at(0)->text(),
        QStringLiteral("typed in the first second"));
}

} // namespace
