#include "PageColors.h"

#include "core/theme/Palette.h"

#include <QColor>
#include <QStringList>

#include <limits>

namespace quillery::PageColors {

namespace {

int distance(const QColor &a, const QColor &b)
{
    const int r = a.red() - b.red(), g = a.green() - b.green(), bl = a.blue() - b.blue();
    return r * r + g * g + bl * bl;
}

} // namespace

QString cssName(int index)
{
    const QColor target = paletteColor(index);
    QString best;
    int bestDistance = std::numeric_limits<int>::max();
    for (const QString &name : QColor::colorNames()) {
        if (name == QLatin1String("transparent"))
            continue;
        const int d = distance(QColor(name), target);
        if (d < bestDistance) {
            bestDistance = d;
            best = name;
        }
    }
    return best;
}

std::optional<int> nearestIndex(const QString &color)
{
    const QString text = color.trimmed();
    if (!QColor::isValidColor(text))
        return std::nullopt;
    const QColor wanted(text);
    int best = 0;
    for (int i = 1; i < palette::Count; ++i) {
        if (distance(paletteColor(i), wanted) < distance(paletteColor(best), wanted))
            best = i;
    }
    return best;
}

} // namespace quillery::PageColors
