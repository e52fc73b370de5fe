#pragma once

// What can stand in place of a small file the program reads at start: a FIFO
// (an open for reading waits for a writer), a link to an endless device, a
// file of many megabytes.

#include <QFile>
#include <QFuture>
#include <QtConcurrent/QtConcurrentRun>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>

namespace quillery::test {

inline bool makeFifo(const QString &path)
{
    return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
}

inline bool linkTo(const QString &target, const QString &path)
{
    return ::symlink(QFile::encodeName(target).constData(), QFile::encodeName(path).constData()) == 0;
}

inline bool writeBigFile(const QString &path, qint64 bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.resize(bytes);
}

// Runs `work` on another thread and says whether it came back within
// `seconds`. If it did not, it is waiting on the FIFO at `fifo`: a writer
// comes and goes to let it finish, so a failure never hangs the tests.
template <typename F> bool finishesWithoutWaitingOn(const QString &fifo, F work, int seconds = 5)
{
    QFuture<void> running = QtConcurrent::run(std::move(work));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (!running.isFinished() && std::chrono::steady_clock::now() < deadline)
        ::usleep(10'000);
    if (running.isFinished())
        return true;
    const int writer = ::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK);
    if (writer >= 0)
        ::close(writer);
    running.waitForFinished();
    return false;
}

} // namespace quillery::test
