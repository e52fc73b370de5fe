#pragma once

#include "core/app/Services.h"
#include "core/model/RecordPointer.h"

#include <QMenu>
#include <QPointer>

class QLabel;

namespace quillery {
class Page;
}

namespace quillery::ui {

// The options menu of a page, in this order: Contents; the status lines
// (text, not commands) of saving (only while the book cannot be saved), of
// backups (only while they fail), of cloud sync, of linked task lists (only
// while a page is linked) and of alarms; the test
// alarm; "Open Notification Settings" while notifications are denied; Keep
// Reminders When Closed and Start at Login; Hide Completed; the Typeface
// choice; "Print Page…", "Export Page as PDF…" and "Export Page as
// iCalendar…" and "Sync Page with CalDAV…" where the program offers them;
// Tear Out Page. It is rebuilt
// each time it opens, so it always matches the current permission and
// settings, and its status lines follow changes while it is open.
class PageOptionsMenu final : public QMenu
{
    Q_OBJECT
public:
    explicit PageOptionsMenu(const Services &services, QWidget *parent = nullptr);

    // The page the menu's page commands act on.
    void setPage(Page *page);

    // Fills the menu from the current state (done when it opens).
    void rebuild();

    // The status lines as shown.
    QStringList statusLines() const;

    // Finds an action by its text, searching the Typeface submenu too.
    QAction *action(const QString &text) const;

Q_SIGNALS:
    void contentsRequested();
    void tearOutRequested();

private:
    QLabel *addStatusLine(StatusLine *line);

    Services m_services;
    RecordPointer<Page> m_page;
    QList<QLabel *> m_statusLabels;
    QMenu *m_typefaceMenu = nullptr;
};

} // namespace quillery::ui
