#pragma once

#include "TaskCard.h"

#include <QObject>
#include <QPointer>

namespace quillery::ui {

// Opens task cards as sheets over a window, at most one at a time, each
// with the "Photos & Files" body the program makes. The program owns one;
// tests make their own.
class TaskCardHost final : public QObject
{
    Q_OBJECT
public:
    // Without an attachments factory the cards show that section's heading
    // only.
    explicit TaskCardHost(
        const Services &services, TaskCard::AttachmentsFactory attachments = {}, QObject *parent = nullptr);
    ~TaskCardHost() override;

    // Shows a card for `task` as a sheet over `window` (any widget: the
    // sheet covers it, dimming it, and follows its size) and gives it the
    // keyboard. A card already open for the same task is returned as it is;
    // one open for another task is closed first, as "Done" would. None for a
    // task that is gone or without a window.
    TaskCard *open(TaskItem *task, QWidget *window);
    // The card open now, if any.
    TaskCard *current() const;

private:
    Services m_services;
    TaskCard::AttachmentsFactory m_attachments;
    QPointer<TaskCard> m_card;
};

} // namespace quillery::ui
