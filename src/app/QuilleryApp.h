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
#include <QPointer>

#include <memory>

namespace quillery {

class AccountProbe;
class AlarmScheduler;
class AlarmStatus;
class Appearance;
class AttachmentOpener;
class CalDavLinks;
class DailyBackup;
class DesktopNotificationCenter;
class LoginItem;
class ReminderResponder;
class TaskItem;
class MirrorEngine;
class MirrorRemote;
class SafeQuit;
class SaveMonitor;
class SearchIndex;
class SyncMonitor;
class SystemJournal;
class ThumbnailCache;
class UndoHistory;
class UnixSignalWatcher;

namespace ui {
class BookView;
class DesktopFileLauncher;
class DialogAttachmentPicker;
class TaskCardHost;
class BackupCommands;
class CalendarFiles;
class SearchPanel;
class WindowPalette;
class PrintCommands;
} // namespace ui

// The program: runs the start-up sequence (preferences, the book's store,
// the notification delegate, the sync monitor, the window) and keeps what it
// made alive until the program ends. The one place where real platform
// adapters are wired into the core and the widgets. While reminders are kept
// when the window closes, the window (and every widget) goes and comes back
// on demand; the book, its alarms and the mirror stay.
class QuilleryApp final : public QObject
{
    Q_OBJECT
public:
    struct Options {
        QString storePath; // empty: the book in the user's data folder
        QString notificationsPath; // empty: pending notifications in the data folder
        const Clock *clock = nullptr; // "now" for everything; null: the system clock
        bool background = false; // start without the window (at login)
        // Closing the window asks for backgroundRestartRequested() instead of
        // letting go of the widgets here (the program, not the tests).
        bool restartWhenClosed = false;
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
    Appearance &appearance() const { return *m_appearance; }
    // The window, built anew when it was closed (not shown until asked).
    ui::MainWindow &window();
    bool hasWindow() const { return m_window != nullptr; }
    // Shows the window in front, building it when it was closed.
    void showWindow();
    // Closes the window and lets go of its widgets; the program runs on.
    void closeWindow();
    // Shows the window turned to the task's page with the task's card open.
    void openTask(TaskItem *task);
    // What the user chose on a reminder's notification.
    void respond(const QString &identifier, const QString &action);
    // The notification centre of the desktop.
    DesktopNotificationCenter &notifications() const { return *m_notifications; }
    LoginItem &loginItem() const { return *m_loginItem; }
    // The iCalendar import and export commands.
    ui::CalendarFiles *calendarFiles() const;
    // The book shown in the window (built when it was closed).
    ui::BookView &bookView();
    // Printing and PDF export (while the window is there).
    ui::PrintCommands *printCommands() const;
    // The daily copies of the book.
    DailyBackup &backup() const { return *m_backup; }
    // The broadcast the menu and the toolbar post the book's commands on.
    CommandBus &commands() const { return *m_commands; }
    // Place search and map tiles for the picker and the map preview.
    PlaceBackends places() const;
    // The user's steps in this run, for the Edit menu.
    UndoHistory &history() const { return *m_history; }
    // Opens task cards over the window, one at a time.
    ui::TaskCardHost &cards() const { return *m_cards; }
    // Search across the book, over the book view (of the window as it is
    // now: the panel goes with the window).
    ui::SearchPanel &searchPanel();

    // Whether the book saves, for the window's notice and the page menu.
    SaveMonitor &saveMonitor() const { return *m_saveMonitor; }
    // How the program ends: finished() tells the status the program exits
    // with (main ends the event loop with it).
    SafeQuit &safeQuit() const { return *m_safeQuit; }

    // Writes every unsaved change of the book and the preferences now.
    void saveAll();

    // Before the program starts afresh in the background: the window goes,
    // everything is saved. False when the book still holds changes it could
    // not save; then the program must go on in this process (it runs on
    // without the window).
    bool readyForRestart();

Q_SIGNALS:
    // The window was closed with reminders kept, and the program should now
    // start afresh in the background (see Options::restartWhenClosed).
    void backgroundRestartRequested();

private:
    // Folders 0700 and files 0600, tightened once at start.
    void securePrivateFiles(const QString &storePath) const;
    void replayRecoveryJournals();
    void buildWindow();
    // Lets go of the window's widgets, page pictures and thumbnails.
    void dropWindow();
    void openCard(TaskItem *task);

    Options m_options;
    const Clock &m_clock;
    std::unique_ptr<Preferences> m_preferences;
    std::unique_ptr<Store> m_store;
    std::unique_ptr<SaveMonitor> m_saveMonitor;
    bool m_syncing = false;
    // Declared before the window, so they outlive the views that use them.
    NotificationDelegate m_notificationDelegate;
    TypeRegistry m_types;
    // Decoded attachment pictures; let go of when the window closes.
    std::shared_ptr<ThumbnailCache> m_thumbnails;
    std::unique_ptr<DesktopNotificationCenter> m_notifications;
    std::unique_ptr<AlarmStatus> m_alarmStatus;
    std::unique_ptr<AlarmScheduler> m_alarms;
    std::unique_ptr<UndoHistory> m_history;
    std::unique_ptr<PlaceService> m_offlinePlaces;
    std::unique_ptr<PlaceService> m_onlinePlaces;
    std::unique_ptr<PlaceService> m_places;
    std::unique_ptr<MapTileSource> m_mapTiles;
    std::unique_ptr<MirrorRemote> m_mirrorRemote;
    std::unique_ptr<MirrorEngine> m_mirror;
    std::unique_ptr<AccountProbe> m_accountProbe;
    std::unique_ptr<DailyBackup> m_backup;
    std::unique_ptr<CalDavLinks> m_taskLists;
    std::unique_ptr<SystemJournal> m_journal;
    std::unique_ptr<SyncMonitor> m_syncMonitor;
    std::unique_ptr<Appearance> m_appearance;
    std::unique_ptr<ui::WindowPalette> m_windowPalette;
    std::unique_ptr<ui::DialogAttachmentPicker> m_attachmentPicker;
    std::unique_ptr<ui::DesktopFileLauncher> m_fileLauncher;
    std::unique_ptr<AttachmentOpener> m_attachmentOpener;
    Services m_services;
    std::unique_ptr<ui::TaskCardHost> m_cards;
    std::unique_ptr<CommandBus> m_commands;
    std::unique_ptr<SearchIndex> m_search; // outlives the window's search panel
    std::unique_ptr<ui::MainWindow> m_window;
    QPointer<ui::MainWindow> m_closing;
    std::unique_ptr<SafeQuit> m_safeQuit;
    QMetaObject::Connection m_noticeConnection;
    std::unique_ptr<UnixSignalWatcher> m_signals;
    std::unique_ptr<ReminderResponder> m_responder;
    std::unique_ptr<LoginItem> m_loginItem;
    bool m_rescheduleQueued = false;
    QPointer<ui::CalendarFiles> m_calendarFiles; // owned by the window
    QPointer<ui::SearchPanel> m_searchPanel; // owned by the window
    QPointer<ui::PrintCommands> m_printCommands; // owned by the window
    QPointer<ui::BackupCommands> m_backupCommands; // owned by the window
};

// Tells the user that the book cannot be opened: always on standard error,
// and in a dialog when there is a display to show one on.
void reportFatalStoreError(const StoreOpenError &error);

} // namespace quillery
