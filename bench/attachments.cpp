// Attachments: the tile thumbnail of a large camera JPEG (against a full
// decode then scale), the re-encoding of an imported photo, the peak memory
// of each reader that decodes whole pictures, and the cost of refusing tiny
// files that would decode to enormous ones. Besides time, each reports the
// peak memory the operation added to the process.
#include "../tests/gui/attachments/ImageBombs.h"
#include "gui/attachments/ImageCodec.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <benchmark/benchmark.h>

#include <functional>

#include <malloc.h>

using namespace quillery;

namespace {

// A photo-like picture: smooth gradients with fine noise, so the JPEG has
// the size and decoding cost of a real camera image (several megabytes).
QByteArray cameraJpeg(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    quint32 state = 2463534242u;
    for (int y = 0; y < size.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            const int noise = int(state & 15) - 8;
            line[x] = qRgb(std::clamp(x * 255 / size.width() + noise, 0, 255),
                std::clamp(y * 255 / size.height() + noise, 0, 255), std::clamp(128 + noise * 2, 0, 255));
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(92);
    writer.write(image);
    return bytes;
}

const QByteArray &photo6000x4000()
{
    static const QByteArray bytes = cameraJpeg(QSize(6000, 4000));
    return bytes;
}

const QByteArray &photo4000x3000()
{
    static const QByteArray bytes = cameraJpeg(QSize(4000, 3000));
    return bytes;
}

qint64 statusKiB(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

// The peak resident memory that `work` adds above what the process held
// before it, in MiB: the kernel's high-water mark is reset first (Linux).
// Measured once, after the timed runs.
double peakMiB(const std::function<void()> &work)
{
    // Large blocks are mapped and unmapped on their own and freed memory goes
    // back at once, so what earlier runs left behind does not hide the peak.
    static const bool tuned = mallopt(M_MMAP_THRESHOLD, 128 * 1024) && mallopt(M_TRIM_THRESHOLD, 128 * 1024);
    Q_UNUSED(tuned);
    malloc_trim(0);
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (!clear.open(QIODevice::WriteOnly) || clear.write("5") != 1)
        return -1;
    clear.close();
    const qint64 before = statusKiB("VmRSS:");
    work();
    return double(statusKiB("VmHWM:") - before) / 1024.0;
}

void BM_Thumbnail6000x4000At240(benchmark::State &state)
{
    const QByteArray &bytes = photo6000x4000();
    for (auto _ : state)
        benchmark::DoNotOptimize(decodeThumbnail(bytes, TileMaxPixel));
    state.counters["peak_MiB"] = peakMiB([&] { benchmark::DoNotOptimize(decodeThumbnail(bytes, TileMaxPixel)); });
    state.counters["input_MiB"] = double(bytes.size()) / (1024 * 1024);
}
BENCHMARK(BM_Thumbnail6000x4000At240)->Unit(benchmark::kMillisecond);

// For comparison: decoding every pixel, then scaling down.
void BM_FullDecodeThenScale6000x4000(benchmark::State &state)
{
    const QByteArray &bytes = photo6000x4000();
    const auto work = [&] {
        const QImage full = QImage::fromData(bytes);
        return full.scaled(TileMaxPixel, TileMaxPixel, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    };
    for (auto _ : state)
        benchmark::DoNotOptimize(work());
    state.counters["peak_MiB"] = peakMiB([&] { benchmark::DoNotOptimize(work()); });
}
BENCHMARK(BM_FullDecodeThenScale6000x4000)->Unit(benchmark::kMillisecond);

void BM_ViewerDecode6000x4000At2400(benchmark::State &state)
{
    const QByteArray &bytes = photo6000x4000();
    for (auto _ : state)
        benchmark::DoNotOptimize(decodeThumbnail(bytes, ViewerMaxPixel));
    state.counters["peak_MiB"] = peakMiB([&] { benchmark::DoNotOptimize(decodeThumbnail(bytes, ViewerMaxPixel)); });
}
BENCHMARK(BM_ViewerDecode6000x4000At2400)->Unit(benchmark::kMillisecond);

void BM_ReencodePhoto4000x3000(benchmark::State &state)
{
    const QByteArray &bytes = photo4000x3000();
    std::optional<QByteArray> out;
    for (auto _ : state) {
        out = reencodeJPEG(bytes, PhotoMaxPixel, PhotoQuality);
        benchmark::DoNotOptimize(out);
    }
    state.counters["peak_MiB"]
        = peakMiB([&] { benchmark::DoNotOptimize(reencodeJPEG(bytes, PhotoMaxPixel, PhotoQuality)); });
    state.counters["input_MiB"] = double(bytes.size()) / (1024 * 1024);
    state.counters["output_MiB"] = out ? double(out->size()) / (1024 * 1024) : 0;
}
BENCHMARK(BM_ReencodePhoto4000x3000)->Unit(benchmark::kMillisecond);

// The memory of readers that decode the whole picture before scaling it,
// in bytes per pixel of the picture: what the decode budget charges them.
void BM_WholeDecodeBytesPerPixel(benchmark::State &state, const char *format)
{
    QImage picture(4000, 4000, format == QByteArrayView("gif") ? QImage::Format_Indexed8 : QImage::Format_RGB32);
    if (picture.format() == QImage::Format_Indexed8) {
        picture.setColorTable({ qRgb(200, 0, 0), qRgb(0, 0, 200) });
        picture.fill(0);
    } else {
        picture.fill(Qt::darkCyan);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, format).write(picture);
    for (auto _ : state)
        benchmark::DoNotOptimize(decodeThumbnail(bytes, TileMaxPixel));
    const double peak = peakMiB([&] { benchmark::DoNotOptimize(decodeThumbnail(bytes, TileMaxPixel)); });
    state.counters["bytes_per_pixel"] = peak * 1024 * 1024 / (4000.0 * 4000.0);
}
BENCHMARK_CAPTURE(BM_WholeDecodeBytesPerPixel, png, "png")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WholeDecodeBytesPerPixel, tiff, "tiff")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WholeDecodeBytesPerPixel, bmp, "bmp")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WholeDecodeBytesPerPixel, webp, "webp")->Unit(benchmark::kMillisecond);

// Tiny hostile files: refused before they cost anything.
void BM_RefuseBomb(benchmark::State &state, QByteArray (*make)())
{
    const QByteArray bytes = make();
    for (auto _ : state)
        benchmark::DoNotOptimize(decodeThumbnail(bytes, TileMaxPixel));
    state.counters["peak_MiB"] = peakMiB([&] { benchmark::DoNotOptimize(decodeThumbnail(bytes, TileMaxPixel)); });
    state.counters["input_KiB"] = double(bytes.size()) / 1024;
}
BENCHMARK_CAPTURE(BM_RefuseBomb, svgz_1MB, [] { return test::svgzBomb(); })->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_RefuseBomb, tiff_8000, [] { return test::tiffBomb(); })->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_RefuseBomb, rle_bmp_8000, [] { return test::rleBmpBomb(); })->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_RefuseBomb, gif_8000, [] { return test::gifBomb(); })->Unit(benchmark::kMillisecond);

} // namespace
