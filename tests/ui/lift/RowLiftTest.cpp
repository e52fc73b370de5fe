// Moving tasks on a real page: press and hold a row, drag, let go; the same
// moves from the keyboard; and everything a press must leave alone.
#include "core/model/Page.h"
#include "core/model/TaskItem.h"
#include "gui/theme/Appearance.h"
#include "gui/theme/ThemeColors.h"
#include "support/PageTestKit.h"
#include "ui/lift/DropIndicator.h"
#include "ui/lift/LiftShadow.h"
#include "ui/lift/LongPressDrag.h"
#include "ui/lift/RowLifter.h"
#include "ui/pages/PageHeader.h"
#include "ui/pages/PageScrollArea.h"
#include "ui/pages/PageView.h"
#include "ui/pages/TaskListView.h"
#include "ui/tasks/TaskRow.h"
#include "ui/tasks/TaskRowCheck.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QShortcut>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace quillery;
using namespace quillery::ui;
using namespace quillery::test;

namespace {

constexpr int QuickHold = 20; // ms; the real hold is tried on its own

// The page's tasks in stored order, subtasks marked with a leading ">".
QStringList stored(Page *page)
{
    QStringList out;
    for (const TaskItem *task : page->sortedTasks())
        out << (task->indent() > 0 ? QStringLiteral(">") : QString()) + task->text();
    return out;
}

QList<double> orders(Page *page)
{
    QList<double> out;
    for (const TaskItem *task : page->sortedTasks())
        out << task->order();
    return out;
}

TaskRow *rowTitled(PageView &view, const QString &title)
{
    for (TaskRow *row : view.rows())
        if (row->titleText() == title)
            return row;
    return nullptr;
}

// One pointer held down on a widget of a row (the row's text or its box),
// moved in the list's coordinates: mouse events keep going to the pressed
// widget, as they do on screen, wherever it is drawn meanwhile.
class Pointer
{
public:
    Pointer(PageView &view, QWidget *pressed, QPoint inPressed)
        : m_list(view.list())
        , m_pressed(pressed)
        , m_at(pressed->mapTo(m_list, inPressed))
    {
        QTest::mousePress(pressed, Qt::LeftButton, {}, inPressed);
    }

    void moveBy(int dx, int dy)
    {
        // In a few steps, as a hand does.
        const QPoint from = m_at;
        for (int step = 1; step <= 4; ++step) {
            m_at = from + QPoint(dx * step / 4, dy * step / 4);
            QTest::mouseMove(m_pressed, m_pressed->mapFrom(m_list, m_at));
        }
    }
    void release() { QTest::mouseRelease(m_pressed, Qt::LeftButton, {}, m_pressed->mapFrom(m_list, m_at)); }

private:
    TaskListView *m_list;
    QWidget *m_pressed;
    QPoint m_at;
};

QPoint inText(TaskRow *row)
{
    return { row->textLeft() + 40, row->height() / 2 };
}

class RowLift : public ::testing::Test
{
protected:
    void open(std::initializer_list<const char *> tasks, int hold = QuickHold)
    {
        qRegisterMetaType<TaskItem *>();
        page = kit.page(QStringLiteral("Moves"), tasks, 2);
        view = std::make_unique<PageView>(page, 1, 1, PageActions {}, kit.services(), &kit.editing);
        view->list()->lifter()->setHoldDuration(hold);
        ASSERT_TRUE(showActive(*view));
        settle(50);
    }

    PageKit kit;
    Page *page = nullptr;
    std::unique_ptr<PageView> view;
};

} // namespace

TEST_F(RowLift, aHeldRowCarriesItsSubtasksToWhereItIsLetGo)
{
    open({ "Alpha", "Bravo", ">Bravo one", ">Bravo two", "Charlie", "Delta" });
    QSignalSpy cards(view.get(), &PageView::taskOpenRequested);
    QSignalSpy lifted(&kit.editing, &Editing::liftedChanged);
    TaskRow *bravo = rowTitled(*view, QStringLiteral("Bravo"));
    TaskRow *one = rowTitled(*view, QStringLiteral("Bravo one"));
    TaskRow *charlie = rowTitled(*view, QStringLiteral("Charlie"));
    const QRect bravoHome = bravo->geometry();
    const QRect charlieHome = charlie->geometry();

    Pointer hand(*view, bravo, inText(bravo));
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->isLifted(); }));
    EXPECT_TRUE(kit.editing.lifted());
    EXPECT_TRUE(view->scrollArea()->isScrollLocked()) << "the list holds still while a row is lifted";
    EXPECT_TRUE(bravo->isLifted());
    EXPECT_FALSE(one->isLifted()) << "only the pressed row takes the lifted look";
    ASSERT_NE(bravo->liftShadow(), nullptr);
    EXPECT_TRUE(bravo->liftShadow()->isVisible());

    // Down until the middle of the carried block passes Charlie's middle
    // but not Delta's, and far to the right: a group never becomes a
    // subtask, so it stays at its level.
    const RowFrames &frames = view->rowFrames();
    const double block = frames.frame(bravo->taskId())->height() + 2 * frames.frame(one->taskId())->height();
    const int down = static_cast<int>(charlieHome.center().y() - (bravoHome.top() + block / 2)) + 10;
    hand.moveBy(90, down / 2);
    hand.moveBy(0, down - down / 2);
    RowLifter *lifter = view->list()->lifter();
    EXPECT_EQ(lifter->dropSlot(), 2);
    EXPECT_FALSE(lifter->dropsAsSubtask());
    EXPECT_EQ(bravo->geometry(), bravoHome.translated(0, down)) << "follows the pointer down, not sideways";
    EXPECT_EQ(one->geometry().top() - bravo->geometry().top(), bravoHome.height()) << "the subtasks come along";
    EXPECT_EQ(charlie->geometry(), charlieHome) << "rows not carried stay put";
    DropIndicator *bar = lifter->indicator();
    ASSERT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->geometry().center().y(), view->rowFrames().frame(rowTitled(*view, "Delta")->taskId())->top())
        << "between Charlie and Delta";
    EXPECT_EQ(page->sortedTasks().first()->order(), 1.0) << "nothing is written before the drop";

    hand.release();
    EXPECT_FALSE(view->isLifted());
    EXPECT_FALSE(kit.editing.lifted());
    EXPECT_FALSE(view->scrollArea()->isScrollLocked());
    EXPECT_EQ(lifted.count(), 2) << "lifted once, dropped once";
    EXPECT_EQ(stored(page), QStringList({ "Alpha", "Charlie", "Bravo", ">Bravo one", ">Bravo two", "Delta" }));
    EXPECT_EQ(orders(page), QList<double>({ 0, 1, 2, 3, 4, 5 }));
    EXPECT_EQ(cards.count(), 0) << "letting go of a lifted row is not a click";
    EXPECT_FALSE(bar->isVisible());
    EXPECT_FALSE(bravo->isLifted());
    EXPECT_EQ(bravo->liftShadow(), nullptr);

    // The rows spring into their new places and rest there.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !view->list()->isMoving(); }));
    settle(100);
    for (TaskRow *row : view->rows()) {
        EXPECT_EQ(QRectF(row->geometry()), *view->rowFrames().frame(row->taskId())) << row->titleText().toStdString();
        EXPECT_EQ(row->liftOffset(), QPointF());
    }
    EXPECT_DOUBLE_EQ(bravo->liftScale(), 1.0);
}

TEST_F(RowLift, pressesThatAreNotHeldStillLeaveThePageAlone)
{
    open({ "Alpha", "Bravo", "Charlie" }, LongPressDrag::DefaultHoldMsecs);
    QSignalSpy cards(view.get(), &PageView::taskOpenRequested);
    QSignalSpy lifted(view->list(), &TaskListView::liftedChanged);
    TaskRow *bravo = rowTitled(*view, QStringLiteral("Bravo"));

    // Wanders 20 points within the hold time, then stays: no lift.
    {
        Pointer hand(*view, bravo, inText(bravo));
        QTest::qWait(100);
        hand.moveBy(0, 20);
        QTest::qWait(400);
        EXPECT_FALSE(view->isLifted());
        hand.moveBy(0, 60);
        hand.release();
    }
    // Let go after 0.2 s, the hold not yet reached.
    {
        Pointer hand(*view, bravo, inText(bravo));
        QTest::qWait(200);
        hand.release();
        QTest::qWait(300);
    }
    EXPECT_EQ(lifted.count(), 0);
    EXPECT_FALSE(kit.editing.lifted());
    EXPECT_EQ(orders(page), QList<double>({ 1, 2, 3 })) << "not even renumbered";

    // Clicks still do what they did.
    cards.clear();
    QTest::mouseClick(bravo, Qt::LeftButton, {}, inText(bravo));
    ASSERT_EQ(cards.count(), 1);
    EXPECT_EQ(cards.first().first().value<TaskItem *>(), bravo->task());
    QTest::mouseClick(bravo->checkBox(), Qt::LeftButton);
    EXPECT_TRUE(bravo->task()->done());

    // A long press on the box lifts instead of ticking; dropped in place it
    // only renumbers.
    Pointer hand(*view, bravo->checkBox(), QPoint(11, 11));
    QTest::qWait(400);
    EXPECT_TRUE(view->isLifted());
    hand.release();
    EXPECT_TRUE(bravo->task()->done()) << "the release did not untick";
    EXPECT_FALSE(bravo->checkBox()->isDown());
    EXPECT_EQ(stored(page), QStringList({ "Alpha", "Bravo", "Charlie" }));
    EXPECT_EQ(orders(page), QList<double>({ 0, 1, 2 }));
    EXPECT_EQ(cards.count(), 1);
}

TEST_F(RowLift, anInterruptedDragDropsWhereItWas)
{
    open({ "Alpha", "Bravo", "Charlie" });
    view->resize(600, 400); // short enough for the list to scroll
    settle(50);
    ASSERT_GT(view->scrollArea()->verticalScrollBar()->maximum(), 0);
    QSignalSpy cards(view.get(), &PageView::taskOpenRequested);
    TaskRow *alpha = rowTitled(*view, QStringLiteral("Alpha"));

    // Escape: the group lands in the slot it was over.
    {
        Pointer hand(*view, alpha, inText(alpha));
        ASSERT_TRUE(QTest::qWaitFor([&] { return view->isLifted(); }));
        hand.moveBy(0, 2 * alpha->height() + 1);
        QWidget *focused = QApplication::focusWidget();
        ASSERT_NE(focused, nullptr);
        // Other keys do nothing meanwhile: no scrolling, no moves by key.
        const int scrolled = view->scrollArea()->verticalScrollBar()->value();
        QTest::keyClick(focused, Qt::Key_PageDown);
        QTest::keyClick(focused, Qt::Key_Up, Qt::AltModifier);
        EXPECT_TRUE(view->isLifted());
        EXPECT_EQ(view->scrollArea()->verticalScrollBar()->value(), scrolled);
        EXPECT_EQ(orders(page), QList<double>({ 1, 2, 3 }));
        QTest::keyClick(focused, Qt::Key_Escape);
        EXPECT_FALSE(view->isLifted());
        EXPECT_FALSE(kit.editing.lifted());
        EXPECT_EQ(stored(page), QStringList({ "Bravo", "Charlie", "Alpha" }));
        // The button comes up later: it is nobody's click.
        hand.moveBy(0, -60);
        hand.release();
        EXPECT_EQ(stored(page), QStringList({ "Bravo", "Charlie", "Alpha" }));
        EXPECT_EQ(cards.count(), 0);
    }
    settle(50);

    // The window stops being active (another window came to the front).
    TaskRow *charlie = rowTitled(*view, QStringLiteral("Charlie"));
    {
        Pointer hand(*view, charlie, inText(charlie));
        ASSERT_TRUE(QTest::qWaitFor([&] { return view->isLifted(); }));
        hand.moveBy(0, -charlie->height() * 2);
        QWidget other;
        ASSERT_TRUE(showActive(other, QSize(200, 200)));
        EXPECT_FALSE(view->isLifted());
        EXPECT_FALSE(kit.editing.lifted());
        EXPECT_EQ(stored(page), QStringList({ "Charlie", "Bravo", "Alpha" }));
        hand.release();
    }

    // The page goes away mid-drag: nothing is written, the book is told.
    ASSERT_TRUE(showActive(*view));
    TaskRow *bravo = rowTitled(*view, QStringLiteral("Bravo"));
    const QList<double> before = orders(page);
    Pointer hand(*view, bravo, inText(bravo));
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->isLifted(); }));
    hand.moveBy(0, 80);
    view.reset();
    EXPECT_FALSE(kit.editing.lifted());
    EXPECT_EQ(orders(page), before);
    QWidget elsewhere; // the button comes up over another widget
    QTest::mouseRelease(&elsewhere, Qt::LeftButton);
}

TEST_F(RowLift, altArrowsMoveAndIndentTheFocusedRow)
{
    open({ "Alpha", "Bravo", ">Bravo one", "Charlie" });
    // Stand-ins for the book around the page: page turning on plain arrows
    // and a window shortcut on Alt+Left. Neither may see a row's keys.
    QStringList bookKeys;
    class Book final : public QWidget
    {
    public:
        explicit Book(QStringList *keys)
            : m_keys(keys)
        { }

    protected:
        void keyPressEvent(QKeyEvent *event) override
        {
            if (event->key() != Qt::Key_Alt) // the modifier on its own is not a key for the book
                *m_keys << QKeySequence(event->keyCombination()).toString();
        }

    private:
        QStringList *m_keys;
    } book(&bookKeys);
    struct Unhost {
        PageView *view;
        ~Unhost() { view->setParent(nullptr); } // the fixture owns the page
    } unhost { view.get() };
    auto *layout = new QVBoxLayout(&book);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view.get());
    QShortcut turn(QKeySequence(Qt::ALT | Qt::Key_Left), &book);
    QSignalSpy turned(&turn, &QShortcut::activated);
    ASSERT_TRUE(showActive(book));
    settle(50);

    TaskRow *bravo = rowTitled(*view, QStringLiteral("Bravo"));
    bravo->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(bravo->hasFocus());
    EXPECT_TRUE(bravo->showsFocus());

    QTest::keyClick(bravo, Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(stored(page), QStringList({ "Alpha", "Charlie", "Bravo", ">Bravo one" }));
    QTest::keyClick(bravo, Qt::Key_Up, Qt::AltModifier);
    QTest::keyClick(bravo, Qt::Key_Up, Qt::AltModifier);
    EXPECT_EQ(stored(page), QStringList({ "Bravo", ">Bravo one", "Alpha", "Charlie" }));
    EXPECT_TRUE(bravo->hasFocus()) << "the moved row keeps the keyboard";
    EXPECT_EQ(view->rows().first(), bravo);

    // From the box as well as from the row.
    TaskRow *charlie = rowTitled(*view, QStringLiteral("Charlie"));
    charlie->checkBox()->setFocus(Qt::TabFocusReason);
    QTest::keyClick(charlie->checkBox(), Qt::Key_Right, Qt::AltModifier);
    EXPECT_EQ(stored(page), QStringList({ "Bravo", ">Bravo one", "Alpha", ">Charlie" }));
    QTest::keyClick(charlie->checkBox(), Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(stored(page), QStringList({ "Bravo", ">Bravo one", "Alpha", "Charlie" }));
    EXPECT_TRUE(charlie->checkBox()->hasFocus());
    EXPECT_FALSE(charlie->task()->done()) << "the box took the keys as moves, not as a tick";

    EXPECT_TRUE(bookKeys.isEmpty()) << bookKeys.join(u' ').toStdString();
    EXPECT_EQ(turned.count(), 0);

    // The same keys typed in the page's title are none of the rows' business.
    const QStringList before = stored(page);
    view->header()->titleField()->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(view->header()->titleField(), Qt::Key_Down, Qt::AltModifier);
    QTest::keyClick(view->header()->titleField(), Qt::Key_Right, Qt::AltModifier);
    EXPECT_EQ(stored(page), before);
}

TEST_F(RowLift, aLiftedPageForALook)
{
    open({ "Farmers market", ">Apples", ">Bread", "Call the plumber", "Return library books", "Plan the trip" });
    TaskRow *plumber = rowTitled(*view, QStringLiteral("Call the plumber"));
    Pointer hand(*view, plumber, inText(plumber));
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->isLifted(); }));
    hand.moveBy(20, plumber->height() + 10);
    settle(600); // the scale has sprung to its size
    EXPECT_NEAR(plumber->liftScale(), RowLifter::LiftedScale, 0.001);
    const QImage picture = view->grab().toImage();
    EXPECT_FALSE(picture.isNull());
    const QColor paper = themeColor(ThemeColor::Paper, kit.appearance.scheme());
    const auto expectPaper = [&](QPoint at, const char *what) {
        const QColor drawn = picture.pixelColor(at);
        EXPECT_LT(std::abs(drawn.red() - paper.red()) + std::abs(drawn.green() - paper.green())
                + std::abs(drawn.blue() - paper.blue()),
            60) // the row's paper lets a tenth of what is under it through
            << what;
    };
    // Behind the lifted row lies paper, not the rows it covers; and the drop
    // bar, which stays at its slot, goes under the row where they meet.
    expectPaper(plumber->mapTo(view.get(), QPoint(plumber->width() * 4 / 5, plumber->height() / 2)), "rows behind");
    DropIndicator *bar = view->list()->lifter()->indicator();
    const QPoint onBar = bar->mapTo(view.get(), QPoint(bar->width() * 4 / 5, 1));
    ASSERT_TRUE(plumber->geometry().contains(bar->mapTo(view->list(), QPoint(bar->width() * 4 / 5, 1))));
    expectPaper(onBar, "the bar under the row");
    hand.release();
}
