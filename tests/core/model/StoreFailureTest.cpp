// A book that cannot be used is refused with a reason, and the file (and the
// folder around it) is left exactly as it was.
#include "core/model/Store.h"
#include "support/TempStore.h"

#include <SQLiteCpp/Database.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdio>
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace quillery;
using Reason = StoreOpenError::Reason;

namespace {

struct Snapshot {
    QByteArray digest;
    QStringList folder;
    friend bool operator==(const Snapshot &, const Snapshot &) = default;
};

Snapshot snapshot(const QString &path)
{
    Snapshot s;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        s.digest = QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
    s.folder = QDir(QFileInfo(path).absolutePath()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    return s;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Opens `path`, expects the refusal `reason`, and checks nothing changed.
void expectRefused(const QString &path, Reason reason)
{
    const Snapshot before = snapshot(path);
    StoreOpenError error;
    std::unique_ptr<Store> store = Store::open(path, &error);
    EXPECT_FALSE(store);
    EXPECT_EQ(error.reason, reason) << error.message().toStdString();
    const QString message = error.message();
    EXPECT_EQ(message.count(path), 1) << "the message names the file";
    // One sentence, saying its reason once.
    EXPECT_TRUE(message.endsWith(u'.') && !message.contains(QStringLiteral(". ")) && message.count(u'(') <= 1)
        << message.toStdString();
    EXPECT_EQ(snapshot(path), before) << "the file and its folder are untouched";
}

QString makeBook(const QTemporaryDir &dir, int tasks)
{
    const QString path = dir.filePath(QStringLiteral("book.sqlite"));
    StoreOpenError error;
    auto store = Store::open(path, &error);
    EXPECT_TRUE(store);
    auto *page = new Page(1, 0);
    store->insert(page);
    for (int i = 0; i < tasks; ++i)
        addTask(QStringLiteral("task number %1 with some text to fill pages").arg(i), 0, page, *store);
    store->save();
    return path; // closing checkpoints the log into the file
}

} // namespace

TEST(StoreFailure, aFolderInThePlaceOfTheFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("book.sqlite"));
    ASSERT_TRUE(QDir().mkpath(path + QStringLiteral("/inside")));
    expectRefused(path, Reason::IsDirectory);
    EXPECT_TRUE(QFileInfo(path + QStringLiteral("/inside")).isDir());
}

TEST(StoreFailure, aFileThatIsNotADatabase)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("book.sqlite"));
    writeFile(path, QByteArray("These are my notes, not a database.\n").repeated(200));
    expectRefused(path, Reason::NotADatabase);

    // A truncated header is no better.
    writeFile(path, QByteArray("SQLite format 3\0", 16) + QByteArray(40, '\x07'));
    expectRefused(path, Reason::NotADatabase);
}

TEST(StoreFailure, someOtherProgramsDatabase)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("book.sqlite"));
    {
        SQLite::Database db(path.toStdString(), SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
        db.exec("CREATE TABLE photos (id INTEGER PRIMARY KEY, name TEXT); INSERT INTO photos (name) VALUES ('x');");
    }
    expectRefused(path, Reason::NotABook);
}

TEST(StoreFailure, aBookFromANewerIncompatibleVersion)
{
    QTemporaryDir dir;
    const QString path = makeBook(dir, 3);
    {
        SQLite::Database db(path.toStdString(), SQLite::OPEN_READWRITE);
        db.exec("UPDATE meta SET value = '2.0.0' WHERE key = 'schema_version'");
    }
    expectRefused(path, Reason::NewerSchema);
}

TEST(StoreFailure, aNewerMinorVersionStillOpens)
{
    QTemporaryDir dir;
    const QString path = makeBook(dir, 3);
    {
        SQLite::Database db(path.toStdString(), SQLite::OPEN_READWRITE);
        db.exec("UPDATE meta SET value = '1.4.0' WHERE key = 'schema_version'");
    }
    StoreOpenError error;
    auto store = Store::open(path, &error);
    ASSERT_TRUE(store) << error.message().toStdString();
    EXPECT_EQ(store->tasks().size(), 3);
}

TEST(StoreFailure, aDamagedBook)
{
    QTemporaryDir dir;
    const QString path = makeBook(dir, 2000);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    const qint64 size = file.size();
    ASSERT_GT(size, 16 * 4096);
    // Scribble over a page in the middle of the task table.
    file.seek((size / 4096 / 2) * 4096);
    file.write(QByteArray(4096, '\xA5'));
    file.close();
    expectRefused(path, Reason::Corrupt);
}

TEST(StoreFailure, aFileWithoutWritePermission)
{
    QTemporaryDir dir;
    const QString path = makeBook(dir, 3);
    QFile::setPermissions(dir.path(),
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther
            | QFileDevice::ExeOther);
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadOther);
    const Snapshot before = snapshot(path);

    // Root may write anything, so the check runs as an unprivileged user.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(90);
        StoreOpenError error;
        auto store = Store::open(path, &error);
        if (!store)
            std::fprintf(stderr, "%s\n", qPrintable(error.message()));
        ::_exit(store ? 91 : static_cast<int>(error.reason));
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), static_cast<int>(Reason::PermissionDenied));
    EXPECT_EQ(snapshot(path), before);
}
