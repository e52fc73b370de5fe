#pragma once

#include "platform/places/GazetteerBackend.h"

#include <QObject>

namespace quillery {

// The quillery-geonames module: reads the city gazetteer that libgeonames
// ships (about 24,000 cities with their region, country, coordinate and
// population) into a CityIndex.
class GeonamesModule final : public QObject, public GazetteerBackend
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "app.quillery.GazetteerBackend/1")
    Q_INTERFACES(quillery::GazetteerBackend)
public:
    CityIndex readCities() override;
};

} // namespace quillery
