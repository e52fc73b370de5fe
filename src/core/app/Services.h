#pragma once

#include "core/places/PlaceBackends.h"
#include "core/util/CalendarContext.h"

#include <functional>
#include <memory>

namespace quillery {

class AlarmService;
class Appearance;
class Page;
class Preferences;
class StatusLine;
class Store;
class ThumbnailCache;
class TypeRegistry;

// What the widgets are given to work with: the book's store, the shared
// preferences, and the subsystems behind their interfaces. Built once by the
// program (and by tests with doubles) and handed down; nothing here is global.
// Everything pointed to outlives the views.
struct Services {
    Store *store = nullptr;
    Preferences *preferences = nullptr;
    AlarmService *alarms = nullptr;
    const Appearance *appearance = nullptr; // light or dark; never null in a view
    const TypeRegistry *types = nullptr; // kinds of attachment; never null in a view
    StatusLine *syncStatus = nullptr; // the cloud-sync line of the page menu
    StatusLine *saveStatus = nullptr; // the page menu's line while the book cannot be saved
    CalendarContext calendar; // the user's clock, calendar, zone and locale
    PlaceBackends places; // place search and map tiles
    // Asks where to write a page as an iCalendar file and writes it; empty
    // where the program offers no files (tests of single widgets).
    std::function<void(Page *)> exportPage;
    // Print a page, or write it as a PDF; empty likewise.
    std::function<void(Page *)> printPage;
    std::function<void(Page *)> exportPagePdf;
    StatusLine *backupStatus = nullptr; // the page menu's line while backups fail
    // Pages linked to task lists on a task server: their line in the page
    // menu (shown when a page is linked) and the command that links one.
    StatusLine *taskListStatus = nullptr;
    std::function<void(Page *)> linkTaskList;
    // Decoded attachment pictures, shared by every view that shows them;
    // never null where attachments are shown. Shared rather than pointed to
    // because decodes on worker threads may finish after the views are gone.
    std::shared_ptr<ThumbnailCache> thumbnails;
};

} // namespace quillery
