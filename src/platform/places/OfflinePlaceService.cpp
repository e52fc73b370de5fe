#include "OfflinePlaceService.h"

#include "OfflinePlaceCompleter.h"

namespace quillery {

std::unique_ptr<PlaceCompleter> OfflinePlaceService::makeCompleter()
{
    if (!m_index)
        m_index = GeonamesGazetteer::load();
    return std::make_unique<OfflinePlaceCompleter>(*m_index, MaxSuggestions);
}

void OfflinePlaceService::search(const PlaceSuggestion &suggestion, QObject *context, SearchCallback done)
{
    // A city suggestion carries the city: nothing is left to look up.
    PlaceSearchResult result;
    if (suggestion.item)
        result.items.append(*suggestion.item);
    else
        result.error = QStringLiteral("the suggestion is not one of the gazetteer's");
    QMetaObject::invokeMethod(
        context, [done = std::move(done), result] { done(result); }, Qt::QueuedConnection);
}

} // namespace quillery
