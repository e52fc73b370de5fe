#pragma once

#include <QMenu>

#include <functional>

class QAction;
class QActionGroup;
class QMenuBar;

namespace quillery {
class Appearance;
class CommandBus;
class Preferences;
} // namespace quillery

namespace quillery::ui {

// The "Book" menu: turning pages and opening the contents by posting the
// book's commands, and the two display preferences (Hide Completed, the
// Typeface choice), which follow their settings wherever they are changed.
// Quit closes the program after everything is saved. The menu keeps no
// state of its own. Two more preferences say what happens when the window
// closes (Keep Reminders When Closed) and at login (Start at Login).
class BookMenu final : public QMenu
{
    Q_OBJECT
public:
    BookMenu(CommandBus &bus, Preferences &preferences, QWidget *parent = nullptr);

    QAction *nextAction() const { return m_next; }
    QAction *previousAction() const { return m_previous; }
    QAction *hideCompletedAction() const { return m_hideCompleted; }
    QMenu *typefaceMenu() const { return m_typefaceMenu; }
    QAction *contentsAction() const { return m_contents; }
    QAction *keepRemindersAction() const { return m_keepReminders; }
    QAction *startAtLoginAction() const { return m_startAtLogin; }
    QAction *quitAction() const { return m_quit; }

Q_SIGNALS:
    void quitRequested();

private:
    void showPreferences();

    Preferences &m_preferences;
    QAction *m_next = nullptr;
    QAction *m_previous = nullptr;
    QAction *m_hideCompleted = nullptr;
    QMenu *m_typefaceMenu = nullptr;
    QActionGroup *m_typefaces = nullptr;
    QAction *m_contents = nullptr;
    QAction *m_keepReminders = nullptr;
    QAction *m_startAtLogin = nullptr;
    QAction *m_quit = nullptr;
};

// What the menu bar's commands act on.
struct MenuTargets {
    CommandBus *bus = nullptr;
    Preferences *preferences = nullptr;
    std::function<void()> quit;
};

// Fills the window's menu bar, menus in their order; a further menu is one
// more line here. Returns the Book menu.
BookMenu *buildMenuBar(QMenuBar &bar, const MenuTargets &targets);

// The toolbar's "All Pages" button: opens the contents, like Contents in the
// menu. Its symbol is drawn in the muted ink of the scheme in effect.
QAction *makeAllPagesAction(CommandBus &bus, const Appearance &appearance, QObject *parent);

} // namespace quillery::ui
