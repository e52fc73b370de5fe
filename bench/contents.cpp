// The contents of a long book: opening them to the first frame, and
// scrolling one screen.
#include "core/alarms/AlarmService.h"
#include "core/alarms/AlarmStatus.h"
#include "core/app/Preferences.h"
#include "core/app/Services.h"
#include "core/book/Book.h"
#include "core/model/Store.h"
#include "core/model/StoreOpenError.h"
#include "gui/theme/Appearance.h"
#include "support/LargeBook.h"
#include "support/QuietAlarms.h"
#include "ui/contents/ContentsGrid.h"
#include "ui/contents/ContentsView.h"

#include <QApplication>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <memory>

using namespace quillery;
using quillery::bench::QuietAlarms;

namespace {

// A book of `pages` pages of 12 tasks each, open on a 600 × 834 window.
struct LongBook {
    explicit LongBook(int pages)
    {
        StoreOpenError error;
        store
            = Store::open(bench::writeLargeBook(dir.filePath(QStringLiteral("book.sqlite")), pages, 12, false), &error);
        preferences = std::make_unique<Preferences>(
            std::make_unique<QSettings>(dir.filePath(QStringLiteral("q.conf")), QSettings::IniFormat));
        book = std::make_unique<Book>(*store, *preferences, alarms);
        book->setShowContents(true);
        host.resize(600, 834);
        host.show();
        QApplication::processEvents();
    }

    Services services()
    {
        Services services;
        services.store = store.get();
        services.preferences = preferences.get();
        services.alarms = &alarms;
        services.appearance = &appearance;
        return services;
    }

    QTemporaryDir dir;
    std::unique_ptr<Store> store;
    std::unique_ptr<Preferences> preferences;
    QuietAlarms alarms;
    Appearance appearance;
    std::unique_ptr<Book> book;
    QWidget host;
};

void OpenContents(benchmark::State &state)
{
    LongBook book(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        // From nothing to the first frame of the entrance on screen.
        auto view = std::make_unique<ui::ContentsView>(*book.book, book.services(), &book.host);
        view->show();
        view->repaint();
        state.PauseTiming();
        view.reset();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(OpenContents)->Arg(500)->Unit(benchmark::kMillisecond)->Iterations(20);

void ScrollOneScreen(benchmark::State &state)
{
    LongBook book(static_cast<int>(state.range(0)));
    ui::ContentsView view(*book.book, book.services(), &book.host);
    view.show();
    QApplication::processEvents();
    QScrollBar *bar = view.grid()->verticalScrollBar();
    for (auto _ : state) {
        // Always onto pages not drawn yet, until the end comes round.
        const int next = bar->value() + bar->pageStep();
        bar->setValue(next > bar->maximum() ? 0 : next);
        view.grid()->viewport()->repaint();
    }
    state.counters["thumbnails"] = view.grid()->thumbnailsDrawn();
}
BENCHMARK(ScrollOneScreen)->Arg(500)->Unit(benchmark::kMillisecond);

} // namespace
