#include "app/SingleInstance.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QtConcurrent>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace quillery;

// Each book has one holder while it lives: a second is turned away and
// wakes the first, a book in another folder is another book, and the lock
// is free again once its holder has ended.
TEST(SingleInstance, theSecondHolderOfABookIsTurnedAwayAndWakesTheFirstUntilItEnds)
{
    QTemporaryDir dir;
    QTemporaryDir elsewhere;
    {
        SingleInstance first(dir.path());
        ASSERT_EQ(first.acquire(), SingleInstance::Outcome::Acquired);
        SingleInstance other(elsewhere.path());
        EXPECT_EQ(other.acquire(), SingleInstance::Outcome::Acquired);
        EXPECT_NE(first.socketPath(), other.socketPath());

        SingleInstance second(dir.path());
        EXPECT_EQ(second.acquire(), SingleInstance::Outcome::AlreadyRunning);
        QSignalSpy activated(&first, &SingleInstance::activationRequested);
        // The second launch blocks while it waits for the answer, so it runs
        // on another thread while this one serves the first instance's socket.
        QFuture<bool> answered = QtConcurrent::run([&] { return second.activateRunning(3000); });
        EXPECT_TRUE(activated.wait(3000));
        answered.waitForFinished();
        EXPECT_TRUE(answered.result());
    }
    SingleInstance next(dir.path());
    EXPECT_EQ(next.acquire(), SingleInstance::Outcome::Acquired);
}

TEST(SingleInstance, onlyThisUserReachesTheRunningCopyThroughItsPrivateFolder)
{
    QTemporaryDir dir;
    SingleInstance first(dir.path());
    ASSERT_EQ(first.acquire(), SingleInstance::Outcome::Acquired);
    EXPECT_TRUE(first.listenError().isEmpty()) << first.listenError().toStdString();
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    EXPECT_EQ(QFileInfo(first.socketPath()).path(), runtime) << "not a guessable name in the shared /tmp";
    EXPECT_EQ(QFileInfo(runtime).permissions() & 0x0077, 0);
    if (::geteuid() != 0)
        GTEST_SKIP() << "another user is needed to knock";

    // Even when the folder and the socket are opened up, a message from
    // another user is not trusted.
    QFile::setPermissions(test::temporaryHome(), QFileDevice::Permissions(0x7711));
    QFile::setPermissions(runtime, QFileDevice::Permissions(0x7755));
    QFile::setPermissions(first.socketPath(), QFileDevice::Permissions(0x7777));
    QSignalSpy activated(&first, &SingleInstance::activationRequested);
    const QByteArray path = QFile::encodeName(first.socketPath());
    const pid_t child = ::fork();
    if (child == 0) {
        sockaddr_un address {};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.constData(), sizeof address.sun_path - 1);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        const bool knocked = ::setgroups(0, nullptr) == 0 && ::setgid(65534) == 0 && ::setuid(65534) == 0
            && ::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0
            && ::write(fd, "activate\n", 9) == 9;
        ::usleep(300'000); // time for the other end to hear it
        ::_exit(knocked ? 0 : 1);
    }
    int status = 0;
    while (::waitpid(child, &status, WNOHANG) == 0)
        QTest::qWait(20);
    QFile::setPermissions(runtime, QFileDevice::Permissions(0x7700));
    QFile::setPermissions(test::temporaryHome(), QFileDevice::Permissions(0x7700));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the other user got through to the socket";
    EXPECT_EQ(activated.size(), 0);
}

TEST(SingleInstance, aSocketThatCannotBeMadeIsReported)
{
    QTemporaryDir dir;
    SingleInstance first(dir.path());
    QDir().mkpath(first.socketPath() + QStringLiteral("/in-the-way"));
    EXPECT_EQ(first.acquire(), SingleInstance::Outcome::Acquired) << "the lock still keeps the book to this copy";
    EXPECT_TRUE(first.listenError().contains(first.socketPath())) << first.listenError().toStdString();
    QDir(first.socketPath()).removeRecursively();
}

// What an earlier image of the process hands over comes through the
// environment: only this book's lock and a listening socket are taken over.
TEST(SingleInstance, onlyThisBooksLockAndSocketAreTakenOverFromAnEarlierImage)
{
    QTemporaryDir dir;
    QTemporaryDir other;
    SingleInstance first(dir.path());
    ASSERT_EQ(first.acquire(), SingleInstance::Outcome::Acquired);
    const QByteArray handed = first.handOver();
    ASSERT_FALSE(handed.isEmpty());
    const int lock = handed.split(',').first().toInt();
    EXPECT_FALSE(::fcntl(lock, F_GETFD) & FD_CLOEXEC) << "kept open across an exec";
    first.takeBack();
    EXPECT_TRUE(::fcntl(lock, F_GETFD) & FD_CLOEXEC);

    SingleInstance stranger(other.path());
    EXPECT_FALSE(stranger.adopt(handed)) << "another book's lock";
    SingleInstance same(dir.path());
    for (const QByteArray &text :
        { QByteArray("x,y"), QByteArray::number(lock), QByteArray::number(lock) + ",0", QByteArray("0,-1") }) {
        EXPECT_FALSE(same.adopt(text)) << text.constData();
    }
    EXPECT_EQ(same.acquire(), SingleInstance::Outcome::AlreadyRunning) << "nothing was taken";
}
