// The window around the book: its size, limits and proportions, the Book
// menu with its shortcuts, the All Pages button, and the hints that keep
// X11 window managers at the page proportions.
#include "ui/app/MainWindow.h"
#include "core/app/CommandBus.h"
#include "support/PageTestKit.h"
#include "ui/app/BookMenu.h"
#include "ui/app/X11SizeHints.h"
#include "ui/book/BookView.h"
#include "ui/book/PageStage.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace quillery;
using namespace quillery::ui;
using namespace quillery::test;

namespace {

struct WindowKit : PageKit {
    CommandBus bus;
    MainWindow window;
    BookView *book = nullptr;

    WindowKit()
    {
        book = new BookView(services());
        book->listenTo(bus);
        window.setBook(book, bus, preferences);
    }
};

QAction *choice(QMenu *menu, const QString &text)
{
    for (QAction *action : menu->actions()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

} // namespace

TEST(BookWindow, theBookOpensAtItsDefaultSizeKeepsThePageProportionsAndNeverGoesBelowItsMinimum)
{
    WindowKit kit;
    kit.window.resize(kit.window.defaultSize(QSize()));
    kit.window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&kit.window));
    EXPECT_EQ(kit.book->size(), QSize(600, 834));
    EXPECT_EQ(kit.book->faceRect(), QRect(0, 0, 600, 834)) << "no hair-line of desk at the default size";

    // A small screen gets a smaller book at the same proportions.
    const QSize small = kit.window.defaultSize(QSize(1366, 700));
    const int chrome = kit.window.height() - kit.book->height();
    EXPECT_LE(small.height() + 48, 700);
    const QSize bookPart(small.width(), small.height() - chrome);
    EXPECT_NEAR(double(bookPart.width()) / bookPart.height(), 18.0 / 25.0, 0.005);

    // A wider window shows desk on both sides of a face of the same shape.
    kit.window.resize(900, 834 + chrome);
    settle();
    ASSERT_EQ(kit.book->size(), QSize(900, 834));
    EXPECT_EQ(kit.book->faceRect(), QRect(150, 0, 600, 834));
    EXPECT_EQ(kit.book->stage()->geometry(), kit.book->faceRect());

    kit.window.resize(100, 100);
    settle();
    EXPECT_GE(kit.book->width(), 360);
    EXPECT_GE(kit.book->height(), 500);
}

TEST(BookWindow, theX11HintsAddTheRatioAboveTheBaseSizeAndKeepWhatQtWrote)
{
    X11SizeHints::Words hints {};
    hints[0] = (1 << 4) | (1 << 9); // minimum size and gravity, as Qt writes them
    hints[5] = 360;
    hints[17] = 1;
    ASSERT_TRUE(X11SizeHints::addAspect(hints, QSize(18, 25), QSize(0, 60)));
    EXPECT_EQ(hints[0], (1 << 4) | (1 << 9) | X11SizeHints::AspectFlag | X11SizeHints::BaseSizeFlag);
    EXPECT_EQ(
        (std::array { hints[5], hints[11], hints[12], hints[16], hints[17] }), (std::array { 360, 18, 25, 60, 1 }));
    EXPECT_FALSE(X11SizeHints::addAspect(hints, QSize(18, 25), QSize(0, 60))) << "nothing to write the second time";
    EXPECT_TRUE(X11SizeHints::addAspect(hints, QSize(18, 25), QSize(0, 34))) << "the toolbar went";
}

TEST(BookWindow, shortcutsMenuItemsAndTheToolbarPostTheBooksCommands)
{
    WindowKit kit;
    kit.window.resize(kit.window.defaultSize(QSize()));
    ASSERT_TRUE(showActive(kit.window, kit.window.size()));
    QSignalSpy posted(&kit.bus, &CommandBus::posted);
    const auto names = [&posted] {
        QStringList list;
        for (const QList<QVariant> &call : std::as_const(posted))
            list << call.first().toString();
        posted.clear();
        return list;
    };

    QTest::keyClick(&kit.window, Qt::Key_BracketRight, Qt::ControlModifier);
    QTest::keyClick(&kit.window, Qt::Key_BracketLeft, Qt::ControlModifier);
    QTest::keyClick(&kit.window, Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(names(), QStringList({ "quillery.next", "quillery.prev", "quillery.contents" }));

    EXPECT_TRUE(kit.book->book().showContents()) << "the book heard Ctrl+E";

    kit.window.allPagesAction()->trigger();
    EXPECT_FALSE(kit.book->book().showContents()) << "the toolbar button does what Contents does";
    kit.window.bookMenu()->contentsAction()->trigger();
    EXPECT_TRUE(kit.book->book().showContents());
    EXPECT_EQ(names(), QStringList({ "quillery.contents", "quillery.contents" }));
}

TEST(BookWindow, hideCompletedAndTypefaceStayInStepWithThePreferences)
{
    WindowKit kit;
    ASSERT_TRUE(showActive(kit.window, kit.window.size()));
    BookMenu *menu = kit.window.bookMenu();
    QAction *sans = choice(menu->typefaceMenu(), QStringLiteral("Sans"));
    QAction *serif = choice(menu->typefaceMenu(), QStringLiteral("Serif"));
    ASSERT_TRUE(sans && serif);
    EXPECT_TRUE(sans->isChecked());
    EXPECT_FALSE(menu->hideCompletedAction()->isChecked());

    // Changed elsewhere (the page menu writes the same preferences).
    kit.preferences.setTypeface(Preferences::Serif);
    kit.preferences.setHideCompleted(true);
    EXPECT_TRUE(serif->isChecked());
    EXPECT_FALSE(sans->isChecked());
    EXPECT_TRUE(menu->hideCompletedAction()->isChecked());
    EXPECT_TRUE(menu->keepRemindersAction()->isChecked());
    kit.preferences.setKeepRemindersWhenClosed(false);
    kit.preferences.setStartAtLogin(true);
    EXPECT_FALSE(menu->keepRemindersAction()->isChecked());
    EXPECT_TRUE(menu->startAtLoginAction()->isChecked());

    // Changed here.
    sans->trigger();
    EXPECT_EQ(kit.preferences.typeface(), Preferences::Sans);
    QTest::keyClick(&kit.window, Qt::Key_H, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_FALSE(kit.preferences.hideCompleted());
    QTest::keyClick(&kit.window, Qt::Key_H, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(kit.preferences.hideCompleted());

    // A stored typeface that is neither choice is shown as neither.
    kit.preferences.setTypeface(QStringLiteral("mono"));
    EXPECT_FALSE(sans->isChecked());
    EXPECT_FALSE(serif->isChecked());
}
