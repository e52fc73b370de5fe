#include "FaceLayout.h"

#include <algorithm>
#include <cmath>

namespace quillery::ui::FaceLayout {

namespace {
constexpr int SnapMargin = 2; // pixels of margin given to the face instead of the desk

double aspect(bool spread)
{
    return (spread ? 2.0 : 1.0) * PageWidthRatio / PageHeightRatio;
}
} // namespace

QRect faceRect(const QSize &area, bool spread)
{
    const int width = area.width();
    const int height = std::max(MinimumFaceHeight, area.height());
    if (width <= 0)
        return {};
    const double ratio = aspect(spread);
    int faceWidth = width;
    int faceHeight = int(std::lround(width / ratio));
    if (faceHeight > height) {
        faceHeight = height;
        faceWidth = int(std::lround(height * ratio));
    }
    if (width - faceWidth <= SnapMargin)
        faceWidth = width;
    if (height - faceHeight <= SnapMargin)
        faceHeight = height;
    // A view shorter than the least face height shows the face's top.
    const int top = area.height() >= faceHeight ? (area.height() - faceHeight) / 2 : 0;
    return { (width - faceWidth) / 2, top, faceWidth, faceHeight };
}

int heightForWidth(int width, bool spread)
{
    return int(std::ceil(width / aspect(spread) - 1e-9));
}

} // namespace quillery::ui::FaceLayout
