#include "OfflinePlaceCompleter.h"

namespace quillery {

OfflinePlaceCompleter::OfflinePlaceCompleter(QFuture<GeonamesGazetteer::Index> index, int limit, QObject *parent)
    : PlaceCompleter(parent)
    , m_limit(limit)
{
    connect(&m_watcher, &QFutureWatcherBase::finished, this, [this] {
        m_index = m_watcher.result();
        answer();
    });
    if (index.isFinished())
        m_index = index.result();
    else
        m_watcher.setFuture(index);
}

void OfflinePlaceCompleter::setQueryFragment(const QString &fragment)
{
    m_fragment = fragment;
    const quint64 generation = ++m_generation;
    if (!m_index)
        return; // answered when the index arrives
    // Answers never arrive from inside this call.
    QMetaObject::invokeMethod(
        this,
        [this, generation] {
            if (generation == m_generation)
                answer();
        },
        Qt::QueuedConnection);
}

void OfflinePlaceCompleter::cancel()
{
    m_fragment.reset();
    ++m_generation;
}

void OfflinePlaceCompleter::answer()
{
    if (!m_fragment || !m_index)
        return;
    const QString fragment = *std::exchange(m_fragment, std::nullopt);
    QList<PlaceSuggestion> results;
    for (const qsizetype index : m_index->find(fragment, m_limit))
        results.append(CityIndex::suggestion(m_index->city(index)));
    Q_EMIT resultsUpdated(fragment, results);
}

} // namespace quillery
