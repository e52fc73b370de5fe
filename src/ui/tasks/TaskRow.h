#pragma once

class QTimer;

#include "core/app/Services.h"
#include "core/model/RecordPointer.h"

#include <QColor>
#include <QFont>
#include <QPointer>
#include <QUuid>
#include <QWidget>

class QLineEdit;

namespace quillery {
class TaskItem;
}

namespace quillery::ui {

class TaskRowCheck;

// One task line of a page: the completion box, the task's text (struck
// through and muted once done) and under it a one-line summary of its day,
// reminder, place, notes and attachments (red when overdue), over a hair
// line. Subtasks are inset 30 points per level, hair line included. Ticking
// the box writes `done` and brings the task's alarm up to date; a click on
// the text asks for the task card.
//
// The row shows what it last read from its task, so a task removed under it
// leaves a still, inert row until the page drops it. It also carries the
// look a row takes while it is being dragged (offset, scale, lifted), and
// takes the keys that move it: with the row (or its box) focused, Alt+Up and
// Alt+Down ask to move it a slot, Alt+Right and Alt+Left to indent or
// outdent it. The row only asks; the list decides.
//
// With the keyboard on the row, Return opens the card, Space ticks the box
// and F2 edits the title in place (Return or leaving the field keeps the
// edit, Escape takes it back). A focused row is ringed in the page's colour.
class TaskRow final : public QWidget
{
    Q_OBJECT
public:
    static constexpr int IndentStep = 30;
    static constexpr int MinimumLineHeight = 44;

    TaskRow(TaskItem *task, const Services &services, QWidget *parent = nullptr);
    ~TaskRow() override;

    // The task shown; null once it was removed from the store.
    TaskItem *task() const;
    QUuid taskId() const { return m_taskId; }

    // The page's palette colour: the filled box of a done task.
    void setAccent(const QColor &accent);

    // Reads the task again (text, mark, level, summary, typeface).
    void refresh();
    // Words the summary again (the day or the clock moved on).
    void refreshSummary();

    QString titleText() const { return m_title; }
    QString summaryText() const { return m_summary; }
    bool summaryIsOverdue() const { return m_overdue; }
    int indentLevel() const { return m_indent; }
    TaskRowCheck *checkBox() const { return m_check; }

    // Where the text area begins (clicks from here on open the card).
    int textLeft() const;

    // Drag look: the row is drawn displaced by `offset` from its place in
    // the list, scaled from its leading edge, and lifted (paper behind it,
    // a soft shadow, above its neighbours).
    QPointF liftOffset() const { return m_liftOffset; }
    void setLiftOffset(const QPointF &offset);
    double liftScale() const { return m_liftScale; }
    void setLiftScale(double scale);
    bool isLifted() const { return m_lifted; }
    void setLifted(bool lifted);
    // The shadow under the row while it is lifted.
    QWidget *liftShadow() const { return m_shadow; }

    // The press under way became a drag: its release neither opens the card
    // nor ticks the box.
    void cancelPress();

    // The row has the keyboard and shows it (focus came by keyboard, or a
    // key was used on it).
    bool showsFocus() const;

    // F2: the title in a field of its own over the row, until Return,
    // Escape or the focus leaves it.
    void editTitle();
    // The field while the title is edited, else null.
    QLineEdit *titleEditor() const;

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

Q_SIGNALS:
    // The user clicked the text area: show the task's card.
    void openRequested(quillery::TaskItem *task);
    // The row's wanted height may have changed.
    void heightChanged();
    // The drag offset changed; the list moves the row.
    void liftOffsetChanged();
    // Alt+Up / Alt+Down: move the row (and its subtasks) `slots` up (< 0) or
    // down (> 0).
    void moveRequested(int slots);
    // Alt+Right / Alt+Left: make the row a subtask (1) or a top-level task (0).
    void levelRequested(int level);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    bool moveKey(QKeyEvent *event, bool act);
    // Return, Space and F2 on the row or its box.
    bool actionKey(QKeyEvent *event);
    void finishEditing(bool keep);
    void toggle();
    void placeCheck();
    int titleHeight(int width) const;
    int summaryHeight() const;
    int lineHeight(int width) const;

    RecordPointer<TaskItem> m_task;
    QUuid m_taskId;
    Services m_services;
    TaskRowCheck *m_check = nullptr;
    // Runs while the box of a repeating task that just moved to its next
    // occurrence still shows the tick; the row then shows the new day.
    QTimer *m_moved = nullptr;

    QString m_title;
    bool m_done = false;
    int m_indent = 0;
    QString m_summary;
    bool m_overdue = false;
    QFont m_titleFont;
    QFont m_summaryFont;

    mutable int m_cachedWidth = -1;
    mutable int m_cachedTitleHeight = 0;

    bool m_pressedInText = false;
    QPointF m_liftOffset;
    double m_liftScale = 1.0;
    bool m_lifted = false;
    QPointer<QWidget> m_shadow;
    QColor m_accent;
    bool m_focusShown = false;
    QPointer<QLineEdit> m_editor;
};

} // namespace quillery::ui
