#include "QuilleryApp.h"
#include "SingleInstance.h"
#include "UnixSignalWatcher.h"
#include "core/app/AppPaths.h"
#include "ui/theme/PixmapCacheSize.h"
#include "ui/theme/Symbols.h"

#include <QApplication>
#include <QIcon>

#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillery"));
    QApplication::setApplicationVersion(QStringLiteral(QUILLERY_VERSION));
    QApplication::setDesktopFileName(QString::fromLatin1(quillery::AppPaths::BundleIdentifier));
    quillery::ui::Symbols::installIconTheme();
    quillery::ui::reservePixmapCache();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/app/icons/app.quillery.Quillery.svg")));

    quillery::SingleInstance instance(quillery::AppPaths::dataDirectory());
    if (!instance.acquire()) {
        if (!instance.activateRunning())
            std::fprintf(stderr, "quillery: already running, but the running copy did not answer\n");
        return 0;
    }

    quillery::QuilleryApp quillery;
    quillery::StoreOpenError error;
    if (!quillery.start(&error)) {
        quillery::reportFatalStoreError(error);
        return 2;
    }

    QObject::connect(&instance, &quillery::SingleInstance::activationRequested, &quillery.window(),
        &quillery::ui::MainWindow::bringToFront);
    quillery::UnixSignalWatcher signalWatcher;
    QObject::connect(&signalWatcher, &quillery::UnixSignalWatcher::terminationRequested, &app, &QApplication::quit);
    QObject::connect(&app, &QApplication::aboutToQuit, &quillery, &quillery::QuilleryApp::saveAll);
    QObject::connect(
        &app, &QGuiApplication::applicationStateChanged, &quillery, [&quillery](Qt::ApplicationState state) {
            if (state != Qt::ApplicationActive)
                quillery.saveAll();
        });

    quillery.window().show();
    return app.exec();
}
