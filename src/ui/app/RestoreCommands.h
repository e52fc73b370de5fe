#pragma once

#include <QDate>
#include <QObject>
#include <QPointer>

#include <memory>

class QAction;
class QMenu;
class QWidget;

namespace quillery {
class BookRestore;
class UndoHistory;
struct Services;
} // namespace quillery

namespace quillery::ui {

// "Restore from Backup…" in the Book menu: the user picks a kept copy or any
// file (RestoreDialog); the copy is checked and read, the user confirms,
// the book as it is now is kept in the backups folder, and only then is the
// book made equal to the copy (BookRestore). The undo history is cleared:
// its steps describe a book that is gone, and the copy kept before the
// restore is the way back.
class RestoreCommands final : public QObject
{
    Q_OBJECT
public:
    // `history` may be null.
    RestoreCommands(
        const Services &services, UndoHistory *history, QString folder, QWidget *window, QObject *parent = nullptr);
    ~RestoreCommands() override;

    // Puts the command into `menu` right after `after`.
    void addTo(QMenu &menu, QAction *after);
    QAction *restoreAction() const { return m_restore; }

    void chooseCopy();
    // Checks and reads the copy at `path`, taken on `date`, and asks before
    // it replaces the book.
    void restoreFrom(const QString &path, const QDate &date);

    // How the copy's day is named in the question: without the year when it
    // is this year's.
    QString dayText(const QDate &date) const;

Q_SIGNALS:
    // The book was replaced (a failure is told in a box of its own).
    void restored(const QString &summary);

private:
    void replace(const QString &day);
    void tell(const QString &text);

    const Services &m_services;
    UndoHistory *m_history;
    QString m_folder;
    QPointer<QWidget> m_window;
    QAction *m_restore = nullptr;
    std::unique_ptr<BookRestore> m_pending; // the copy read, waiting for the user's answer
};

} // namespace quillery::ui
