// The task card writing its task as the user edits it, and letting go of it
// when it closes or when the task goes away underneath.
#include "ui/card/TaskCard.h"
#include "CardKit.h"
#include "core/model/RecordPointer.h"
#include "core/tasks/TaskSummary.h"
#include "ui/card/CardSwitch.h"
#include "ui/card/GrowingTextEdit.h"
#include "ui/card/PlaceSection.h"
#include "ui/card/PlainButton.h"
#include "ui/card/WhenSection.h"
#include "ui/places/LocationPicker.h"
#include "ui/places/MapPreview.h"
#include "ui/places/SuggestionRow.h"
#include "ui/tasks/Pill.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace quillery;
using namespace quillery::ui;
using namespace quillery::test;
using ::testing::_;

namespace {

// Fails the test when `task` is already gone from the store.
auto whileAlive()
{
    return [](TaskItem *task) { EXPECT_FALSE(task->isDeleted()) << "the alarm must go before the task"; };
}

} // namespace

TEST(TaskCard, closingWithABlankTitleOrDeletingDiscardsTheTaskAndOnlyOnce)
{
    CardKit kit;
    Page *page = kit.page(QStringLiteral("Week"), { "Dentist", "Bills" });
    TaskItem *dentist = page->sortedTasks().at(0);
    const auto card = kit.showCard(dentist);
    QSignalSpy dismissed(card.get(), &TaskCard::dismissed);

    card->titleField()->setPlainText(QStringLiteral(" \t  "));
    EXPECT_EQ(dentist->text(), QStringLiteral(" \t  "));
    EXPECT_CALL(kit.alarms, cancel(dentist)).WillOnce(whileAlive());
    QTest::keyClick(card->titleField(), Qt::Key_Escape);
    card->dismiss();
    EXPECT_EQ(dismissed.count(), 1);
    EXPECT_TRUE(dentist->isDeleted());
    ::testing::Mock::VerifyAndClearExpectations(&kit.alarms);

    TaskItem *bills = page->sortedTasks().at(0);
    const auto second = kit.showCard(bills);
    QSignalSpy secondClosed(second.get(), &TaskCard::dismissed);
    EXPECT_CALL(kit.alarms, cancel(bills)).WillOnce(whileAlive());
    EXPECT_CALL(kit.alarms, schedule(_)).Times(0);
    second->scrollArea()->ensureWidgetVisible(second->deleteButton());
    const RecordPointer<TaskItem> billed(bills);
    click(second->deleteButton());
    second->deleteTask();
    EXPECT_EQ(secondClosed.count(), 1);
    EXPECT_TRUE(!billed || billed->isDeleted());
    EXPECT_TRUE(page->sortedTasks().isEmpty());
}

TEST(TaskCard, typingWritesAtOnceAndKeepsThePendingNotificationCurrent)
{
    CardKit kit;
    Page *page = kit.page(QStringLiteral("Week"), { "Call" });
    TaskItem *task = page->sortedTasks().at(0);
    const auto card = kit.showCard(task);

    EXPECT_CALL(kit.alarms, schedule(task)).Times(4);
    card->titleField()->setFocus();
    card->titleField()->moveCursor(QTextCursor::End);
    QTest::keyClicks(card->titleField(), QStringLiteral(" Sam"));
    EXPECT_EQ(task->text(), QStringLiteral("Call Sam"));
    // Return leaves the title instead of breaking it; pasted breaks become
    // spaces.
    QTest::keyClick(card->titleField(), Qt::Key_Return);
    EXPECT_EQ(task->text(), QStringLiteral("Call Sam"));
    EXPECT_FALSE(card->titleField()->hasFocus());
    ::testing::Mock::VerifyAndClearExpectations(&kit.alarms);
    QGuiApplication::clipboard()->setText(QStringLiteral(" at\n5\r\n"));
    card->titleField()->moveCursor(QTextCursor::End);
    card->titleField()->paste();
    EXPECT_EQ(task->text(), QStringLiteral("Call Sam at 5 "));

    // Notes are written as typed, line breaks and all.
    card->notesField()->setFocus();
    QTest::keyClicks(card->notesField(), QStringLiteral("ask"));
    QTest::keyClick(card->notesField(), Qt::Key_Return);
    EXPECT_EQ(task->notes(), QStringLiteral("ask\n"));

    // Changes from elsewhere show in the fields without being written back.
    QSignalSpy written(task->notifier(), &TaskNotifier::textChanged);
    task->setText(QStringLiteral("Call Sam back"));
    EXPECT_EQ(card->titleField()->toPlainText(), QStringLiteral("Call Sam back"));
    EXPECT_EQ(written.count(), 1);
    task->setNotes(QString());
    EXPECT_EQ(card->notesField()->toPlainText(), QString());
    EXPECT_EQ(task->notes(), QString());
}

TEST(TaskCard, theSubtaskSwitchKnowsOnlyLevelsZeroAndOneAndThePaperIsThePages)
{
    CardKit kit;
    Page *page = kit.page(QStringLiteral("Week"), { "Plan", ">Step" }, 4);
    TaskItem *step = page->sortedTasks().at(1);
    step->setIndent(3);
    const double order = step->order();
    const auto card = kit.showCard(step);

    EXPECT_TRUE(card->subtaskSwitch()->isChecked());
    click(card->subtaskSwitch());
    EXPECT_EQ(step->indent(), 0);
    EXPECT_FALSE(card->subtaskSwitch()->isChecked());
    click(card->subtaskSwitch());
    EXPECT_EQ(step->indent(), 1);
    EXPECT_EQ(step->order(), order);

    step->setIndent(0);
    EXPECT_FALSE(card->subtaskSwitch()->isChecked());

    EXPECT_EQ(card->colorIndex(), 4);
    page->setColorIndex(2);
    EXPECT_EQ(card->colorIndex(), 2);
    step->setPage(nullptr);
    EXPECT_EQ(card->colorIndex(), 0);
}

TEST(TaskCard, aPlaceChosenThenRemovedLeavesNothingBehind)
{
    CardKit kit;
    Page *page = kit.page(QStringLiteral("Errands"), { "Return books" });
    TaskItem *task = page->sortedTasks().at(0);
    const auto card = kit.showCard(task);
    PlaceSection *place = card->placeSection();
    EXPECT_FALSE(place->placeView()->isVisible());

    // Choosing through the picker writes the place, then schedules.
    EXPECT_CALL(kit.alarms, schedule(task)).Times(1);
    card->scrollArea()->ensureWidgetVisible(place->addButton());
    click(place->addButton());
    LocationPicker *picker = place->picker();
    ASSERT_TRUE(picker);
    EXPECT_EQ(picker->current(), std::nullopt);
    QTest::keyClicks(picker->searchField(), QStringLiteral("Lib"));
    kit.places.completer->answer(
        picker->query(), { suggestion(QStringLiteral("Library"), QStringLiteral("Springfield"), 39.8, -89.65) });
    ASSERT_EQ(picker->rows().size(), 1);
    click(picker->rows().first());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !place->picker(); })) << "the picker closed";
    EXPECT_EQ(task->place(), (Place { QStringLiteral("Library"), QStringLiteral("Springfield"), 39.8, -89.65 }));
    ASSERT_TRUE(place->placeView()->isVisible());
    EXPECT_EQ(place->nameLabel()->text(), QStringLiteral("Library"));
    EXPECT_EQ(place->addressLabel()->text(), QStringLiteral("Springfield"));
    EXPECT_EQ(place->mapPreview()->place(), task->place());
    EXPECT_EQ(summaryLine(*task, kit.services().calendar), QStringLiteral("Library"));
    ::testing::Mock::VerifyAndClearExpectations(&kit.alarms);

    // "Remove" clears all four fields and schedules nothing.
    EXPECT_CALL(kit.alarms, schedule(_)).Times(0);
    click(place->removeButton());
    EXPECT_EQ(task->latitude(), std::nullopt);
    EXPECT_EQ(task->longitude(), std::nullopt);
    EXPECT_TRUE(task->placeName().isEmpty());
    EXPECT_TRUE(task->placeAddress().isEmpty());
    EXPECT_EQ(summaryLine(*task, kit.services().calendar), std::nullopt);
    EXPECT_TRUE(place->addButton()->isVisible());
    EXPECT_FALSE(place->placeView()->isVisible());
    ::testing::Mock::VerifyAndClearExpectations(&kit.alarms);

    // "Remove location" in the picker clears it too, closes the picker,
    // and schedules once.
    task->setPlace(Place { QStringLiteral("Home"), QString(), 1, 2 });
    EXPECT_FALSE(place->addressLabel()->isVisible());
    EXPECT_CALL(kit.alarms, schedule(task)).Times(1);
    click(place->changeButton());
    ASSERT_TRUE(place->picker());
    EXPECT_EQ(place->picker()->current(), task->place());
    click(place->picker()->findChild<QPushButton *>(QStringLiteral("removeLocationButton")));
    EXPECT_EQ(task->place(), std::nullopt);
    EXPECT_EQ(task->latitude(), std::nullopt);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !place->picker(); }));
}

TEST(TaskCard, theCardLetsGoOfATaskThatDisappearsUnderIt)
{
    CardKit kit;
    Page *page = kit.page(QStringLiteral("Week"), { "One", "Two" });
    TaskItem *one = page->sortedTasks().at(0);
    TaskItem *two = page->sortedTasks().at(1);
    one->setText(QString()); // blank: closing would delete it, but it is gone

    EXPECT_CALL(kit.alarms, cancel(_)).Times(0);
    EXPECT_CALL(kit.alarms, schedule(_)).Times(0);
    const auto first = kit.showCard(one);
    QSignalSpy firstClosed(first.get(), &TaskCard::dismissed);
    kit.store->remove(one); // deleted by the mirror, say
    EXPECT_EQ(firstClosed.count(), 1);
    EXPECT_EQ(first->task(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // the record itself is destroyed
    first->dismiss();
    first->deleteTask();
    first->refresh();
    EXPECT_EQ(firstClosed.count(), 1);

    // Torn out with its page.
    const auto second = kit.showCard(two);
    QSignalSpy secondClosed(second.get(), &TaskCard::dismissed);
    kit.store->remove(page);
    EXPECT_EQ(secondClosed.count(), 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    click(second->whenSection()->findChild<Pill *>(QStringLiteral("todayPill")));
    EXPECT_EQ(kit.store->tasks().size(), 0);
}
