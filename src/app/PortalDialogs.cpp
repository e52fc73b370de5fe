#include "PortalDialogs.h"

#include <QFileInfo>
#include <QLibraryInfo>

namespace quillery {

QString PortalDialogs::platformTheme(const QProcessEnvironment &environment, const QString &pluginFolder)
{
    if (environment.contains(QStringLiteral("QT_QPA_PLATFORMTHEME")))
        return {};
    if (environment.value(QStringLiteral("XDG_CURRENT_DESKTOP")).split(u':').contains(QStringLiteral("KDE")))
        return {};
    const bool bus = !environment.value(QStringLiteral("DBUS_SESSION_BUS_ADDRESS")).isEmpty()
        || QFileInfo::exists(environment.value(QStringLiteral("XDG_RUNTIME_DIR")) + QStringLiteral("/bus"));
    if (!bus || !QFileInfo::exists(pluginFolder + QStringLiteral("/platformthemes/libqxdgdesktopportal.so")))
        return {};
    return QStringLiteral("xdgdesktopportal");
}

void PortalDialogs::prefer()
{
    const QString theme
        = platformTheme(QProcessEnvironment::systemEnvironment(), QLibraryInfo::path(QLibraryInfo::PluginsPath));
    if (!theme.isEmpty())
        qputenv("QT_QPA_PLATFORMTHEME", theme.toLatin1());
}

} // namespace quillery
