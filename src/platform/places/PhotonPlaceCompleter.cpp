#include "PhotonPlaceCompleter.h"

#include "core/places/PhotonParser.h"

#include <QLoggingCategory>

namespace quillery {

namespace {
Q_LOGGING_CATEGORY(lcPlaces, "quillery.places")
}

PhotonPlaceCompleter::PhotonPlaceCompleter(NetworkAccess &network, PhotonPlaceService::Options options, QObject *parent)
    : PlaceCompleter(parent)
    , m_network(network)
    , m_options(std::move(options))
{
    m_debounce.setSingleShot(true);
    m_debounce.setInterval(m_options.debounceMs);
    connect(&m_debounce, &QTimer::timeout, this, &PhotonPlaceCompleter::send);
}

QUrl PhotonPlaceCompleter::requestUrl(const QUrl &endpoint, const QString &fragment, int limit)
{
    // Encoded in full, so "&", "#", "+" and "=" in the text stay text.
    qsizetype length = std::min(fragment.size(), PhotonPlaceService::MaxFragmentLength);
    if (length > 0 && length < fragment.size() && fragment.at(length - 1).isHighSurrogate())
        --length;
    const QString text = fragment.left(length);
    QString query = endpoint.query(QUrl::FullyEncoded);
    if (!query.isEmpty())
        query += u'&';
    query += QStringLiteral("q=") + QString::fromLatin1(QUrl::toPercentEncoding(text)) + QStringLiteral("&limit=")
        + QString::number(limit);
    QUrl url = endpoint;
    url.setQuery(query, QUrl::StrictMode);
    return url;
}

void PhotonPlaceCompleter::setQueryFragment(const QString &fragment)
{
    m_request.reset();
    m_fragment = fragment;
    m_debounce.start();
}

void PhotonPlaceCompleter::cancel()
{
    m_request.reset();
    m_fragment.reset();
    m_debounce.stop();
}

void PhotonPlaceCompleter::send()
{
    if (!m_fragment)
        return;
    const QString fragment = *m_fragment;
    if (fragment.trimmed().isEmpty()) {
        Q_EMIT resultsUpdated(fragment, {});
        return;
    }
    HttpGet::Options options;
    options.url = requestUrl(m_options.endpoint, fragment, m_options.limit);
    options.accept = "application/json";
    options.acceptsType = &HttpGet::isJson;
    options.timeoutMs = m_options.timeoutMs;
    options.maxBytes = m_options.maxBytes;
    m_request = std::make_unique<HttpGet>(
        m_network, options, [this, fragment](const HttpGet::Answer &answer) { take(fragment, answer); });
}

void PhotonPlaceCompleter::take(const QString &fragment, const HttpGet::Answer &answer)
{
    // The request is done with; it goes once this call has returned.
    m_request.release()->deleteLater();
    if (m_fragment != fragment)
        return;
    m_fragment.reset();
    if (answer.failed()) {
        qCInfo(lcPlaces) << "online place search failed:" << answer.error;
        Q_EMIT failed(fragment, answer.error);
        return;
    }
    const std::optional<QList<PlaceSuggestion>> results = PhotonParser::parse(answer.body);
    if (!results) {
        qCInfo(lcPlaces) << "online place search: unreadable answer";
        Q_EMIT failed(fragment, QStringLiteral("unreadable answer"));
        return;
    }
    Q_EMIT resultsUpdated(fragment, *results);
}

} // namespace quillery
