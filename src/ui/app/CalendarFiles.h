#pragma once

#include "core/app/Services.h"
#include "core/model/RecordPointer.h"

#include <QObject>
#include <QPointer>

#include <functional>

class QAction;
class QMenu;
class QWidget;

namespace quillery {
class Page;
}

namespace quillery::ui {

// The iCalendar commands of the Book menu and the page menu: "Import
// iCalendar…", "Export Page as iCalendar…" and "Export Book as iCalendar…".
// Each asks for a file through the desktop's file chooser (the portal where
// one runs, Qt's own dialog elsewhere), does its work through the core, and
// tells the user what came of it in a window-modal summary.
class CalendarFiles final : public QObject
{
    Q_OBJECT
public:
    struct Hooks {
        std::function<Page *()> currentPage; // what "Export Page" exports
        std::function<void(Page *)> showPage; // turns to a page the import made
    };

    CalendarFiles(const Services &services, QWidget *window, Hooks hooks, QObject *parent = nullptr);

    // Puts the three commands into `menu`, before `before` (at the end when
    // null), with a separator after them.
    void addTo(QMenu &menu, QAction *before);

    QAction *importAction() const { return m_import; }
    QAction *exportPageAction() const { return m_exportPage; }
    QAction *exportBookAction() const { return m_exportBook; }

    void chooseImport();
    void chooseExport(Page *page); // null: the whole book

Q_SIGNALS:
    // The summary shown after an import or export (or the reason it failed).
    void finished(const QString &summary);

private:
    void importFrom(const QString &path);
    void exportTo(const QString &path, const RecordPointer<Page> &page);
    void tell(const QString &title, const QString &text, bool failed);

    Services m_services;
    QPointer<QWidget> m_window;
    Hooks m_hooks;
    QAction *m_import = nullptr;
    QAction *m_exportPage = nullptr;
    QAction *m_exportBook = nullptr;
};

} // namespace quillery::ui
