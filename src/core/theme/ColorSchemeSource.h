#pragma once

#include "ColorScheme.h"

#include <QObject>

#include <optional>

namespace quillery {

// Where the desktop states whether it prefers light or dark applications
// (on Linux desktops, the desktop portal's colour-scheme setting). The
// program's adapter lives with the platform code; tests use a double.
class ColorSchemeSource : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // The scheme the desktop asks for; none when it states no preference or
    // cannot be asked.
    virtual std::optional<ColorScheme> preferred() const = 0;

Q_SIGNALS:
    void preferredChanged();
};

} // namespace quillery
