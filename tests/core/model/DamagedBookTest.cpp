// A book that cannot be used is refused with a reason and left exactly as it
// was: the file, its write-ahead log (when a crash left one) and the folder
// around them. Each damage is tried with and without a log; the digests
// before and after are recorded for the report (--gtest_output=xml).
#include "core/model/Store.h"

#include <SQLiteCpp/Database.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace quillery;
using Reason = StoreOpenError::Reason;

namespace {

struct Damage {
    const char *name;
    Reason reason;
    const char *sql = nullptr; // written through the log when there is one
    std::function<void(const QString &book)> file = {}; // done to the book file itself
    bool foreign = false; // the database of another program
    bool asOtherUser = false; // root may write anything: checked as nobody
};

void writeFile(const QString &path, const QByteArray &bytes, qint64 at = -1)
{
    QFile file(path);
    ASSERT_TRUE(file.open(at < 0 ? QIODevice::WriteOnly : QIODevice::ReadWrite));
    if (at >= 0)
        file.seek(at);
    file.write(bytes);
}

const QList<Damage> &damages()
{
    static const QList<Damage> list {
        { "aFolderInThePlaceOfTheFile", Reason::IsDirectory, nullptr,
            [](const QString &book) {
                QFile::remove(book);
                QDir().mkpath(book + QStringLiteral("/inside"));
            } },
        { "notesNotADatabase", Reason::NotADatabase, nullptr,
            [](const QString &book) { writeFile(book, QByteArray("My notes, not a database.\n").repeated(200)); } },
        { "aTruncatedHeader", Reason::NotADatabase, nullptr,
            [](const QString &book) { writeFile(book, QByteArray("SQLite format 3\0", 16) + QByteArray(40, 7)); } },
        { "aZeroedFirstPage", Reason::NotADatabase, nullptr,
            [](const QString &book) { writeFile(book, QByteArray(4096, 0), 0); } },
        { "anotherProgramsDatabase", Reason::NotABook, nullptr, {}, true },
        { "noSchemaVersion", Reason::NotABook, "DELETE FROM meta" },
        { "anUnreadableSchemaVersion", Reason::NotABook, "UPDATE meta SET value = 'one.two'" },
        { "aNewerMajorVersion", Reason::NewerSchema, "UPDATE meta SET value = '2.0.0'" },
        { "aScribbledTaskPage", Reason::Corrupt, nullptr,
            [](const QString &book) {
                writeFile(book, QByteArray(4096, '\xA5'), QFileInfo(book).size() / 8192 * 4096);
            } },
        { "cutInHalf", Reason::Corrupt, nullptr,
            [](const QString &book) { QFile::resize(book, QFileInfo(book).size() / 8192 * 4096); } },
        { "aReadOnlyFile", Reason::PermissionDenied, nullptr,
            [](const QString &book) { QFile::setPermissions(book, QFileDevice::ReadOwner | QFileDevice::ReadOther); },
            false, true },
        { "aFolderWithoutWritePermission", Reason::PermissionDenied, nullptr,
            [](const QString &book) {
                QFile::setPermissions(book, QFileDevice::Permissions(0x6666));
                QFile::setPermissions(QFileInfo(book).path(), QFileDevice::Permissions(0x5555));
            },
            false, true },
    };
    return list;
}

// A sound book of 2000 tasks, made once and copied for every case.
QString soundBook()
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("book.sqlite"));
    if (!QFile::exists(path)) {
        StoreOpenError error;
        auto store = Store::open(path, &error);
        auto *page = new Page(1, 0);
        store->insert(page);
        for (int i = 0; i < 2000; ++i)
            addTask(QStringLiteral("task number %1 with some text to fill pages").arg(i), 0, page, *store);
        store->save();
    }
    return path;
}

// Copies `source` (and what `sql` writes) into `target`; with `log`, as a
// crash leaves it: the last transaction only in the write-ahead log.
void makeImage(const QString &source, const QString &target, const char *sql, bool log)
{
    QTemporaryDir scratch;
    const QString work = scratch.filePath(QStringLiteral("book.sqlite"));
    ASSERT_TRUE(QFile::copy(source, work));
    SQLite::Database db(work.toStdString(), SQLite::OPEN_READWRITE);
    db.exec("PRAGMA journal_mode = WAL; PRAGMA wal_autocheckpoint = 0");
    if (!log && sql)
        db.exec(sql);
    db.exec(log ? (sql ? sql : "UPDATE page SET title = 'changed in the log'") : "PRAGMA wal_checkpoint(TRUNCATE)");
    QFile::remove(target);
    ASSERT_TRUE(QFile::copy(work, target));
    if (log) {
        ASSERT_TRUE(QFile::copy(work + QStringLiteral("-wal"), target + QStringLiteral("-wal")));
    }
}

QString digest(const QString &path)
{
    QFile file(path);
    if (QFileInfo(path).isDir())
        return QStringLiteral("(a folder)");
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("(none)");
    return QString::fromLatin1(QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex());
}

QStringList snapshot(const QString &book)
{
    const QStringList names
        = QDir(QFileInfo(book).path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    return QStringList { digest(book), digest(book + QStringLiteral("-wal")) } + names;
}

// Opens the book (as nobody when asked and possible) and returns the reason
// it was refused for, or -1 when it was accepted.
int openReason(const QString &book, bool asOtherUser)
{
    if (!asOtherUser || ::geteuid() != 0) {
        StoreOpenError error;
        if (Store::open(book, &error))
            return -1;
        // One sentence that names the file once and gives its reason once.
        const QString message = error.message();
        EXPECT_EQ(message.count(book), 1) << message.toStdString();
        EXPECT_TRUE(message.endsWith(u'.') && !message.contains(QStringLiteral(". ")) && message.count(u'(') <= 1)
            << message.toStdString();
        return int(error.reason);
    }
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(90);
        StoreOpenError error;
        ::_exit(Store::open(book, &error) ? 91 : int(error.reason));
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) < 90 ? WEXITSTATUS(status) : -1;
}

class DamagedBook : public ::testing::TestWithParam<std::tuple<int, bool>>
{
};

} // namespace

TEST_P(DamagedBook, isRefusedAndLeftExactlyAsItWas)
{
    const auto [index, log] = GetParam();
    const Damage &damage = damages().at(index);
    QTemporaryDir dir;
    const QString book = dir.filePath(QStringLiteral("folder/book.sqlite"));
    QDir().mkpath(QFileInfo(book).path());
    QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7755));
    if (damage.foreign) {
        QTemporaryDir other;
        const QString path = other.filePath(QStringLiteral("photos.db"));
        SQLite::Database db(path.toStdString(), SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
        db.exec("CREATE TABLE photos (id INTEGER PRIMARY KEY, name TEXT); INSERT INTO photos (name) VALUES ('x')");
        makeImage(path, book, "INSERT INTO photos (name) VALUES ('y')", log);
    } else {
        makeImage(soundBook(), book, damage.sql, log);
    }
    if (damage.file)
        damage.file(book);

    const QStringList before = snapshot(book);
    EXPECT_EQ(openReason(book, damage.asOtherUser), int(damage.reason));
    const QStringList after = snapshot(book);
    EXPECT_EQ(after, before) << "the book, its log and the folder are untouched";
    EXPECT_EQ(before.at(1) != QLatin1String("(none)"), log);

    RecordProperty("book_sha256_before", before.at(0).toStdString());
    RecordProperty("book_sha256_after", after.at(0).toStdString());
    RecordProperty("wal_sha256_before", before.at(1).toStdString());
    RecordProperty("wal_sha256_after", after.at(1).toStdString());
    QFile::setPermissions(QFileInfo(book).path(), QFileDevice::Permissions(0x7700));
}

TEST(UsableBook, aNewerMinorVersionOnlyAddedAndStillOpens)
{
    QTemporaryDir dir;
    const QString book = dir.filePath(QStringLiteral("book.sqlite"));
    makeImage(soundBook(), book, "UPDATE meta SET value = '1.4.0'", true);
    StoreOpenError error;
    auto store = Store::open(book, &error);
    ASSERT_TRUE(store) << error.message().toStdString();
    EXPECT_EQ(store->tasks().size(), 2000);
}

INSTANTIATE_TEST_SUITE_P(
    EveryDamage, DamagedBook, ::testing::Combine(::testing::Range(0, 12), ::testing::Bool()), [](const auto &test) {
        return std::string(damages().at(std::get<0>(test.param)).name)
            + (std::get<1>(test.param) ? "_withLog" : "_withoutLog");
    });
