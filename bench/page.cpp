// The page: making the grain, painting a page, building a long page.
#include "core/alarms/AlarmService.h"
#include "core/alarms/AlarmStatus.h"
#include "core/app/Preferences.h"
#include "core/app/Services.h"
#include "core/model/Editing.h"
#include "core/model/Store.h"
#include "gui/theme/Appearance.h"
#include "gui/theme/PaperGrain.h"
#include "support/QuietAlarms.h"
#include "ui/pages/PageView.h"

#include <QApplication>
#include <QImage>
#include <QSettings>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <memory>

using namespace quillery;
using quillery::bench::QuietAlarms;

namespace {

// A store with one page of `count` tasks: every third done, every fourth a
// subtask, some with a due day, notes or a place, as a real page has.
struct Book {
    explicit Book(int count)
    {
        StoreOpenError error;
        store = Store::open(dir.filePath(QStringLiteral("book.sqlite")), &error);
        preferences = std::make_unique<Preferences>(
            std::make_unique<QSettings>(dir.filePath(QStringLiteral("q.conf")), QSettings::IniFormat));
        page = new Page(1, 4);
        store->insert(page);
        page->setTitle(QStringLiteral("Benchmark page"));
        const QDateTime now = QDateTime::currentDateTimeUtc();
        for (int i = 0; i < count; ++i) {
            TaskItem *task
                = addTask(QStringLiteral("Task number %1 with a few words of text").arg(i), i % 4 == 1, page, *store);
            task->setDone(i % 3 == 0);
            if (i % 5 == 0)
                task->setDue(now.addDays(i % 9 - 4));
            if (i % 7 == 0)
                task->setNotes(QStringLiteral("note"));
        }
        store->save();
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
    Editing editing;
    Page *page = nullptr;
};

void GrainGeneration(benchmark::State &state)
{
    const ColorScheme scheme = state.range(0) ? ColorScheme::Dark : ColorScheme::Light;
    for (auto _ : state)
        benchmark::DoNotOptimize(PaperGrain::generate(scheme));
}
BENCHMARK(GrainGeneration)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void PaintPage(benchmark::State &state)
{
    Book book(static_cast<int>(state.range(0)));
    ui::PageView view(book.page, 1, 1, PageActions {}, book.services(), &book.editing);
    view.resize(600, 834);
    view.show();
    QApplication::processEvents();
    QImage frame(600, 834, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        view.render(&frame);
        benchmark::DoNotOptimize(frame.constBits());
    }
}
BENCHMARK(PaintPage)->Arg(50)->Unit(benchmark::kMillisecond);

void BuildPage(benchmark::State &state)
{
    Book book(static_cast<int>(state.range(0)));
    QImage frame(600, 834, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        // From nothing to a laid-out page that has drawn itself once.
        auto view = std::make_unique<ui::PageView>(book.page, 1, 1, PageActions {}, book.services(), &book.editing);
        view->resize(600, 834);
        view->show();
        QApplication::processEvents();
        view->render(&frame);
        state.PauseTiming();
        view.reset();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BuildPage)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace
