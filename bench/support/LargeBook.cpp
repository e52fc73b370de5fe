#include "LargeBook.h"

#include "core/model/Store.h"
#include "core/util/Uuid.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <SQLiteCpp/Transaction.h>

namespace quillery::bench {

QString writeLargeBook(const QString &path, int pages, int tasksPerPage, bool pendingForMirror)
{
    {
        StoreOpenError error;
        auto store = Store::open(path, &error);
    }
    SQLite::Database db(path.toStdString(), SQLite::OPEN_READWRITE);
    SQLite::Transaction transaction(db);
    SQLite::Statement page(db,
        "INSERT INTO page (id, position, title, color_index, created, modified, pending) VALUES (?, ?, ?, ?, ?, ?, ?)");
    SQLite::Statement task(db,
        "INSERT INTO task (id, text, done, sort_order, created, notes, indent, page_id, modified, pending) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    const int pending = pendingForMirror ? 1 : 0;
    qint64 created = 1'700'000'000'000;
    for (int p = 0; p < pages; ++p) {
        const std::string pageId = uuidString(QUuid::createUuid()).toStdString();
        page.bind(1, pageId);
        page.bind(2, double(p + 1));
        page.bind(3, "Page title " + std::to_string(p));
        page.bind(4, p % 7);
        page.bind(5, static_cast<int64_t>(created));
        page.bind(6, static_cast<int64_t>(created++));
        page.bind(7, pending);
        page.exec();
        page.reset();
        for (int t = 0; t < tasksPerPage; ++t) {
            task.bind(1, uuidString(QUuid::createUuid()).toStdString());
            task.bind(2, "Call the plumber about the kitchen sink, item " + std::to_string(t));
            task.bind(3, t % 3 == 0 ? 1 : 0);
            task.bind(4, double(t + 1));
            task.bind(5, static_cast<int64_t>(created));
            task.bind(6, t % 5 == 0 ? "A short note" : "");
            task.bind(7, t % 4 == 1 ? 1 : 0);
            task.bind(8, pageId);
            task.bind(9, static_cast<int64_t>(created++));
            task.bind(10, pending);
            task.exec();
            task.reset();
        }
    }
    transaction.commit();
    return path;
}

} // namespace quillery::bench
