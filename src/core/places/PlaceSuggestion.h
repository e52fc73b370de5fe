#pragma once

#include "PlaceItem.h"

#include <QString>

#include <optional>

namespace quillery {

// One completion of a typed fragment, as the picker lists it: a title and a
// subtitle. It also remembers which provider made it and, when that provider
// already knows it, the full answer, so that resolving it needs no second
// round trip.
struct PlaceSuggestion {
    QString title;
    QString subtitle;
    QString source; // the provider that made it (PlaceSources)
    std::optional<PlaceItem> item;

    friend bool operator==(const PlaceSuggestion &, const PlaceSuggestion &) = default;
};

// The providers a suggestion can come from.
namespace PlaceSources {
inline const QString Online = QStringLiteral("online");
inline const QString Offline = QStringLiteral("offline");
} // namespace PlaceSources

} // namespace quillery
