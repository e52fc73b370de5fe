#pragma once

#include <QProcessEnvironment>
#include <QString>

namespace quillery {

// Picks the platform theme that gives the desktop's own file chooser
// through the XDG desktop portal. Qt's portal theme keeps the desktop's usual
// theme underneath (its look, its icons) and only hands the dialogs to the
// portal; where no portal answers it shows Qt's own dialog. It is chosen only
// when the user named no theme (QT_QPA_PLATFORMTHEME), the plugin is
// installed, a session bus is there to reach a portal, and the desktop is not
// KDE Plasma, whose own theme already shows its dialogs.
class PortalDialogs final
{
public:
    // The theme to set as QT_QPA_PLATFORMTHEME, or empty to leave Qt's choice.
    static QString platformTheme(const QProcessEnvironment &environment, const QString &pluginFolder);

    // Sets it for the application about to be made (before QApplication).
    static void prefer();
};

} // namespace quillery
