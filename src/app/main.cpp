#include "CommandLine.h"
#include "PortalDialogs.h"
#include "QuilleryApp.h"
#include "SafeQuit.h"
#include "SingleInstance.h"
#include "core/app/AppPaths.h"
#include "core/app/Translations.h"
#include "ui/theme/PixmapCacheSize.h"
#include "ui/theme/Symbols.h"

#include <QApplication>
#include <QIcon>

#include <cstdio>

int main(int argc, char **argv)
{
    // The user's language and the command line come before the application
    // object, which would abort without a display.
    quillery::Translations translations;
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const quillery::CommandLine commandLine
        = quillery::CommandLine::parse(arguments, QProcessEnvironment::systemEnvironment(), &translations);
    if (commandLine.exitStatus) {
        std::fputs(commandLine.output.toLocal8Bit().constData(), stdout);
        std::fputs(commandLine.error.toLocal8Bit().constData(), stderr);
        return *commandLine.exitStatus;
    }

    quillery::PortalDialogs::prefer();
    QApplication app(argc, argv);
    translations.install();
    QApplication::setApplicationName(QStringLiteral("Quillery"));
    QApplication::setApplicationVersion(QStringLiteral(QUILLERY_VERSION));
    QApplication::setDesktopFileName(QString::fromLatin1(quillery::AppPaths::BundleIdentifier));
    quillery::ui::Symbols::installIconTheme();
    quillery::ui::reservePixmapCache();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/app/icons/app.quillery.Quillery.svg")));

    // At login: no window, and nothing to bring forward if Quillery runs.
    const bool background = commandLine.background;

    quillery::SingleInstance instance(quillery::AppPaths::dataDirectory());
    switch (instance.acquire()) {
    case quillery::SingleInstance::Outcome::Acquired:
        break;
    case quillery::SingleInstance::Outcome::AlreadyRunning:
        if (!background && !instance.activateRunning())
            std::fprintf(stderr, "quillery: already running, but the running copy did not answer\n");
        return 0;
    case quillery::SingleInstance::Outcome::Failed: {
        // A folder that cannot be written is no better than a book that
        // cannot be opened: nothing could be kept.
        quillery::StoreOpenError error;
        error.reason = instance.failedForPermission() ? quillery::StoreOpenError::Reason::PermissionDenied
                                                      : quillery::StoreOpenError::Reason::Failed;
        error.path = quillery::AppPaths::storeFile();
        error.detail = instance.failure();
        quillery::reportFatalStoreError(error);
        return 2;
    }
    }
    if (!instance.listenError().isEmpty()) {
        std::fprintf(stderr, "quillery: a later launch cannot bring this window to the front: %s\n",
            qPrintable(instance.listenError()));
    }

    quillery::QuilleryApp::Options options;
    options.background = background;
    quillery::QuilleryApp quillery(options);
    quillery::StoreOpenError error;
    if (!quillery.start(&error)) {
        quillery::reportFatalStoreError(error);
        return 2;
    }

    QObject::connect(
        &instance, &quillery::SingleInstance::activationRequested, &quillery, &quillery::QuilleryApp::showWindow);
    QObject::connect(&quillery.safeQuit(), &quillery::SafeQuit::finished, &app, &QCoreApplication::exit);
    QObject::connect(&app, &QApplication::aboutToQuit, &quillery, &quillery::QuilleryApp::saveAll);
    QObject::connect(
        &app, &QGuiApplication::applicationStateChanged, &quillery, [&quillery](Qt::ApplicationState state) {
            if (state != Qt::ApplicationActive)
                quillery.saveAll();
        });

    if (!background)
        quillery.showWindow();
    const int status = app.exec();
    // The session may have ended the loop after the changes went to a journal.
    return status != 0 ? status : quillery.safeQuit().exitCode();
}
