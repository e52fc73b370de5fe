#pragma once

#include <QMenu>

class QMenuBar;

namespace quillery {
class UndoHistory;
}

namespace quillery::ui {

// The "Edit" menu, between "Book" and "Help": Undo and Redo of the book's
// history, named after the step they take back or do again ("Undo Add
// Task") and disabled when there is none, on Ctrl+Z and Ctrl+Shift+Z or
// Ctrl+Y. A text field with the focus keeps those keys for its own undo as
// long as it has something of this visit to undo; after that they reach the
// book. Every move of the focus ends a visit to a field, so what was typed
// in one visit is one step.
class EditMenu final : public QMenu
{
    Q_OBJECT
public:
    EditMenu(UndoHistory &history, QWidget *parent = nullptr);

    // Puts the menu into `bar` before its "Help" menu (at the end when there
    // is none).
    void addTo(QMenuBar &bar);

    QAction *undoAction() const { return m_undo; }
    QAction *redoAction() const { return m_redo; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void refresh();

    UndoHistory &m_history;
    QAction *m_undo;
    QAction *m_redo;
};

} // namespace quillery::ui
