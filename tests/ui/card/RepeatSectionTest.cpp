// The card's "Repeat" row in New York on Tuesday 5 January 2027: the pills,
// the custom editor and a rule from elsewhere.
#include "ui/card/RepeatSection.h"
#include "CardKit.h"
#include "ui/card/RepeatEditor.h"
#include "ui/tasks/Pill.h"

#include <QComboBox>
#include <QLabel>
#include <QSpinBox>
#include <gtest/gtest.h>

using namespace quillery;
using namespace quillery::ui;
using namespace quillery::test;

namespace {

struct Shown : ShownCard {
    RepeatSection *repeat = card->repeatSection();

    Shown()
        : ShownCard("Water the plants")
    { }

    RepeatPreset lit() const
    {
        for (int i = 0; i <= int(RepeatPreset::Custom); ++i) {
            if (repeat->pill(RepeatPreset(i))->isOn())
                return RepeatPreset(i);
        }
        return RepeatPreset(-1);
    }
};

} // namespace

TEST(RepeatSection, aPillSetsTheRuleAndGivesATaskWithoutADayTodayAndARuleFromElsewhereIsKept)
{
    Shown s;
    EXPECT_EQ(s.lit(), RepeatPreset::Never);
    click(s.repeat->pill(RepeatPreset::Weekdays));
    EXPECT_EQ(s.task->repeat(), "FREQ=WEEKLY;BYDAY=MO,TU,WE,TH,FR");
    EXPECT_EQ(s.kit.wall(s.task->due()), "2027-01-05 00:00");
    EXPECT_EQ(s.lit(), RepeatPreset::Weekdays);
    EXPECT_FALSE(s.repeat->customLabel()->isVisible());

    s.task->setDue(s.kit.newYork(2027, 1, 29, 0, 0));
    click(s.repeat->pill(RepeatPreset::Monthly));
    EXPECT_EQ(s.task->repeat(), "FREQ=MONTHLY;BYMONTHDAY=28,29;BYSETPOS=-1") << "the 29th outlives February";
    EXPECT_EQ(s.lit(), RepeatPreset::Monthly);
    click(s.repeat->pill(RepeatPreset::Never));
    EXPECT_TRUE(s.task->repeat().isEmpty());
    EXPECT_EQ(s.kit.wall(s.task->due()), "2027-01-29 00:00") << "the day stays";

    // A rule from elsewhere (an imported file) is named, and opening and
    // closing the editor leaves it as it was.
    const QString imported = QStringLiteral("FREQ=MONTHLY;BYDAY=MO,TU;BYSETPOS=2");
    s.task->setRepeat(imported);
    EXPECT_EQ(s.lit(), RepeatPreset::Custom);
    EXPECT_EQ(s.repeat->customLabel()->text(), "Repeats (custom rule)");
    click(s.repeat->pill(RepeatPreset::Custom));
    click(s.repeat->pill(RepeatPreset::Custom));
    EXPECT_EQ(s.task->repeat(), imported);
}

TEST(RepeatSection, theCustomEditorWritesEachChangeAndShowsItsRule)
{
    Shown s;
    s.task->setDue(s.kit.newYork(2027, 1, 7, 0, 0)); // a Thursday
    click(s.repeat->pill(RepeatPreset::Custom));
    RepeatEditor *editor = s.repeat->editor();
    ASSERT_TRUE(editor->isVisible());
    EXPECT_EQ(s.task->repeat(), "FREQ=WEEKLY;BYDAY=TH");
    editor->intervalBox()->setValue(2);
    click(editor->weekdayPill(Qt::Monday));
    EXPECT_EQ(s.task->repeat(), "FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,TH");
    editor->endBox()->setCurrentIndex(int(RepeatRule::End::AfterCount));
    editor->countBox()->setValue(6);
    EXPECT_EQ(s.task->repeat(), "FREQ=WEEKLY;COUNT=6;INTERVAL=2;BYDAY=MO,TH");
    EXPECT_EQ(s.lit(), RepeatPreset::Custom);
    EXPECT_TRUE(s.repeat->customLabel()->isVisible());
    EXPECT_EQ(s.repeat->customLabel()->text(), "Every 2 weeks on Mon, Thu, 6 times");

    editor->unitBox()->setCurrentIndex(int(RepeatRule::Unit::Month));
    EXPECT_FALSE(editor->weekdayPill(Qt::Monday)->isVisible());
    EXPECT_EQ(editor->monthBox()->itemText(1), "On the first Thursday");
    editor->monthBox()->setCurrentIndex(int(RepeatRule::MonthBy::Weekday));
    EXPECT_EQ(s.task->repeat(), "FREQ=MONTHLY;COUNT=6;INTERVAL=2;BYDAY=1TH");
}
