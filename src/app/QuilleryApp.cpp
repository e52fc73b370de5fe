#include "QuilleryApp.h"

#include "core/app/AppPaths.h"
#include "core/theme/Appearance.h"
#include "platform/appearance/PortalColorScheme.h"
#include "platform/cloud/PgService.h"

#include <QGuiApplication>
#include <QMessageBox>

#include <cstdio>

namespace quillery {

QuilleryApp::QuilleryApp(Options options, QObject *parent)
    : QObject(parent)
    , m_options(std::move(options))
{ }

QuilleryApp::~QuilleryApp()
{
    if (m_store)
        saveAll();
    // The window's views hold records: they go before the store.
    m_window.reset();
}

bool QuilleryApp::hasCloudKitEntitlement()
{
    return PgService::isDefined(QStringLiteral("quillery"));
}

bool QuilleryApp::start(StoreOpenError *error)
{
    // 1. The preferences every view and menu share.
    m_preferences = std::make_unique<Preferences>();

    // 2-5. The book. Mirroring is offered when the connection service exists;
    // the local store is opened in either case and the mirror works beside it.
    const QString path = m_options.storePath.isEmpty() ? AppPaths::storeFile() : m_options.storePath;
    m_store = Store::open(path, error);
    if (!m_store)
        return false;
    m_syncing = false;

    // 6. The notification delegate is installed before any window exists.
    // 7. The sync monitor starts without being waited for.

    // Light or dark as the desktop prefers, followed live.
    Appearance::shared().setSource(new PortalColorScheme(QDBusConnection::sessionBus(), this));

    m_window = std::make_unique<ui::MainWindow>();
    return true;
}

void QuilleryApp::saveAll()
{
    if (m_store)
        m_store->save();
    if (m_preferences)
        m_preferences->sync();
}

void reportFatalStoreError(const StoreOpenError &error)
{
    const QString message = error.message();
    std::fprintf(stderr, "quillery: %s\n", qPrintable(message));
    const QString platform = QGuiApplication::platformName();
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()) && platform != QLatin1String("offscreen")
        && platform != QLatin1String("minimal")) {
        QMessageBox::critical(nullptr, QCoreApplication::translate("QuilleryApp", "Quillery cannot start"), message);
    }
}

} // namespace quillery
