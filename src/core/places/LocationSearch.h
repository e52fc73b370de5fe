#pragma once

#include "PlaceCompleter.h"
#include "PlaceService.h"
#include "PlaceSuggestion.h"
#include "core/model/Place.h"

#include <QList>
#include <QObject>

#include <functional>
#include <memory>
#include <optional>

namespace quillery {

// Turns the text typed into a picker into live suggestions, and a picked
// suggestion into a `Place`. One per open picker, owned by it; its completer
// lives exactly as long.
class LocationSearch final : public QObject
{
    Q_OBJECT
public:
    // What resolving a suggestion came to: a place, no place (an empty
    // answer), or a failure of the search.
    struct Resolution {
        std::optional<Place> place;
        QString error; // empty unless the search failed

        bool failed() const { return !error.isEmpty(); }
    };
    using ResolveCallback = std::function<void(const Resolution &)>;

    explicit LocationSearch(PlaceService &service, QObject *parent = nullptr);
    ~LocationSearch() override;

    // The current suggestions, in the service's order.
    const QList<PlaceSuggestion> &results() const { return m_results; }

    // Called on every change of the typed text. Blank text (spaces and tabs
    // only) empties `results` without asking the service, and anything still
    // under way for earlier text is dropped so it cannot refill them. Other
    // text goes to the service as typed, untrimmed; its answer replaces
    // `results` whole, unless newer text was typed meanwhile.
    void update(const QString &query);

    // Resolves `suggestion` into a place. `done` runs later on this object's
    // thread, and not at all if this object is gone by then.
    void resolve(const PlaceSuggestion &suggestion, ResolveCallback done);

Q_SIGNALS:
    void resultsChanged();

private:
    void setResults(const QList<PlaceSuggestion> &results);
    void takeAnswer(const QString &fragment, const QList<PlaceSuggestion> &results);

    PlaceService &m_service;
    std::unique_ptr<PlaceCompleter> m_completer;
    std::optional<QString> m_asked; // the fragment whose answer may still come
    QList<PlaceSuggestion> m_results;
};

} // namespace quillery
