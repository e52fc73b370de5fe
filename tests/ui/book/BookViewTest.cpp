// The book view: turning by keys, drags and swipes through the real window
// input, the pictures drawn during a turn, the contents overlay, the
// notifications alert and the window's activation.
#include "BookTestKit.h"
#include "core/app/CommandBus.h"
#include "core/model/Editing.h"
#include "gui/theme/PaletteColor.h"
#include "ui/book/TurnGesture.h"
#include "ui/book/TurnPicture.h"
#include "ui/pages/PageHeader.h"
#include "ui/pages/PageView.h"
#include "ui/tasks/TaskRow.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace quillery;
using namespace quillery::ui;
using namespace quillery::test;

namespace {

bool sendKey(QWidget *widget, Qt::Key key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
    return press.isAccepted();
}

// A point of plain paper on the current page: below its rows, in the list.
QPoint paperPoint(const BookKit &kit)
{
    const QRect face = kit.view->faceRect();
    return { face.center().x(), face.top() + face.height() * 3 / 4 };
}

// A book of two pages, the first with a task, shown.
class TwoPages : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(kit.show()); }

    BookKit kit;
    Page *a = kit.addPage(QStringLiteral("A"), 0, { "milk" });
    Page *b = kit.addPage(QStringLiteral("B"), 1);
};

} // namespace

TEST_F(TwoPages, keysTurnThePageAndEscapePassesOnWhileTheContentsAreClosed)
{
    ASSERT_TRUE(kit.view->currentPageView());
    EXPECT_EQ(kit.view->currentPageView()->page(), a);

    QTest::keyClick(kit.view.get(), Qt::Key_Right);
    ASSERT_TRUE(kit.waitForTurnEnd());
    ASSERT_TRUE(kit.view->currentPageView());
    EXPECT_EQ(kit.view->currentPageView()->page(), b);
    EXPECT_EQ(kit.view->currentPageView()->number(), 2);
    EXPECT_FALSE(kit.view->currentPageView()->isSnapshot()) << "the page is live again after the turn";
    EXPECT_FALSE(kit.view->turnPicture()->isVisible());

    QTest::keyClick(kit.view.get(), Qt::Key_Left);
    ASSERT_TRUE(kit.waitForTurnEnd());
    EXPECT_EQ(kit.book().currentPage(), a);
    EXPECT_TRUE(sendKey(kit.view.get(), Qt::Key_Left)) << "the arrow is handled even with no page before";
    EXPECT_FALSE(kit.book().dir());
    EXPECT_FALSE(sendKey(kit.view.get(), Qt::Key_Escape)) << "Escape passes on while the contents are closed";

    // Keys pressed on the page (it took the focus on a click) reach the book.
    QTest::mouseClick(kit.window(), Qt::LeftButton, {}, paperPoint(kit));
    QTest::keyClick(kit.window(), Qt::Key_Right);
    ASSERT_TRUE(kit.waitForTurnEnd());
    EXPECT_EQ(kit.book().currentPage(), b);

    // In a title being typed the arrows move the cursor; a turn started
    // meanwhile (a page button) leaves the keys with the book, not in a
    // field of another page.
    QLineEdit *title = kit.view->currentPageView()->header()->titleField();
    title->setFocus();
    title->setCursorPosition(1);
    QTest::keyClick(kit.window(), Qt::Key_Left);
    EXPECT_EQ(title->cursorPosition(), 0);
    EXPECT_EQ(kit.book().currentPage(), b);
    kit.book().turn(Dir::Backward);
    ASSERT_TRUE(kit.waitForTurnEnd());
    EXPECT_EQ(QApplication::focusWidget(), kit.view.get());
    QTest::keyClick(kit.window(), Qt::Key_Right);
    ASSERT_TRUE(kit.waitForTurnEnd());
    EXPECT_EQ(kit.book().currentPage(), b);
}

TEST_F(TwoPages, aHorizontalDragTurnsThePageFromItsPicturesWithoutOpeningTheRowUnderThePointer)
{
    QSignalSpy opened(kit.view.get(), &BookView::taskOpenRequested);
    QSignalSpy moved(kit.view.get(), &BookView::windowMoveRequested);
    PageView *page = kit.view->currentPageView();
    ASSERT_TRUE(page);
    ASSERT_EQ(page->rows().size(), 1);
    const QPoint row = kit.centreOf(page->rows().first());

    kit.pressAndMove(row, QPoint(-300, 10));
    EXPECT_EQ(kit.book().dragMode(), DragMode::Flipping);
    EXPECT_EQ(kit.book().dir(), Dir::Forward);
    EXPECT_NEAR(kit.book().progress(), 0.5, 0.01);
    EXPECT_TRUE(kit.view->turnPicture()->isVisible());
    EXPECT_NEAR(kit.view->turnPicture()->progress(), kit.book().progress(), 1e-9);
    EXPECT_TRUE(page->isSnapshot()) << "the page under the turn is a picture";
    EXPECT_FALSE(kit.view->turnPicture()->currentPicture().isNull());
    EXPECT_FALSE(kit.view->turnPicture()->targetPicture().isNull());

    kit.release(row + QPoint(-300, 10));
    ASSERT_TRUE(kit.waitForTurnEnd());
    EXPECT_EQ(kit.book().currentPage(), b);
    EXPECT_EQ(opened.count(), 0) << "the row pressed at the start of the turn does not open";
    EXPECT_EQ(moved.count(), 0);

    // A click on the row still opens it once no turn is involved.
    kit.drag(paperPoint(kit), QPoint(280, 0));
    ASSERT_TRUE(kit.waitForTurnEnd());
    ASSERT_EQ(kit.book().currentPage(), a);
    QTest::mouseClick(kit.window(), Qt::LeftButton, {}, kit.centreOf(kit.view->currentPageView()->rows().first()));
    EXPECT_EQ(opened.count(), 1);
}

TEST_F(TwoPages, aSlantedDragNeverTurnsAndOnThePaperItMovesTheWindow)
{
    QSignalSpy moved(kit.view.get(), &BookView::windowMoveRequested);

    // 45° first, then flat: the decision made at the start holds.
    const QPoint paper = paperPoint(kit);
    kit.pressAndMove(paper, QPoint(-30, -30), 3);
    QTest::mouseMove(kit.window(), paper + QPoint(-300, -30), 16);
    EXPECT_FALSE(kit.book().dir());
    kit.release(paper + QPoint(-300, -30));
    ASSERT_TRUE(kit.waitForTurnEnd());
    EXPECT_EQ(kit.book().currentPage(), a);
    EXPECT_EQ(moved.count(), 1) << "a drag of the paper that turns nothing moves the window";
    EXPECT_EQ(kit.book().dragMode(), DragMode::Undecided);

    // The same drag starting on a row moves nothing.
    const QPoint row = kit.centreOf(kit.view->currentPageView()->rows().first());
    kit.drag(row, QPoint(-30, 30), 3);
    EXPECT_EQ(moved.count(), 1);
    EXPECT_EQ(kit.book().currentPage(), a);

    // From the strip above the title even a sideways drag moves the window.
    const QPoint strip(kit.view->faceRect().center().x(), kit.view->faceRect().top() + 5);
    kit.drag(strip, QPoint(-200, 0));
    EXPECT_EQ(moved.count(), 2);
    EXPECT_FALSE(kit.book().dir());

    // While a task group is lifted, nothing turns and nothing moves.
    kit.book().editing().setLifted(true);
    kit.drag(paper, QPoint(-300, 0));
    kit.drag(paper, QPoint(0, -200));
    EXPECT_FALSE(kit.book().dir());
    EXPECT_EQ(moved.count(), 2);
    EXPECT_EQ(kit.book().currentPage(), a);
}

TEST(BookView, turningPastAUsedLastPageShowsThePageItWillMake)
{
    BookKit kit;
    kit.addPage(QStringLiteral("Groceries"), 2, { "bread" });
    ASSERT_TRUE(kit.show());

    kit.pressAndMove(paperPoint(kit), QPoint(-250, 0));
    ASSERT_EQ(kit.book().dir(), Dir::Forward);
    const QImage target = kit.view->turnPicture()->targetPicture().toImage();
    ASSERT_FALSE(target.isNull());
    // The colour dot of the page to come, in the top trailing corner, has
    // the colour after the last page's.
    const qreal ratio = target.devicePixelRatio();
    const QPoint dot(int((kit.view->faceRect().width() - 28 - 13) * ratio), int((25 + 13) * ratio));
    EXPECT_EQ(target.pixelColor(dot).name(), paletteColor(3).name());

    kit.release(paperPoint(kit) + QPoint(-250, 0));
    ASSERT_TRUE(kit.waitForTurnEnd());
    ASSERT_EQ(kit.book().pageCount(), 2);
    EXPECT_EQ(kit.book().currentPage()->colorIndex(), 3);
    EXPECT_EQ(kit.view->currentPageView()->number(), 2);

    // On that blank last page a leftward drag does nothing at all.
    kit.pressAndMove(paperPoint(kit), QPoint(-300, 0));
    EXPECT_EQ(kit.book().dragMode(), DragMode::Ignored);
    EXPECT_FALSE(kit.view->turnPicture()->isVisible());
    kit.release(paperPoint(kit) + QPoint(-300, 0));
    EXPECT_EQ(kit.book().pageCount(), 2);
}

TEST_F(TwoPages, touchpadSwipesTurnWithOrWithoutGesturePhases)
{
    const QPoint at = paperPoint(kit);
    ulong time = 1000;

    kit.swipe(at, {}, Qt::ScrollBegin, time);
    for (int i = 0; i < 10; ++i)
        kit.swipe(at, QPoint(-40, 2), Qt::ScrollUpdate, time);
    EXPECT_EQ(kit.book().dragMode(), DragMode::Flipping);
    kit.swipe(at, {}, Qt::ScrollEnd, time);
    ASSERT_TRUE(kit.waitForTurnEnd());
    EXPECT_EQ(kit.book().currentPage(), b);

    // Without phases the swipe ends when the fingers rest.
    for (int i = 0; i < 10; ++i)
        kit.swipe(at, QPoint(40, 0), Qt::NoScrollPhase, time);
    EXPECT_EQ(kit.book().dir(), Dir::Backward);
    settle(TurnGesture::SwipeIdleMsecs + 50);
    ASSERT_TRUE(kit.waitForTurnEnd());
    EXPECT_EQ(kit.book().currentPage(), a);

    // Scrolling the list up and down turns nothing.
    kit.swipe(at, {}, Qt::ScrollBegin, time);
    for (int i = 0; i < 10; ++i)
        kit.swipe(at, QPoint(3, -40), Qt::ScrollUpdate, time);
    kit.swipe(at, {}, Qt::ScrollEnd, time);
    EXPECT_FALSE(kit.book().dir());
    EXPECT_EQ(kit.book().dragMode(), DragMode::Undecided);
}

TEST_F(TwoPages, theContentsComeFromTheFactoryCoverTheBookAndGoWhenClosed)
{
    addTask(QStringLiteral(" "), 0, a, *kit.store);
    CommandBus bus;
    int made = 0;
    kit.view->listenTo(bus);
    kit.view->setContentsFactory([&made](Book &, QWidget *parent) {
        ++made;
        auto *overlay = new QWidget(parent);
        overlay->setObjectName(QStringLiteral("overlay"));
        return overlay;
    });

    bus.post(CommandBus::Contents);
    QPointer<QWidget> overlay = kit.view->contentsOverlay();
    ASSERT_TRUE(overlay);
    EXPECT_EQ(made, 1);
    EXPECT_EQ(overlay->geometry(), kit.view->rect());
    EXPECT_TRUE(overlay->isVisible());
    EXPECT_EQ(kit.book().pages().first()->sortedTasks().size(), 1) << "empty tasks are cleared before the contents";

    // Drags on the contents are the contents' own.
    kit.drag(paperPoint(kit), QPoint(-400, 0));
    EXPECT_FALSE(kit.book().dir());
    EXPECT_EQ(kit.book().currentIndex(), 0);

    EXPECT_TRUE(sendKey(kit.view.get(), Qt::Key_Escape));
    EXPECT_FALSE(kit.book().showContents());
    EXPECT_TRUE(QTest::qWaitFor([&] { return overlay.isNull(); }, 2000));

    // The command toggles: open, and closed again by the same command.
    bus.post(CommandBus::Contents);
    EXPECT_TRUE(kit.view->contentsOverlay());
    bus.post(CommandBus::Contents);
    EXPECT_FALSE(kit.view->contentsOverlay());
    EXPECT_EQ(made, 2);
}

TEST_F(TwoPages, theNotificationsAlertOpensTheSettingsOrOnlyCloses)
{
    AlarmStatus &status = kit.alarms.status();

    EXPECT_CALL(kit.alarms, openNotificationSettings()).Times(0);
    status.setShowDenied(true);
    QMessageBox *alert = kit.view->deniedAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->text(), QStringLiteral("Notifications are off for Quillery"));
    alert->reject(); // Escape or "Not now"
    settle();
    EXPECT_FALSE(status.showDenied()) << "dismissing clears the flag";
    EXPECT_FALSE(kit.view->deniedAlert());
    ::testing::Mock::VerifyAndClearExpectations(&kit.alarms);

    EXPECT_CALL(kit.alarms, openNotificationSettings()).Times(1);
    status.setShowDenied(true);
    alert = kit.view->deniedAlert();
    ASSERT_TRUE(alert);
    for (QAbstractButton *button : alert->buttons()) {
        if (button->text() == QStringLiteral("Open Settings"))
            button->click();
    }
    settle();
    EXPECT_FALSE(status.showDenied());
}
