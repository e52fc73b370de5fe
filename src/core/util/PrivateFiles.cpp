#include "PrivateFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillery::PrivateFiles {

namespace {

QByteArray native(const QString &path)
{
    return QFile::encodeName(path);
}

// Fills `error`, leaving errno as the failed call set it.
bool fail(QString *error, const QString &what)
{
    const int saved = errno;
    if (error)
        *error = what + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(saved));
    errno = saved;
    return false;
}

} // namespace

bool makeDirectory(const QString &path, QString *error)
{
    const QString clean = QDir::cleanPath(QDir(path).absolutePath());
    QString built;
    for (const QString &part : clean.split(u'/', Qt::SkipEmptyParts)) {
        built += u'/' + part;
        if (::mkdir(native(built).constData(), 0700) != 0 && errno != EEXIST)
            return fail(error, QStringLiteral("cannot create the folder %1").arg(built));
    }
    struct stat info {
    };
    if (::stat(native(clean).constData(), &info) != 0)
        return fail(error, QStringLiteral("cannot reach the folder %1").arg(clean));
    if (!S_ISDIR(info.st_mode)) {
        errno = ENOTDIR;
        return fail(error, QStringLiteral("cannot use the folder %1").arg(clean));
    }
    return true;
}

bool makeFile(const QString &path, QString *error)
{
    const int fd = ::open(native(path).constData(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
    if (fd < 0)
        return fail(error, QStringLiteral("cannot create %1").arg(path));
    struct stat info {
    };
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid() && (info.st_mode & 077))
        ::fchmod(fd, info.st_mode & 0700);
    ::close(fd);
    return true;
}

void tighten(const QString &path)
{
    const QByteArray name = native(path);
    struct stat info {
    };
    if (::lstat(name.constData(), &info) != 0 || info.st_uid != ::geteuid() || !(info.st_mode & 077))
        return;
    if (S_ISREG(info.st_mode) || S_ISDIR(info.st_mode))
        ::chmod(name.constData(), info.st_mode & 07700);
}

void tightenTree(const QString &folder)
{
    struct stat info {
    };
    if (::lstat(native(folder).constData(), &info) != 0 || !S_ISDIR(info.st_mode))
        return;
    tighten(folder);
    QDirIterator it(
        folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext())
        tighten(it.next());
}

QString runtimeDirectory(QString *error)
{
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) {
        if (error)
            *error = QStringLiteral("no runtime folder of this user's own");
        return {};
    }
    struct stat info {
    };
    if (::lstat(native(dir).constData(), &info) != 0) {
        fail(error, QStringLiteral("cannot reach the runtime folder %1").arg(dir));
        return {};
    }
    if (!S_ISDIR(info.st_mode) || info.st_uid != ::geteuid() || (info.st_mode & 077)) {
        if (error)
            *error = QStringLiteral("the runtime folder %1 is not private to this user").arg(dir);
        return {};
    }
    return dir;
}

} // namespace quillery::PrivateFiles
