#include "LocationSearch.h"

#include "PlaceRules.h"
#include "PlaceText.h"

namespace quillery {

LocationSearch::LocationSearch(PlaceService &service, QObject *parent)
    : QObject(parent)
    , m_service(service)
    , m_completer(service.makeCompleter())
{
    connect(m_completer.get(), &PlaceCompleter::resultsUpdated, this, &LocationSearch::takeAnswer);
}

LocationSearch::~LocationSearch() = default;

void LocationSearch::update(const QString &query)
{
    if (PlaceText::trimSpacesAndTabs(query).isEmpty()) {
        m_asked.reset();
        m_completer->cancel();
        setResults({});
        return;
    }
    m_asked = query;
    m_completer->setQueryFragment(query);
}

void LocationSearch::takeAnswer(const QString &fragment, const QList<PlaceSuggestion> &results)
{
    if (!m_asked || *m_asked != fragment)
        return;
    setResults(results);
}

void LocationSearch::setResults(const QList<PlaceSuggestion> &results)
{
    if (results == m_results)
        return;
    m_results = results;
    Q_EMIT resultsChanged();
}

void LocationSearch::resolve(const PlaceSuggestion &suggestion, ResolveCallback done)
{
    m_service.search(suggestion, this, [suggestion, done = std::move(done)](const PlaceSearchResult &answer) {
        if (answer.failed()) {
            done({ std::nullopt, answer.error });
            return;
        }
        done({ PlaceRules::placeFromAnswer(answer.items, suggestion), QString() });
    });
}

} // namespace quillery
