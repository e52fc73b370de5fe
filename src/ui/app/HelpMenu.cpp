#include "HelpMenu.h"

#include "AboutDialog.h"

#include <QMenu>
#include <QMenuBar>
#include <QPointer>

namespace quillery::ui {

void addHelpMenu(QMenuBar *bar, QWidget *window)
{
    QMenu *menu = bar->addMenu(AboutDialog::tr("&Help"));
    menu->setObjectName(QStringLiteral("helpMenu"));
    QAction *about = menu->addAction(AboutDialog::tr("&About Quillery"));
    about->setObjectName(QStringLiteral("aboutAction"));
    about->setMenuRole(QAction::AboutRole);
    QObject::connect(about, &QAction::triggered, window, [window] {
        if (auto *open = window->findChild<AboutDialog *>(QString(), Qt::FindDirectChildrenOnly)) {
            open->raise();
            open->activateWindow();
            return;
        }
        auto *dialog = new AboutDialog(window);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->open();
    });
}

} // namespace quillery::ui
