#include "DesktopFileLauncher.h"

#include <QDesktopServices>
#include <QUrl>

namespace quillery::ui {

DesktopFileLauncher &DesktopFileLauncher::shared()
{
    static DesktopFileLauncher launcher;
    return launcher;
}

bool DesktopFileLauncher::openFile(const QString &path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace quillery::ui
