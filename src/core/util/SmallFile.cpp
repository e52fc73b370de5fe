#include "SmallFile.h"

#include <QDateTime>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillery {

namespace {

QString refusal(const struct stat &info, qint64 maxBytes)
{
    if (!S_ISREG(info.st_mode))
        return QStringLiteral("not a regular file");
    if (info.st_size > maxBytes)
        return QStringLiteral("larger than %1 bytes").arg(maxBytes);
    return {};
}

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

bool occupied(const QByteArray &path)
{
    struct stat info;
    return ::lstat(path.constData(), &info) == 0;
}

} // namespace

QString SmallFile::check(const QString &path, qint64 maxBytes)
{
    struct stat info;
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return errno == ENOENT ? QString() : systemError(errno);
    return refusal(info, maxBytes);
}

SmallFile::Result SmallFile::read(const QString &path, qint64 maxBytes)
{
    Result result;
    // Checked before opening, so a device is never opened at all; checked
    // again on the open file, for whatever replaced it in between. With
    // O_NONBLOCK even a FIFO that appeared meanwhile opens at once.
    result.reason = check(path, maxBytes);
    if (!result.reason.isEmpty()) {
        result.status = Status::Refused;
        return result;
    }
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        if (errno == ENOENT)
            return result;
        result.status = Status::Refused;
        result.reason = systemError(errno);
        return result;
    }
    struct stat info;
    result.status = Status::Refused;
    result.reason = ::fstat(fd, &info) == 0 ? refusal(info, maxBytes) : systemError(errno);
    if (result.reason.isEmpty()) {
        // The size read beforehand is not binding: the file may grow.
        result.bytes.resize(qsizetype(info.st_size) + 1);
        qsizetype filled = 0;
        for (;;) {
            if (filled == result.bytes.size()) {
                if (filled > maxBytes)
                    break;
                result.bytes.resize(std::min<qsizetype>(filled * 2 + 4096, qsizetype(maxBytes) + 1));
            }
            const ssize_t got = ::read(fd, result.bytes.data() + filled, size_t(result.bytes.size() - filled));
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0) {
                result.reason = systemError(errno);
                break;
            }
            if (got == 0)
                break;
            filled += got;
        }
        result.bytes.truncate(filled);
        if (result.reason.isEmpty() && filled > maxBytes)
            result.reason = QStringLiteral("larger than %1 bytes").arg(maxBytes);
        if (result.reason.isEmpty())
            result.status = Status::Read;
        else
            result.bytes.clear();
    }
    ::close(fd);
    return result;
}

QString SmallFile::moveAside(const QString &path)
{
    // Kept beside the original name, never overwritten, for whoever wants
    // to see what went wrong.
    const QString stamp = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    QString aside = path + QStringLiteral(".damaged-") + stamp;
    for (int n = 2; occupied(QFile::encodeName(aside)); ++n)
        aside = path + QStringLiteral(".damaged-%1-%2").arg(stamp).arg(n);
    // rename(2) itself: it moves a FIFO or a link as it is, where a copy
    // would read from it.
    if (::rename(QFile::encodeName(path).constData(), QFile::encodeName(aside).constData()) != 0)
        return {};
    return aside;
}

} // namespace quillery
