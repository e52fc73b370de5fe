#include "CityIndex.h"

#include "PlaceRules.h"
#include "PlaceText.h"

#include <QHash>

#include <algorithm>

namespace quillery {

CityIndex::CityIndex(std::vector<City> cities)
    : m_cities(std::move(cities))
{
    // Regions and countries repeat thousands of times; fold each once.
    QHash<QString, QStringList> folded;
    const auto wordsOf = [&folded](const QString &text) {
        auto found = folded.constFind(text);
        if (found == folded.constEnd())
            found = folded.insert(text, PlaceText::words(text));
        return *found;
    };
    m_allWords.reserve(m_cities.size());
    m_nameWords.reserve(m_cities.size() * 2);
    for (size_t i = 0; i < m_cities.size(); ++i) {
        const City &city = m_cities[i];
        const QStringList nameWords = PlaceText::words(city.name);
        for (const QString &word : nameWords)
            m_nameWords.emplace_back(word, qsizetype(i));
        m_allWords.push_back(nameWords + wordsOf(city.region) + wordsOf(city.country));
    }
    std::sort(m_nameWords.begin(), m_nameWords.end());
}

QList<qsizetype> CityIndex::find(const QString &query, qsizetype limit) const
{
    const QStringList words = PlaceText::words(query);
    if (words.isEmpty() || limit <= 0)
        return {};
    const QString &first = words.first();
    auto it = std::lower_bound(m_nameWords.begin(), m_nameWords.end(), first,
        [](const std::pair<QString, qsizetype> &entry, const QString &key) { return entry.first < key; });
    std::vector<qsizetype> matches;
    for (; it != m_nameWords.end() && it->first.startsWith(first); ++it)
        matches.push_back(it->second);
    std::sort(matches.begin(), matches.end());
    matches.erase(std::unique(matches.begin(), matches.end()), matches.end());

    const auto matchesRest = [&](qsizetype index) {
        const QStringList &cityWords = m_allWords[size_t(index)];
        for (qsizetype w = 1; w < words.size(); ++w) {
            const QString &word = words.at(w);
            const bool found = std::any_of(cityWords.begin(), cityWords.end(),
                [&word](const QString &cityWord) { return cityWord.startsWith(word); });
            if (!found)
                return false;
        }
        return true;
    };
    matches.erase(
        std::remove_if(matches.begin(), matches.end(), [&](qsizetype i) { return !matchesRest(i); }), matches.end());

    const auto morePopulous = [this](qsizetype a, qsizetype b) {
        const City &x = m_cities[size_t(a)];
        const City &y = m_cities[size_t(b)];
        if (x.population != y.population)
            return x.population > y.population;
        return a < b;
    };
    const auto count = std::min<qsizetype>(limit, qsizetype(matches.size()));
    std::partial_sort(matches.begin(), matches.begin() + count, matches.end(), morePopulous);
    return QList<qsizetype>(matches.begin(), matches.begin() + count);
}

PlaceSuggestion CityIndex::suggestion(const City &city)
{
    PlaceSuggestion suggestion;
    suggestion.title = city.name;
    QStringList parts;
    if (!city.region.isEmpty() && city.region != city.country)
        parts.append(city.region);
    if (!city.country.isEmpty())
        parts.append(city.country);
    suggestion.subtitle = parts.join(QStringLiteral(", "));
    suggestion.source = PlaceSources::Offline;
    PlaceItem item;
    item.name = city.name;
    item.latitude = city.latitude;
    item.longitude = city.longitude;
    suggestion.item = item;
    return suggestion;
}

} // namespace quillery
