#pragma once

#include "core/theme/ColorSchemeSource.h"

#include <QDBusConnection>
#include <QDBusMessage>

namespace quillery {

// The desktop's light/dark preference as the desktop portal publishes it
// (org.freedesktop.appearance color-scheme: 1 prefers dark, 2 prefers light,
// 0 states nothing). Read once at start, then followed through the portal's
// SettingChanged signal. Without a portal on the bus it states nothing, and
// the palette decides.
class PortalColorScheme final : public ColorSchemeSource
{
    Q_OBJECT
public:
    explicit PortalColorScheme(const QDBusConnection &bus = QDBusConnection::sessionBus(), QObject *parent = nullptr);

    std::optional<ColorScheme> preferred() const override { return m_preferred; }

    // The scheme for a raw color-scheme value.
    static std::optional<ColorScheme> fromPortalValue(uint value);

private Q_SLOTS:
    void settingChanged(const QDBusMessage &message);

private:
    void readInitialValue();
    void apply(std::optional<ColorScheme> scheme);

    QDBusConnection m_bus;
    std::optional<ColorScheme> m_preferred;
};

} // namespace quillery
