#pragma once

namespace quillery {

// Every stored attribute of the three record types. The store and its mirror
// use it to tell which field a change touched.
enum class Field {
    // shared
    Id,
    Created,
    // Page
    Position,
    Title,
    ColorIndex,
    // TaskItem
    Text,
    Done,
    Order,
    Due,
    Alarm,
    Notes,
    PlaceName,
    PlaceAddress,
    Latitude,
    Longitude,
    Indent,
    PageLink,
    // Attachment
    Name,
    TypeIdentifier,
    Data,
    TaskLink,
    // TaskItem, added after the others so their values stay as they were
    Repeat,
};

} // namespace quillery
