// The program put together in-process: the menus and dialogs follow the
// pages into dark, and the contents grow into view drawn all the way.
#include "app/QuilleryApp.h"
#include "core/model/Page.h"
#include "gui/theme/Appearance.h"
#include "support/Screenshot.h"
#include "ui/app/BookMenu.h"
#include "ui/app/MainWindow.h"
#include "ui/book/BookView.h"
#include "ui/contents/ContentsGrid.h"

#include <QApplication>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <cmath>

using namespace quillery;

TEST(AppWindow, theMenusAndDialogsTurnDarkWithThePages)
{
    QTemporaryDir dir;
    QuilleryApp app({ dir.filePath(QStringLiteral("book.sqlite")), dir.filePath(QStringLiteral("pending.json")) });
    StoreOpenError error;
    ASSERT_TRUE(app.start(&error)) << error.message().toStdString();
    ui::MainWindow &window = app.window();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_TRUE(QTest::qWaitFor([&] { return app.bookView().currentPageView(); }, 5000));
    const QPalette desktop = QApplication::palette();
    const auto dark = [](const QWidget *w) { return Appearance::schemeOfPalette(w->palette()) == ColorScheme::Dark; };
    ASSERT_FALSE(dark(window.menuBar())) << "the offscreen desktop is light";

    // The desktop asks for dark: the menu bar, the menus and a dialog made
    // afterwards all follow, not only the pages.
    app.appearance().setForcedScheme(ColorScheme::Dark);
    EXPECT_TRUE(QTest::qWaitFor([&] { return dark(window.menuBar()) && dark(window.bookMenu()); }, 2000));
    QWidget dialog;
    EXPECT_TRUE(dark(&dialog));
    window.menuBar()->setActiveAction(window.bookMenu()->menuAction());
    test::saveScreenshot(QStringLiteral("desk-dark-menu"), window);
    window.bookMenu()->hide();

    // Back to light: the desktop's own palette again, untouched.
    app.appearance().setForcedScheme(ColorScheme::Light);
    EXPECT_EQ(QApplication::palette(), desktop);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !dark(window.menuBar()) && !dark(window.bookMenu()); }, 2000));
    window.menuBar()->setActiveAction(window.bookMenu()->menuAction());
    test::saveScreenshot(QStringLiteral("desk-light-menu"), window);
    window.bookMenu()->hide();
}

namespace {

// How far `frame` has come from `from` towards `to` inside `area` (0 none,
// 1 all the way), and how closely its change follows that of `to` (1 the
// same picture, 0 unrelated).
std::pair<double, double> progress(const QImage &from, const QImage &frame, const QImage &to, const QRect &area)
{
    double along = 0, total = 0, frameSquares = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const double start = qGray(from.pixel(x, y));
            const double moved = qGray(frame.pixel(x, y)) - start;
            const double whole = qGray(to.pixel(x, y)) - start;
            along += moved * whole;
            total += whole * whole;
            frameSquares += moved * moved;
        }
    }
    if (total == 0 || frameSquares == 0)
        return { 0, 0 };
    return { along / total, along / std::sqrt(total * frameSquares) };
}

} // namespace

TEST(AppWindow, theContentsGrowIntoViewWithTheirPagesDrawnAllTheWay)
{
    QTemporaryDir dir;
    QuilleryApp app({ dir.filePath(QStringLiteral("book.sqlite")), dir.filePath(QStringLiteral("pending.json")) });
    StoreOpenError error;
    ASSERT_TRUE(app.start(&error)) << error.message().toStdString();
    for (int i = 1; i <= 4; ++i) {
        auto *page = new Page(i, i * 2);
        app.store().insert(page);
        page->setTitle(QStringLiteral("Page %1").arg(i));
    }
    ui::MainWindow &window = app.window();
    window.resize(600, 900);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::qWait(200);
    const QImage before = window.grab().toImage();

    window.allPagesAction()->trigger();
    QList<QImage> frames;
    const auto moving = [&] { return app.bookView().findChild<QWidget *>(QStringLiteral("contentsTransition")); };
    while (moving() && frames.size() < 100) {
        frames << window.grab().toImage();
        QTest::qWait(15);
    }
    QTest::qWait(100);
    const QImage after = window.grab().toImage();
    auto *grid = app.bookView().contentsOverlay()->findChild<ui::ContentsGrid *>();
    ASSERT_TRUE(grid);
    ASSERT_GE(frames.size(), 4) << "the contents come in over a few frames";

    // In the frames between, the first page's cell is on its way in.
    const QRect cell(
        grid->viewport()->mapTo(&window, grid->cellRectInViewport(0).topLeft()), grid->cellRectInViewport(0).size());
    int drawn = 0;
    for (qsizetype i = 1; i + 1 < frames.size(); ++i) {
        const auto [along, alike] = progress(before, frames.at(i), after, cell);
        drawn += along > 0.15 && along < 0.95 && alike > 0.6;
    }
    EXPECT_GE(drawn, 2);
}
