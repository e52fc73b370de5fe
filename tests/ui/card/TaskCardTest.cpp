// The task card writing its task as the user edits it, and letting go of it
// when it closes or when the task goes away underneath.
#include "ui/card/TaskCard.h"
#include "CardKit.h"
#include "core/model/Attachment.h"
#include "core/model/Page.h"
#include "core/model/TaskItem.h"
#include "core/tasks/TaskSummary.h"
#include "ui/card/CardSection.h"
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
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace quillery;
using namespace quillery::ui;
using namespace quillery::test;
using ::testing::_;

namespace {

QStringList texts(const Page *page)
{
    QStringList out;
    for (const TaskItem *task : page->sortedTasks())
        out << QStringLiteral("%1%2").arg(QString(task->indent(), u'>'), task->text());
    return out;
}

// Fails the test when `task` is already gone from the store.
auto whileAlive()
{
    return [](TaskItem *task) { EXPECT_FALSE(task->isDeleted()) << "the alarm must go before the task"; };
}

} // namespace

TEST(TaskCard, aTitleLeftBlankDeletesTheTaskAndWithdrawsItsAlarm)
{
    CardKit kit;
    Page *page = kit.page(QStringLiteral("Week"), { "Dentist", "Bills" });
    TaskItem *dentist = page->sortedTasks().at(0);
    dentist->setDue(kit.newYork(2027, 1, 6, 0, 0));
    dentist->setAlarm(kit.newYork(2027, 1, 6, 9, 0));
    TaskCard card(dentist, kit.cardServices());
    ASSERT_TRUE(showActive(card, QSize(TaskCard::Width, TaskCard::Height)));
    QSignalSpy dismissed(&card, &TaskCard::dismissed);

    // Spaces and tabs only, as pasted.
    card.titleField()->setPlainText(QStringLiteral(" \t  "));
    EXPECT_EQ(dentist->text(), QStringLiteral(" \t  "));
    EXPECT_CALL(kit.alarms, cancel(dentist)).WillOnce(whileAlive());
    QTest::keyClick(card.titleField(), Qt::Key_Escape);
    EXPECT_EQ(dismissed.count(), 1);
    EXPECT_TRUE(dentist->isDeleted());
    EXPECT_EQ(texts(page), QStringList({ "Bills" }));

    // A title with anything else in it survives, and closing twice is once.
    TaskItem *bills = page->sortedTasks().at(0);
    TaskCard second(bills, kit.cardServices());
    ASSERT_TRUE(showActive(second, QSize(TaskCard::Width, TaskCard::Height)));
    second.titleField()->setPlainText(QStringLiteral("  .\t"));
    EXPECT_CALL(kit.alarms, cancel(_)).Times(0);
    click(second.doneButton());
    second.dismiss();
    EXPECT_TRUE(second.isDismissed());
    EXPECT_FALSE(bills->isDeleted());
    EXPECT_EQ(bills->text(), QStringLiteral("  .\t"));
}

TEST(TaskCard, typingWritesAtOnceAndKeepsThePendingNotificationCurrent)
{
    CardKit kit;
    Page *page = kit.page(QStringLiteral("Week"), { "Call" });
    TaskItem *task = page->sortedTasks().at(0);
    TaskCard card(task, kit.cardServices());
    ASSERT_TRUE(showActive(card, QSize(TaskCard::Width, TaskCard::Height)));

    EXPECT_CALL(kit.alarms, schedule(task)).Times(4);
    card.titleField()->setFocus();
    card.titleField()->moveCursor(QTextCursor::End);
    QTest::keyClicks(card.titleField(), QStringLiteral(" Sam"));
    EXPECT_EQ(task->text(), QStringLiteral("Call Sam"));
    // Return leaves the title instead of breaking it; pasted breaks become
    // spaces.
    QTest::keyClick(card.titleField(), Qt::Key_Return);
    EXPECT_EQ(task->text(), QStringLiteral("Call Sam"));
    EXPECT_FALSE(card.titleField()->hasFocus());
    ::testing::Mock::VerifyAndClearExpectations(&kit.alarms);
    QGuiApplication::clipboard()->setText(QStringLiteral(" at\n5\r\n"));
    card.titleField()->moveCursor(QTextCursor::End);
    card.titleField()->paste();
    EXPECT_EQ(task->text(), QStringLiteral("Call Sam at 5 "));

    // Notes without an alarm need no notification work; with one they do.
    EXPECT_CALL(kit.alarms, schedule(task)).Times(0);
    card.notesField()->setFocus();
    QTest::keyClicks(card.notesField(), QStringLiteral("ask"));
    QTest::keyClick(card.notesField(), Qt::Key_Return);
    EXPECT_EQ(task->notes(), QStringLiteral("ask\n"));
    ::testing::Mock::VerifyAndClearExpectations(&kit.alarms);
    task->setDue(kit.newYork(2027, 1, 6, 0, 0));
    task->setAlarm(kit.newYork(2027, 1, 6, 9, 0));
    EXPECT_CALL(kit.alarms, schedule(task)).Times(2);
    QTest::keyClicks(card.notesField(), QStringLiteral("hi"));
    ::testing::Mock::VerifyAndClearExpectations(&kit.alarms);

    // Changes from elsewhere show in the fields without being written back.
    QSignalSpy written(task, &TaskItem::textChanged);
    task->setText(QStringLiteral("Call Sam back"));
    EXPECT_EQ(card.titleField()->toPlainText(), QStringLiteral("Call Sam back"));
    EXPECT_EQ(written.count(), 1);
    task->setNotes(QString());
    EXPECT_EQ(card.notesField()->toPlainText(), QString());
    EXPECT_EQ(task->notes(), QString());
}

TEST(TaskCard, theSubtaskSwitchKnowsOnlyLevelsZeroAndOne)
{
    CardKit kit;
    Page *page = kit.page(QStringLiteral("Week"), { "Plan", ">Step" });
    TaskItem *step = page->sortedTasks().at(1);
    step->setIndent(3);
    const double order = step->order();
    TaskCard card(step, kit.cardServices());
    ASSERT_TRUE(showActive(card, QSize(TaskCard::Width, TaskCard::Height)));

    EXPECT_TRUE(card.subtaskSwitch()->isChecked());
    click(card.subtaskSwitch());
    EXPECT_EQ(step->indent(), 0);
    EXPECT_FALSE(card.subtaskSwitch()->isChecked());
    click(card.subtaskSwitch());
    EXPECT_EQ(step->indent(), 1);
    EXPECT_EQ(step->order(), order);

    step->setIndent(0);
    EXPECT_FALSE(card.subtaskSwitch()->isChecked());
}

TEST(TaskCard, deletingATaskTakesItsAttachmentsButLeavesItsSubtasks)
{
    CardKit kit;
    Page *page = kit.page(QStringLiteral("Trip"), { "Pack", ">Socks", ">Charger", "Leave" });
    TaskItem *pack = page->sortedTasks().at(0);
    auto *list = new Attachment(QStringLiteral("list.txt"), QStringLiteral("public.plain-text"), QByteArray("socks"));
    kit.store->insert(list);
    list->setTask(pack);
    TaskCard card(pack, kit.cardServices());
    ASSERT_TRUE(showActive(card, QSize(TaskCard::Width, TaskCard::Height)));
    QSignalSpy dismissed(&card, &TaskCard::dismissed);

    EXPECT_CALL(kit.alarms, cancel(pack)).WillOnce(whileAlive());
    EXPECT_CALL(kit.alarms, schedule(_)).Times(0);
    card.scrollArea()->ensureWidgetVisible(card.deleteButton());
    // The store frees deleted records once the event loop runs again.
    const QPointer<TaskItem> packed(pack);
    const QPointer<Attachment> listed(list);
    click(card.deleteButton());
    EXPECT_EQ(dismissed.count(), 1);
    EXPECT_TRUE(!packed || packed->isDeleted());
    EXPECT_TRUE(!listed || listed->isDeleted());
    EXPECT_EQ(texts(page), QStringList({ ">Socks", ">Charger", "Leave" }));
}

TEST(TaskCard, aPlaceChosenThenRemovedLeavesNothingBehind)
{
    CardKit kit;
    Page *page = kit.page(QStringLiteral("Errands"), { "Return books" });
    TaskItem *task = page->sortedTasks().at(0);
    TaskCard card(task, kit.cardServices());
    ASSERT_TRUE(showActive(card, QSize(TaskCard::Width, TaskCard::Height)));
    PlaceSection *place = card.placeSection();
    EXPECT_FALSE(place->placeView()->isVisible());

    // Choosing through the picker writes the place, then schedules.
    EXPECT_CALL(kit.alarms, schedule(task)).Times(1);
    card.scrollArea()->ensureWidgetVisible(place->addButton());
    click(place->addButton());
    LocationPicker *picker = place->picker();
    ASSERT_TRUE(picker);
    EXPECT_EQ(picker->current(), std::nullopt);
    QTest::keyClicks(picker->searchField(), QStringLiteral("Lib"));
    kit.places.completer->answer(
        picker->query(), { suggestion(QStringLiteral("Library"), QStringLiteral("Springfield"), 39.8, -89.65) });
    ASSERT_EQ(picker->rows().size(), 1);
    click(picker->rows().first());
    settle(50);
    EXPECT_EQ(task->place(), (Place { QStringLiteral("Library"), QStringLiteral("Springfield"), 39.8, -89.65 }));
    EXPECT_FALSE(place->picker()) << "the picker closed";
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

    // "Remove location" in the picker clears it too, and schedules.
    task->setPlace(Place { QStringLiteral("Home"), QString(), 1, 2 });
    EXPECT_FALSE(place->addressLabel()->isVisible());
    EXPECT_CALL(kit.alarms, schedule(task)).Times(1);
    click(place->changeButton());
    ASSERT_TRUE(place->picker());
    EXPECT_EQ(place->picker()->current(), task->place());
    click(place->picker()->findChild<QPushButton *>(QStringLiteral("removeLocationButton")));
    EXPECT_EQ(task->place(), std::nullopt);
    EXPECT_EQ(task->latitude(), std::nullopt);
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
    auto first = std::make_unique<TaskCard>(one, kit.cardServices());
    ASSERT_TRUE(showActive(*first, QSize(TaskCard::Width, TaskCard::Height)));
    QSignalSpy firstClosed(first.get(), &TaskCard::dismissed);
    kit.store->remove(one); // deleted by the mirror, say
    EXPECT_EQ(firstClosed.count(), 1);
    EXPECT_EQ(first->task(), nullptr);
    settle(20); // the record itself is destroyed
    first->dismiss();
    first->deleteTask();
    first->refresh();
    EXPECT_EQ(firstClosed.count(), 1);

    // Torn out with its page.
    TaskCard second(two, kit.cardServices());
    ASSERT_TRUE(showActive(second, QSize(TaskCard::Width, TaskCard::Height)));
    QSignalSpy secondClosed(&second, &TaskCard::dismissed);
    kit.store->remove(page);
    EXPECT_EQ(secondClosed.count(), 1);
    settle(20);
    click(second.whenSection()->findChild<Pill *>(QStringLiteral("todayPill")));
    EXPECT_EQ(kit.store->tasks().size(), 0);
}

TEST(TaskCard, sectionsComeInOrderUnderCapitalHeadingsOnThePagesPaper)
{
    CardKit kit;
    Page *page = kit.page(QStringLiteral("Week"), { "Swim" }, 4);
    TaskItem *task = page->sortedTasks().at(0);
    QList<TaskItem *> madeFor;
    const auto factory = [&madeFor](TaskItem *task, const Services &, QWidget *parent) -> QWidget * {
        madeFor.append(task);
        auto *strip = new QLabel(QStringLiteral("strip"), parent);
        strip->setObjectName(QStringLiteral("strip"));
        return strip;
    };
    TaskCard card(task, kit.cardServices(), factory);
    ASSERT_TRUE(showActive(card, QSize(TaskCard::Width, TaskCard::Height)));

    QStringList headings;
    int lastTop = -1;
    for (CardSection *section : card.sections()) {
        headings << section->heading()->text();
        const int top = section->mapTo(&card, QPoint()).y();
        EXPECT_GT(top, lastTop);
        lastTop = top;
    }
    EXPECT_EQ(headings, QStringList({ "WHEN", "PLACE", "NOTES", "PHOTOS & FILES" }));
    EXPECT_EQ(card.sections().last()->name(), QStringLiteral("Photos & Files"));
    EXPECT_EQ(madeFor, QList<TaskItem *>({ task }));
    ASSERT_TRUE(card.attachmentsBody());
    EXPECT_TRUE(card.attachmentsSection()->isAncestorOf(card.attachmentsBody()));

    EXPECT_EQ(card.colorIndex(), 4);
    page->setColorIndex(2);
    EXPECT_EQ(card.colorIndex(), 2);
    task->setPage(nullptr);
    EXPECT_EQ(card.colorIndex(), 0);

    // Without a factory the section is its heading alone.
    TaskCard plain(task, kit.cardServices(), TaskCard::AttachmentsFactory());
    EXPECT_EQ(plain.attachmentsBody(), nullptr);
    EXPECT_EQ(plain.attachmentsSection()->body()->count(), 0);
}
