#include "AppPaths.h"

#include "core/util/PrivateFiles.h"

#include <QDir>
#include <QStandardPaths>

namespace quillery::AppPaths {

QString containerIdentifier()
{
    return QStringLiteral("iCloud.") + QString::fromLatin1(BundleIdentifier);
}

QString dataDirectory()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Quillery");
    PrivateFiles::makeDirectory(dir);
    return dir;
}

QString storeFile()
{
    return dataDirectory() + QStringLiteral("/book.sqlite");
}

QString stateDirectory()
{
    // Qt names no state location before 6.7; the rule is the XDG one.
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (!QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/state");
    const QString dir = base + QStringLiteral("/Quillery");
    PrivateFiles::makeDirectory(dir);
    return dir;
}

QString logFile(const QString &name)
{
    return stateDirectory() + u'/' + name;
}

} // namespace quillery::AppPaths
