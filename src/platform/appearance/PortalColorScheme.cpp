#include "PortalColorScheme.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>

namespace quillery {

namespace {

const QString Service = QStringLiteral("org.freedesktop.portal.Desktop");
const QString Path = QStringLiteral("/org/freedesktop/portal/desktop");
const QString Interface = QStringLiteral("org.freedesktop.portal.Settings");
const QString Group = QStringLiteral("org.freedesktop.appearance");
const QString Key = QStringLiteral("color-scheme");

// The portal's Read wraps the value in one variant more than it declares;
// some versions wrap it twice. Unwrap until a number shows.
std::optional<uint> unwrap(QVariant value)
{
    for (int depth = 0; depth < 3 && value.userType() == qMetaTypeId<QDBusVariant>(); ++depth)
        value = value.value<QDBusVariant>().variant();
    if (value.typeId() == QMetaType::UInt || value.typeId() == QMetaType::Int)
        return value.toUInt();
    return std::nullopt;
}

} // namespace

PortalColorScheme::PortalColorScheme(const QDBusConnection &bus, QObject *parent)
    : ColorSchemeSource(parent)
    , m_bus(bus)
{
    if (!m_bus.isConnected())
        return;
    // QtDBus offers only the string form of connect for bus signals.
    m_bus.connect(Service, Path, Interface, QStringLiteral("SettingChanged"), this, SLOT(settingChanged(QDBusMessage)));
    readInitialValue();
}

std::optional<ColorScheme> PortalColorScheme::fromPortalValue(uint value)
{
    switch (value) {
    case 1:
        return ColorScheme::Dark;
    case 2:
        return ColorScheme::Light;
    default:
        return std::nullopt;
    }
}

void PortalColorScheme::readInitialValue()
{
    QDBusMessage call = QDBusMessage::createMethodCall(Service, Path, Interface, QStringLiteral("Read"));
    call << Group << Key;
    // Asynchronous: a missing or slow portal must never hold up the start.
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call, 2000), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *finished) {
        finished->deleteLater();
        const QDBusPendingReply<QVariant> reply = *finished;
        if (reply.isError())
            return;
        if (const auto value = unwrap(reply.value()))
            apply(fromPortalValue(*value));
    });
}

void PortalColorScheme::settingChanged(const QDBusMessage &message)
{
    // (group, key, value); read from the message itself, which also copes
    // with portals that send the value wrapped once more.
    const QList<QVariant> arguments = message.arguments();
    if (arguments.size() < 3 || arguments.at(0).toString() != Group || arguments.at(1).toString() != Key)
        return;
    if (const auto raw = unwrap(arguments.at(2)))
        apply(fromPortalValue(*raw));
    else
        apply(std::nullopt);
}

void PortalColorScheme::apply(std::optional<ColorScheme> scheme)
{
    if (m_preferred == scheme)
        return;
    m_preferred = scheme;
    Q_EMIT preferredChanged();
}

} // namespace quillery
