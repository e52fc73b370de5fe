#include "AppFont.h"

#include <QFontDatabase>
#include <QGuiApplication>

#include <cmath>

namespace quillery {

namespace {

QFont baseFont()
{
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return QGuiApplication::font();
    return QFont();
}

} // namespace

void setLayoutSize(QFont &font, double size)
{
    // Whole sizes as pixel sizes, exactly; fractional ones through points at
    // the 96 dpi that Qt's logical coordinates use.
    if (std::abs(size - std::round(size)) < 1e-6)
        font.setPixelSize(static_cast<int>(std::round(size)));
    else
        font.setPointSizeF(size * 72.0 / 96.0);
}

QFont systemFont(double size, QFont::Weight weight)
{
    QFont font = baseFont();
    setLayoutSize(font, size);
    font.setWeight(weight);
    return font;
}

QFont appFont(double size, QFont::Weight weight, const QString &typeface)
{
    QFont font = baseFont();
    if (typeface == QLatin1String("serif")) {
        // The fontconfig alias resolves to the desktop's chosen serif face.
        font.setFamilies({ QStringLiteral("serif") });
        font.setStyleHint(QFont::Serif);
    }
    setLayoutSize(font, size);
    font.setWeight(weight);
    return font;
}

} // namespace quillery
