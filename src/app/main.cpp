#include "BackgroundRestart.h"
#include "CommandLine.h"
#include "PortalDialogs.h"
#include "QuilleryApp.h"
#include "SafeQuit.h"
#include "SingleInstance.h"
#include "core/app/AppPaths.h"
#include "core/app/Translations.h"
#include "platform/notifications/DesktopNotificationCenter.h"
#include "ui/theme/PixmapCacheSize.h"
#include "ui/theme/Symbols.h"

#include <QApplication>
#include <QThreadPool>

#include <cstdio>
#include <memory>

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

    // At login: no window, and nothing to bring forward if Quillery runs.
    const bool background = commandLine.background;
    // Set when this process was started afresh by itself, its window closed.
    const quillery::BackgroundRestart::Received handedOver = quillery::BackgroundRestart::receive();

    quillery::SingleInstance instance(quillery::AppPaths::dataDirectory());
    const bool adopted = !handedOver.instance.isEmpty() && instance.adopt(handedOver.instance);
    if (!handedOver.instance.isEmpty() && !adopted)
        std::fprintf(stderr, "quillery: what the previous start handed over is not this book's lock\n");
    const auto outcome = adopted ? quillery::SingleInstance::Outcome::Acquired : instance.acquire();
    switch (outcome) {
    case quillery::SingleInstance::Outcome::Acquired:
        break;
    case quillery::SingleInstance::Outcome::AlreadyRunning:
        // Long enough for a running copy that is just starting afresh.
        if (!background && !instance.activateRunning(10'000))
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

    bool restart = false;
    const auto launch = [&](bool inBackground, const QHash<QString, uint> &shown) {
        quillery::QuilleryApp::Options options;
        options.background = inBackground;
        options.restartWhenClosed = true;
        auto quillery = std::make_unique<quillery::QuilleryApp>(options);
        quillery::StoreOpenError error;
        if (!quillery->start(&error)) {
            quillery::reportFatalStoreError(error);
            return std::unique_ptr<quillery::QuilleryApp>();
        }
        quillery->notifications().adoptShown(shown);
        QObject::connect(&instance, &quillery::SingleInstance::activationRequested, quillery.get(),
            &quillery::QuilleryApp::showWindow);
        QObject::connect(&quillery->safeQuit(), &quillery::SafeQuit::finished, &app, &QCoreApplication::exit);
        QObject::connect(&app, &QApplication::aboutToQuit, quillery.get(), &quillery::QuilleryApp::saveAll);
        QObject::connect(&app, &QGuiApplication::applicationStateChanged, quillery.get(),
            [program = quillery.get()](Qt::ApplicationState state) {
                if (state != Qt::ApplicationActive)
                    program->saveAll();
            });
        QObject::connect(quillery.get(), &quillery::QuilleryApp::backgroundRestartRequested, &app, [&restart] {
            restart = true;
            QCoreApplication::exit(0);
        });
        if (!inBackground)
            quillery->showWindow();
        return quillery;
    };

    std::unique_ptr<quillery::QuilleryApp> quillery = launch(background, handedOver.shown);
    if (!quillery)
        return 2;
    for (;;) {
        const int status = app.exec();
        if (!restart) {
            // The session may have ended the loop after the changes went to
            // a journal.
            return status != 0 ? status : quillery->safeQuit().exitCode();
        }
        restart = false;
        // Changes the book could not take stay with this process, which runs
        // on without its window.
        if (!quillery->readyForRestart())
            continue;
        // From here on as for quitting: everything is written and every
        // thread has finished, but the lock and the socket stay held.
        const QHash<QString, uint> shown = quillery->notifications().shownNotifications();
        quillery.reset();
        QThreadPool::globalInstance()->waitForDone();
        const QByteArray handOver = instance.handOver();
        const QString why = handOver.isEmpty() ? QStringLiteral("the lock cannot be kept open")
                                               : quillery::BackgroundRestart::exec(arguments, handOver, shown);
        instance.takeBack();
        std::fprintf(stderr, "quillery: cannot start afresh in the background (%s); running on in this process\n",
            qPrintable(why));
        quillery = launch(true, shown);
        if (!quillery)
            return 2;
    }
}
