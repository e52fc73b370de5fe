#include "EditMenu.h"

#include "gui/history/UndoHistory.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace quillery::ui {

namespace {

// Whether the field has an edit of its own to take back (`redo`: to do
// again); none when `object` is not an editable text field.
std::optional<bool> fieldCanUndo(QObject *object, bool redo)
{
    if (auto *line = qobject_cast<QLineEdit *>(object); line && !line->isReadOnly())
        return redo ? line->isRedoAvailable() : line->isUndoAvailable();
    QTextDocument *document = nullptr;
    if (auto *text = qobject_cast<QTextEdit *>(object); text && !text->isReadOnly())
        document = text->document();
    else if (auto *plain = qobject_cast<QPlainTextEdit *>(object); plain && !plain->isReadOnly())
        document = plain->document();
    if (!document)
        return std::nullopt;
    return redo ? document->isRedoAvailable() : document->isUndoAvailable();
}

// A field's own undo covers the visit under way: what was typed in earlier
// visits is the book's to undo, one step per visit.
void forgetOwnUndo(QWidget *field)
{
    if (auto *line = qobject_cast<QLineEdit *>(field); line && line->isUndoAvailable()) {
        const int cursor = line->cursorPosition();
        line->setText(line->text()); // the same text: no change is reported
        line->setCursorPosition(cursor);
    } else if (auto *text = qobject_cast<QTextEdit *>(field)) {
        text->document()->clearUndoRedoStacks();
    } else if (auto *plain = qobject_cast<QPlainTextEdit *>(field)) {
        plain->document()->clearUndoRedoStacks();
    }
}

} // namespace

EditMenu::EditMenu(UndoHistory &history, QWidget *parent)
    : QMenu(tr("&Edit"), parent)
    , m_history(history)
    , m_undo(addAction(tr("Undo")))
    , m_redo(addAction(tr("Redo")))
{
    setObjectName(QStringLiteral("editMenu"));
    m_undo->setObjectName(QStringLiteral("undoAction"));
    m_undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    m_redo->setObjectName(QStringLiteral("redoAction"));
    m_redo->setShortcuts({ QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y) });
    connect(m_undo, &QAction::triggered, &m_history, &UndoHistory::undo);
    connect(m_redo, &QAction::triggered, &m_history, &UndoHistory::redo);

    QUndoStack &stack = m_history.stack();
    connect(&stack, &QUndoStack::indexChanged, this, &EditMenu::refresh);
    connect(&stack, &QUndoStack::undoTextChanged, this, &EditMenu::refresh);
    connect(&stack, &QUndoStack::redoTextChanged, this, &EditMenu::refresh);
    // The step being gathered is named before the menu shows it.
    connect(this, &QMenu::aboutToShow, &m_history, &UndoHistory::commit);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *old) {
        m_history.seal();
        forgetOwnUndo(old);
    });
    qApp->installEventFilter(this);
    refresh();
}

void EditMenu::addTo(QMenuBar &bar)
{
    QAction *help = nullptr;
    for (QMenu *menu : bar.findChildren<QMenu *>(QStringLiteral("helpMenu"), Qt::FindDirectChildrenOnly))
        help = menu->menuAction();
    bar.insertMenu(help, this);
}

void EditMenu::refresh()
{
    const QUndoStack &stack = m_history.stack();
    m_undo->setEnabled(stack.canUndo());
    m_redo->setEnabled(stack.canRedo());
    m_undo->setText(stack.canUndo() ? tr("Undo %1").arg(stack.undoText()) : tr("Undo"));
    m_redo->setText(stack.canRedo() ? tr("Redo %1").arg(stack.redoText()) : tr("Redo"));
}

bool EditMenu::eventFilter(QObject *watched, QEvent *event)
{
    // A text field claims the undo keys before any shortcut sees them; when
    // it has nothing of its own to undo, the claim is turned down so that
    // the keys reach the book's history.
    if (event->type() == QEvent::ShortcutOverride && watched == QApplication::focusWidget()) {
        const QKeySequence keys(static_cast<QKeyEvent *>(event)->keyCombination());
        const bool undo = m_undo->shortcuts().contains(keys);
        const bool redo = m_redo->shortcuts().contains(keys);
        if (undo || redo) {
            const std::optional<bool> own = fieldCanUndo(watched, redo);
            if (own && !*own) {
                m_history.commit();
                return true;
            }
        }
    }
    return QMenu::eventFilter(watched, event);
}

} // namespace quillery::ui
