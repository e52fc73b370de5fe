#include "Appearance.h"

#include "core/theme/ColorSchemeSource.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPalette>

namespace quillery {

Appearance::Appearance(QObject *parent)
    : QObject(parent)
{
    if (QCoreApplication *app = QCoreApplication::instance())
        app->installEventFilter(this);
    reevaluate();
}

void Appearance::setSource(ColorSchemeSource *source)
{
    if (m_source == source)
        return;
    if (m_source)
        disconnect(m_source, nullptr, this, nullptr);
    m_source = source;
    if (source) {
        connect(source, &ColorSchemeSource::preferredChanged, this, &Appearance::reevaluate);
        connect(source, &QObject::destroyed, this, &Appearance::reevaluate, Qt::QueuedConnection);
    }
    reevaluate();
}

void Appearance::setForcedScheme(std::optional<ColorScheme> scheme)
{
    m_forced = scheme;
    reevaluate();
}

ColorScheme Appearance::schemeOfPalette(const QPalette &palette)
{
    return palette.color(QPalette::Window).lightness() < 128 ? ColorScheme::Dark : ColorScheme::Light;
}

bool Appearance::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ApplicationPaletteChange && watched == QCoreApplication::instance())
        reevaluate();
    return QObject::eventFilter(watched, event);
}

void Appearance::reevaluate()
{
    ColorScheme next = ColorScheme::Light;
    if (m_forced) {
        next = *m_forced;
    } else if (const auto preferred = m_source ? m_source->preferred() : std::nullopt) {
        next = *preferred;
    } else if (qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        next = schemeOfPalette(QGuiApplication::palette());
    }
    if (next == m_scheme)
        return;
    m_scheme = next;
    Q_EMIT schemeChanged();
}

} // namespace quillery
