#pragma once

#include "core/app/Services.h"
#include "core/model/RecordPointer.h"
#include "core/tasks/RepeatRule.h"

#include <QColor>
#include <QList>
#include <QPointer>
#include <QWidget>

class QLabel;

namespace quillery {
class TaskItem;
}

namespace quillery::ui {

class Pill;
class RepeatEditor;

// The "Repeat" row of the card's "When" section: the pills "Never",
// "Daily", "Weekdays", "Weekly", "Monthly", "Yearly" and "Custom…", which
// opens the inline editor. A rule the editor cannot show (from an imported
// calendar) is kept as it is and named "Repeats (custom rule)". Choosing a
// rule for a task without a due day gives it today. Every choice writes the
// task at once.
class RepeatSection final : public QWidget
{
    Q_OBJECT
public:
    RepeatSection(TaskItem *task, const Services &services, QWidget *parent = nullptr);

    void setAccent(const QColor &accent);
    // Reads the task again.
    void refresh();

    Pill *pill(RepeatPreset preset) const { return m_pills.value(int(preset)); }
    RepeatEditor *editor() const { return m_editor; }
    QLabel *customLabel() const { return m_custom; }

private:
    TaskItem *task() const;
    void choose(RepeatPreset preset);
    void write(const RepeatRule &rule);
    // The task's due day, given today when it has none.
    QDate ensureDue(TaskItem *task);
    QDate dueDay(const TaskItem &task) const;

    RecordPointer<TaskItem> m_task;
    Services m_services;
    QList<Pill *> m_pills;
    QLabel *m_heading = nullptr;
    QLabel *m_custom = nullptr;
    RepeatEditor *m_editor = nullptr;
    bool m_editing = false;
};

} // namespace quillery::ui
