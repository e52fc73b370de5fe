#include "DesktopFileLauncher.h"

#include <QDesktopServices>
#include <QUrl>

namespace quillery::ui {

bool DesktopFileLauncher::openFile(const QString &path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace quillery::ui
