// The book: one frame of a page turn, starting a turn (both pictures taken),
// and the whole program from nothing to its first painted page over a book
// of 100,000 tasks.
#include "app/QuilleryApp.h"
#include "core/alarms/AlarmService.h"
#include "core/alarms/AlarmStatus.h"
#include "core/app/Preferences.h"
#include "core/app/Services.h"
#include "core/model/Page.h"
#include "core/model/Store.h"
#include "core/pages/PageTasks.h"
#include "core/util/Uuid.h"
#include "gui/theme/Appearance.h"
#include "support/LargeBook.h"
#include "support/QuietAlarms.h"
#include "ui/app/MainWindow.h"
#include "ui/book/BookView.h"
#include "ui/book/TurnPicture.h"
#include "ui/pages/PageView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSettings>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <memory>

using namespace quillery;
using quillery::bench::QuietAlarms;

namespace {

// A book of `pages` pages of 50 tasks each, shown `width` × `height` points.
struct ShownBook {
    ShownBook(int width, int height, int pages = 2)
    {
        StoreOpenError error;
        store = Store::open(dir.filePath(QStringLiteral("book.sqlite")), &error);
        preferences = std::make_unique<Preferences>(
            std::make_unique<QSettings>(dir.filePath(QStringLiteral("q.conf")), QSettings::IniFormat));
        for (int p = 0; p < pages; ++p) {
            auto *page = new Page(p + 1, p + 3);
            store->insert(page);
            page->setTitle(QStringLiteral("Page %1").arg(p + 1));
            for (int i = 0; i < 50; ++i)
                addTask(QStringLiteral("Task number %1 with a few words").arg(i), i % 4 == 1, page, *store);
        }
        Services services;
        services.store = store.get();
        services.preferences = preferences.get();
        services.alarms = &alarms;
        services.appearance = &appearance;
        view = std::make_unique<ui::BookView>(services, Book::Timing { 0, 320, 280 });
        view->resize(width, height);
        view->show();
        QApplication::processEvents();
    }

    QTemporaryDir dir;
    std::unique_ptr<Store> store;
    std::unique_ptr<Preferences> preferences;
    QuietAlarms alarms;
    Appearance appearance;
    std::unique_ptr<ui::BookView> view;
};

void TurnFrame(benchmark::State &state)
{
    ShownBook shown(int(state.range(0)), int(state.range(1)));
    Book &book = shown.view->book();
    const double width = shown.view->faceRect().width();
    book.dragChanged(-0.2 * width, 0, width);
    if (!book.dir()) {
        state.SkipWithError("no turn started");
        return;
    }
    ui::TurnPicture *picture = shown.view->turnPicture();
    double tx = -0.2 * width;
    for (auto _ : state) {
        // One pointer move: the progress follows, and the face is drawn.
        tx = tx < -0.8 * width ? -0.2 * width : tx - 7;
        book.dragChanged(tx, 0, width);
        picture->repaint();
    }
    book.resetTurn();
}
BENCHMARK(TurnFrame)->Args({ 600, 834 })->Args({ 1200, 1668 })->Unit(benchmark::kMillisecond);

void TurnStart(benchmark::State &state)
{
    ShownBook shown(int(state.range(0)), int(state.range(1)));
    Book &book = shown.view->book();
    const double width = shown.view->faceRect().width();
    for (auto _ : state) {
        // The turn begins (both pages drawn as pictures, the next page made
        // for it) and is dropped again.
        book.dragChanged(-0.2 * width, 0, width);
        book.resetTurn();
        book.dragEnded(0, width);
        state.PauseTiming();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
}
BENCHMARK(TurnStart)->Args({ 600, 834 })->Args({ 1200, 1668 })->Unit(benchmark::kMillisecond);

void TurnStartCold(benchmark::State &state)
{
    ShownBook shown(int(state.range(0)), int(state.range(1)), 60);
    Book &book = shown.view->book();
    const double width = shown.view->faceRect().width();
    int page = 0;
    for (auto _ : state) {
        // Jump far away first, so the page turned to was never drawn.
        state.PauseTiming();
        page = (page + 3) % 57;
        shown.preferences->setCurrentPage(uuidString(book.pageAt(page)->id()));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
        state.ResumeTiming();
        book.dragChanged(-0.2 * width, 0, width);
        state.PauseTiming();
        book.resetTurn();
        book.dragEnded(0, width);
        state.ResumeTiming();
    }
}
BENCHMARK(TurnStartCold)->Args({ 600, 834 })->Args({ 1200, 1668 })->Unit(benchmark::kMillisecond);

// The start of a page turn (the key's work and the turn's first frame) in a
// book of 100 tasks a page with `state.range(0)` pages: it must not grow with
// the book.
void TurnStartInALargeBook(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path
        = bench::writeLargeBook(dir.filePath(QStringLiteral("book.sqlite")), int(state.range(0)), 100, false);
    StoreOpenError error;
    auto store = Store::open(path, &error);
    Preferences preferences(std::make_unique<QSettings>(dir.filePath(QStringLiteral("q.conf")), QSettings::IniFormat));
    preferences.setCurrentPage(uuidString(store->pages().at(store->pages().size() / 2)->id()));
    QuietAlarms alarms;
    Appearance appearance;
    Services services;
    services.store = store.get();
    services.preferences = &preferences;
    services.alarms = &alarms;
    services.appearance = &appearance;
    ui::BookView view(services, Book::Timing { 0, 320, 280 });
    view.resize(600, 834);
    view.show();
    QApplication::processEvents();
    Book &book = view.book();
    for (auto _ : state) {
        book.turn(state.iterations() % 2 ? Dir::Forward : Dir::Backward);
        view.turnPicture()->repaint();
        state.PauseTiming();
        book.resetTurn();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["tasks"] = double(store->tasks().size());
}
BENCHMARK(TurnStartInALargeBook)->Arg(1000)->Arg(10'000)->Iterations(20)->Unit(benchmark::kMillisecond);

// Notes when the first page has painted.
class FirstPaint final : public QObject
{
public:
    bool painted = false;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && qobject_cast<ui::PageView *>(watched))
            painted = true;
        return false;
    }
};

void StartToFirstFrame(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = bench::writeLargeBook(dir.filePath(QStringLiteral("book.sqlite")), 1000, 100, false);
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        auto app = std::make_unique<QuilleryApp>(
            QuilleryApp::Options { path, dir.filePath(QStringLiteral("pending.json")) });
        StoreOpenError error;
        if (!app->start(&error)) {
            state.SkipWithError("the book did not open");
            return;
        }
        FirstPaint first;
        QApplication::instance()->installEventFilter(&first);
        app->window().show();
        while (!first.painted)
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
        QApplication::instance()->removeEventFilter(&first);
        app.reset();
        QApplication::processEvents();
    }
}
BENCHMARK(StartToFirstFrame)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

} // namespace
