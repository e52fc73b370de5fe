#pragma once

#include "core/app/Services.h"
#include "core/model/RecordPointer.h"
#include "core/tasks/TaskActions.h"

#include <QPointer>
#include <QWidget>

#include <functional>

class QScrollArea;

namespace quillery {
class Page;
class TaskItem;
} // namespace quillery

namespace quillery::ui {

class CardSection;
class CardSwitch;
class FloatingScrollBar;
class GrowingTextEdit;
class PlaceSection;
class PlainButton;
class RepeatSection;
class WhenSection;

// The detail editor of one task, 440 × 640 points on the paper of the
// task's page: the title with "Done", the "When" section, the subtask
// switch, the place, the notes, photos and files, and "Delete Task", in a
// scrolling column. Every control writes the task at once; there is nothing
// to save and nothing to cancel. Edits that can change the task's
// notification are followed by a call to the alarm service.
//
// Closing ("Done", Escape, Ctrl+W) keeps every change, except that a task
// whose title is left blank (spaces and tabs only) is deleted, its alarm
// withdrawn. A task that disappears while the card is open (deleted
// elsewhere, torn out with its page, removed by the mirror) closes the card
// without another write.
//
// TaskCardHost shows cards as sheets over a window, one at a time.
class TaskCard final : public QWidget
{
    Q_OBJECT
public:
    static constexpr int Width = 440;
    static constexpr int Height = 640;

    // Makes the body of the "Photos & Files" section for a task.
    using AttachmentsFactory = std::function<QWidget *(TaskItem *, const Services &, QWidget *)>;

    // Without an attachments factory "Photos & Files" shows its heading only.
    TaskCard(TaskItem *task, const Services &services, QWidget *parent = nullptr);
    TaskCard(
        TaskItem *task, const Services &services, const AttachmentsFactory &attachments, QWidget *parent = nullptr);
    ~TaskCard() override;

    // The task edited; null once it is gone.
    TaskItem *task() const;
    bool isDismissed() const { return m_dismissed; }

    // Closes the card as "Done" does (a blank title deletes the task).
    void dismiss();
    // "Delete Task": withdraws the alarm, closes the card, deletes the task.
    void deleteTask();

    // The paper colour drawn (the page's, 0 without a page).
    int colorIndex() const { return m_colorIndex; }

    GrowingTextEdit *titleField() const { return m_title; }
    PlainButton *doneButton() const { return m_done; }
    WhenSection *whenSection() const { return m_when; }
    RepeatSection *repeatSection() const { return m_repeat; }
    CardSwitch *subtaskSwitch() const { return m_subtask; }
    PlaceSection *placeSection() const { return m_place; }
    GrowingTextEdit *notesField() const { return m_notes; }
    CardSection *attachmentsSection() const { return m_attachments; }
    // The widget the attachments factory made, if any.
    QWidget *attachmentsBody() const { return m_attachmentsBody; }
    PlainButton *deleteButton() const { return m_delete; }
    QScrollArea *scrollArea() const { return m_scroll; }
    // The sections in the order they are shown, headings included.
    QList<CardSection *> sections() const;

    // Reads everything again (the clock moved on, or a test changed it).
    void refresh();

Q_SIGNALS:
    // The card was closed (by the user, by deletion, or because its task
    // went away); whoever shows it takes it down.
    void dismissed();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool focusNextPrevChild(bool next) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void build(const AttachmentsFactory &attachments);
    QWidget *buildHeader(QWidget *parent);
    void watchTask();
    void followPage();
    void taskGone();
    void finish();
    void restyle();
    void readText();
    void readNotes();
    void readIndent();
    void textEdited();
    void notesEdited();
    void focusMoved(QWidget *now);
    void reclaimFocusSoon();

    RecordPointer<TaskItem> m_task;
    Services m_services;
    TaskActions m_actions;
    RecordPointer<Page> m_page;
    QMetaObject::Connection m_pageColor;
    int m_colorIndex = 0;
    bool m_dismissed = false;
    QPointer<QWidget> m_lastFocus;

    QScrollArea *m_scroll = nullptr;
    FloatingScrollBar *m_bar = nullptr;
    GrowingTextEdit *m_title = nullptr;
    PlainButton *m_done = nullptr;
    RepeatSection *m_repeat = nullptr;
    WhenSection *m_when = nullptr;
    CardSection *m_whenSection = nullptr;
    CardSwitch *m_subtask = nullptr;
    CardSection *m_placeSection = nullptr;
    PlaceSection *m_place = nullptr;
    CardSection *m_notesSection = nullptr;
    GrowingTextEdit *m_notes = nullptr;
    CardSection *m_attachments = nullptr;
    QWidget *m_attachmentsBody = nullptr;
    PlainButton *m_delete = nullptr;
};

} // namespace quillery::ui
