// The card as a sheet over the window: one at a time, closed by the
// keyboard, keeping Tab and the window's shortcuts to itself.
#include "ui/card/TaskCardSheet.h"
#include "CardKit.h"
#include "ui/card/GrowingTextEdit.h"
#include "ui/card/TaskCardHost.h"

#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace quillery;
using namespace quillery::ui;
using namespace quillery::test;

namespace {

// A window with a field of its own and a shortcut, standing in for the book.
struct Window {
    QWidget widget;
    QLineEdit *field = new QLineEdit(&widget);
    QShortcut *next = new QShortcut(QKeySequence(QStringLiteral("Ctrl+]")), &widget);
    int turns = 0;

    Window()
    {
        (new QVBoxLayout(&widget))->addWidget(field);
        QObject::connect(next, &QShortcut::activated, &widget, [this] { ++turns; });
        EXPECT_TRUE(showActive(widget, QSize(600, 834)));
        field->setFocus();
    }
};

std::string geometryText(const QWidget *widget)
{
    const QRect r = widget->geometry();
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()).toStdString();
}

// The accessible names met pressing Tab (or Shift+Tab) `count` times.
QStringList tabThrough(int count, bool forward = true)
{
    QStringList names;
    for (int i = 0; i < count; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, forward ? Qt::NoModifier : Qt::ShiftModifier);
        QWidget *focus = QApplication::focusWidget();
        names << (focus ? focus->accessibleName() : QStringLiteral("<none>"));
    }
    return names;
}

class TaskCardSheetTest : public ::testing::Test
{
protected:
    CardKit kit;
    TaskCardHost cards { kit.cardServices() };
    Window window;
    Page *page = kit.page(QStringLiteral("Week"), { "One", "Two" });
    TaskItem *one = page->sortedTasks().at(0);
};

} // namespace

TEST_F(TaskCardSheetTest, opensCentredOverTheWindowOneAtATime)
{
    TaskItem *two = page->sortedTasks().at(1);

    TaskCard *card = cards.open(one, &window.widget);
    ASSERT_TRUE(card);
    EXPECT_EQ(cards.current(), card);
    auto *sheet = qobject_cast<TaskCardSheet *>(card->parentWidget());
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->geometry(), window.widget.rect());
    // It rises into place.
    EXPECT_TRUE(QTest::qWaitFor([&] { return card->geometry() == QRect(80, 97, 440, 640); }, 3000))
        << geometryText(card);
    EXPECT_TRUE(card->isAncestorOf(QApplication::focusWidget()) || card->hasFocus());

    EXPECT_EQ(cards.open(one, &window.widget), card);
    // Another task: the first card closes as "Done" would (its blank title
    // deletes it).
    one->setText(QString());
    QPointer<TaskCard> first(card);
    TaskCard *second = cards.open(two, &window.widget);
    EXPECT_NE(second, card);
    EXPECT_TRUE(one->isDeleted());
    EXPECT_EQ(cards.current(), second);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !first; }, 3000)) << "the first sheet went away";

    // A small window keeps a margin around a shorter card.
    window.widget.resize(500, 500);
    EXPECT_TRUE(QTest::qWaitFor([&] { return second->geometry() == QRect(30, 12, 440, 476); }, 3000))
        << geometryText(second);
    second->dismiss();
    EXPECT_EQ(cards.current(), nullptr);

    // A task still to be named opens with the caret in its title.
    TaskItem *fresh = addTask(QString(), 0, page, *kit.store);
    TaskCard *third = cards.open(fresh, &window.widget);
    EXPECT_TRUE(third->titleField()->hasFocus());
    third->dismiss();
    EXPECT_TRUE(fresh->isDeleted());
}

TEST_F(TaskCardSheetTest, escapeAndControlWCloseItAndTheWindowGetsItsKeysBack)
{
    for (const QKeySequence &close : { QKeySequence(Qt::Key_Escape), QKeySequence(QStringLiteral("Ctrl+W")) }) {
        TaskCard *card = cards.open(one, &window.widget);
        ASSERT_TRUE(card);
        QPointer<TaskCard> watched(card);
        card->titleField()->setFocus();
        // The window's shortcuts stay quiet under the card.
        QTest::keySequence(card->titleField(), QKeySequence(QStringLiteral("Ctrl+]")));
        EXPECT_EQ(window.turns, 0);
        QTest::keySequence(card->titleField(), close);
        EXPECT_TRUE(card->isDismissed()) << close.toString().toStdString();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !watched; }, 3000));
        EXPECT_TRUE(window.field->hasFocus()) << "focus returns where it was";
        EXPECT_FALSE(one->isDeleted());
    }
    QTest::keySequence(window.field, QKeySequence(QStringLiteral("Ctrl+]")));
    EXPECT_EQ(window.turns, 1);
}

TEST_F(TaskCardSheetTest, tabGoesRoundTheCardInReadingOrderAndNeverLeavesIt)
{
    TaskCard *card = cards.open(one, &window.widget);
    EXPECT_EQ(tabThrough(18),
        QStringList({ "Task", "Done", "Today", "Tomorrow", "Monday", "Pick a date", "Never", "Daily", "Weekdays",
            "Weekly", "Monthly", "Yearly", "Custom…", "Subtask", "Add a place", "Notes", "Delete Task", "Task" }));
    EXPECT_EQ(tabThrough(2, false), QStringList({ "Delete Task", "Notes" }));
    card->dismiss();

    // With a day, a reminder and a place, their controls join in order (Tab
    // goes through the hour, minute and AM/PM of the time).
    one->setDue(kit.newYork(2027, 1, 6, 0, 0));
    one->setAlarm(kit.newYork(2027, 1, 6, 9, 0));
    one->setPlace(Place { QStringLiteral("Pool"), QStringLiteral("1 Main Street"), 40.7, -74.0 });
    card = cards.open(one, &window.widget);
    EXPECT_EQ(tabThrough(23),
        QStringList({ "Task", "Done", "Today", "Tomorrow", "Monday", "Pick a date", "Clear", "Remind me", "Time",
            "Time", "Time", "Never", "Daily", "Weekdays", "Weekly", "Monthly", "Yearly", "Custom…", "Subtask", "Change",
            "Remove", "Map of Pool", "Notes" }));
    // Far from the controls at the top, a focused control is scrolled to.
    EXPECT_GT(card->scrollArea()->verticalScrollBar()->value(), 0);
    card->dismiss();
}
