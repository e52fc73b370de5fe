// The "When" section of the card at fixed moments: quick days, the date
// picker, "Clear", the reminder and its time, in New York on Tuesday
// 5 January 2027 at 10:00.
#include "ui/card/WhenSection.h"
#include "CardKit.h"
#include "ui/card/CardSwitch.h"
#include "ui/card/GrowingTextEdit.h"
#include "ui/card/PlainButton.h"
#include "ui/tasks/Pill.h"

#include <QCalendarWidget>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTimeEdit>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace quillery;
using namespace quillery::ui;
using namespace quillery::test;
using quillery::ReminderDates::QuickDay;
using ::testing::_;

namespace {

struct Shown : ShownCard {
    WhenSection *when = card->whenSection();

    Shown()
        : ShownCard("Dentist")
    { }

    // Which quick-day pills are on: "T.." for Today alone.
    QString pillsOn() const
    {
        QString out;
        for (QuickDay which : { QuickDay::Today, QuickDay::Tomorrow, QuickDay::Monday })
            out += when->quickDayPill(which)->isOn() ? u'T' : u'.';
        return out;
    }
};

} // namespace

TEST(WhenSection, quickDaysSetTheDueDayAndLightTheirPillAndClearTakesDayAndReminderAway)
{
    Shown s;
    EXPECT_FALSE(s.when->dayLabel()->isVisible());
    EXPECT_FALSE(s.when->remindSwitch()->isVisible());
    EXPECT_EQ(s.pillsOn(), QStringLiteral("..."));

    EXPECT_CALL(s.kit.alarms, schedule(s.task)).Times(3);
    click(s.when->quickDayPill(QuickDay::Tomorrow));
    EXPECT_EQ(s.kit.wall(s.task->due()), QStringLiteral("2027-01-06 00:00"));
    EXPECT_EQ(s.pillsOn(), QStringLiteral(".T."));
    EXPECT_EQ(s.when->dayLabel()->text(), QStringLiteral("Tomorrow"));
    EXPECT_TRUE(s.when->remindSwitch()->isVisible());
    EXPECT_FALSE(s.when->remindSwitch()->isChecked());
    EXPECT_FALSE(s.when->timePicker()->isVisible());

    click(s.when->quickDayPill(QuickDay::Monday));
    EXPECT_EQ(s.kit.wall(s.task->due()), QStringLiteral("2027-01-11 00:00"));
    EXPECT_EQ(s.pillsOn(), QStringLiteral("..T"));
    click(s.when->quickDayPill(QuickDay::Today));
    EXPECT_EQ(s.pillsOn(), QStringLiteral("T.."));
    ::testing::Mock::VerifyAndClearExpectations(&s.kit.alarms);

    // The last word to the alarm service is about a task without an alarm.
    s.task->setAlarm(s.kit.newYork(2027, 1, 5, 17, 45));
    s.card->refresh();
    QStringList alarmsScheduled;
    EXPECT_CALL(s.kit.alarms, schedule(s.task)).WillRepeatedly([&](TaskItem *task) {
        alarmsScheduled << s.kit.wall(task->alarm());
    });
    click(s.when->clearButton());
    EXPECT_EQ(s.task->due(), std::nullopt);
    EXPECT_EQ(s.task->alarm(), std::nullopt);
    ASSERT_FALSE(alarmsScheduled.isEmpty());
    EXPECT_EQ(alarmsScheduled.last(), QStringLiteral("none"));
    EXPECT_FALSE(s.when->dayLabel()->isVisible());
    EXPECT_FALSE(s.when->timePicker()->isVisible());
    EXPECT_EQ(s.pillsOn(), QStringLiteral("..."));
}

TEST(WhenSection, theDatePickerOpensOnRequestStaysForFarDaysAndKeepsABrowsedMonth)
{
    Shown s;
    QCalendarWidget *picker = s.when->datePicker();
    EXPECT_FALSE(picker->isVisible());
    click(s.when->calendarPill());
    EXPECT_TRUE(s.when->calendarPill()->isOn());
    ASSERT_TRUE(picker->isVisible());
    EXPECT_EQ(picker->selectedDate(), QDate(2027, 1, 5)) << "shows now without a due day";

    // A picked day keeps the time of day the picker showed (now).
    picker->setSelectedDate(QDate(2027, 1, 13));
    EXPECT_EQ(s.kit.wall(s.task->due()), QStringLiteral("2027-01-13 10:00"));
    EXPECT_EQ(s.pillsOn(), QStringLiteral("..."));
    EXPECT_EQ(s.when->dayLabel()->text(), QStringLiteral("Wed, Jan 13"));

    // Closing the request leaves the picker open for a day eight days away.
    click(s.when->calendarPill());
    EXPECT_FALSE(s.when->isPickingDate());
    EXPECT_TRUE(picker->isVisible());
    // A quick day closes it, as does "Clear".
    click(s.when->quickDayPill(QuickDay::Tomorrow));
    EXPECT_FALSE(picker->isVisible());
    click(s.when->calendarPill());
    EXPECT_TRUE(picker->isVisible());
    click(s.when->clearButton());
    EXPECT_FALSE(picker->isVisible());
    EXPECT_FALSE(s.when->calendarPill()->isOn());

    // A month browsed to stays through the card's refreshes.
    click(s.when->calendarPill());
    for (int i = 0; i < 3; ++i)
        click(picker->findChild<QToolButton *>(QStringLiteral("qt_calendar_nextmonth")));
    ASSERT_EQ(picker->monthShown(), 4);

    // The card reads the clock again now and then: twice, a minute later.
    auto *clock = s.card->findChild<QTimer *>(QStringLiteral("cardClock"));
    ASSERT_TRUE(clock);
    QSignalSpy ticks(clock, &QTimer::timeout);
    s.kit.clock.set(s.kit.newYork(2027, 1, 5, 10, 1));
    clock->setInterval(20);
    ASSERT_TRUE(ticks.wait(1000) && ticks.wait(1000));
    EXPECT_EQ(picker->monthShown(), 4) << "still April";

    // A new due day does turn the calendar to it.
    s.task->setDue(s.kit.newYork(2027, 2, 20, 0, 0));
    EXPECT_EQ(picker->monthShown(), 2);
}

TEST(WhenSection, theReminderStartsAtNineOrTheNextHourAndFollowsItsDay)
{
    Shown s;
    click(s.when->quickDayPill(QuickDay::Tomorrow));

    // Switching on schedules, asks for permission, then schedules again.
    std::function<void(bool)> answer;
    EXPECT_CALL(s.kit.alarms, ensurePermission(_)).WillOnce([&answer](std::function<void(bool)> done) {
        answer = std::move(done);
    });
    EXPECT_CALL(s.kit.alarms, schedule(s.task)).Times(1);
    click(s.when->remindSwitch());
    EXPECT_EQ(s.kit.wall(s.task->alarm()), QStringLiteral("2027-01-06 09:00"));
    EXPECT_TRUE(s.when->timePicker()->isVisible());
    EXPECT_EQ(s.when->timePicker()->time(), QTime(9, 0));
    EXPECT_FALSE(s.when->passedLabel()->isVisible());
    ::testing::Mock::VerifyAndClearExpectations(&s.kit.alarms);
    EXPECT_CALL(s.kit.alarms, schedule(s.task)).Times(1);
    ASSERT_TRUE(answer);
    answer(false); // refused: the reminder stays
    EXPECT_TRUE(s.task->alarm().has_value());
    ::testing::Mock::VerifyAndClearExpectations(&s.kit.alarms);

    // Moving the day to today keeps 09:00, which has passed at 10:00.
    click(s.when->quickDayPill(QuickDay::Today));
    EXPECT_EQ(s.kit.wall(s.task->alarm()), QStringLiteral("2027-01-05 09:00"));
    EXPECT_TRUE(s.when->passedLabel()->isVisible());
    EXPECT_EQ(s.when->passedLabel()->text(), QStringLiteral("That time has already passed."));

    // A later time clears the warning.
    EXPECT_CALL(s.kit.alarms, schedule(s.task)).Times(1);
    s.when->timePicker()->setTime(QTime(11, 30));
    EXPECT_EQ(s.kit.wall(s.task->alarm()), QStringLiteral("2027-01-05 11:30"));
    EXPECT_FALSE(s.when->passedLabel()->isVisible());
    ::testing::Mock::VerifyAndClearExpectations(&s.kit.alarms);

    // Off and on again for today, now past nine: the next full hour.
    click(s.when->remindSwitch());
    EXPECT_EQ(s.task->alarm(), std::nullopt);
    s.kit.clock.set(s.kit.newYork(2027, 1, 5, 14, 10));
    click(s.when->remindSwitch());
    EXPECT_EQ(s.kit.wall(s.task->alarm()), QStringLiteral("2027-01-05 15:00"));
}

TEST(WhenSection, aTimeTypedAfterOneClickOrTabIsTakenAsTyped)
{
    Shown s;
    s.task->setDue(s.kit.newYork(2027, 1, 6, 0, 0));
    s.task->setAlarm(s.kit.newYork(2027, 1, 6, 9, 0));
    s.card->refresh();
    settle(); // the card is taller than its window now: its scroll bar comes
    QTimeEdit *time = s.when->timePicker();
    auto *text = time->findChild<QLineEdit *>();

    // One click on the hours, then digits: a complete time is written as
    // soon as it is one, the half of the day with a single letter.
    QTest::mouseClick(text, Qt::LeftButton, {}, QPoint(12, text->height() / 2));
    settle();
    QTest::keyClicks(time, QStringLiteral("252"));
    EXPECT_EQ(s.kit.wall(s.task->alarm()), QStringLiteral("2027-01-06 02:52"));
    QTest::keyClicks(time, QStringLiteral("pm"));
    EXPECT_EQ(s.kit.wall(s.task->alarm()), QStringLiteral("2027-01-06 14:52"));

    // Tab in, new hours, the minutes rubbed out: read when the field is left.
    s.card->notesField()->setFocus(Qt::TabFocusReason);
    time->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(time, QStringLiteral("7"));
    QTest::keyClick(time, Qt::Key_Backspace);
    EXPECT_EQ(s.kit.wall(s.task->alarm()), QStringLiteral("2027-01-06 19:52"));
    s.card->notesField()->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(s.kit.wall(s.task->alarm()), QStringLiteral("2027-01-06 19:00"));
}
