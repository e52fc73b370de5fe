#include "LogWriter.h"

#include "core/app/AppPaths.h"
#include "core/util/PrivateFiles.h"

#include <QFile>
#include <QSaveFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillery {

namespace {

void writeAll(int fd, const QByteArray &bytes)
{
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + written, size_t(bytes.size() - written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        written += n;
    }
}

// Moves `path` aside as "<path>.1", shifting an older "<path>.1" to ".2".
void rotate(const QByteArray &path)
{
    const QByteArray first = path + ".1";
    ::rename(first.constData(), (path + ".2").constData());
    ::rename(path.constData(), first.constData());
}

} // namespace

QString formatLogLine(const QDateTime &moment, const QString &message)
{
    QString escaped;
    escaped.reserve(message.size());
    for (const QChar c : message) {
        switch (c.unicode()) {
        case u'\n':
            escaped += QLatin1String("\\n");
            break;
        case u'\r':
            escaped += QLatin1String("\\r");
            break;
        case 0x0085: // next line
        case 0x2028: // line separator
        case 0x2029: // paragraph separator
            escaped += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            break;
        default:
            escaped += c;
        }
    }
    return moment.toUTC().toString(Qt::ISODate) + u' ' + escaped;
}

void appendLogLine(const QString &fileName, const QString &message, const Clock &clock)
{
    const QByteArray line = (formatLogLine(clock.now(), message) + u'\n').toUtf8();
    const QByteArray path = QFile::encodeName(AppPaths::logFile(fileName));
    // Writers take turns on the open file. One that waited may find the file
    // it holds moved aside by the one before: it opens the new one.
    for (int attempt = 0; attempt < 4; ++attempt) {
        const int fd = ::open(path.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
        if (fd < 0)
            return;
        while (::flock(fd, LOCK_EX) < 0 && errno == EINTR) { }
        struct stat held {
        };
        struct stat named {
        };
        const bool current = ::fstat(fd, &held) == 0 && ::stat(path.constData(), &named) == 0
            && held.st_ino == named.st_ino && held.st_dev == named.st_dev;
        if (current && (held.st_size == 0 || held.st_size + line.size() <= LogRotationBytes)) {
            writeAll(fd, line);
            ::close(fd);
            return;
        }
        if (current)
            rotate(path);
        ::close(fd);
    }
}

void moveLogFromDataFolder(const QString &fileName)
{
    const QString old = AppPaths::dataDirectory() + u'/' + fileName;
    if (!QFile::exists(old))
        return;
    const QString now = AppPaths::logFile(fileName);
    if (old == now) // the two folders are one
        return;
    if (!QFile::exists(now) && QFile::rename(old, now))
        return;
    // Both exist (or the folders are on different disks): one file, the old
    // lines first.
    QFile earlier(old);
    QFile later(now);
    if (!earlier.open(QIODevice::ReadOnly) || (later.exists() && !later.open(QIODevice::ReadOnly)))
        return;
    QSaveFile merged(now);
    if (!merged.open(QIODevice::WriteOnly))
        return;
    merged.write(earlier.readAll());
    if (later.isOpen())
        merged.write(later.readAll());
    if (merged.commit()) {
        PrivateFiles::tighten(now);
        QFile::remove(old);
    }
}

} // namespace quillery
