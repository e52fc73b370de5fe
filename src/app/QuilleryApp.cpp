#include "QuilleryApp.h"

#include "core/alarms/AlarmScheduler.h"
#include "core/alarms/AlarmStatus.h"
#include "core/alarms/NotificationDelegate.h"
#include "core/app/AppPaths.h"
#include "core/model/Editing.h"
#include "core/places/MergedPlaceService.h"
#include "core/places/PlaceEndpoints.h"
#include "core/sync/MirrorEngine.h"
#include "core/sync/SyncMonitor.h"
#include "core/theme/Appearance.h"
#include "platform/appearance/PortalColorScheme.h"
#include "platform/cloud/PgAccountProbe.h"
#include "platform/cloud/PgConnection.h"
#include "platform/cloud/PgMirrorRemote.h"
#include "platform/cloud/PgService.h"
#include "platform/cloud/SystemJournal.h"
#include "platform/notifications/DesktopNotificationCenter.h"
#include "platform/places/HttpTileSource.h"
#include "platform/places/OfflinePlaceService.h"
#include "platform/places/PhotonPlaceService.h"
#include "ui/app/BookMenu.h"
#include "ui/app/CalendarFiles.h"
#include "ui/attachments/AttachmentsSection.h"
#include "ui/book/BookView.h"
#include "ui/card/TaskCard.h"
#include "ui/contents/ContentsView.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QTimer>

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
    // The window's views hold records: they go before the store. The mirror
    // lets go of the store and its thread before the store closes; what it
    // had not sent yet stays pending in the book.
    m_window.reset();
    m_commands.reset();
    m_syncMonitor.reset();
    m_mirror.reset();
    m_mirrorRemote.reset();
}

QString QuilleryApp::mirrorService()
{
    return QStringLiteral("quillery");
}

bool QuilleryApp::hasCloudKitEntitlement()
{
    return PgService::isDefined(mirrorService());
}

bool QuilleryApp::start(StoreOpenError *error)
{
    // 1. The preferences every view and menu share.
    m_preferences = std::make_unique<Preferences>();

    // 2-5. The book. Mirroring is offered when the connection service exists;
    // the local store is opened in either case and the mirror works beside it.
    const bool entitled = hasCloudKitEntitlement();
    const QString path = m_options.storePath.isEmpty() ? AppPaths::storeFile() : m_options.storePath;
    m_store = Store::open(path, error);
    if (!m_store)
        return false;
    // A service libpq cannot use at all leaves the book local, without a word;
    // a server that cannot be reached right now does not: changes wait for it.
    m_syncing = entitled && PgConnection::isUsable(mirrorService());
    if (m_syncing) {
        m_mirrorRemote = std::make_unique<PgMirrorRemote>(mirrorService());
        m_mirror = std::make_unique<MirrorEngine>(*m_store, *m_mirrorRemote);
        m_accountProbe = std::make_unique<PgAccountProbe>(mirrorService());
    }
    m_journal = std::make_unique<SystemJournal>();
    m_syncMonitor = std::make_unique<SyncMonitor>(*m_journal, m_accountProbe.get(), m_mirror.get());
    m_services.store = m_store.get();
    m_services.preferences = m_preferences.get();
    m_services.syncStatus = m_syncMonitor.get();

    // 6. The notification centre, with its delegate installed before any
    // window exists, and the alarm scheduler over it. Without a session bus
    // or a notification server the centre still keeps its requests, and
    // the alarm status reads "notifications are off".
    const CalendarContext calendar;
    DesktopNotificationCenter::Options notificationOptions;
    notificationOptions.filePath = m_options.notificationsPath;
    m_notifications = std::make_unique<DesktopNotificationCenter>(calendar, notificationOptions);
    m_notifications->setDelegate(&NotificationDelegate::shared());
    m_alarmStatus = std::make_unique<AlarmStatus>();
    m_alarms = std::make_unique<AlarmScheduler>(*m_notifications, calendar, *m_alarmStatus);
    // A request that fired is no longer pending: the count follows.
    connect(
        m_notifications.get(), &DesktopNotificationCenter::delivered, m_alarms.get(), &AlarmScheduler::refreshStatus);

    // Places: the gazetteer always, the online geocoder and the map tiles
    // unless the environment switches them off.
    m_offlinePlaces = std::make_unique<OfflinePlaceService>();
    if (const auto endpoint = PlaceEndpoints::searchUrlFromEnvironment()) {
        PhotonPlaceService::Options online;
        online.endpoint = *endpoint;
        m_onlinePlaces = std::make_unique<PhotonPlaceService>(online);
    }
    m_places = std::make_unique<MergedPlaceService>(m_onlinePlaces.get(), *m_offlinePlaces);
    HttpTileSource::Options tiles;
    tiles.server = PlaceEndpoints::tileUrlFromEnvironment();
    tiles.cacheDirectory = HttpTileSource::defaultCacheDirectory();
    m_mapTiles = std::make_unique<HttpTileSource>(tiles);

    m_services.alarms = m_alarms.get();
    m_services.places = places();

    // 7. The sync monitor starts without being waited for, and the mirror
    // after it, so the monitor sees the mirror's first event.
    QTimer::singleShot(0, this, [this] {
        m_syncMonitor->start(m_syncing);
        if (m_mirror)
            m_mirror->start();
    });

    // Light or dark as the desktop prefers, followed live.
    Appearance::shared().setSource(new PortalColorScheme(QDBusConnection::sessionBus(), this));

    // 8. The window: the book, the Book menu and the All Pages button, all
    // meeting on one command broadcast.
    m_commands = std::make_unique<CommandBus>();
    m_window = std::make_unique<ui::MainWindow>();
    // iCalendar files, from the Book menu and each page's menu. The pages
    // are made with the services, so the page menu's hook goes in first.
    m_services.exportPage = [this](Page *page) {
        if (m_calendarFiles)
            m_calendarFiles->chooseExport(page);
    };
    auto *book = new ui::BookView(m_services);
    book->listenTo(*m_commands);
    book->setContentsFactory(
        [this](Book &shown, QWidget *parent) -> QWidget * { return new ui::ContentsView(shown, m_services, parent); });
    ui::TaskCard::setAttachmentsFactory([](TaskItem *task, const Services &services, QWidget *parent) -> QWidget * {
        return new ui::AttachmentsSection(task, services, parent);
    });
    connect(book, &ui::BookView::taskOpenRequested, this, [this, book](TaskItem *task) {
        ui::TaskCard *card = ui::TaskCard::open(task, m_services, m_window.get());
        if (!card)
            return;
        Editing *editing = &book->editing();
        editing->setOpenTask(task);
        connect(card, &ui::TaskCard::dismissed, editing, [editing, task = QPointer<TaskItem>(task)] {
            if (editing->openTask() == task)
                editing->setOpenTask(nullptr);
        });
    });
    m_window->setBook(book, *m_commands, *m_preferences);
    ui::CalendarFiles::Hooks calendarHooks;
    calendarHooks.currentPage = [book] { return book->book().currentPage(); };
    calendarHooks.showPage = [book](Page *page) {
        const int index = int(book->book().pages().indexOf(page));
        if (index >= 0)
            book->book().selectPage(index);
    };
    m_calendarFiles = new ui::CalendarFiles(m_services, m_window.get(), calendarHooks, m_window.get());
    m_calendarFiles->addTo(*m_window->bookMenu(), m_window->bookMenu()->quitAction());
    connect(m_window.get(), &ui::MainWindow::quitRequested, this, [this] {
        saveAll();
        QCoreApplication::quit();
    });
    return true;
}

ui::BookView &QuilleryApp::bookView() const
{
    return *m_window->book();
}

AlarmService &QuilleryApp::alarms() const
{
    return *m_alarms;
}

PlaceBackends QuilleryApp::places() const
{
    return { m_places.get(), m_mapTiles.get() };
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
