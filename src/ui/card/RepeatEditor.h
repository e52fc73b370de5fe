#pragma once

#include "core/tasks/RepeatRule.h"

#include <QColor>
#include <QList>
#include <QWidget>

class QComboBox;
class QDateEdit;
class QSpinBox;
class QWidget;

namespace quillery {
class Appearance;
}

namespace quillery::ui {

class Pill;

// The inline editor behind "Custom…": every N days, weeks (on chosen
// weekdays), months (on the due day's day, its place among the month's
// weekdays, or the last day) or years, ending never, on a date or after a
// number of times. Shows a rule and reports each change as a whole rule.
class RepeatEditor final : public QWidget
{
    Q_OBJECT
public:
    RepeatEditor(const Appearance &appearance, const QString &localeName, QWidget *parent = nullptr);

    // Shows `rule`; `due` names the month choices ("On day 31").
    void setRule(const RepeatRule &rule, const QDate &due);
    RepeatRule rule() const { return m_rule; }
    void setAccent(const QColor &accent);

    QSpinBox *intervalBox() const { return m_interval; }
    QComboBox *unitBox() const { return m_unit; }
    Pill *weekdayPill(int qtWeekday) const { return m_weekdays.value(qtWeekday - 1); }
    QComboBox *monthBox() const { return m_month; }
    QComboBox *endBox() const { return m_end; }
    QDateEdit *untilBox() const { return m_until; }
    QSpinBox *countBox() const { return m_count; }

Q_SIGNALS:
    void ruleEdited(const RepeatRule &rule);

private:
    void edit();
    void showRule();

    RepeatRule m_rule;
    QDate m_due;
    bool m_showing = false;
    QSpinBox *m_interval = nullptr;
    QComboBox *m_unit = nullptr;
    QWidget *m_weekRow = nullptr;
    QList<Pill *> m_weekdays;
    QComboBox *m_month = nullptr;
    QComboBox *m_end = nullptr;
    QDateEdit *m_until = nullptr;
    QSpinBox *m_count = nullptr;
};

} // namespace quillery::ui
