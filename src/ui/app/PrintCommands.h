#pragma once

#include "core/app/Services.h"
#include "core/model/RecordPointer.h"

#include <QObject>
#include <QPointer>

#include <functional>

class QAction;
class QMenu;
class QPrinter;
class QWidget;

namespace quillery {
class Page;
}

namespace quillery::ui {

// The paper commands of the Book menu and the page menu: "Print Page…"
// (Ctrl+P) through the print dialog, whose own tab offers the paper colour
// and its grain; "Export Page as PDF…" and "Export Book as PDF…" through the
// file chooser, on the locale's paper or in the book's own shape. What comes
// out is drawn by PagePrinter, the screen's own painting.
class PrintCommands final : public QObject
{
    Q_OBJECT
public:
    struct Hooks {
        std::function<Page *()> currentPage; // the page the Book menu prints
    };

    PrintCommands(const Services &services, QWidget *window, Hooks hooks, QObject *parent = nullptr);
    ~PrintCommands() override;

    // Puts the three commands into `menu`, before `before` (at the end when
    // null), with a separator after them.
    void addTo(QMenu &menu, QAction *before);

    QAction *printAction() const { return m_print; }
    QAction *exportPageAction() const { return m_exportPage; }
    QAction *exportBookAction() const { return m_exportBook; }

    void choosePrint(Page *page);
    void chooseExport(Page *page); // null: the whole book

Q_SIGNALS:
    // What became of a print or an export, in a sentence.
    void finished(const QString &summary);

private:
    void exportTo(const QString &path, bool bookShape, const QList<RecordPointer<Page>> &pages);
    void tell(const QString &title, const QString &text, bool failed);

    Services m_services;
    QPointer<QWidget> m_window;
    Hooks m_hooks;
    QAction *m_print = nullptr;
    QAction *m_exportPage = nullptr;
    QAction *m_exportBook = nullptr;
};

} // namespace quillery::ui
