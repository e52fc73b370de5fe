#include "PaperGrain.h"

#include "SplitMix64.h"

#include <algorithm>
#include <cmath>

namespace quillery {

namespace {

constexpr std::uint64_t Seed = 0xB00C;
constexpr int FibreCount = 260;

// Raises the pixel's opacity by `amount` (capped at opaque) and stores it
// premultiplied in the shade of the scheme.
inline void deepen(uchar *pixel, double amount, double shade)
{
    const double a = std::min(1.0, pixel[3] / 255.0 + amount);
    const auto colour = static_cast<uchar>(a * shade);
    pixel[0] = pixel[1] = pixel[2] = colour;
    pixel[3] = static_cast<uchar>(a * 255.0);
}

} // namespace

const QImage &PaperGrain::image(ColorScheme scheme)
{
    static const QImage light = generate(ColorScheme::Light);
    static const QImage dark = generate(ColorScheme::Dark);
    return scheme == ColorScheme::Dark ? dark : light;
}

QImage PaperGrain::generate(ColorScheme scheme)
{
    const double shade = scheme == ColorScheme::Dark ? 255.0 : 0.0;
    QImage image(TileSize, TileSize, QImage::Format_RGBA8888_Premultiplied);
    image.fill(Qt::transparent);
    SplitMix64 random(Seed);

    for (int y = 0; y < TileSize; ++y) {
        uchar *row = image.scanLine(y);
        for (int x = 0; x < TileSize; ++x) {
            const double u = random.unit();
            deepen(row + 4 * x, 0.085 * std::pow(u, 3.2), shade);
        }
    }

    for (int fibre = 0; fibre < FibreCount; ++fibre) {
        auto x = static_cast<int>(random.below(TileSize));
        auto y = static_cast<int>(random.below(TileSize));
        const int dx = static_cast<int>(random.below(3)) - 1;
        const int dy = static_cast<int>(random.below(3)) - 1;
        const int length = 4 + static_cast<int>(random.below(9));
        for (int step = 0; step < length; ++step) {
            // Fibres wrap around the edges, which keeps the tile seamless.
            const int row = ((y % TileSize) + TileSize) % TileSize;
            const int column = ((x % TileSize) + TileSize) % TileSize;
            deepen(image.scanLine(row) + 4 * column, 0.03, shade);
            x += dx;
            y += dy;
        }
    }
    return image;
}

} // namespace quillery
