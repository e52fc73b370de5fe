#pragma once

// A scripted stand-in for the platform's place service: the test says what
// each completer answers and when, and how searches end.

#include "core/places/PlaceService.h"

#include <QList>
#include <QMetaObject>
#include <QPointer>
#include <QStringList>

#include <functional>

namespace quillery::test {

class FakeCompleter final : public PlaceCompleter
{
public:
    QStringList asked;
    int cancels = 0;

    void setQueryFragment(const QString &fragment) override { asked.append(fragment); }
    void cancel() override { ++cancels; }

    void answer(const QString &fragment, const QList<PlaceSuggestion> &results)
    {
        Q_EMIT resultsUpdated(fragment, results);
    }
    void fail(const QString &fragment) { Q_EMIT failed(fragment, QStringLiteral("scripted failure")); }
};

class FakePlaceService final : public PlaceService
{
public:
    QPointer<FakeCompleter> completer; // the newest one made
    QList<PlaceSuggestion> searched;
    // How a search ends; by default with the suggestion's own item.
    std::function<PlaceSearchResult(const PlaceSuggestion &)> answer = [](const PlaceSuggestion &suggestion) {
        PlaceSearchResult result;
        if (suggestion.item)
            result.items.append(*suggestion.item);
        return result;
    };
    // When set, searches wait for deliverSearches().
    bool holdSearches = false;

    std::unique_ptr<PlaceCompleter> makeCompleter() override
    {
        auto made = std::make_unique<FakeCompleter>();
        completer = made.get();
        return made;
    }

    void search(const PlaceSuggestion &suggestion, QObject *context, SearchCallback done) override
    {
        searched.append(suggestion);
        m_pending.append({ QPointer<QObject>(context), std::move(done), suggestion });
        if (!holdSearches)
            deliverSearches();
    }

    // Ends the waiting searches through the event loop, as a real service does.
    void deliverSearches()
    {
        for (Pending &pending : m_pending) {
            if (!pending.context)
                continue;
            QMetaObject::invokeMethod(
                pending.context.data(), [done = pending.done, result = answer(pending.suggestion)] { done(result); },
                Qt::QueuedConnection);
        }
        m_pending.clear();
    }

private:
    struct Pending {
        QPointer<QObject> context;
        SearchCallback done;
        PlaceSuggestion suggestion;
    };
    QList<Pending> m_pending;
};

inline PlaceSuggestion suggestion(const QString &title, const QString &subtitle, double latitude = 0,
    double longitude = 0, const QString &source = PlaceSources::Offline)
{
    PlaceItem item;
    item.name = title;
    item.latitude = latitude;
    item.longitude = longitude;
    return { title, subtitle, source, item };
}

} // namespace quillery::test
