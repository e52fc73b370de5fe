#pragma once

// Answers shaped like those of a Photon geocoder, for the parser's tests.

#include <QByteArray>

namespace quillery::test {

inline const QByteArray PhotonAnswer = R"json({
  "type": "FeatureCollection",
  "features": [
    {
      "geometry": { "coordinates": [13.3888599, 52.5170365], "type": "Point" },
      "type": "Feature",
      "properties": { "osm_type": "R", "osm_id": 62422, "country": "Deutschland", "osm_key": "place",
                      "countrycode": "DE", "osm_value": "city", "name": "Berlin", "type": "city",
                      "extent": [13.088345, 52.6755087, 13.7611609, 52.3382448] }
    },
    {
      "geometry": { "coordinates": [-89.6501, 39.7817], "type": "Point" },
      "type": "Feature",
      "properties": { "housenumber": "12", "street": "High Street", "city": "Springfield", "postcode": "62701",
                      "state": "Illinois", "country": "United States", "type": "house" }
    },
    {
      "geometry": { "coordinates": [13.4010, 52.5190], "type": "Point" },
      "type": "Feature",
      "properties": { "name": "Berliner Dom", "street": "Am Lustgarten", "city": "Berlin",
                      "state": "Berlin", "country": "Deutschland", "osm_key": "amenity" }
    }
  ]
})json";

} // namespace quillery::test
