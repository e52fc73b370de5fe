#pragma once

#include "core/places/CityIndex.h"

#include <QtPlugin>

namespace quillery {

// The city gazetteer as the program reaches it. libgeonames, and GLib's GIO
// behind it, is loaded only with this module (quillery-geonames), the first
// time a place is looked up offline.
class GazetteerBackend
{
public:
    virtual ~GazetteerBackend() = default;

    // Reads the whole gazetteer. Calls take turns: the library's tables are
    // not safe to build from two threads at once.
    virtual CityIndex readCities() = 0;
};

} // namespace quillery

Q_DECLARE_INTERFACE(quillery::GazetteerBackend, "app.quillery.GazetteerBackend/1")
