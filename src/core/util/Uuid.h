#pragma once

#include <QString>
#include <QUuid>

namespace quillery {

// The text form of an identifier wherever it leaves the store (preferences,
// notification requests, the mirror): upper-case hexadecimal with hyphens and
// no braces, e.g. "E621E1F8-C36C-495A-93FC-0C247A3E6E5F".
inline QString uuidString(const QUuid &id)
{
    return id.toString(QUuid::WithoutBraces).toUpper();
}

// Parses the text form above (any case, braces optional). A malformed text
// gives the null UUID.
inline QUuid uuidFromString(QStringView text)
{
    return QUuid::fromString(text);
}

} // namespace quillery
