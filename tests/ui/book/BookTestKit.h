#pragma once

// A book view over a real store in a temporary folder, shown as a window of
// its own on the offscreen platform, with helpers that drive it the way the
// user does: through the window's input, so the book sees exactly what a
// real pointer or touchpad delivers.

#include "core/model/Page.h"
#include "core/model/TaskItem.h"
#include "support/PageTestKit.h"
#include "ui/book/BookView.h"

#include <QTest>
#include <QWheelEvent>
#include <QWindow>

#include <memory>

namespace quillery::test {

struct BookKit : PageKit {
    std::unique_ptr<ui::BookView> view;

    // A page at the end of the book.
    Page *addPage(const QString &title, int colorIndex, std::initializer_list<const char *> tasks = {})
    {
        auto *page = new Page(store->pages().size() + 1.0, colorIndex);
        store->insert(page);
        page->setTitle(title);
        for (const char *text : tasks)
            addTask(QString::fromUtf8(text), 0, page, *store);
        return page;
    }

    // Turns last 60 ms so they can be watched and still end quickly.
    bool show(Book::Timing timing = { 0, 60, 60 })
    {
        view = std::make_unique<ui::BookView>(services(), timing);
        return showActive(*view);
    }

    Book &book() const { return view->book(); }
    QWindow *window() const { return view->windowHandle(); }

    bool waitForTurnEnd(int msecs = 2000) const
    {
        return QTest::qWaitFor([this] { return !book().dir().has_value(); }, msecs);
    }

    // Presses at `from` (view coordinates) and moves by `by` in `steps`
    // steps, `delay` ms apart, keeping the button down.
    void pressAndMove(QPoint from, QPoint by, int steps = 10, int delay = 16) const
    {
        QTest::mousePress(window(), Qt::LeftButton, {}, from);
        for (int i = 1; i <= steps; ++i)
            QTest::mouseMove(window(), from + by * i / steps, delay);
    }

    void release(QPoint at) const { QTest::mouseRelease(window(), Qt::LeftButton, {}, at, 16); }

    void drag(QPoint from, QPoint by, int steps = 10, int delay = 16) const
    {
        pressAndMove(from, by, steps, delay);
        release(from + by);
    }

    // One touchpad scroll event over the book at `at`.
    void swipe(QPoint at, QPoint pixels, Qt::ScrollPhase phase, ulong &timestamp) const
    {
        timestamp += 16;
        QWheelEvent event(QPointF(at), view->mapToGlobal(QPointF(at)), pixels, pixels * 2, Qt::NoButton, Qt::NoModifier,
            phase, false);
        event.setTimestamp(timestamp);
        QCoreApplication::sendEvent(window(), &event);
    }

    // Where a widget inside the view sits, in view coordinates.
    QPoint centreOf(const QWidget *widget) const { return widget->mapTo(view.get(), widget->rect().center()); }
};

} // namespace quillery::test
