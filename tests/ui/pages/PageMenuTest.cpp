// What a page asks of the book: the footer's turners and page number, the
// options menu, and tearing the page out.
#include "core/model/Page.h"
#include "support/PageTestKit.h"
#include "ui/pages/PageFooter.h"
#include "ui/pages/PageNumberBlock.h"
#include "ui/pages/PageOptionsMenu.h"
#include "ui/pages/PageView.h"
#include "ui/theme/SymbolButton.h"

#include "gui/theme/Appearance.h"
#include "gui/theme/ThemeColors.h"
#include <QAbstractButton>
#include <QPushButton>
#include <QWidgetAction>

#include <gtest/gtest.h>

using namespace quillery;
using namespace quillery::ui;
using namespace quillery::test;
using ::testing::_;

namespace {

struct Calls {
    int prev = 0;
    int next = 0;
    int tearOut = 0;
    int contents = 0;

    PageActions actions()
    {
        return { [this] { ++prev; }, [this] { ++next; }, [this] { ++tearOut; }, [this] { ++contents; }, [](double) {},
            [] {} };
    }
};

QPushButton *buttonLabelled(QMessageBox *box, const QString &text)
{
    for (QAbstractButton *button : box->buttons()) {
        if (button->text() == text)
            return qobject_cast<QPushButton *>(button);
    }
    return nullptr;
}

class PageMenu : public ::testing::Test
{
protected:
    PageView &open(Page *page, int number, int count)
    {
        view = std::make_unique<PageView>(page, number, count, calls.actions(), kit.services(), &kit.editing);
        return *view;
    }

    PageKit kit;
    Calls calls;
    std::unique_ptr<PageView> view;
};

} // namespace

TEST_F(PageMenu, itemsFollowThePermissionAndTheStatusLinesAndReachTheirServices)
{
    PageOptionsMenu *menu = open(kit.page(QStringLiteral("Home")), 2, 5).optionsMenu();
    menu->rebuild();
    EXPECT_EQ(menu->action(QStringLiteral("Open Notification Settings")), nullptr);

    // Permission denied adds the way to the settings, right after the test.
    kit.alarms.status().setAuthorization(AlarmStatus::Denied);
    menu->rebuild();
    const QList<QAction *> items = menu->actions();
    EXPECT_EQ(items.indexOf(menu->action(QStringLiteral("Open Notification Settings"))),
        items.indexOf(menu->action(QStringLiteral("Send a Test Alarm in 10 Seconds"))) + 1);
    EXPECT_EQ(menu->statusLines().at(1), QStringLiteral("Alarms: notifications are off for Quillery"));
    kit.sync.set(QStringLiteral("Sync: up to date"));
    EXPECT_EQ(menu->statusLines().at(0), QStringLiteral("Sync: up to date")) << "lines follow while the menu is open";
    // The status lines are text, not commands.
    for (QAction *action : items)
        EXPECT_TRUE(!qobject_cast<QWidgetAction *>(action) || !action->isEnabled());

    EXPECT_CALL(kit.alarms, sendTestAlarm(10)).Times(1);
    menu->action(QStringLiteral("Send a Test Alarm in 10 Seconds"))->trigger();
    EXPECT_CALL(kit.alarms, openNotificationSettings()).Times(1);
    menu->action(QStringLiteral("Open Notification Settings"))->trigger();

    menu->action(QStringLiteral("Hide Completed"))->trigger();
    EXPECT_TRUE(kit.preferences.hideCompleted());
    menu->rebuild();
    EXPECT_TRUE(menu->action(QStringLiteral("Hide Completed"))->isChecked());

    EXPECT_TRUE(menu->action(QStringLiteral("Sans"))->isChecked());
    menu->action(QStringLiteral("Serif"))->trigger();
    EXPECT_EQ(kit.preferences.typeface(), QStringLiteral("serif"));
    kit.preferences.setTypeface(QStringLiteral("fancy")); // a value from a later version
    menu->rebuild();
    EXPECT_FALSE(menu->action(QStringLiteral("Sans"))->isChecked());
    EXPECT_FALSE(menu->action(QStringLiteral("Serif"))->isChecked());

    menu->action(QStringLiteral("Contents"))->trigger();
    settle();
    EXPECT_EQ(calls.contents, 1);
}

TEST_F(PageMenu, footerTurnsPagesAndOpensTheContents)
{
    ASSERT_TRUE(showActive(open(kit.page(QStringLiteral("Home")), 1, 3)));
    PageFooter *footer = view->footer();
    // Page 1 alone: the previous chevron shows but does nothing.
    EXPECT_EQ(footer->previousButton()->look(), SymbolButton::Look::Faded);
    QTest::mouseClick(footer->previousButton(), Qt::LeftButton);
    QTest::mouseClick(footer->nextButton(), Qt::LeftButton);
    QTest::mouseClick(footer->numberBlock(), Qt::LeftButton);
    settle();
    EXPECT_EQ(calls.prev, 0);
    EXPECT_EQ(calls.next, 1);
    EXPECT_EQ(calls.contents, 1);

    view->setNumbers(2, 3);
    QTest::mouseClick(footer->previousButton(), Qt::LeftButton);
    settle();
    EXPECT_EQ(calls.prev, 1);

    // In a spread only the outward chevrons remain.
    view->setSide(PageSide::Left);
    EXPECT_EQ(footer->nextButton()->look(), SymbolButton::Look::Hidden);
    QTest::mouseClick(footer->nextButton(), Qt::LeftButton);
    settle();
    EXPECT_EQ(calls.next, 1);
}

TEST_F(PageMenu, tearingOutAsksFirstUnlessThePageIsBlank)
{
    open(kit.page(QString()), 1, 2).requestTearOut();
    EXPECT_FALSE(view->isConfirmingTearOut());
    settle();
    EXPECT_EQ(calls.tearOut, 1) << "a blank page goes at once";

    ASSERT_TRUE(showActive(open(kit.page(QStringLiteral("Ideas")), 2, 2)));
    view->optionsMenu()->rebuild();
    view->optionsMenu()->action(QStringLiteral("Tear Out Page"))->trigger();
    ASSERT_TRUE(view->isConfirmingTearOut()) << "a title alone is worth asking about";
    QMessageBox *box = view->tearOutConfirmation();
    EXPECT_EQ(box->text(), QStringLiteral("Tear out this page and everything on it?"));
    QPushButton *tear = buttonLabelled(box, QStringLiteral("Tear Out"));
    ASSERT_TRUE(tear);
    EXPECT_EQ(box->buttonRole(tear), QMessageBox::DestructiveRole);
    EXPECT_EQ(tear->palette().color(QPalette::ButtonText), alertColor(kit.appearance.scheme()))
        << "and it reads as one";

    box->button(QMessageBox::Cancel)->click();
    settle();
    EXPECT_FALSE(view->isConfirmingTearOut());
    EXPECT_EQ(calls.tearOut, 1) << "cancelling changes nothing";

    view->requestTearOut();
    buttonLabelled(view->tearOutConfirmation(), QStringLiteral("Tear Out"))->click();
    settle();
    EXPECT_EQ(calls.tearOut, 2);
}

TEST_F(PageMenu, aConfirmationOutlivingItsPageTearsNothingOut)
{
    Page *page = kit.page(QStringLiteral("Ideas"), { "sketch" });
    ASSERT_TRUE(showActive(open(page, 2, 2)));
    view->requestTearOut();
    ASSERT_TRUE(view->isConfirmingTearOut());
    QPointer<QMessageBox> box = view->tearOutConfirmation();

    // The mirror removes the page while the question is open; saying yes now
    // would tear out whichever page took its place in the book.
    kit.store->remove(page);
    settle();
    EXPECT_FALSE(view->isConfirmingTearOut());
    EXPECT_TRUE(!box || !box->isVisible());
    EXPECT_EQ(calls.tearOut, 0);
}
