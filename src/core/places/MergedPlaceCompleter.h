#pragma once

#include "PlaceCompleter.h"

#include <memory>
#include <optional>

namespace quillery {

// Completes one fragment with two providers at once and reports their merged
// suggestions (online first, no duplicates) each time either answers. While
// the online provider is still working, an empty offline answer is held back,
// so the list does not flash "nothing found" before the online answer comes;
// a failed online answer counts as an empty one.
class MergedPlaceCompleter final : public PlaceCompleter
{
    Q_OBJECT
public:
    // `online` may be null.
    MergedPlaceCompleter(
        std::unique_ptr<PlaceCompleter> online, std::unique_ptr<PlaceCompleter> offline, QObject *parent = nullptr);
    ~MergedPlaceCompleter() override;

    void setQueryFragment(const QString &fragment) override;
    void cancel() override;

private:
    void takeOnline(const QString &fragment, const QList<PlaceSuggestion> &results);
    void takeOffline(const QString &fragment, const QList<PlaceSuggestion> &results);
    void publish();

    std::unique_ptr<PlaceCompleter> m_online;
    std::unique_ptr<PlaceCompleter> m_offline;
    std::optional<QString> m_fragment;
    std::optional<QList<PlaceSuggestion>> m_onlineResults;
    std::optional<QList<PlaceSuggestion>> m_offlineResults;
    std::optional<QList<PlaceSuggestion>> m_published;
};

} // namespace quillery
