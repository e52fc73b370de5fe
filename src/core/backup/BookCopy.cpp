#include "BookCopy.h"

#include "core/util/PrivateFiles.h"

#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <memory>

namespace quillery {

namespace {

struct Closer {
    void operator()(sqlite3 *db) const { sqlite3_close_v2(db); }
};
using Connection = std::unique_ptr<sqlite3, Closer>;

Connection openDatabase(const QString &path, int flags, int *code)
{
    sqlite3 *db = nullptr;
    *code = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, flags, nullptr);
    Connection connection(db);
    if (*code == SQLITE_OK)
        sqlite3_busy_timeout(db, 5000);
    return connection;
}

QString messageOf(sqlite3 *db, int code)
{
    return QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(code));
}

BookCopy::Result failure(int code, const QString &error)
{
    return { false, (code & 0xff) == SQLITE_FULL, error };
}

} // namespace

bool BookCopy::check(const QString &path, QString *error)
{
    int code = SQLITE_OK;
    const Connection db = openDatabase(path, SQLITE_OPEN_READONLY, &code);
    if (code != SQLITE_OK) {
        if (error)
            *error = messageOf(db.get(), code);
        return false;
    }
    sqlite3_stmt *statement = nullptr;
    code = sqlite3_prepare_v2(db.get(), "PRAGMA integrity_check", -1, &statement, nullptr);
    QString first;
    if (code == SQLITE_OK && sqlite3_step(statement) == SQLITE_ROW)
        first = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, 0)));
    else
        first = messageOf(db.get(), code);
    sqlite3_finalize(statement);
    if (first == QLatin1String("ok"))
        return true;
    if (error)
        *error = first;
    return false;
}

BookCopy::Result BookCopy::copy(const QString &bookPath, const QString &targetPath)
{
    const QString part = targetPath + QStringLiteral(".part");
    QFile::remove(part);
    const auto discard = [&part](const Result &result) {
        QFile::remove(part);
        return result;
    };

    int code = SQLITE_OK;
    const Connection source = openDatabase(bookPath, SQLITE_OPEN_READONLY, &code);
    if (code != SQLITE_OK)
        return failure(code, messageOf(source.get(), code));
    {
        // Made for this user only before SQLite opens it (SQLite keeps the
        // mode of a file that exists, and gives its journal the same one).
        QString refused;
        if (!PrivateFiles::makeFile(part, &refused))
            return discard(failure(SQLITE_CANTOPEN, refused));
        const Connection target = openDatabase(part, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, &code);
        if (code != SQLITE_OK)
            return discard(failure(code, messageOf(target.get(), code)));
        // One step copies every page under a single read transaction: a
        // snapshot of the book as one save left it.
        sqlite3_backup *backup = sqlite3_backup_init(target.get(), "main", source.get(), "main");
        if (!backup)
            return discard(failure(sqlite3_errcode(target.get()), messageOf(target.get(), SQLITE_ERROR)));
        int step = SQLITE_OK;
        do {
            step = sqlite3_backup_step(backup, -1);
            if (step == SQLITE_BUSY || step == SQLITE_LOCKED)
                sqlite3_sleep(20);
        } while (step == SQLITE_OK || step == SQLITE_BUSY || step == SQLITE_LOCKED);
        sqlite3_backup_finish(backup);
        if (step != SQLITE_DONE)
            return discard(failure(step, messageOf(target.get(), step)));
        // The copy is a plain file of its own, not one with a log beside it.
        char *message = nullptr;
        code = sqlite3_exec(target.get(), "PRAGMA journal_mode = DELETE", nullptr, nullptr, &message);
        sqlite3_free(message);
        if (code != SQLITE_OK)
            return discard(failure(code, messageOf(target.get(), code)));
    }
    QString problem;
    if (!check(part, &problem))
        return discard(failure(SQLITE_CORRUPT, problem));
    QFile::remove(targetPath);
    if (!QFile::rename(part, targetPath))
        return discard(failure(SQLITE_CANTOPEN, QFile(part).errorString()));
    return { true, false, {} };
}

} // namespace quillery
