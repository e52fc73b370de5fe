#include "PgService.h"

#include <QDir>
#include <QFile>
#include <QTextStream>

namespace quillery::PgService {

QStringList serviceFiles()
{
    QStringList files;
    const QString userFile = qEnvironmentVariable("PGSERVICEFILE");
    files.append(userFile.isEmpty() ? QDir::homePath() + QStringLiteral("/.pg_service.conf") : userFile);
    const QString sysconf = qEnvironmentVariable("PGSYSCONFDIR");
    files.append(
        (sysconf.isEmpty() ? QStringLiteral("/etc/postgresql-common") : sysconf) + QStringLiteral("/pg_service.conf"));
    return files;
}

bool isDefined(const QString &name)
{
    const QString header = u'[' + name + u']';
    for (const QString &path : serviceFiles()) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
            continue;
        QTextStream in(&file);
        while (!in.atEnd()) {
            if (in.readLine().trimmed() == header)
                return true;
        }
    }
    return false;
}

} // namespace quillery::PgService
