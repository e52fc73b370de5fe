#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

class QMessageBox;
class QWidget;

namespace quillery {

class Store;

// How the program ends while the book may hold changes it could not save
// (a full disk). Quitting from the window saves first and, when that fails,
// asks before anything is lost. Being told to stop from outside (SIGTERM,
// SIGINT, SIGHUP, the end of the session) tries one last save and, when that
// fails too, writes the unsaved changes to a recovery journal that the next
// start replays. A line on standard error and the exit status say what
// became of the changes. Closing the window may instead leave the program
// running without it, when the program says so.
class SafeQuit final : public QObject
{
    Q_OBJECT
public:
    // Exit statuses (sysexits): everything saved, the changes left in a
    // recovery journal, the changes lost because not even that could be
    // written, and the user chose to quit without them.
    static constexpr int Saved = 0;
    static constexpr int InJournal = 75;
    static constexpr int Lost = 74;
    static constexpr int Discarded = 1;

    // Closing `window` counts as quitting.
    SafeQuit(Store &store, QWidget *window, QObject *parent = nullptr);

    // The window whose closing counts (none while the program runs without
    // one).
    void setWindow(QWidget *window);
    // Asked when the window is closed: true leaves the program running, the
    // book saved, and announces closedToBackground() instead of quitting.
    void setKeepRunning(std::function<bool()> keepRunning) { m_keepRunning = std::move(keepRunning); }

    // The user quits (the Quit command, closing the window).
    void requestQuit();
    // The program is told to stop and cannot ask anyone.
    void terminate();
    // The session ends: save or write the journal; the session ends the
    // program itself.
    void commitSession();

    // The status the program ends with, once it is decided.
    int exitCode() const { return m_exitCode; }
    // The question "Quit and lose …?" while it is open.
    QMessageBox *question() const { return m_question; }

Q_SIGNALS:
    // The program should end now with `exitCode`.
    void finished(int exitCode);
    // The window was closed and the program goes on without it.
    void closedToBackground();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Saves, or writes the journal; returns the exit status that says which.
    int saveOrJournal();
    void finish(int exitCode);

    Store &m_store;
    QPointer<QWidget> m_window;
    std::function<bool()> m_keepRunning;
    QPointer<QMessageBox> m_question;
    int m_exitCode = Saved;
    bool m_finished = false;
};

} // namespace quillery
