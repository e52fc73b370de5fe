#include "PhotonPlaceService.h"

#include "PhotonPlaceCompleter.h"

namespace quillery {

PhotonPlaceService::PhotonPlaceService(Options options)
    : m_options(std::move(options))
{ }

std::unique_ptr<PlaceCompleter> PhotonPlaceService::makeCompleter()
{
    return std::make_unique<PhotonPlaceCompleter>(m_network, m_options);
}

void PhotonPlaceService::search(const PlaceSuggestion &suggestion, QObject *context, SearchCallback done)
{
    // Every online suggestion carries its answer from the completion request.
    PlaceSearchResult result;
    if (suggestion.item)
        result.items.append(*suggestion.item);
    else
        result.error = QStringLiteral("the suggestion carries no place");
    QMetaObject::invokeMethod(
        context, [done = std::move(done), result] { done(result); }, Qt::QueuedConnection);
}

} // namespace quillery
