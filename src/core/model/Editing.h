#pragma once

#include "Page.h"
#include "RecordPointer.h"
#include "TaskItem.h"

#include <QObject>

namespace quillery {

// What the user is doing on the pages of one window right now: which page
// holds the editing focus, whether a group of tasks is lifted for dragging,
// and whether a task is being typed. The book owns one and hands it to every
// page it shows. Each field has its own signal, emitted only on a real change.
class Editing final : public QObject
{
    Q_OBJECT
public:
    explicit Editing(QObject *parent = nullptr);

    Page *focusedPage() const { return m_focusedPage.data(); }
    void setFocusedPage(Page *page);

    bool lifted() const { return m_lifted; }
    void setLifted(bool lifted);

    bool adding() const { return m_adding; }
    void setAdding(bool adding);

    // The task whose card is open, if any: it is being edited even while the
    // window is not the active one (a picker of the card has the focus).
    TaskItem *openTask() const { return m_openTask.data(); }
    void setOpenTask(TaskItem *task);

Q_SIGNALS:
    void focusedPageChanged();
    void liftedChanged();
    void addingChanged();
    void openTaskChanged();

private:
    RecordPointer<Page> m_focusedPage;
    bool m_lifted = false;
    bool m_adding = false;
    RecordPointer<TaskItem> m_openTask;
};

} // namespace quillery
