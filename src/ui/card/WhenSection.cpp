#include "WhenSection.h"

#include "CardStyle.h"
#include "CardSwitch.h"
#include "PlainButton.h"
#include "TimeField.h"
#include "core/alarms/AlarmService.h"
#include "core/model/RecordPointer.h"
#include "core/model/TaskItem.h"
#include "core/tasks/DayLabel.h"
#include "gui/theme/Appearance.h"
#include "gui/theme/ThemeColors.h"
#include "ui/tasks/Pill.h"
#include "ui/theme/Symbols.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QTableView>
#include <QTextCharFormat>
#include <QTimeEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace quillery::ui {

using ReminderDates::QuickDay;

namespace {

constexpr double TimeScale = 1.15;

QLocale qtLocale(const CalendarContext &calendar)
{
    return QLocale(QString::fromLatin1(calendar.localeName()));
}

// The locale's short time without seconds ("h:mm AP", "HH:mm").
QString hourMinuteFormat(const QLocale &locale)
{
    QString format = locale.timeFormat(QLocale::ShortFormat);
    format.remove(QLatin1String(":ss")).remove(QLatin1String(".ss"));
    return format;
}

} // namespace

WhenSection::WhenSection(TaskItem *task, const Services &services, QWidget *parent)
    : QWidget(parent)
    , m_task(task)
    , m_services(services)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(CardStyle::WhenSpacing);
    buildQuickDays();
    buildDatePicker();
    buildDueRows();

    if (task) {
        connect(task->notifier(), &RecordNotifier::changed, this, [this](Field field) {
            if (field == Field::Due || field == Field::Alarm)
                refresh();
        });
    }
    connect(m_services.appearance, &Appearance::schemeChanged, this, &WhenSection::restyle);
    restyle();
    refresh();
}

TaskItem *WhenSection::task() const
{
    TaskItem *task = m_task.data();
    return task && !task->isDeleted() ? task : nullptr;
}

void WhenSection::buildQuickDays()
{
    auto *row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(CardStyle::QuickDaySpacing);
    const auto addPill = [this, row](const QString &text, QuickDay which) {
        auto *pill = new Pill(text, *m_services.appearance, this);
        connect(pill, &QAbstractButton::clicked, this, [this, which] { chooseQuickDay(which); });
        row->addWidget(pill, 0, Qt::AlignVCenter);
        return pill;
    };
    m_todayPill = addPill(tr("Today"), QuickDay::Today);
    m_todayPill->setObjectName(QStringLiteral("todayPill"));
    m_tomorrowPill = addPill(tr("Tomorrow"), QuickDay::Tomorrow);
    m_tomorrowPill->setObjectName(QStringLiteral("tomorrowPill"));
    m_mondayPill = addPill(tr("Monday"), QuickDay::Monday);
    m_mondayPill->setObjectName(QStringLiteral("mondayPill"));

    m_calendarPill = new Pill(QString(), *m_services.appearance, this);
    m_calendarPill->setObjectName(QStringLiteral("calendarPill"));
    m_calendarPill->setSymbol(QStringLiteral("calendar"), 20);
    m_calendarPill->setAccessibleName(tr("Pick a date"));
    m_calendarPill->setToolTip(tr("Pick a date"));
    connect(m_calendarPill, &QAbstractButton::clicked, this, &WhenSection::flipPickingDate);
    row->addWidget(m_calendarPill, 0, Qt::AlignVCenter);
    row->addStretch(1);
    static_cast<QVBoxLayout *>(layout())->addLayout(row);
}

void WhenSection::buildDatePicker()
{
    m_datePicker = new QCalendarWidget(this);
    m_datePicker->setObjectName(QStringLiteral("datePicker"));
    m_datePicker->setAccessibleName(tr("Date"));
    m_datePicker->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    m_datePicker->setHorizontalHeaderFormat(QCalendarWidget::ShortDayNames);
    m_datePicker->setGridVisible(false);
    const QLocale locale = qtLocale(m_services.calendar);
    m_datePicker->setLocale(locale);
    m_datePicker->setFirstDayOfWeek(locale.firstDayOfWeek());
    m_datePicker->setFont(CardStyle::font(14));
    m_datePicker->setFixedHeight(250);
    if (auto *view = m_datePicker->findChild<QTableView *>())
        view->setAccessibleName(tr("Date"));
    // A click on the day already shown writes it too (due may be absent).
    connect(m_datePicker, &QCalendarWidget::clicked, this, &WhenSection::pickDay);
    connect(m_datePicker, &QCalendarWidget::activated, this, &WhenSection::pickDay);
    connect(m_datePicker, &QCalendarWidget::selectionChanged, this, [this] { pickDay(m_datePicker->selectedDate()); });
    layout()->addWidget(m_datePicker);
}

void WhenSection::buildDueRows()
{
    m_dueRows = new QWidget(this);
    m_dueRows->setObjectName(QStringLiteral("dueRows"));
    auto *rows = new QVBoxLayout(m_dueRows);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(CardStyle::WhenSpacing);

    auto *dateLine = new QHBoxLayout;
    dateLine->setSpacing(12);
    m_dayLabel = CardStyle::label(QString(), CardStyle::font(20, QFont::DemiBold), QColor(), m_dueRows);
    m_dayLabel->setObjectName(QStringLiteral("dayLabel"));
    m_clear = new PlainButton(tr("Clear"), CardStyle::font(15), QColor(), m_dueRows);
    m_clear->setObjectName(QStringLiteral("clearButton"));
    connect(m_clear, &QAbstractButton::clicked, this, &WhenSection::clear);
    dateLine->addWidget(m_dayLabel, 0, Qt::AlignVCenter);
    dateLine->addWidget(m_clear, 0, Qt::AlignVCenter);
    dateLine->addStretch(1);
    rows->addLayout(dateLine);

    m_divider = new QFrame(m_dueRows);
    m_divider->setFixedHeight(1);
    m_divider->setAutoFillBackground(true);
    rows->addWidget(m_divider);

    m_remind = new CardSwitch(tr("Remind me"), *m_services.appearance, m_dueRows);
    m_remind->setObjectName(QStringLiteral("remindSwitch"));
    connect(m_remind, &QAbstractButton::clicked, this, &WhenSection::switchReminder);
    rows->addWidget(m_remind);

    m_timeRow = new QWidget(m_dueRows);
    auto *timeLayout = new QHBoxLayout(m_timeRow);
    timeLayout->setContentsMargins(0, 0, 0, 0);
    timeLayout->setSpacing(10);
    m_at = CardStyle::label(tr("At"), CardStyle::font(18), QColor(), m_timeRow);
    m_timePicker = new TimeField(m_timeRow);
    m_timePicker->setObjectName(QStringLiteral("timePicker"));
    m_timePicker->setAccessibleName(tr("Time"));
    const QLocale locale = qtLocale(m_services.calendar);
    m_timePicker->setLocale(locale);
    m_timePicker->setDisplayFormat(hourMinuteFormat(locale));
    m_timePicker->setButtonSymbols(QAbstractSpinBox::NoButtons);
    m_timePicker->setFont(CardStyle::font(18 * TimeScale));
    m_timePicker->setWrapping(true);
    connect(m_timePicker, &QTimeEdit::timeChanged, this, &WhenSection::pickTime);
    timeLayout->addWidget(m_at, 0, Qt::AlignVCenter);
    timeLayout->addWidget(m_timePicker, 0, Qt::AlignVCenter);
    timeLayout->addStretch(1);
    rows->addWidget(m_timeRow);

    m_passed = CardStyle::label(tr("That time has already passed."), CardStyle::font(14), QColor(), m_dueRows);
    m_passed->setObjectName(QStringLiteral("passedLabel"));
    rows->addWidget(m_passed);

    layout()->addWidget(m_dueRows);
}

Pill *WhenSection::quickDayPill(QuickDay which) const
{
    switch (which) {
    case QuickDay::Today:
        return m_todayPill;
    case QuickDay::Tomorrow:
        return m_tomorrowPill;
    case QuickDay::Monday:
        return m_mondayPill;
    }
    return nullptr;
}

void WhenSection::setAccent(const QColor &accent)
{
    if (m_accent == accent)
        return;
    m_accent = accent;
    restyle();
}

void WhenSection::restyle()
{
    const ColorScheme scheme = m_services.appearance->scheme();
    const QColor ink = CardStyle::ink(scheme);
    const QColor muted = CardStyle::muted(scheme);
    for (Pill *pill : { m_todayPill, m_tomorrowPill, m_mondayPill, m_calendarPill })
        pill->setAccent(m_accent);
    m_remind->setAccent(m_accent);
    CardStyle::setTextColor(m_dayLabel, ink);
    CardStyle::setTextColor(m_at, ink);
    CardStyle::setTextColor(m_passed, CardStyle::alert(scheme));
    m_clear->setColor(muted);

    QPalette divider = m_divider->palette();
    QColor line = muted;
    line.setAlphaF(0.3);
    divider.setColor(QPalette::Window, line);
    m_divider->setPalette(divider);

    // The date picker on the card's paper: ink days, the chosen day filled
    // with the accent.
    QPalette calendar = m_datePicker->palette();
    for (const QPalette::ColorGroup group : { QPalette::Active, QPalette::Inactive }) {
        calendar.setColor(group, QPalette::Base, Qt::transparent);
        calendar.setColor(group, QPalette::AlternateBase, Qt::transparent);
        calendar.setColor(group, QPalette::Window, Qt::transparent);
        calendar.setColor(group, QPalette::Text, ink);
        calendar.setColor(group, QPalette::WindowText, ink);
        calendar.setColor(group, QPalette::ButtonText, ink);
        calendar.setColor(group, QPalette::Highlight, m_accent);
        calendar.setColor(group, QPalette::HighlightedText, Qt::white);
    }
    m_datePicker->setPalette(calendar);
    QTextCharFormat weekday;
    weekday.setForeground(ink);
    for (int day = Qt::Monday; day <= Qt::Sunday; ++day)
        m_datePicker->setWeekdayTextFormat(static_cast<Qt::DayOfWeek>(day), weekday);
    QTextCharFormat header;
    header.setForeground(muted);
    m_datePicker->setHeaderTextFormat(header);
    QColor field = themeColor(ThemeColor::Rule, scheme);
    field.setAlphaF(0.6);
    m_datePicker->setStyleSheet(
        QStringLiteral("QWidget#qt_calendar_navigationbar { background: transparent; }"
                       "QToolButton { color: %1; background: transparent; border: none; padding: 4px 8px;"
                       " font-weight: 600; }"
                       "QToolButton:hover { background: %2; border-radius: 8px; }"
                       "QToolButton::menu-indicator { image: none; width: 0; }")
            .arg(ink.name(), field.name(QColor::HexArgb)));
    // The day grid keeps a palette of its own once the picker is styled.
    if (auto *days = m_datePicker->findChild<QTableView *>())
        days->setPalette(calendar);
    const auto arrow = [this, &ink](const char *name, const QString &symbol) {
        if (auto *button = m_datePicker->findChild<QToolButton *>(QLatin1String(name)))
            button->setIcon(Symbols::icon(symbol, ink));
    };
    arrow("qt_calendar_prevmonth", QStringLiteral("chevron.left"));
    arrow("qt_calendar_nextmonth", QStringLiteral("chevron.right"));

    m_timePicker->setStyleSheet(
        QStringLiteral("QTimeEdit { background: %1; color: %2; border: none; border-radius: 8px;"
                       " padding: 4px 10px; selection-background-color: %3; selection-color: white; }")
            .arg(field.name(QColor::HexArgb), ink.name(), m_accent.name()));
}

void WhenSection::refresh()
{
    TaskItem *task = this->task();
    if (!task)
        return;
    const CalendarContext &calendar = m_services.calendar;
    const std::optional<QDateTime> due = task->due();
    const std::optional<QDateTime> alarm = task->alarm();

    m_todayPill->setOn(ReminderDates::isQuickDayOn(calendar, QuickDay::Today, due));
    m_tomorrowPill->setOn(ReminderDates::isQuickDayOn(calendar, QuickDay::Tomorrow, due));
    m_mondayPill->setOn(ReminderDates::isQuickDayOn(calendar, QuickDay::Monday, due));
    m_calendarPill->setOn(m_pickingDate);

    const bool picker = ReminderDates::showsDatePicker(calendar, m_pickingDate, due);
    if (picker) {
        // Only a new day (or the picker opening) turns the calendar to it: a
        // refresh must not take the user back from a month they browsed to.
        const QDate day = ReminderDates::pickerDay(calendar, due.value_or(calendar.now()));
        if (m_datePicker->selectedDate() != day || m_datePicker->isHidden()) {
            const QSignalBlocker quiet(m_datePicker);
            m_datePicker->setSelectedDate(day);
            m_datePicker->setCurrentPage(day.year(), day.month());
        }
    } else {
        rescueFocus(m_datePicker, m_calendarPill);
    }
    m_datePicker->setVisible(picker);

    if (due) {
        m_dayLabel->setText(quillery::dayLabel(*due, calendar));
    } else {
        rescueFocus(m_dueRows, m_todayPill);
    }
    m_dueRows->setVisible(due.has_value());

    m_remind->setChecked(alarm.has_value());
    if (alarm) {
        const CalendarContext::Components clock = calendar.components(*alarm);
        // Only a real difference: resetting the field would disturb typing.
        const QTime shown(clock.hour, clock.minute);
        if (m_timePicker->time() != shown) {
            const QSignalBlocker quiet(m_timePicker);
            m_timePicker->setTime(shown);
        }
    } else {
        rescueFocus(m_timeRow, m_remind);
    }
    m_timeRow->setVisible(alarm.has_value());
    m_passed->setVisible(ReminderDates::hasPassed(calendar, alarm));
}

void WhenSection::rescueFocus(QWidget *hiding, QWidget *to)
{
    QWidget *focus = QApplication::focusWidget();
    if (hiding->isVisible() && focus && (focus == hiding || hiding->isAncestorOf(focus)))
        to->setFocus(Qt::OtherFocusReason);
}

void WhenSection::schedule(TaskItem *task)
{
    if (m_services.alarms)
        m_services.alarms->schedule(task);
}

void WhenSection::chooseQuickDay(QuickDay which)
{
    TaskItem *task = this->task();
    if (!task)
        return;
    m_pickingDate = false;
    task->setDue(ReminderDates::quickDayTarget(m_services.calendar, which));
    refresh();
}

void WhenSection::flipPickingDate()
{
    if (!task())
        return;
    m_pickingDate = !m_pickingDate;
    refresh();
    if (m_pickingDate && m_calendarPill->hasFocus())
        m_datePicker->setFocus(Qt::TabFocusReason);
}

void WhenSection::pickDay(const QDate &day)
{
    TaskItem *task = this->task();
    if (!task || !day.isValid())
        return;
    const CalendarContext &calendar = m_services.calendar;
    const QDateTime shown = task->due().value_or(calendar.now());
    if (task->due() && ReminderDates::pickerDay(calendar, shown) == day)
        return; // the day shown already
    task->setDue(ReminderDates::pickedDay(calendar, day, shown));
}

void WhenSection::clear()
{
    TaskItem *task = this->task();
    if (!task)
        return;
    m_pickingDate = false;
    task->setDue(std::nullopt);
    task->setAlarm(std::nullopt);
    // A repeat counts from the due day: without one it has nothing to count.
    task->setRepeat(QString());
    schedule(task);
    refresh();
}

void WhenSection::switchReminder(bool on)
{
    TaskItem *task = this->task();
    if (!task)
        return;
    if (!on) {
        task->setAlarm(std::nullopt);
        schedule(task);
        return;
    }
    task->setAlarm(ReminderDates::reminderWhenSwitchedOn(m_services.calendar, task->due()));
    schedule(task);
    AlarmService *alarms = m_services.alarms;
    if (!alarms)
        return;
    // Once permission is settled, try again: the first attempt may have
    // come before the user allowed notifications.
    RecordPointer<TaskItem> watched(task);
    alarms->ensurePermission([watched, alarms](bool) {
        if (watched && !watched->isDeleted())
            alarms->schedule(watched);
    });
}

void WhenSection::pickTime(const QTime &time)
{
    TaskItem *task = this->task();
    if (!task || !time.isValid() || !task->alarm())
        return;
    const CalendarContext &calendar = m_services.calendar;
    const QDateTime day = task->due().value_or(calendar.now());
    const QDateTime alarm = ReminderDates::combineDayAndTime(calendar, day, time.hour(), time.minute());
    if (alarm == task->alarm())
        return;
    task->setAlarm(alarm);
    schedule(task);
}

} // namespace quillery::ui
