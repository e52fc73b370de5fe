#include "GeonamesModule.h"

#include "core/places/PlaceRules.h"

#include <QHash>
#include <QMutex>

#include <geonames.h>

namespace quillery {

CityIndex GeonamesModule::readCities()
{
    // The library's lazily built tables are not safe to build from two
    // threads at once.
    static QMutex libraryLock;
    const QMutexLocker locked(&libraryLock);
    const gint count = geonames_get_n_cities();
    std::vector<CityIndex::City> cities;
    cities.reserve(size_t(std::max(0, count)));
    // Regions and countries repeat; share one string for each.
    QHash<QByteArray, QString> strings;
    const auto shared = [&strings](const gchar *text) {
        const QByteArray bytes(text ? text : "");
        auto found = strings.constFind(bytes);
        if (found == strings.constEnd())
            found = strings.insert(bytes, QString::fromUtf8(bytes));
        return *found;
    };
    for (gint i = 0; i < count; ++i) {
        GeonamesCity *city = geonames_get_city(i);
        if (!city)
            continue;
        CityIndex::City entry;
        entry.name = QString::fromUtf8(geonames_city_get_name(city));
        entry.region = shared(geonames_city_get_state(city));
        entry.country = shared(geonames_city_get_country(city));
        entry.latitude = geonames_city_get_latitude(city);
        entry.longitude = geonames_city_get_longitude(city);
        entry.population = geonames_city_get_population(city);
        geonames_city_free(city);
        if (!entry.name.isEmpty() && PlaceRules::isValidCoordinate(entry.latitude, entry.longitude))
            cities.push_back(std::move(entry));
    }
    return CityIndex(std::move(cities));
}

} // namespace quillery
