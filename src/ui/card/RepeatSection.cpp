#include "RepeatSection.h"

#include "CardStyle.h"
#include "RepeatEditor.h"
#include "core/model/TaskItem.h"
#include "core/tasks/ReminderDates.h"
#include "core/tasks/TaskActions.h"
#include "gui/theme/Appearance.h"
#include "ui/tasks/Pill.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace quillery::ui {

RepeatSection::RepeatSection(TaskItem *task, const Services &services, QWidget *parent)
    : QWidget(parent)
    , m_task(task)
    , m_services(services)
{
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, CardStyle::WhenSpacing, 0, 0);
    column->setSpacing(CardStyle::QuickDaySpacing);
    m_heading = CardStyle::label(tr("Repeat"), CardStyle::font(18), QColor(), this);
    column->addWidget(m_heading);

    const QList<std::pair<RepeatPreset, QString>> presets { { RepeatPreset::Never, tr("Never") },
        { RepeatPreset::Daily, tr("Daily") }, { RepeatPreset::Weekdays, tr("Weekdays") },
        { RepeatPreset::Weekly, tr("Weekly") }, { RepeatPreset::Monthly, tr("Monthly") },
        { RepeatPreset::Yearly, tr("Yearly") }, { RepeatPreset::Custom, tr("Custom…") } };
    QHBoxLayout *row = nullptr;
    for (const auto &[preset, text] : presets) {
        // Four pills to a line: seven do not fit the card's width.
        if (m_pills.size() % 4 == 0) {
            row = new QHBoxLayout;
            row->setSpacing(CardStyle::QuickDaySpacing);
            column->addLayout(row);
        }
        auto *pill = new Pill(text, *m_services.appearance, this);
        pill->setObjectName(QStringLiteral("repeatPill%1").arg(int(preset)));
        connect(pill, &QAbstractButton::clicked, this, [this, p = preset] { choose(p); });
        row->addWidget(pill, 0, Qt::AlignVCenter);
        if (m_pills.size() % 4 == 3 || preset == RepeatPreset::Custom)
            row->addStretch(1);
        m_pills.append(pill);
    }

    m_custom = CardStyle::label(QString(), CardStyle::font(15), QColor(), this);
    m_custom->setObjectName(QStringLiteral("repeatText"));
    m_custom->setWordWrap(true);
    column->addWidget(m_custom);

    m_editor = new RepeatEditor(*m_services.appearance, QString::fromLatin1(m_services.calendar.localeName()), this);
    m_editor->setObjectName(QStringLiteral("repeatEditor"));
    connect(m_editor, &RepeatEditor::ruleEdited, this, &RepeatSection::write);
    column->addWidget(m_editor);

    if (task) {
        connect(task->notifier(), &RecordNotifier::changed, this, [this](Field field) {
            if (field == Field::Repeat || field == Field::Due)
                refresh();
        });
    }
    connect(m_services.appearance, &Appearance::schemeChanged, this, [this] { setAccent(QColor()); });
    setAccent(QColor());
    refresh();
}

TaskItem *RepeatSection::task() const
{
    TaskItem *task = m_task.data();
    return task && !task->isDeleted() ? task : nullptr;
}

void RepeatSection::setAccent(const QColor &accent)
{
    if (accent.isValid()) {
        for (Pill *pill : std::as_const(m_pills))
            pill->setAccent(accent);
        m_editor->setAccent(accent);
    }
    const ColorScheme scheme = m_services.appearance->scheme();
    CardStyle::setTextColor(m_heading, CardStyle::ink(scheme));
    CardStyle::setTextColor(m_custom, CardStyle::muted(scheme));
}

QDate RepeatSection::dueDay(const TaskItem &task) const
{
    const CalendarContext::Components day
        = m_services.calendar.components(task.due().value_or(m_services.calendar.now()));
    return QDate(day.year, day.month, day.day);
}

QDate RepeatSection::ensureDue(TaskItem *task)
{
    if (!task->due()) {
        task->setDue(ReminderDates::quickDay(m_services.calendar, 0));
        TaskActions(m_services.alarms).dueChanged(task, m_services.calendar);
    }
    return dueDay(*task);
}

void RepeatSection::choose(RepeatPreset preset)
{
    TaskItem *task = this->task();
    if (!task)
        return;
    if (preset == RepeatPreset::Custom) {
        m_editing = !m_editing;
        if (m_editing) {
            const QDate due = ensureDue(task);
            // A rule the editor cannot show stays until the editor changes it.
            m_editor->setRule(RepeatRules::editable(task->repeat(), due), due);
            if (task->repeat().isEmpty())
                task->setRepeat(m_editor->rule().text(due));
        }
        refresh();
        return;
    }
    m_editing = false;
    if (preset == RepeatPreset::Never) {
        task->setRepeat(QString());
    } else {
        const QDate due = ensureDue(task);
        task->setRepeat(RepeatRules::presetText(preset, due));
    }
    refresh();
}

void RepeatSection::write(const RepeatRule &rule)
{
    if (TaskItem *task = this->task())
        task->setRepeat(rule.text(ensureDue(task)));
}

void RepeatSection::refresh()
{
    const TaskItem *task = this->task();
    const QString rule = task ? task->repeat() : QString();
    const RepeatPreset preset = RepeatRules::presetOf(rule);
    for (int i = 0; i < m_pills.size(); ++i)
        m_pills[i]->setOn(RepeatPreset(i) == (m_editing ? RepeatPreset::Custom : preset));
    // The rule in words, for what the pills do not say by themselves.
    m_custom->setText(RepeatRules::describe(rule, m_services.calendar));
    m_custom->setVisible(preset == RepeatPreset::Custom);
    m_editor->setVisible(m_editing && task);
    if (m_editing && task && RepeatRule::parse(rule))
        m_editor->setRule(RepeatRules::editable(rule, dueDay(*task)), dueDay(*task));
}

} // namespace quillery::ui
