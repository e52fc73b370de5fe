#pragma once

#include <QString>

namespace quillery {

class AlarmService;
class CalendarContext;
class TaskItem;

// The rules that go with changing a task, wherever it is changed (its card,
// its page, the book tidying up): what counts as a blank title, how a task
// is discarded, and how its pending notification follows an edit. Views and
// the book call these and keep none of the rules themselves.
//
// Without an alarm service (a book in a test, say) nothing is scheduled or
// withdrawn; everything else still happens.
class TaskActions final
{
public:
    explicit TaskActions(AlarmService *alarms);

    // A title is blank when it holds nothing but spaces and tabs; a line
    // break or any other character is content.
    static bool isBlankTitle(const QString &text);

    // Withdraws the task's pending notification, then removes the task from
    // its store. Its attachments go with it; its subtasks stay on the page.
    void discard(TaskItem *task) const;
    // Discards the task when its title is blank; says whether it did.
    bool discardIfBlank(TaskItem *task) const;

    // After the due day changed: the reminder keeps its time of day on the
    // new day (and stays as it is when the day was cleared), and the pending
    // notification follows.
    void dueChanged(TaskItem *task, const CalendarContext &calendar) const;
    // After the title changed: a pending notification shows the new text.
    void textChanged(TaskItem *task) const;
    // After the notes changed: they are the notification's body, so a task
    // with a reminder has its notification brought up to date.
    void notesChanged(TaskItem *task) const;

    // Ticks the task. One that repeats moves to its next occurrence instead
    // (its reminder keeping its time of day there) and stays open; after its
    // last occurrence it is ticked for good. Says whether it moved.
    bool complete(TaskItem *task, const CalendarContext &calendar) const;
    // Ticks an open task (complete) or unticks a ticked one; unticking never
    // moves dates back. Says whether the task moved to its next occurrence.
    bool toggleDone(TaskItem *task, const CalendarContext &calendar) const;

    // Brings the task's pending notification up to date.
    void schedule(TaskItem *task) const;

private:
    AlarmService *m_alarms;
};

} // namespace quillery
