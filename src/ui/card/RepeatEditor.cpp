#include "RepeatEditor.h"

#include "CardStyle.h"
#include "ui/tasks/Pill.h"

#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QSpinBox>
#include <QVBoxLayout>

namespace quillery::ui {

namespace {

QString ordinalText(int ordinal, const QString &day)
{
    switch (ordinal) {
    case 1:
        return RepeatEditor::tr("On the first %1").arg(day);
    case 2:
        return RepeatEditor::tr("On the second %1").arg(day);
    case 3:
        return RepeatEditor::tr("On the third %1").arg(day);
    case 4:
        return RepeatEditor::tr("On the fourth %1").arg(day);
    default:
        return RepeatEditor::tr("On the last %1").arg(day);
    }
}

} // namespace

RepeatEditor::RepeatEditor(const Appearance &appearance, const QString &localeName, QWidget *parent)
    : QWidget(parent)
{
    const QLocale locale(localeName);
    const QFont font = CardStyle::font(15);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(10);

    auto *every = new QHBoxLayout;
    every->setSpacing(8);
    every->addWidget(CardStyle::label(tr("Every"), font, QColor(), this));
    m_interval = new QSpinBox(this);
    m_interval->setObjectName(QStringLiteral("repeatInterval"));
    m_interval->setAccessibleName(tr("Repeat every"));
    m_interval->setRange(1, 999);
    m_interval->setFont(font);
    every->addWidget(m_interval);
    m_unit = new QComboBox(this);
    m_unit->setObjectName(QStringLiteral("repeatUnit"));
    m_unit->setAccessibleName(tr("Repeat unit"));
    m_unit->setFont(font);
    m_unit->addItems({ tr("days"), tr("weeks"), tr("months"), tr("years") });
    every->addWidget(m_unit);
    every->addStretch(1);
    column->addLayout(every);

    m_weekRow = new QWidget(this);
    auto *week = new QHBoxLayout(m_weekRow);
    week->setContentsMargins(0, 0, 0, 0);
    week->setSpacing(4);
    for (int day = Qt::Monday; day <= Qt::Sunday; ++day) {
        auto *pill = new Pill(locale.dayName(day, QLocale::NarrowFormat), appearance, m_weekRow);
        pill->setObjectName(QStringLiteral("repeatWeekday%1").arg(day));
        pill->setAccessibleName(locale.dayName(day, QLocale::LongFormat));
        connect(pill, &QAbstractButton::clicked, this, [this, day] {
            QList<int> &days = m_rule.weekdays;
            if (days.contains(day))
                days.removeAll(day);
            else
                days.append(day);
            std::sort(days.begin(), days.end());
            edit();
        });
        m_weekdays.append(pill);
        week->addWidget(pill);
    }
    week->addStretch(1);
    column->addWidget(m_weekRow);

    m_month = new QComboBox(this);
    m_month->setObjectName(QStringLiteral("repeatMonthBy"));
    m_month->setAccessibleName(tr("Day of the month"));
    m_month->setFont(font);
    m_month->addItems({ QString(), QString(), tr("On the last day") });
    column->addWidget(m_month, 0, Qt::AlignLeft);

    auto *ends = new QHBoxLayout;
    ends->setSpacing(8);
    ends->addWidget(CardStyle::label(tr("Ends"), font, QColor(), this));
    m_end = new QComboBox(this);
    m_end->setObjectName(QStringLiteral("repeatEnd"));
    m_end->setAccessibleName(tr("Ends"));
    m_end->setFont(font);
    m_end->addItems({ tr("Never"), tr("On a date"), tr("After") });
    ends->addWidget(m_end);
    m_until = new QDateEdit(this);
    m_until->setObjectName(QStringLiteral("repeatUntil"));
    m_until->setAccessibleName(tr("Last day"));
    m_until->setLocale(locale);
    m_until->setCalendarPopup(true);
    m_until->setFont(font);
    ends->addWidget(m_until);
    m_count = new QSpinBox(this);
    m_count->setObjectName(QStringLiteral("repeatCount"));
    m_count->setAccessibleName(tr("Number of times"));
    m_count->setRange(1, 999);
    m_count->setSuffix(tr(" times"));
    m_count->setFont(font);
    ends->addWidget(m_count);
    ends->addStretch(1);
    column->addLayout(ends);

    connect(m_interval, &QSpinBox::valueChanged, this, [this](int value) {
        m_rule.interval = value;
        edit();
    });
    connect(m_unit, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_rule.unit = RepeatRule::Unit(index);
        edit();
    });
    connect(m_month, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_rule.monthBy = RepeatRule::MonthBy(index);
        edit();
    });
    connect(m_end, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_rule.end = RepeatRule::End(index);
        edit();
    });
    connect(m_until, &QDateEdit::dateChanged, this, [this](const QDate &day) {
        m_rule.until = day;
        edit();
    });
    connect(m_count, &QSpinBox::valueChanged, this, [this](int value) {
        m_rule.count = value;
        edit();
    });
}

void RepeatEditor::setRule(const RepeatRule &rule, const QDate &due)
{
    m_rule = rule;
    m_due = due;
    if (!m_rule.until.isValid())
        m_rule.until = due.addMonths(3);
    showRule();
}

void RepeatEditor::setAccent(const QColor &accent)
{
    for (Pill *pill : std::as_const(m_weekdays))
        pill->setAccent(accent);
}

void RepeatEditor::edit()
{
    if (m_showing)
        return;
    showRule();
    Q_EMIT ruleEdited(m_rule);
}

void RepeatEditor::showRule()
{
    // Setting the controls must not read back as edits.
    m_showing = true;
    const QLocale locale = m_until->locale();
    m_interval->setValue(m_rule.interval);
    m_unit->setCurrentIndex(int(m_rule.unit));
    m_weekRow->setVisible(m_rule.unit == RepeatRule::Unit::Week);
    for (int day = Qt::Monday; day <= Qt::Sunday; ++day)
        m_weekdays[day - 1]->setOn(m_rule.weekdays.contains(day));
    m_month->setVisible(m_rule.unit == RepeatRule::Unit::Month);
    const int day = m_rule.monthDay > 0 ? m_rule.monthDay : m_due.day();
    m_month->setItemText(0, tr("On day %1").arg(day));
    m_month->setItemText(1, ordinalText(m_rule.weekdayOrdinal, locale.dayName(m_rule.weekday, QLocale::LongFormat)));
    m_month->setCurrentIndex(int(m_rule.monthBy));
    m_end->setCurrentIndex(int(m_rule.end));
    m_until->setVisible(m_rule.end == RepeatRule::End::OnDate);
    m_until->setMinimumDate(m_due);
    m_until->setDate(m_rule.until);
    m_count->setVisible(m_rule.end == RepeatRule::End::AfterCount);
    m_count->setValue(m_rule.count);
    m_showing = false;
}

} // namespace quillery::ui
