#pragma once

#include <QObject>
#include <QPointer>

class QAction;
class QMenu;
class QWidget;

namespace quillery {
class Store;
}

namespace quillery::ui {

// "Back Up Book…" in the Book menu: a consistent copy of the book where the
// user chooses, made on a worker thread (BookCopy) while the window goes on.
class BackupCommands final : public QObject
{
    Q_OBJECT
public:
    BackupCommands(Store &store, QWidget *window, QObject *parent = nullptr);

    // Puts the command into `menu`, before `before` (at the end when null).
    void addTo(QMenu &menu, QAction *before);
    QAction *backUpAction() const { return m_backUp; }

    void chooseBackUp();
    // Copies the book to `path` and says how it went.
    void backUpTo(const QString &path);

Q_SIGNALS:
    void finished(const QString &summary);

private:
    void tell(const QString &text, bool failed);

    Store &m_store;
    QPointer<QWidget> m_window;
    QAction *m_backUp = nullptr;
};

} // namespace quillery::ui
