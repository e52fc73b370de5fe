#pragma once

#include "HttpGet.h"
#include "PhotonPlaceService.h"
#include "core/places/PlaceCompleter.h"

#include <QTimer>

#include <memory>
#include <optional>

namespace quillery {

class NetworkAccess;

// Completes fragments with the online geocoder. A fragment is sent only after
// the typing has paused for the debounce time, and a newer fragment abandons
// the request of an older one, so only the newest fragment is ever answered.
// Any failure (unreachable server, timeout, HTTP error, redirect to another
// server, wrong content type, oversized or unreadable answer) is reported
// through failed().
class PhotonPlaceCompleter final : public PlaceCompleter
{
    Q_OBJECT
public:
    PhotonPlaceCompleter(NetworkAccess &network, PhotonPlaceService::Options options, QObject *parent = nullptr);

    void setQueryFragment(const QString &fragment) override;
    void cancel() override;

    // The request sent for `fragment`.
    static QUrl requestUrl(const QUrl &endpoint, const QString &fragment, int limit);

private:
    void send();
    void take(const QString &fragment, const HttpGet::Answer &answer);

    NetworkAccess &m_network;
    PhotonPlaceService::Options m_options;
    QTimer m_debounce;
    std::optional<QString> m_fragment;
    std::unique_ptr<HttpGet> m_request;
};

} // namespace quillery
