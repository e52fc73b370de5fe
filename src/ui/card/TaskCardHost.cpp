#include "TaskCardHost.h"

#include "TaskCardSheet.h"
#include "core/model/TaskItem.h"

namespace quillery::ui {

TaskCardHost::TaskCardHost(const Services &services, TaskCard::AttachmentsFactory attachments, QObject *parent)
    : QObject(parent)
    , m_services(services)
    , m_attachments(std::move(attachments))
{ }

TaskCardHost::~TaskCardHost() = default;

TaskCard *TaskCardHost::current() const
{
    TaskCard *card = m_card.data();
    return card && !card->isDismissed() ? card : nullptr;
}

TaskCard *TaskCardHost::open(TaskItem *task, QWidget *window)
{
    if (!task || task->isDeleted() || !window)
        return nullptr;
    if (TaskCard *card = current()) {
        if (card->task() == task)
            return card;
        card->dismiss();
    }
    auto *card = new TaskCard(task, m_services, m_attachments);
    new TaskCardSheet(card, window);
    m_card = card;
    return card;
}

} // namespace quillery::ui
