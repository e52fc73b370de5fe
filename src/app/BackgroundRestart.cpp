#include "BackgroundRestart.h"

#include <QDir>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace quillery {

namespace {

// Everything open but the standard streams and `kept` closes at the exec:
// a descriptor a library opened without close-on-exec (a display
// connection would keep the old window alive) must not go over.
void closeOthersOnExec(const QList<int> &kept)
{
    const QDir open(QStringLiteral("/proc/self/fd"));
    for (const QString &name : open.entryList(QDir::Files | QDir::System)) {
        bool number = false;
        const int fd = name.toInt(&number);
        if (!number || fd <= STDERR_FILENO || kept.contains(fd))
            continue;
        const int flags = ::fcntl(fd, F_GETFD);
        if (flags >= 0)
            ::fcntl(fd, F_SETFD, flags | FD_CLOEXEC);
    }
}

} // namespace

QString BackgroundRestart::exec(
    const QStringList &arguments, const QByteArray &handedOver, const QHash<QString, uint> &shown)
{
    QStringList next = arguments;
    if (!next.contains(QStringLiteral("--background")))
        next << QStringLiteral("--background");
    std::vector<QByteArray> encoded;
    encoded.reserve(next.size());
    for (const QString &argument : std::as_const(next))
        encoded.push_back(argument.toLocal8Bit());
    std::vector<char *> argv;
    argv.reserve(encoded.size() + 1);
    for (QByteArray &argument : encoded)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    QList<int> kept;
    for (const QByteArray &fd : handedOver.split(','))
        kept << fd.toInt();
    closeOthersOnExec(kept);
    qputenv(HandedOverVariable, handedOver);
    qputenv(ShownVariable, encodeShown(shown));
    std::fflush(nullptr);
    // The binary this process runs, even if it was replaced on disk since.
    ::execv("/proc/self/exe", argv.data());
    const int error = errno;
    qunsetenv(HandedOverVariable);
    qunsetenv(ShownVariable);
    return QString::fromLocal8Bit(std::strerror(error));
}

BackgroundRestart::Received BackgroundRestart::receive()
{
    Received received { qgetenv(HandedOverVariable), decodeShown(qgetenv(ShownVariable)) };
    qunsetenv(HandedOverVariable);
    qunsetenv(ShownVariable);
    return received;
}

QByteArray BackgroundRestart::encodeShown(const QHash<QString, uint> &shown)
{
    QByteArrayList entries;
    for (auto it = shown.cbegin(); it != shown.cend(); ++it)
        entries << QByteArray::number(it.value()) + '=' + it.key().toUtf8();
    return entries.join(';');
}

QHash<QString, uint> BackgroundRestart::decodeShown(const QByteArray &text)
{
    QHash<QString, uint> shown;
    for (const QByteArray &entry : text.split(';')) {
        const qsizetype equals = entry.indexOf('=');
        bool number = false;
        const uint id = entry.left(equals).toUInt(&number);
        if (equals > 0 && number && id != 0 && equals + 1 < entry.size())
            shown.insert(QString::fromUtf8(entry.mid(equals + 1)), id);
    }
    return shown;
}

} // namespace quillery
