#pragma once

#include "GeonamesGazetteer.h"
#include "core/places/PlaceCompleter.h"

#include <QFutureWatcher>

#include <optional>

namespace quillery {

// Completes fragments from the city index. A query takes well under a
// millisecond, so it runs on the main thread; until the index has been read,
// the newest fragment waits and is answered as soon as it is there.
class OfflinePlaceCompleter final : public PlaceCompleter
{
    Q_OBJECT
public:
    OfflinePlaceCompleter(QFuture<GeonamesGazetteer::Index> index, int limit, QObject *parent = nullptr);

    void setQueryFragment(const QString &fragment) override;
    void cancel() override;

private:
    void answer();

    QFutureWatcher<GeonamesGazetteer::Index> m_watcher;
    GeonamesGazetteer::Index m_index;
    int m_limit;
    std::optional<QString> m_fragment;
    quint64 m_generation = 0;
};

} // namespace quillery
