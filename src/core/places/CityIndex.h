#pragma once

#include "PlaceSuggestion.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace quillery {

// An in-memory gazetteer of cities searched by word prefix: "Berl" finds
// Berlin, New Berlin and Bad Berleburg; "san fr" finds San Francisco;
// "paris tex" finds Paris, Texas. Case and accents are ignored. The most
// populous cities come first. Built once (slow: every name is folded), then
// queried on every keystroke (fast: a binary search over sorted name words).
class CityIndex final
{
public:
    struct City {
        QString name;
        QString region; // state, province, ...; may be empty
        QString country;
        double latitude = 0;
        double longitude = 0;
        quint32 population = 0;
    };

    CityIndex() = default;
    explicit CityIndex(std::vector<City> cities);

    qsizetype size() const { return qsizetype(m_cities.size()); }
    const City &city(qsizetype index) const { return m_cities.at(size_t(index)); }

    // The cities matching `query`, most populous first, at most `limit`. The
    // first word of the query must begin a word of the city's name; every
    // further word must begin a word of its name, region or country.
    QList<qsizetype> find(const QString &query, qsizetype limit) const;

    // The suggestion for a city: its name as title, region and country as
    // subtitle, and the city itself as the resolved item. The locality is left
    // empty: the item is a locality, and the place's address then falls back to
    // the more telling "region, country".
    static PlaceSuggestion suggestion(const City &city);

private:
    std::vector<City> m_cities;
    std::vector<std::pair<QString, qsizetype>> m_nameWords; // sorted by word
    std::vector<QStringList> m_allWords; // per city: name, region and country words
};

} // namespace quillery
