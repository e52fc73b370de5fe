#pragma once

#include "core/places/PlaceBackends.h"
#include "core/util/CalendarContext.h"

namespace quillery {

class AlarmService;
class Preferences;
class StatusLine;
class Store;

// What the widgets are given to work with: the book's store, the shared
// preferences, and the subsystems behind their interfaces. Built once by the
// program (and by tests with doubles) and handed down; nothing here is global.
struct Services {
    Store *store = nullptr;
    Preferences *preferences = nullptr;
    AlarmService *alarms = nullptr;
    StatusLine *syncStatus = nullptr; // the cloud-sync line of the page menu
    StatusLine *saveStatus = nullptr; // the page menu's line while the book cannot be saved
    CalendarContext calendar; // the user's clock, calendar, zone and locale
    PlaceBackends places; // place search and map tiles
};

} // namespace quillery
