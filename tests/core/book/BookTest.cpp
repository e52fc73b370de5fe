// The book's navigation against a real store: turning, creating and tearing
// out pages, clearing empty tasks, and keeping alarms in step.
#include "core/book/Book.h"
#include "core/app/Preferences.h"
#include "core/model/Editing.h"
#include "core/util/Uuid.h"
#include "support/MockAlarmService.h"
#include "support/TempStore.h"

#include <QSettings>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace quillery;
using quillery::test::NiceAlarmService;
using quillery::test::TempStore;

namespace {

class BookTest : public ::testing::Test
{
protected:
    BookTest()
        : preferences(std::make_unique<QSettings>(dir.filePath(QStringLiteral("prefs.conf")), QSettings::IniFormat))
        , book(*store, preferences, alarms, Book::Timing { 0, 0, 0 })
    { }

    Page *page(double position, int color = 0, const QString &title = QString())
    {
        auto *p = new Page(position, color);
        p->setTitle(title);
        store->insert(p);
        return p;
    }

    void show(Page *p) { preferences.setCurrentPage(uuidString(p->id())); }

    // Runs queued work and animations (all zero-length here) to completion.
    void settle()
    {
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
    }

    QTemporaryDir dir;
    TempStore store;
    Preferences preferences;
    NiceAlarmService alarms;
    Book book;
};

} // namespace

TEST_F(BookTest, tearingOutPrefersTheNextPageThenThePreviousThenAFreshOne)
{
    Page *a = page(1, 0, QStringLiteral("A"));
    Page *b = page(2, 1, QStringLiteral("B"));
    Page *c = page(3, 2, QStringLiteral("C"));
    TaskItem *task = addTask(QStringLiteral("on B"), 0, b, *store);
    EXPECT_CALL(alarms, cancel(task));
    show(b);
    book.tearOut(1);
    EXPECT_EQ(book.currentPage(), c);
    EXPECT_TRUE(task->isDeleted());

    book.tearOut(1); // c, the last page
    EXPECT_EQ(book.currentPage(), a);

    book.tearOut(0); // the only page
    ASSERT_EQ(book.pageCount(), 1);
    EXPECT_NE(book.currentPage(), a);
    EXPECT_EQ(book.currentPage()->position(), 1.0);
    EXPECT_EQ(book.currentPage()->colorIndex(), 0);

    book.tearOut(5); // out of range: nothing
    EXPECT_EQ(book.pageCount(), 1);
}

TEST_F(BookTest, emptyTasksGoWithTheirAlarmsOnLeavingUnlessTheirCardIsOpen)
{
    Page *a = page(1, 0, QStringLiteral("A"));
    show(a);
    TaskItem *spaces = addTask(QStringLiteral(" \t "), 0, a, *store);
    TaskItem *empty = addTask(QString(), 0, a, *store);
    TaskItem *real = addTask(QStringLiteral(" milk "), 0, a, *store);
    // Only spaces and tabs make a title blank.
    TaskItem *lineBreak = addTask(QStringLiteral(" \n "), 0, a, *store);
    TaskItem *noBreakSpace = addTask(QStringLiteral("\u00A0"), 0, a, *store);
    TaskItem *open = addTask(QStringLiteral("   "), 0, a, *store);
    open->setNotes(QStringLiteral("Bring the receipt"));
    book.editing().setOpenTask(open);
    EXPECT_CALL(alarms, cancel(spaces));
    EXPECT_CALL(alarms, cancel(empty));
    QSignalSpy saved(store.get(), &Store::saved);
    book.setActive(false);
    EXPECT_TRUE(spaces->isDeleted());
    EXPECT_TRUE(empty->isDeleted());
    EXPECT_FALSE(real->isDeleted());
    EXPECT_FALSE(lineBreak->isDeleted());
    EXPECT_FALSE(noBreakSpace->isDeleted());
    EXPECT_FALSE(open->isDeleted()) << "its title is being retyped: a picker window of the card took the focus";
    EXPECT_EQ(saved.count(), 1) << "one save afterwards";

    EXPECT_CALL(alarms, cancel(open));
    book.editing().setOpenTask(nullptr);
    book.setActive(true);
    book.setActive(false);
    EXPECT_TRUE(open->isDeleted()) << "once the card is closed the usual rule holds";
}

TEST_F(BookTest, alarmsAreRescheduledWhenTheNumberOfTasksChangesNotWhenTextDoes)
{
    Page *a = page(1, 0, QStringLiteral("A"));
    show(a);
    EXPECT_CALL(alarms, rescheduleAll(::testing::_)).Times(1);
    book.start();
    ::testing::Mock::VerifyAndClearExpectations(&alarms);

    EXPECT_CALL(alarms, rescheduleAll(::testing::_)).Times(2);
    TaskItem *task = addTask(QStringLiteral("one"), 0, a, *store);
    task->setText(QStringLiteral("edited"));
    store->remove(task);
    ::testing::Mock::VerifyAndClearExpectations(&alarms);

    EXPECT_CALL(alarms, rescheduleAll(::testing::_)).Times(1);
    EXPECT_CALL(alarms, refreshStatus()).Times(1);
    book.setActive(true);
}

TEST_F(BookTest, anEmptyBookGetsItsFirstPageAndAGoneRememberedPageIsRewritten)
{
    preferences.setCurrentPage(QStringLiteral("00000000-0000-0000-0000-00000000DEAD"));
    book.start();
    EXPECT_EQ(book.pageCount(), 0) << "nothing before the settling delay";
    ASSERT_TRUE(QTest::qWaitFor([&] { return book.pageCount() == 1; }));
    EXPECT_EQ(book.currentPage()->position(), 1.0);
    EXPECT_EQ(book.currentPage()->colorIndex(), 0);
    EXPECT_EQ(preferences.currentPage(), uuidString(book.currentPage()->id()));
}

TEST_F(BookTest, spreadsTurnTwoPagesAndPrepareTheNextSpread)
{
    Page *a = page(1, 0, QStringLiteral("A"));
    show(a);
    book.setSpreadMode(true);
    // The right page of the first spread appears at once.
    ASSERT_EQ(book.pageCount(), 2);
    EXPECT_FALSE(book.canTurn(Dir::Forward)) << "the right page is blank";
    book.pages().at(1)->setTitle(QStringLiteral("B"));
    EXPECT_TRUE(book.canTurn(Dir::Forward));
    book.turn(Dir::Forward);
    settle();
    EXPECT_GE(book.pageCount(), 4);
    EXPECT_EQ(book.currentIndex(), 2);
    EXPECT_EQ(book.leftIndex(), 2);
    EXPECT_TRUE(book.canTurn(Dir::Backward));
    book.turn(Dir::Backward);
    settle();
    EXPECT_EQ(book.currentIndex(), 0);
    EXPECT_EQ(book.span(600), 1200);
}

TEST_F(BookTest, turningToAFarPageRunsOneTurnAndLandsThereAndASecondTurnMeanwhileIsIgnored)
{
    Page *first = page(1), *second = page(2), *fourth = page(4);
    page(3);
    show(second);
    book.turnTo(fourth);
    ASSERT_EQ(book.dir(), Dir::Forward);
    EXPECT_EQ(book.jumpPosition(), 3);
    settle();
    EXPECT_EQ(book.currentPage(), fourth);
    EXPECT_FALSE(book.jumpPosition());

    // Backwards; an ordinary turn afterwards goes to the neighbour again, and
    // one asked for while it runs is ignored.
    book.turnTo(first);
    EXPECT_EQ(book.dir(), Dir::Backward);
    settle();
    EXPECT_EQ(book.currentPage(), first);
    book.turn(Dir::Forward);
    book.turn(Dir::Forward);
    settle();
    EXPECT_EQ(book.currentPage(), second);

    // The page shown already, or one torn out while the turn runs: no move.
    book.turnTo(second);
    EXPECT_FALSE(book.dir());
    book.turnTo(fourth);
    store->remove(fourth);
    settle();
    EXPECT_EQ(book.currentPage(), second);

    // Editing a page that is not shown makes it the current one.
    book.editing().setFocusedPage(first);
    EXPECT_EQ(book.currentPage(), first);
    book.editing().setFocusedPage(nullptr);
    EXPECT_EQ(book.currentPage(), first);
}

// A book opened on its current page: the book and its first screen leave the
// rest unread; alarms and the clearing of blank tasks (stored ones on other
// pages, and ones made blank by editing) take the whole book once it is in.
TEST(BookOpenedPageFirst, waitsForTheRestForAlarmsAndBlankTasks)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("book.sqlite"));
    QString first;
    {
        StoreOpenError error;
        auto store = Store::open(path, &error);
        auto *a = new Page(1, 0), *b = new Page(2, 1);
        a->setTitle(QStringLiteral("A"));
        b->setTitle(QStringLiteral("B"));
        store->insert(a);
        store->insert(b);
        addTask(QStringLiteral("made blank"), 0, a, *store);
        addTask(QStringLiteral(" "), 0, b, *store);
        addTask(QStringLiteral("kept"), 0, b, *store);
        ASSERT_TRUE(store->save());
        first = uuidString(a->id());
    }
    StoreOpenError error;
    auto store = Store::openPageFirst(path, first, &error);
    ASSERT_TRUE(store);
    Preferences preferences(std::make_unique<QSettings>(dir.filePath(QStringLiteral("p.conf")), QSettings::IniFormat));
    preferences.setCurrentPage(first);
    NiceAlarmService alarms;
    Book book(*store, preferences, alarms, Book::Timing { 0, 0, 0 });
    EXPECT_CALL(alarms, rescheduleAll(::testing::_)).Times(0);
    book.start();
    book.setActive(true);
    ASSERT_EQ(book.currentPage()->tasks().size(), 1);
    TaskItem *edited = book.currentPage()->tasks().first();
    edited->setText(QString());
    EXPECT_TRUE(store->isLoading());
    ::testing::Mock::VerifyAndClearExpectations(&alarms);

    EXPECT_CALL(alarms, rescheduleAll(::testing::SizeIs(3))).Times(1);
    QSignalSpy loaded(store.get(), &Store::loaded);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !loaded.isEmpty(); }, 5000));
    QCoreApplication::processEvents();
    ::testing::Mock::VerifyAndClearExpectations(&alarms);
    book.turn(Dir::Forward);
    EXPECT_TRUE(edited->isDeleted());
    ASSERT_EQ(store->tasks().size(), 1);
    EXPECT_EQ(store->tasks().first()->text(), QStringLiteral("kept"));
}
