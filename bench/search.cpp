// Searching a book of 1,000 pages × 100 tasks: each keystroke in the search
// field against the in-memory index, and the same queries against an SQLite
// FTS5 table with the trigram tokenizer over the same folded text.
#include "core/app/Preferences.h"
#include "core/app/Services.h"
#include "core/model/Page.h"
#include "core/model/Store.h"
#include "core/model/TypeRegistry.h"
#include "core/search/SearchIndex.h"
#include "core/util/Uuid.h"
#include "gui/theme/Appearance.h"
#include "support/QuietAlarms.h"
#include "ui/book/BookView.h"
#include "ui/search/SearchPanel.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <SQLiteCpp/Transaction.h>

#include <QApplication>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QSettings>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <fstream>
#include <memory>

#include <time.h>
#include <unistd.h>

using namespace quillery;

namespace {

constexpr int Pages = 1000;
constexpr int TasksPerPage = 100;

const char *const Words[] = { "call", "the", "plumber", "about", "kitchen", "sink", "buy", "milk", "eggs", "bread",
    "café", "Straße", "meeting", "with", "Ana", "report", "draft", "send", "invoice", "tickets", "for", "train",
    "Zürich", "München", "København", "Ærø", "dentist", "appointment", "renew", "passport", "water", "plants", "garden",
    "fix", "bike", "tyre", "book", "table", "birthday", "present", "İstanbul", "Işık", "ΟΔΟΣ", "Αθήνα", "カフェ",
    "学校", "がっこう", "東京", "pick", "up", "laundry", "review", "slides", "budget", "quarterly", "email", "landlord",
    "heating", "insurance", "letter", "post", "office", "library", "return", "novel", "gym", "yoga", "class", "lunch",
    "dinner", "recipe", "lasagne", "crème", "brûlée", "naïve", "façade", "piñata" };

QString sentence(QRandomGenerator &random, int minimum, int maximum)
{
    QStringList words;
    const int count = minimum + int(random.bounded(maximum - minimum + 1));
    for (int i = 0; i < count; ++i)
        words << QString::fromUtf8(Words[random.bounded(int(std::size(Words)))]);
    return words.join(u' ');
}

// Written straight into the file once per run, then opened as the program
// opens it: task text of 3–8 words, notes on a third, a place on a tenth.
struct BookFile {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("book.sqlite"));
    BookFile()
    {
        {
            StoreOpenError error;
            auto store = Store::open(path, &error);
        }
        QRandomGenerator random(7);
        SQLite::Database db(path.toStdString(), SQLite::OPEN_READWRITE);
        SQLite::Transaction transaction(db);
        SQLite::Statement page(db, "INSERT INTO page (id, position, title, created, modified) VALUES (?, ?, ?, 1, 1)");
        SQLite::Statement task(db,
            "INSERT INTO task (id, text, done, sort_order, created, notes, place_name, page_id, modified) "
            "VALUES (?, ?, ?, ?, 1, ?, ?, ?, 1)");
        for (int p = 0; p < Pages; ++p) {
            const std::string pageId = uuidString(QUuid::createUuid()).toStdString();
            page.bind(1, pageId);
            page.bind(2, double(p + 1));
            page.bind(3, sentence(random, 1, 3).toStdString());
            page.exec();
            page.reset();
            for (int t = 0; t < TasksPerPage; ++t) {
                task.bind(1, uuidString(QUuid::createUuid()).toStdString());
                task.bind(2, sentence(random, 3, 8).toStdString());
                task.bind(3, t % 3 == 0 ? 1 : 0);
                task.bind(4, double(t + 1));
                task.bind(5, t % 3 == 1 ? sentence(random, 8, 20).toStdString() : std::string());
                task.bind(6, t % 10 == 2 ? sentence(random, 1, 2).toStdString() : std::string());
                task.bind(7, pageId);
                task.exec();
                task.reset();
            }
        }
        transaction.commit();
    }
};

Store &largeStore()
{
    static BookFile file;
    static std::unique_ptr<Store> store = [] {
        StoreOpenError error;
        return Store::open(file.path, &error);
    }();
    return *store;
}

double residentMegabytes()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * double(::sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

Page *middlePage()
{
    return largeStore().pages().at(Pages / 2);
}

// Folding every task of the book: the first search of a run.
void BM_BuildIndex(benchmark::State &state)
{
    Store &store = largeStore();
    {
        // The first index of the run, so the heap has nothing to reuse.
        const double before = residentMegabytes();
        auto index = std::make_unique<SearchIndex>(store);
        index->search(QStringLiteral("kitchen"), middlePage());
        state.counters["index_MB"] = residentMegabytes() - before;
    }
    for (auto _ : state) {
        SearchIndex index(store);
        benchmark::DoNotOptimize(index.search(QStringLiteral("kitchen"), middlePage()).taskCount);
    }
}
BENCHMARK(BM_BuildIndex)->Unit(benchmark::kMillisecond)->Iterations(3);

// The processor time of this thread, in seconds: the machine is shared, so
// the keystrokes are timed by the work done, not by the clock on the wall.
double threadSeconds()
{
    timespec now {};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

// One keystroke while typing "kitchen": the query of `range(0)` letters
// after the one a letter shorter (the first letter searches everything).
void BM_Keystroke(benchmark::State &state)
{
    static SearchIndex index(largeStore());
    const QString word = QStringLiteral("kitchen");
    const int length = int(state.range(0));
    int found = 0;
    for (auto _ : state) {
        index.search(word.left(length - 1), middlePage());
        const double start = threadSeconds();
        found = index.search(word.left(length), middlePage()).taskCount;
        state.SetIterationTime(threadSeconds() - start);
    }
    state.counters["found"] = found;
}
BENCHMARK(BM_Keystroke)->DenseRange(1, 7)->UseManualTime()->Unit(benchmark::kMillisecond);

// The same keystroke in the window: the field's text changes, the results
// are listed, and the book view with the search over it is drawn.
void BM_KeystrokeInTheWindow(benchmark::State &state)
{
    QTemporaryDir dir;
    Preferences preferences(std::make_unique<QSettings>(dir.filePath(QStringLiteral("q.conf")), QSettings::IniFormat));
    bench::QuietAlarms alarms;
    Appearance appearance;
    TypeRegistry types;
    Services services;
    services.store = &largeStore();
    services.preferences = &preferences;
    services.alarms = &alarms;
    services.appearance = &appearance;
    services.types = &types;
    ui::BookView book(services);
    book.resize(600, 834);
    book.show();
    static SearchIndex index(largeStore());
    ui::SearchPanel search(book, index, &book);
    search.open();
    QApplication::processEvents();
    const QString word = QStringLiteral("kitchen");
    const int length = int(state.range(0));
    for (auto _ : state) {
        search.field()->setText(word.left(length - 1));
        const double start = threadSeconds();
        search.field()->setText(word.left(length));
        book.repaint();
        state.SetIterationTime(threadSeconds() - start);
    }
}
BENCHMARK(BM_KeystrokeInTheWindow)->Arg(1)->Arg(7)->UseManualTime()->Unit(benchmark::kMillisecond);

// A query that extends nothing searched before: every task is looked at.
void BM_FreshQuery(benchmark::State &state)
{
    static SearchIndex index(largeStore());
    const QString queries[] = { QStringLiteral("strasse"), QStringLiteral("cafe"), QStringLiteral("zz") };
    int i = 0;
    for (auto _ : state) {
        const double start = threadSeconds();
        benchmark::DoNotOptimize(index.search(queries[i++ % 3], middlePage()).taskCount);
        state.SetIterationTime(threadSeconds() - start);
    }
}
BENCHMARK(BM_FreshQuery)->UseManualTime()->Unit(benchmark::kMillisecond);

// The other means: the same folded text in an FTS5 table with the trigram
// tokenizer, in memory. It answers with row ids only; ranking them is the
// same work as above. Queries shorter than three letters cannot use the
// trigrams and scan the table (LIKE).
struct FtsTable {
    SQLite::Database db { ":memory:", SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE };
    FtsTable()
    {
        db.exec("CREATE VIRTUAL TABLE t USING fts5(text, place, notes, tokenize = 'trigram')");
        SQLite::Transaction transaction(db);
        SQLite::Statement insert(db, "INSERT INTO t (rowid, text, place, notes) VALUES (?, ?, ?, ?)");
        TextFolder folder;
        int64_t row = 0;
        for (const TaskItem *task : largeStore().tasks()) {
            insert.bind(1, ++row);
            insert.bind(2, folder.fold(task->text()).toStdString());
            insert.bind(3, folder.fold(task->placeName()).toStdString());
            insert.bind(4, folder.fold(task->notes()).toStdString());
            insert.exec();
            insert.reset();
        }
        transaction.commit();
    }
};

FtsTable &ftsTable()
{
    static FtsTable table;
    return table;
}

void BM_Fts5TrigramBuild(benchmark::State &state)
{
    for (auto _ : state)
        FtsTable table;
}
BENCHMARK(BM_Fts5TrigramBuild)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_Fts5TrigramKeystroke(benchmark::State &state)
{
    FtsTable &table = ftsTable();
    const std::string query = std::string("kitchen").substr(0, size_t(state.range(0)));
    const bool trigrams = query.size() >= 3;
    SQLite::Statement select(table.db,
        trigrams ? "SELECT rowid FROM t WHERE t MATCH ?"
                 : "SELECT rowid FROM t WHERE text LIKE ? OR place LIKE ? OR notes LIKE ?");
    int found = 0;
    for (auto _ : state) {
        const double start = threadSeconds();
        select.reset();
        if (trigrams) {
            select.bind(1, '"' + query + '"');
        } else {
            for (int i = 1; i <= 3; ++i)
                select.bind(i, '%' + query + '%');
        }
        found = 0;
        while (select.executeStep())
            ++found;
        state.SetIterationTime(threadSeconds() - start);
    }
    state.counters["found"] = found;
}
BENCHMARK(BM_Fts5TrigramKeystroke)->DenseRange(1, 7)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
