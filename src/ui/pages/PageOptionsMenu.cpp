#include "PageOptionsMenu.h"

#include "core/alarms/AlarmService.h"
#include "core/alarms/AlarmStatus.h"
#include "core/app/Preferences.h"
#include "core/model/Page.h"
#include "gui/theme/AppFont.h"
#include "gui/theme/Appearance.h"
#include "gui/theme/ThemeColors.h"
#include "ui/theme/Symbols.h"

#include <QActionGroup>
#include <QLabel>
#include <QPointer>
#include <QWidgetAction>

namespace quillery::ui {

PageOptionsMenu::PageOptionsMenu(const Services &services, QWidget *parent)
    : QMenu(parent)
    , m_services(services)
{
    setObjectName(QStringLiteral("pageOptionsMenu"));
    setAccessibleName(tr("Page options"));
    connect(this, &QMenu::aboutToShow, this, &PageOptionsMenu::rebuild);
    rebuild();
}

void PageOptionsMenu::setPage(Page *page)
{
    m_page = page;
}

QLabel *PageOptionsMenu::addStatusLine(StatusLine *line)
{
    auto *label = new QLabel(line->text());
    label->setFont(systemFont(12));
    // In line with the texts of the items, after their icon column.
    label->setContentsMargins(28, 3, 16, 3);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, themeColor(ThemeColor::MutedInk, m_services.appearance->scheme()));
    label->setPalette(palette);
    QPointer<QLabel> guard(label);
    connect(line, &StatusLine::changed, label, [guard, line] {
        if (guard)
            guard->setText(line->text());
    });
    auto *action = new QWidgetAction(this);
    action->setDefaultWidget(label);
    action->setEnabled(false);
    addAction(action);
    m_statusLabels << label;
    return label;
}

void PageOptionsMenu::rebuild()
{
    // clear() deletes the actions this menu owns (status labels included),
    // but not submenus.
    delete m_typefaceMenu;
    clear();
    m_statusLabels.clear();
    const QColor muted = themeColor(ThemeColor::MutedInk, m_services.appearance->scheme());

    QAction *contents = addAction(Symbols::icon(QStringLiteral("square.grid.2x2"), muted), tr("Contents"));
    connect(contents, &QAction::triggered, this, &PageOptionsMenu::contentsRequested);

    if (m_services.saveStatus && !m_services.saveStatus->text().isEmpty())
        addStatusLine(m_services.saveStatus);
    if (m_services.backupStatus && !m_services.backupStatus->text().isEmpty())
        addStatusLine(m_services.backupStatus);
    if (m_services.syncStatus)
        addStatusLine(m_services.syncStatus);
    if (m_services.taskListStatus && !m_services.taskListStatus->text().isEmpty())
        addStatusLine(m_services.taskListStatus);
    if (m_services.alarms)
        addStatusLine(&m_services.alarms->status());

    AlarmService *alarms = m_services.alarms;
    QAction *test
        = addAction(Symbols::icon(QStringLiteral("bell.badge"), muted), tr("Send a Test Alarm in 10 Seconds"));
    test->setEnabled(alarms != nullptr);
    connect(test, &QAction::triggered, this, [alarms] {
        if (alarms)
            alarms->sendTestAlarm(10);
    });

    if (alarms && alarms->status().authorization() == AlarmStatus::Denied) {
        QAction *settings
            = addAction(Symbols::icon(QStringLiteral("gearshape"), muted), tr("Open Notification Settings"));
        connect(settings, &QAction::triggered, this, [alarms] { alarms->openNotificationSettings(); });
    }

    Preferences *preferences = m_services.preferences;
    if (preferences) {
        QAction *keep = addAction(tr("Keep Reminders When Closed"));
        keep->setCheckable(true);
        keep->setChecked(preferences->keepRemindersWhenClosed());
        connect(keep, &QAction::toggled, preferences, &Preferences::setKeepRemindersWhenClosed);
        QAction *login = addAction(tr("Start at Login"));
        login->setCheckable(true);
        login->setChecked(preferences->startAtLogin());
        connect(login, &QAction::toggled, preferences, &Preferences::setStartAtLogin);
    }

    QAction *hide = addAction(Symbols::icon(QStringLiteral("eye.slash"), muted), tr("Hide Completed"));
    hide->setCheckable(true);
    hide->setChecked(preferences && preferences->hideCompleted());
    hide->setEnabled(preferences != nullptr);
    connect(hide, &QAction::toggled, this, [preferences](bool on) {
        if (preferences)
            preferences->setHideCompleted(on);
    });

    QMenu *typeface = addMenu(tr("Typeface"));
    m_typefaceMenu = typeface;
    auto *faces = new QActionGroup(typeface);
    faces->setExclusive(true);
    const QString current = preferences ? preferences->typeface() : Preferences::Sans;
    for (const auto &[label, value] :
        { std::pair { tr("Sans"), Preferences::Sans }, std::pair { tr("Serif"), Preferences::Serif } }) {
        QAction *choice = typeface->addAction(label);
        choice->setCheckable(true);
        choice->setChecked(current == value);
        choice->setData(value);
        faces->addAction(choice);
        connect(choice, &QAction::triggered, this, [preferences, value] {
            if (preferences)
                preferences->setTypeface(value);
        });
    }

    const auto addPageCommand
        = [this, &muted](const char *symbol, const QString &text, const std::function<void(Page *)> &command) {
              if (!command || !m_page)
                  return;
              QAction *action = addAction(Symbols::icon(QString::fromLatin1(symbol), muted), text);
              connect(action, &QAction::triggered, this, [command, page = m_page] {
                  if (page)
                      command(page);
              });
          };
    addPageCommand("printer", tr("Print Page…"), m_services.printPage);
    addPageCommand("doc.richtext", tr("Export Page as PDF…"), m_services.exportPagePdf);
    if (m_services.exportPage && m_page) {
        QAction *exportPage
            = addAction(Symbols::icon(QStringLiteral("calendar"), muted), tr("Export Page as iCalendar…"));
        connect(exportPage, &QAction::triggered, this, [exporter = m_services.exportPage, page = m_page] {
            if (page)
                exporter(page);
        });
    }

    addPageCommand("calendar", tr("Sync Page with CalDAV…"), m_services.linkTaskList);

    QAction *tear = addAction(
        Symbols::icon(QStringLiteral("trash"), alertColor(m_services.appearance->scheme())), tr("Tear Out Page"));
    connect(tear, &QAction::triggered, this, &PageOptionsMenu::tearOutRequested);
}

QStringList PageOptionsMenu::statusLines() const
{
    QStringList lines;
    for (const QLabel *label : m_statusLabels)
        lines << label->text();
    return lines;
}

QAction *PageOptionsMenu::action(const QString &text) const
{
    for (QAction *candidate : actions()) {
        if (candidate->text() == text)
            return candidate;
        if (QMenu *sub = candidate->menu()) {
            for (QAction *inner : sub->actions()) {
                if (inner->text() == text)
                    return inner;
            }
        }
    }
    return nullptr;
}

} // namespace quillery::ui
