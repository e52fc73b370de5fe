#pragma once

#include "core/alarms/AlarmService.h"
#include "core/alarms/NotificationDelegate.h"
#include "core/app/CommandBus.h"
#include "core/app/Preferences.h"
#include "core/app/Services.h"
#include "core/model/Store.h"
#include "core/model/TypeRegistry.h"
#include "core/places/PlaceBackends.h"
#include "ui/app/MainWindow.h"

#include <QObject>

#include <memory>

namespace quillery {

class AlarmScheduler;
class AlarmStatus;
class Appearance;
class AttachmentOpener;
class DailyBackup;
class DesktopNotificationCenter;
class MirrorEngine;
class PgAccountProbe;
class PgMirrorRemote;
class SafeQuit;
class SaveMonitor;
class SyncMonitor;
class SystemJournal;
class UnixSignalWatcher;

namespace ui {
class BookView;
class DesktopFileLauncher;
class DialogAttachmentPicker;
class TaskCardHost;
class BackupCommands;
class CalendarFiles;
class PrintCommands;
} // namespace ui

// The program: runs the start-up sequence (preferences, the book's store,
// the notification delegate, the sync monitor, the window) and keeps what it
// made alive until the program ends. The one place where real platform
// adapters are wired into the core and the widgets.
class QuilleryApp final : public QObject
{
    Q_OBJECT
public:
    struct Options {
        QString storePath; // empty: the book in the user's data folder
        QString notificationsPath; // empty: pending notifications in the data folder
        const Clock *clock = nullptr; // "now" for everything; null: the system clock
    };

    QuilleryApp();
    explicit QuilleryApp(Options options, QObject *parent = nullptr);
    ~QuilleryApp() override;

    // Runs the start-up sequence. The only failure is a book that cannot be
    // opened: then it returns false, fills `error` and has built no window.
    // Changes a previous run could only keep in a recovery journal are
    // replayed into the book here.
    bool start(StoreOpenError *error);

    // Whether cloud mirroring can be offered: the libpq connection service
    // "quillery" is defined.
    static bool hasCloudKitEntitlement();
    // The connection service the book is mirrored through.
    static QString mirrorService();

    Store &store() const { return *m_store; }
    Preferences &preferences() const { return *m_preferences; }
    bool syncing() const { return m_syncing; }
    // The alarm subsystem (scheduling, permission, status), ready from start().
    AlarmService &alarms() const;
    SyncMonitor &syncMonitor() const { return *m_syncMonitor; }
    // The mirror, when the book is mirrored.
    MirrorEngine *mirror() const { return m_mirror.get(); }
    const Services &services() const { return m_services; }
    ui::MainWindow &window() const { return *m_window; }
    // The iCalendar import and export commands.
    ui::CalendarFiles *calendarFiles() const { return m_calendarFiles; }
    // Printing and PDF export.
    ui::PrintCommands *printCommands() const { return m_printCommands; }
    // The daily copies of the book.
    DailyBackup &backup() const { return *m_backup; }
    // The book shown in the window.
    ui::BookView &bookView() const;
    // The broadcast the menu and the toolbar post the book's commands on.
    CommandBus &commands() const { return *m_commands; }
    // Place search and map tiles for the picker and the map preview.
    PlaceBackends places() const;
    // Opens task cards over the window, one at a time.
    ui::TaskCardHost &cards() const { return *m_cards; }

    // Whether the book saves, for the window's notice and the page menu.
    SaveMonitor &saveMonitor() const { return *m_saveMonitor; }
    // How the program ends: finished() tells the status the program exits
    // with (main ends the event loop with it).
    SafeQuit &safeQuit() const { return *m_safeQuit; }

    // Writes every unsaved change of the book and the preferences now.
    void saveAll();

private:
    // Folders 0700 and files 0600, tightened once at start.
    void securePrivateFiles(const QString &storePath) const;
    void replayRecoveryJournals();

    Options m_options;
    const Clock &m_clock;
    std::unique_ptr<Preferences> m_preferences;
    std::unique_ptr<Store> m_store;
    std::unique_ptr<SaveMonitor> m_saveMonitor;
    bool m_syncing = false;
    // Declared before the window, so they outlive the views that use them.
    NotificationDelegate m_notificationDelegate;
    TypeRegistry m_types;
    std::unique_ptr<DesktopNotificationCenter> m_notifications;
    std::unique_ptr<AlarmStatus> m_alarmStatus;
    std::unique_ptr<AlarmScheduler> m_alarms;
    std::unique_ptr<PlaceService> m_offlinePlaces;
    std::unique_ptr<PlaceService> m_onlinePlaces;
    std::unique_ptr<PlaceService> m_places;
    std::unique_ptr<MapTileSource> m_mapTiles;
    std::unique_ptr<PgMirrorRemote> m_mirrorRemote;
    std::unique_ptr<MirrorEngine> m_mirror;
    std::unique_ptr<PgAccountProbe> m_accountProbe;
    std::unique_ptr<DailyBackup> m_backup;
    std::unique_ptr<SystemJournal> m_journal;
    std::unique_ptr<SyncMonitor> m_syncMonitor;
    std::unique_ptr<Appearance> m_appearance;
    std::unique_ptr<ui::DialogAttachmentPicker> m_attachmentPicker;
    std::unique_ptr<ui::DesktopFileLauncher> m_fileLauncher;
    std::unique_ptr<AttachmentOpener> m_attachmentOpener;
    Services m_services;
    std::unique_ptr<ui::TaskCardHost> m_cards;
    std::unique_ptr<CommandBus> m_commands;
    std::unique_ptr<ui::MainWindow> m_window;
    std::unique_ptr<SafeQuit> m_safeQuit;
    QMetaObject::Connection m_noticeConnection;
    std::unique_ptr<UnixSignalWatcher> m_signals;
    ui::CalendarFiles *m_calendarFiles = nullptr; // owned by the window
    ui::PrintCommands *m_printCommands = nullptr; // owned by the window
    ui::BackupCommands *m_backupCommands = nullptr; // owned by the window
};

// Tells the user that the book cannot be opened: always on standard error,
// and in a dialog when there is a display to show one on.
void reportFatalStoreError(const StoreOpenError &error);

} // namespace quillery
