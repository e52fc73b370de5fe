#include "MergedPlaceCompleter.h"

#include "PlaceRules.h"

namespace quillery {

MergedPlaceCompleter::MergedPlaceCompleter(
    std::unique_ptr<PlaceCompleter> online, std::unique_ptr<PlaceCompleter> offline, QObject *parent)
    : PlaceCompleter(parent)
    , m_online(std::move(online))
    , m_offline(std::move(offline))
{
    if (m_online) {
        connect(m_online.get(), &PlaceCompleter::resultsUpdated, this, &MergedPlaceCompleter::takeOnline);
        connect(m_online.get(), &PlaceCompleter::failed, this,
            [this](const QString &fragment, const QString &) { takeOnline(fragment, {}); });
    }
    connect(m_offline.get(), &PlaceCompleter::resultsUpdated, this, &MergedPlaceCompleter::takeOffline);
    connect(m_offline.get(), &PlaceCompleter::failed, this,
        [this](const QString &fragment, const QString &) { takeOffline(fragment, {}); });
}

MergedPlaceCompleter::~MergedPlaceCompleter() = default;

void MergedPlaceCompleter::setQueryFragment(const QString &fragment)
{
    m_fragment = fragment;
    m_onlineResults.reset();
    m_offlineResults.reset();
    m_published.reset();
    m_offline->setQueryFragment(fragment);
    if (m_online)
        m_online->setQueryFragment(fragment);
}

void MergedPlaceCompleter::cancel()
{
    m_fragment.reset();
    m_onlineResults.reset();
    m_offlineResults.reset();
    m_published.reset();
    m_offline->cancel();
    if (m_online)
        m_online->cancel();
}

void MergedPlaceCompleter::takeOnline(const QString &fragment, const QList<PlaceSuggestion> &results)
{
    if (m_fragment != fragment)
        return;
    m_onlineResults = results;
    publish();
}

void MergedPlaceCompleter::takeOffline(const QString &fragment, const QList<PlaceSuggestion> &results)
{
    if (m_fragment != fragment)
        return;
    m_offlineResults = results;
    publish();
}

void MergedPlaceCompleter::publish()
{
    // Nothing to show yet: no answer, or only an empty or failed online one
    // while the offline answer is still to come.
    if (!m_offlineResults && (!m_onlineResults || m_onlineResults->isEmpty()))
        return;
    // Offline found nothing; the online answer may still find something.
    if (m_offlineResults && m_offlineResults->isEmpty() && m_online && !m_onlineResults)
        return;
    QList<PlaceSuggestion> merged = PlaceRules::merge(
        m_onlineResults.value_or(QList<PlaceSuggestion>()), m_offlineResults.value_or(QList<PlaceSuggestion>()));
    if (m_published == merged)
        return;
    m_published = merged;
    Q_EMIT resultsUpdated(*m_fragment, merged);
}

} // namespace quillery
