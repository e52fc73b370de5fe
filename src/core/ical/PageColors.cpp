#include "PageColors.h"

#include "CssColors.h"
#include "core/theme/Palette.h"

#include <limits>

namespace quillery::PageColors {

namespace {

int distance(CssColors::Rgb a, CssColors::Rgb b)
{
    int sum = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int d = int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF);
        sum += d * d;
    }
    return sum;
}

} // namespace

QString cssName(int index)
{
    const CssColors::Rgb target = paletteRgb(index);
    QString best;
    int bestDistance = std::numeric_limits<int>::max();
    for (const CssColors::Named *keyword = CssColors::begin(); keyword != CssColors::end(); ++keyword) {
        const int d = distance(keyword->rgb, target);
        if (d < bestDistance) {
            bestDistance = d;
            best = QLatin1String(keyword->name);
        }
    }
    return best;
}

std::optional<int> nearestIndex(const QString &color)
{
    const std::optional<CssColors::Rgb> wanted = CssColors::parse(color.trimmed());
    if (!wanted)
        return std::nullopt;
    int best = 0;
    for (int i = 1; i < palette::Count; ++i) {
        if (distance(paletteRgb(i), *wanted) < distance(paletteRgb(best), *wanted))
            best = i;
    }
    return best;
}

} // namespace quillery::PageColors
