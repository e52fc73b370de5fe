#pragma once

#include <QHashFunctions>
#include <QString>
#include <QUrl>

#include <optional>

namespace quillery {

// A place attached to a task: a name, a one-line address and a coordinate in
// degrees. A plain value; the task keeps its four parts in its own fields.
struct Place {
    QString name;
    QString address;
    double latitude = 0;
    double longitude = 0;

    friend bool operator==(const Place &, const Place &) = default;

    // The web map address of the place, with exactly the query items "ll"
    // (latitude,longitude in their shortest round-trip decimal form) and "q"
    // (the name), in that order. None when the base address cannot be used or
    // the coordinates are not a point on the globe.
    std::optional<QUrl> mapsURL() const;

    // The base address the link is built on.
    static QString mapsBaseAddress();
};

// Combines name, address, latitude and longitude, in that order.
size_t qHash(const Place &place, size_t seed = 0) noexcept;

// The shortest decimal text that reads back as exactly `value` ("52.52",
// "13.405", "-0.1", "1e-07").
QString shortestDecimal(double value);

} // namespace quillery

template <> struct std::hash<quillery::Place> {
    size_t operator()(const quillery::Place &place) const noexcept { return quillery::qHash(place); }
};
