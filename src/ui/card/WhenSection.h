#pragma once

#include "core/app/Services.h"
#include "core/model/RecordPointer.h"
#include "core/tasks/ReminderDates.h"

#include <QColor>
#include <QPointer>
#include <QWidget>

class QCalendarWidget;
class QFrame;
class QLabel;
class QTimeEdit;

namespace quillery {
class TaskItem;
}

namespace quillery::ui {

class CardSwitch;
class Pill;
class PlainButton;

// The body of the card's "When" section: the quick-day pills (Today,
// Tomorrow, Monday and the calendar button), the date picker, the due day
// with "Clear", "Remind me", the reminder's time and the warning that the
// time has passed. Every control writes the task at once; a change of the
// reminder here is followed by a call to the alarm service (a due day that
// moves is the card's to follow up).
class WhenSection final : public QWidget
{
    Q_OBJECT
public:
    WhenSection(TaskItem *task, const Services &services, QWidget *parent = nullptr);

    void setAccent(const QColor &accent);

    // Reads the task and the clock again.
    void refresh();

    bool isPickingDate() const { return m_pickingDate; }

    Pill *quickDayPill(ReminderDates::QuickDay which) const;
    Pill *calendarPill() const { return m_calendarPill; }
    QCalendarWidget *datePicker() const { return m_datePicker; }
    QLabel *dayLabel() const { return m_dayLabel; }
    PlainButton *clearButton() const { return m_clear; }
    CardSwitch *remindSwitch() const { return m_remind; }
    QTimeEdit *timePicker() const { return m_timePicker; }
    QLabel *passedLabel() const { return m_passed; }

private:
    TaskItem *task() const;
    void buildQuickDays();
    void buildDatePicker();
    void buildDueRows();
    void chooseQuickDay(ReminderDates::QuickDay which);
    void flipPickingDate();
    void pickDay(const QDate &day);
    void clear();
    void switchReminder(bool on);
    void pickTime(const QTime &time);
    void restyle();
    void schedule(TaskItem *task);
    // Keeps keyboard focus in the card when a focused control hides.
    void rescueFocus(QWidget *hiding, QWidget *to);

    RecordPointer<TaskItem> m_task;
    Services m_services;
    QColor m_accent;
    bool m_pickingDate = false;

    Pill *m_todayPill = nullptr;
    Pill *m_tomorrowPill = nullptr;
    Pill *m_mondayPill = nullptr;
    Pill *m_calendarPill = nullptr;
    QCalendarWidget *m_datePicker = nullptr;
    QWidget *m_dueRows = nullptr;
    QLabel *m_dayLabel = nullptr;
    PlainButton *m_clear = nullptr;
    QFrame *m_divider = nullptr;
    CardSwitch *m_remind = nullptr;
    QWidget *m_timeRow = nullptr;
    QLabel *m_at = nullptr;
    QTimeEdit *m_timePicker = nullptr;
    QLabel *m_passed = nullptr;
};

} // namespace quillery::ui
