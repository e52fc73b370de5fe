#include "Place.h"

#include <array>
#include <charconv>
#include <cmath>

namespace quillery {

QString shortestDecimal(double value)
{
    std::array<char, 32> buffer {};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return QString::fromLatin1(buffer.data(), result.ptr - buffer.data());
}

QString Place::mapsBaseAddress()
{
    return QStringLiteral("https://maps.google.com/maps");
}

std::optional<QUrl> Place::mapsURL() const
{
    // A link to "nan,nan" or to a point off the globe leads nowhere useful.
    if (!std::isfinite(latitude) || !std::isfinite(longitude) || std::abs(latitude) > 90 || std::abs(longitude) > 180)
        return std::nullopt;
    QUrl url(mapsBaseAddress(), QUrl::StrictMode);
    if (!url.isValid() || url.scheme().isEmpty() || url.host().isEmpty())
        return std::nullopt;
    // Percent-encode everything but the unreserved characters, so that "&",
    // "#", "+", "=" and spaces in a name can never end the value early.
    const QByteArray ll = QUrl::toPercentEncoding(shortestDecimal(latitude) + u',' + shortestDecimal(longitude), ",");
    const QByteArray q = QUrl::toPercentEncoding(name);
    url.setQuery(QString::fromLatin1("ll=" + ll + "&q=" + q), QUrl::StrictMode);
    if (!url.isValid())
        return std::nullopt;
    return url;
}

size_t qHash(const Place &place, size_t seed) noexcept
{
    return qHashMulti(seed, place.name, place.address, place.latitude, place.longitude);
}

} // namespace quillery
