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

QString logFile(const QString &name)
{
    return dataDirectory() + u'/' + name;
}

} // namespace quillery::AppPaths
