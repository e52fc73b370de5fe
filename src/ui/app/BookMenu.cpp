#include "BookMenu.h"

#include "core/app/CommandBus.h"
#include "core/app/Preferences.h"
#include "gui/theme/Appearance.h"
#include "gui/theme/ThemeColors.h"
#include "ui/theme/Symbols.h"

#include <QActionGroup>
#include <QCoreApplication>
#include <QMenuBar>

namespace quillery::ui {

BookMenu::BookMenu(CommandBus &bus, Preferences &preferences, QWidget *parent)
    : QMenu(tr("&Book"), parent)
    , m_preferences(preferences)
{
    setObjectName(QStringLiteral("bookMenu"));
    CommandBus *commands = &bus;

    m_next = addAction(tr("Next Page"));
    m_next->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_BracketRight));
    connect(m_next, &QAction::triggered, commands, [commands] { commands->post(CommandBus::Next); });

    m_previous = addAction(tr("Previous Page"));
    m_previous->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_BracketLeft));
    connect(m_previous, &QAction::triggered, commands, [commands] { commands->post(CommandBus::Previous); });

    addSeparator();

    m_hideCompleted = addAction(tr("Hide Completed"));
    m_hideCompleted->setCheckable(true);
    m_hideCompleted->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_H));
    connect(m_hideCompleted, &QAction::triggered, this, [this](bool hide) { m_preferences.setHideCompleted(hide); });

    m_typefaceMenu = addMenu(tr("Typeface"));
    m_typefaces = new QActionGroup(this);
    m_typefaces->setExclusive(true);
    const auto addChoice = [this](const QString &label, const QString &value) {
        QAction *choice = m_typefaceMenu->addAction(label);
        choice->setCheckable(true);
        choice->setData(value);
        m_typefaces->addAction(choice);
        connect(choice, &QAction::triggered, this, [this, value] { m_preferences.setTypeface(value); });
    };
    addChoice(tr("Sans"), Preferences::Sans);
    addChoice(tr("Serif"), Preferences::Serif);

    addSeparator();

    m_contents = addAction(tr("Contents"));
    m_contents->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    connect(m_contents, &QAction::triggered, commands, [commands] { commands->post(CommandBus::Contents); });

    addSeparator();

    m_keepReminders = addAction(tr("Keep Reminders When Closed"));
    m_keepReminders->setCheckable(true);
    connect(m_keepReminders, &QAction::triggered, this,
        [this](bool keep) { m_preferences.setKeepRemindersWhenClosed(keep); });
    m_startAtLogin = addAction(tr("Start at Login"));
    m_startAtLogin->setCheckable(true);
    connect(m_startAtLogin, &QAction::triggered, this, [this](bool start) { m_preferences.setStartAtLogin(start); });

    addSeparator();

    m_quit = addAction(tr("Quit"));
    // The desktop's own Quit keys, Ctrl+Q where it names none.
    const QList<QKeySequence> quitKeys = QKeySequence::keyBindings(QKeySequence::Quit);
    m_quit->setShortcuts(quitKeys.isEmpty() ? QList<QKeySequence> { QKeySequence(Qt::CTRL | Qt::Key_Q) } : quitKeys);
    m_quit->setMenuRole(QAction::QuitRole);
    connect(m_quit, &QAction::triggered, this, &BookMenu::quitRequested);

    connect(&m_preferences, &Preferences::hideCompletedChanged, this, &BookMenu::showPreferences);
    connect(&m_preferences, &Preferences::typefaceChanged, this, &BookMenu::showPreferences);
    connect(&m_preferences, &Preferences::keepRemindersWhenClosedChanged, this, &BookMenu::showPreferences);
    connect(&m_preferences, &Preferences::startAtLoginChanged, this, &BookMenu::showPreferences);
    showPreferences();
}

void BookMenu::showPreferences()
{
    m_hideCompleted->setChecked(m_preferences.hideCompleted());
    m_keepReminders->setChecked(m_preferences.keepRemindersWhenClosed());
    m_startAtLogin->setChecked(m_preferences.startAtLogin());
    // A stored typeface that is neither choice is drawn as sans but shown
    // as no choice, so the menu never claims what is not stored.
    const QString typeface = m_preferences.typeface();
    for (QAction *choice : m_typefaces->actions())
        choice->setChecked(choice->data().toString() == typeface);
}

BookMenu *buildMenuBar(QMenuBar &bar, const MenuTargets &targets)
{
    auto *book = new BookMenu(*targets.bus, *targets.preferences, &bar);
    bar.addMenu(book);
    if (targets.quit)
        QObject::connect(book, &BookMenu::quitRequested, &bar, targets.quit);
    return book;
}

QAction *makeAllPagesAction(CommandBus &bus, const Appearance &appearance, QObject *parent)
{
    auto *action = new QAction(QCoreApplication::translate("BookMenu", "All Pages"), parent);
    action->setObjectName(QStringLiteral("allPagesAction"));
    action->setIcon(
        Symbols::icon(QStringLiteral("square.grid.2x2"), themeColor(ThemeColor::MutedInk, appearance.scheme())));
    const QString shortcut = QKeySequence(Qt::CTRL | Qt::Key_E).toString(QKeySequence::NativeText);
    action->setToolTip(QCoreApplication::translate("BookMenu", "Show all pages (%1)").arg(shortcut));
    CommandBus *commands = &bus;
    QObject::connect(action, &QAction::triggered, commands, [commands] { commands->post(CommandBus::Contents); });
    return action;
}

} // namespace quillery::ui
