#include "QuilleryApp.h"

#include "SafeQuit.h"
#include "UnixSignalWatcher.h"
#include "core/alarms/AlarmRequests.h"
#include "core/alarms/AlarmScheduler.h"
#include "core/alarms/AlarmStatus.h"
#include "core/alarms/LogWriter.h"
#include "core/app/AppPaths.h"
#include "core/app/SaveMonitor.h"
#include "core/attachments/AttachmentOpener.h"
#include "core/backup/DailyBackup.h"
#include "core/caldav/CalDavLinks.h"
#include "core/model/Editing.h"
#include "core/model/RecordPointer.h"
#include "core/model/RecoveryJournal.h"
#include "core/model/TaskItem.h"
#include "core/places/MergedPlaceService.h"
#include "core/places/PlaceEndpoints.h"
#include "core/search/SearchIndex.h"
#include "core/sync/MirrorEngine.h"
#include "core/sync/SyncMonitor.h"
#include "core/tasks/ReminderResponder.h"
#include "core/util/PrivateFiles.h"
#include "gui/attachments/ThumbnailCache.h"
#include "gui/history/UndoHistory.h"
#include "gui/theme/Appearance.h"
#include "platform/appearance/PortalColorScheme.h"
#include "platform/caldav/KeychainBackend.h"
#include "platform/cloud/MirrorBackend.h"
#include "platform/cloud/PgService.h"
#include "platform/cloud/SystemJournal.h"
#include "platform/notifications/DesktopNotificationCenter.h"
#include "platform/places/HttpTileSource.h"
#include "platform/places/OfflinePlaceService.h"
#include "platform/places/PhotonPlaceService.h"
#include "platform/session/LoginItem.h"
#include "ui/app/BackupCommands.h"
#include "ui/app/BookMenu.h"
#include "ui/app/CalDavDialog.h"
#include "ui/app/CalendarFiles.h"
#include "ui/app/EditMenu.h"
#include "ui/app/PrintCommands.h"
#include "ui/app/RestoreCommands.h"
#include "ui/attachments/AttachmentsSection.h"
#include "ui/attachments/DesktopFileLauncher.h"
#include "ui/attachments/DialogAttachmentPicker.h"
#include "ui/book/BookView.h"
#include "ui/card/TaskCardHost.h"
#include "ui/contents/ContentsView.h"
#include "ui/search/SearchPanel.h"
#include "ui/theme/PixmapCacheSize.h"
#include "ui/theme/WindowPalette.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QMessageBox>
#include <QSessionManager>
#include <QStandardPaths>
#include <QTimer>
#include <QtConcurrent>

#include <cstdio>

namespace quillery {

QuilleryApp::QuilleryApp()
    : QuilleryApp(Options {})
{ }

QuilleryApp::QuilleryApp(Options options, QObject *parent)
    : QObject(parent)
    , m_options(std::move(options))
    , m_clock(m_options.clock ? *m_options.clock : Clock::system())
{ }

QuilleryApp::~QuilleryApp()
{
    if (m_store)
        saveAll();
    m_signals.reset();
    m_safeQuit.reset();
    // Closing the window saves once more, which may fail again: the notice
    // has no window to go to by then.
    disconnect(m_noticeConnection);
    // The window's views hold records: they go before the store. The mirror
    // lets go of the store and its thread before the store closes; what it
    // had not sent yet stays pending in the book.
    m_window.reset();
    delete m_closing; // a window closed just now, not yet deleted
    m_commands.reset();
    m_syncMonitor.reset();
    m_taskLists.reset();
    m_backup.reset();
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

void QuilleryApp::securePrivateFiles(const QString &storePath) const
{
    // The folders first: once they are 0700, nobody else reaches what is in
    // them, whatever its own mode.
    const QString config = QFileInfo(m_preferences->fileName()).absolutePath();
    PrivateFiles::makeDirectory(config);
    // The tile cache is made here rather than by the cache itself, so it is
    // private from the start.
    if (PlaceEndpoints::tileUrlFromEnvironment())
        PrivateFiles::makeDirectory(HttpTileSource::defaultCacheDirectory());
    for (const QString &folder : { AppPaths::dataDirectory(), config,
             QStandardPaths::writableLocation(QStandardPaths::CacheLocation), AppPaths::stateDirectory() }) {
        if (QFileInfo(folder).fileName() == QLatin1String("Quillery")) // never a folder the user shares
            PrivateFiles::tightenTree(folder);
    }
    // QSettings keeps the mode of the file it replaces.
    PrivateFiles::makeFile(m_preferences->fileName());
    // A book (and its notifications) kept elsewhere.
    for (const QString &suffix : { QString(), QStringLiteral("-wal"), QStringLiteral("-shm") })
        PrivateFiles::tighten(storePath + suffix);
    for (const QString &journal : RecoveryJournal::locations(storePath))
        PrivateFiles::tighten(journal);
    if (!m_options.notificationsPath.isEmpty())
        PrivateFiles::tighten(m_options.notificationsPath);
}

void QuilleryApp::replayRecoveryJournals()
{
    QStringList replayed;
    for (const QString &journal : RecoveryJournal::locations(m_store->path())) {
        if (!QFileInfo::exists(journal))
            continue;
        QString why;
        if (const auto applied = RecoveryJournal::replay(*m_store, journal, &why)) {
            std::fprintf(stderr, "quillery: %d %s restored from %s\n", *applied,
                *applied == 1 ? "change not saved last time" : "changes not saved last time", qPrintable(journal));
            replayed << journal;
        } else {
            std::fprintf(stderr, "quillery: the recovery journal %s cannot be replayed (%s); it is left where it is\n",
                qPrintable(journal), qPrintable(why));
        }
    }
    if (replayed.isEmpty())
        return;
    // The journals go once what they held is in the book.
    const auto forget = [replayed] {
        for (const QString &journal : replayed)
            QFile::remove(journal);
    };
    if (m_store->save())
        forget();
    else
        connect(m_store.get(), &Store::saved, this, forget, Qt::SingleShotConnection);
}

bool QuilleryApp::start(StoreOpenError *error)
{
    // 1. The preferences every view and menu share.
    m_preferences = std::make_unique<Preferences>();

    // 2-5. The book. Mirroring is offered when the connection service exists;
    // the local store is opened in either case and the mirror works beside it.
    const bool entitled = hasCloudKitEntitlement();
    // libpq and the libraries behind it load on a worker while the book
    // opens here.
    QFuture<MirrorBackend *> backendLoaded;
    if (entitled) {
        backendLoaded = QtConcurrent::run([] {
            QString why;
            MirrorBackend *backend = MirrorBackend::load(&why);
            if (!backend)
                std::fprintf(stderr, "quillery: the book is not mirrored: %s\n", qPrintable(why));
            return backend;
        });
    }
    const QString path = m_options.storePath.isEmpty() ? AppPaths::storeFile() : m_options.storePath;
    securePrivateFiles(path);
    for (const QString &log : { Alarms::LogName, QStringLiteral("sync.log") })
        moveLogFromDataFolder(log);
    // The page the window opens on is read first; the rest of the book
    // follows on the event loop once the window is up.
    m_store = Store::openPageFirst(path, m_preferences->currentPage(), error, m_clock);
    if (!m_store)
        return false;
    replayRecoveryJournals();
    m_saveMonitor = std::make_unique<SaveMonitor>(*m_store);
    // A service libpq cannot use at all leaves the book local, without a word;
    // a server that cannot be reached right now does not: changes wait for it.
    MirrorBackend *backend = entitled ? backendLoaded.result() : nullptr;
    m_syncing = backend && backend->isUsable(mirrorService());
    if (m_syncing) {
        m_mirrorRemote = backend->makeRemote(mirrorService());
        m_mirror = std::make_unique<MirrorEngine>(*m_store, *m_mirrorRemote, MirrorEngine::Timing {}, m_clock);
        m_accountProbe = backend->makeAccountProbe(mirrorService());
    }
    m_journal = std::make_unique<SystemJournal>();
    m_syncMonitor = std::make_unique<SyncMonitor>(*m_journal, m_accountProbe.get(), m_mirror.get());
    m_services.store = m_store.get();
    m_services.preferences = m_preferences.get();
    m_services.syncStatus = m_syncMonitor.get();
    m_services.saveStatus = m_saveMonitor.get();
    m_services.types = &m_types;
    m_thumbnails = std::make_shared<ThumbnailCache>(ThumbnailCache::ProgramBytes);
    m_services.thumbnails = m_thumbnails;

    // 6. The notification centre, with its delegate installed before any
    // window exists, and the alarm scheduler over it. Without a session bus
    // or a notification server the centre still keeps its requests, and
    // the alarm status reads "notifications are off".
    const CalendarContext calendar(m_clock);
    m_services.calendar = calendar;
    DesktopNotificationCenter::Options notificationOptions;
    notificationOptions.filePath = m_options.notificationsPath;
    m_notifications = std::make_unique<DesktopNotificationCenter>(calendar, notificationOptions);
    m_notifications->setDelegate(&m_notificationDelegate);
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
    // Every step the user takes on the book from here on can be undone.
    m_history = std::make_unique<UndoHistory>(*m_store, m_alarms.get());

    // A copy of the book each day, made off the main thread once the window
    // is up.
    m_backup = std::make_unique<DailyBackup>(*m_store, DailyBackup::defaultFolder(), calendar);
    m_services.backupStatus = m_backup.get();
    // Pages linked to task lists: the network and the secret store are
    // loaded only once a page is linked.
    m_taskLists = std::make_unique<CalDavLinks>(*m_store, &makeCalDavBackend, calendar);
    m_services.taskListStatus = m_taskLists.get();
    m_services.linkTaskList = [this](Page *page) { ui::CalDavDialog::open(*m_taskLists, page, m_window.get()); };

    // 7. The sync monitor starts without being waited for, and the mirror
    // after it, so the monitor sees the mirror's first event.
    // Both need the whole book: they wait until it is read.
    QTimer::singleShot(0, this, [this] {
        m_syncMonitor->start(m_syncing);
        const auto startWithBook = [this] {
            if (m_mirror)
                m_mirror->start();
            m_backup->start();
            m_taskLists->start();
        };
        if (m_store->isLoading())
            connect(m_store.get(), &Store::loaded, this, startWithBook, Qt::SingleShotConnection);
        else
            startWithBook();
    });

    // Light or dark as the desktop prefers, followed live.
    m_appearance = std::make_unique<Appearance>();
    m_appearance->setSource(new PortalColorScheme(QDBusConnection::sessionBus(), this));
    // The menus, the toolbar and the dialogs switch with the pages.
    m_windowPalette = std::make_unique<ui::WindowPalette>(*m_appearance);
    m_services.appearance = m_appearance.get();

    // Acting on a reminder from the desktop.
    m_responder = std::make_unique<ReminderResponder>(*m_store, m_alarms.get(), calendar);
    connect(m_notifications.get(), &DesktopNotificationCenter::responded, this, &QuilleryApp::respond);
    m_loginItem = std::make_unique<LoginItem>();
    connect(m_preferences.get(), &Preferences::startAtLoginChanged, this, [this] {
        QString why;
        if (!m_loginItem->setEnabled(m_preferences->startAtLogin(), &why))
            std::fprintf(stderr, "quillery: %s\n", qPrintable(why));
    });

    // 8. The window, unless Quillery starts in the background; the widgets
    // exist only while it is open.
    m_commands = std::make_unique<CommandBus>();
    m_services.exportPage = [this](Page *page) {
        if (m_calendarFiles)
            m_calendarFiles->chooseExport(page);
    };
    m_services.printPage = [this](Page *page) {
        if (m_printCommands)
            m_printCommands->choosePrint(page);
    };
    m_services.exportPagePdf = [this](Page *page) {
        if (m_printCommands)
            m_printCommands->chooseExport(page);
    };
    m_attachmentPicker = std::make_unique<ui::DialogAttachmentPicker>();
    m_fileLauncher = std::make_unique<ui::DesktopFileLauncher>();
    m_attachmentOpener = std::make_unique<AttachmentOpener>(*m_fileLauncher, m_types);
    m_cards = std::make_unique<ui::TaskCardHost>(m_services,
        [picker = m_attachmentPicker.get(), opener = m_attachmentOpener.get()](
            TaskItem *task, const Services &services, QWidget *parent) -> QWidget * {
            return new ui::AttachmentsSection(task, services, *picker, *opener, parent);
        });

    // Search (Ctrl+F and the toolbar), folded in the user's locale; the index
    // lives as long as the book, the panel as long as the window.
    m_search = std::make_unique<SearchIndex>(*m_store, TextFolder(m_services.calendar.locale()));

    // Ending: from the window, from a signal, at the end of the session.
    // Closing the window while reminders are kept leaves the process running.
    m_safeQuit = std::make_unique<SafeQuit>(*m_store, nullptr);
    m_safeQuit->setKeepRunning([this] { return m_preferences->keepRemindersWhenClosed(); });
    connect(m_safeQuit.get(), &SafeQuit::closedToBackground, this, &QuilleryApp::closeWindow, Qt::QueuedConnection);
    // A book found damaged after it was opened is reported, and ends the
    // program, as one found damaged on opening; what was typed meanwhile goes
    // to the recovery journal, since nothing more is written to the file.
    const auto damaged = [this] {
        if (const auto damage = m_store->damage()) {
            reportFatalStoreError(*damage);
            if (m_store->hasUnsavedChanges())
                m_safeQuit->terminate();
            else
                QCoreApplication::exit(2);
        }
    };
    connect(m_store.get(), &Store::damaged, this, [this, damaged] { QTimer::singleShot(0, this, damaged); });
    if (m_store->damage())
        QTimer::singleShot(0, this, damaged);
    m_signals = std::make_unique<UnixSignalWatcher>();
    connect(m_signals.get(), &UnixSignalWatcher::terminationRequested, m_safeQuit.get(), &SafeQuit::terminate);
    if (auto *gui = qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        connect(gui, &QGuiApplication::commitDataRequest, m_safeQuit.get(),
            [this](QSessionManager &) { m_safeQuit->commitSession(); });
        // The window comes and goes; only Quit ends the program.
        gui->setQuitOnLastWindowClosed(false);
    }

    // Without a window no book view keeps the alarms in step: tasks that
    // come or go meanwhile (the mirror) are rescheduled here.
    connect(m_store.get(), &Store::tasksChanged, this, [this] {
        if (!m_window && !m_rescheduleQueued) {
            m_rescheduleQueued = true;
            QTimer::singleShot(0, this, [this] {
                m_rescheduleQueued = false;
                if (!m_window)
                    m_alarms->rescheduleAll(m_store->tasks());
            });
        }
    });
    if (m_options.background)
        m_alarms->rescheduleAll(m_store->tasks());
    else
        buildWindow();
    return true;
}

ui::CalendarFiles *QuilleryApp::calendarFiles() const
{
    return m_calendarFiles;
}

ui::BookView &QuilleryApp::bookView()
{
    return *window().book();
}

AlarmService &QuilleryApp::alarms() const
{
    return *m_alarms;
}

PlaceBackends QuilleryApp::places() const
{
    return { m_places.get(), m_mapTiles.get() };
}

void QuilleryApp::buildWindow()
{
    // Read when a window is first wanted: a start in the background then
    // loads no picture reader at all.
    if (QGuiApplication::windowIcon().isNull())
        QGuiApplication::setWindowIcon(QIcon(QStringLiteral(":/app/icons/app.quillery.Quillery.svg")));
    // The book, the Book menu and the All Pages button, all meeting on one
    // command broadcast.
    m_window = std::make_unique<ui::MainWindow>();
    auto *book = new ui::BookView(m_services);
    book->listenTo(*m_commands);
    book->setContentsFactory(
        [this](Book &shown, QWidget *parent) -> QWidget * { return new ui::ContentsView(shown, m_services, parent); });
    connect(book, &ui::BookView::taskOpenRequested, this, &QuilleryApp::openCard);
    m_window->setBook(book, *m_commands, *m_preferences);

    // A book that cannot be saved says so in the window until it can.
    m_noticeConnection = connect(m_saveMonitor.get(), &StatusLine::changed, m_window.get(),
        [this] { m_window->setNotice(m_saveMonitor->notice()); });
    m_window->setNotice(m_saveMonitor->notice());

    // Search; a chosen task opens as a click on it would.
    m_searchPanel = ui::SearchPanel::install(*m_window, *m_search);
    connect(m_searchPanel, &ui::SearchPanel::taskChosen, book, &ui::BookView::taskOpenRequested);

    // Undo and redo; a step that could not be undone in full says so for a
    // few seconds.
    (new ui::EditMenu(*m_history, m_window.get()))->addTo(*m_window->menuBar());
    const auto brief = [this](const QString &text) {
        m_window->setNotice(text);
        QTimer::singleShot(6000, m_window.get(), [this, text] {
            if (m_window->notice() == text)
                m_window->setNotice(m_saveMonitor->notice());
        });
    };
    connect(m_history.get(), &UndoHistory::notice, m_window.get(), brief);

    m_safeQuit->setWindow(m_window.get());
    connect(m_window.get(), &ui::MainWindow::quitRequested, m_safeQuit.get(), &SafeQuit::requestQuit);

    ui::CalendarFiles::Hooks calendarHooks;
    calendarHooks.currentPage = [book] { return book->book().currentPage(); };
    calendarHooks.showPage = [book](Page *page) {
        const int index = int(book->book().pages().indexOf(page));
        if (index >= 0)
            book->book().selectPage(index);
    };
    m_calendarFiles = new ui::CalendarFiles(m_services, m_window.get(), calendarHooks, m_window.get());
    ui::PrintCommands::Hooks printHooks;
    printHooks.currentPage = calendarHooks.currentPage;
    m_printCommands = new ui::PrintCommands(m_services, m_window.get(), printHooks, m_window.get());
    m_printCommands->addTo(*m_window->bookMenu(), m_window->bookMenu()->quitAction());
    m_backupCommands = new ui::BackupCommands(*m_store, m_window.get(), m_window.get());
    m_backupCommands->addTo(*m_window->bookMenu(), m_window->bookMenu()->quitAction());
    // The restore tells of its outcome in a box when it failed, and for a few
    // seconds in the window when it worked.
    auto *restore
        = new ui::RestoreCommands(m_services, m_history.get(), m_backup->folder(), m_window.get(), m_window.get());
    restore->addTo(*m_window->bookMenu(), m_backupCommands->backUpAction());
    connect(restore, &ui::RestoreCommands::restored, m_window.get(), brief);
    m_calendarFiles->addTo(*m_window->bookMenu(), m_window->bookMenu()->quitAction());
}

void QuilleryApp::openCard(TaskItem *task)
{
    if (!m_window)
        return;
    ui::TaskCard *card = m_cards->open(task, m_window.get());
    if (!card)
        return;
    Editing *editing = &m_window->book()->editing();
    editing->setOpenTask(task);
    connect(card, &ui::TaskCard::dismissed, editing, [editing, task = RecordPointer<TaskItem>(task)] {
        if (editing->openTask() == task)
            editing->setOpenTask(nullptr);
    });
}

ui::PrintCommands *QuilleryApp::printCommands() const
{
    return m_printCommands;
}

ui::SearchPanel &QuilleryApp::searchPanel()
{
    window();
    return *m_searchPanel;
}

ui::MainWindow &QuilleryApp::window()
{
    if (!m_window)
        buildWindow();
    return *m_window;
}

void QuilleryApp::showWindow()
{
    window().bringToFront();
}

void QuilleryApp::closeWindow()
{
    if (!m_window)
        return;
    if (m_options.restartWhenClosed) {
        m_window->hide();
        Q_EMIT backgroundRestartRequested();
        return;
    }
    saveAll();
    dropWindow();
}

void QuilleryApp::dropWindow()
{
    disconnect(m_noticeConnection);
    m_safeQuit->setWindow(nullptr);
    m_window->hide();
    // The widgets, page pictures and thumbnails go with the window; only the
    // book, its alarms and the mirror stay.
    ui::MainWindow *window = m_window.release();
    m_closing = window;
    connect(window, &QObject::destroyed, this, [thumbnails = m_thumbnails] {
        thumbnails->clear();
        ui::releaseWindowMemory();
    });
    window->deleteLater();
}

bool QuilleryApp::readyForRestart()
{
    // The window goes first: what its widgets still hold reaches the book
    // before the last save.
    if (m_window)
        dropWindow();
    delete m_closing;
    // A reminder that just fired is no longer pending anywhere: it reaches
    // the desktop before the process goes (the server answers in
    // milliseconds; a server that hangs is not waited for long). The bus's
    // answers arrive as posted events; a launch knocking at the socket
    // waits for the next image.
    QElapsedTimer waited;
    waited.start();
    while (m_notifications->presenting() > 0 && waited.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::ExcludeSocketNotifiers, 50);
    saveAll();
    return !m_store->hasUnsavedChanges();
}

void QuilleryApp::openTask(TaskItem *task)
{
    showWindow();
    ui::BookView *view = m_window->book();
    const int index = int(view->book().pages().indexOf(task->page()));
    if (index >= 0)
        view->book().selectPage(index);
    openCard(task);
}

void QuilleryApp::respond(const QString &identifier, const QString &action)
{
    const ReminderResponder::Result result = m_responder->respond(identifier, action);
    switch (result.outcome) {
    case ReminderResponder::Outcome::Gone:
        m_notifications->removeDeliveredNotifications({ identifier });
        break;
    case ReminderResponder::Outcome::Open:
        openTask(result.task);
        break;
    case ReminderResponder::Outcome::Changed:
    case ReminderResponder::Outcome::Unknown:
        break;
    }
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
