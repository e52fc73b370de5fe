#pragma once

#include "PlaceCompleter.h"
#include "PlaceItem.h"
#include "PlaceSuggestion.h"

#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

namespace quillery {

// What a place search answered: its items, or why it failed.
struct PlaceSearchResult {
    QList<PlaceItem> items;
    QString error; // empty on success

    bool failed() const { return !error.isEmpty(); }
};

// The platform's place service: completes typed fragments into suggestions
// and resolves a suggestion into full items. Implemented by the providers in
// the platform layer; the picker only ever sees this.
class PlaceService
{
public:
    using SearchCallback = std::function<void(const PlaceSearchResult &)>;

    virtual ~PlaceService() = default;

    // A completer for one search; it lives as long as its owner wants, but
    // not longer than this service.
    virtual std::unique_ptr<PlaceCompleter> makeCompleter() = 0;

    // Resolves `suggestion`. `done` runs later on the thread of `context`, and
    // never once `context` is gone.
    virtual void search(const PlaceSuggestion &suggestion, QObject *context, SearchCallback done) = 0;
};

} // namespace quillery
