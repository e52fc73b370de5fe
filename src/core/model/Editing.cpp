#include "Editing.h"

namespace quillery {

Editing::Editing(QObject *parent)
    : QObject(parent)
{ }

void Editing::setFocusedPage(Page *page)
{
    if (m_focusedPage == page)
        return;
    m_focusedPage = page;
    Q_EMIT focusedPageChanged();
}

void Editing::setLifted(bool lifted)
{
    if (m_lifted == lifted)
        return;
    m_lifted = lifted;
    Q_EMIT liftedChanged();
}

void Editing::setAdding(bool adding)
{
    if (m_adding == adding)
        return;
    m_adding = adding;
    Q_EMIT addingChanged();
}

void Editing::setOpenTask(TaskItem *task)
{
    if (m_openTask == task)
        return;
    m_openTask = task;
    Q_EMIT openTaskChanged();
}

} // namespace quillery
