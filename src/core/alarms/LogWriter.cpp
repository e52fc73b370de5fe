#include "LogWriter.h"

#include "core/app/AppPaths.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace quillery {

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
    const int fd = ::open(path.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return;
    qsizetype written = 0;
    while (written < line.size()) {
        const ssize_t n = ::write(fd, line.constData() + written, size_t(line.size() - written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        written += n;
    }
    ::close(fd);
}

} // namespace quillery
