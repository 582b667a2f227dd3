// Writes a picture file of a given size a row at a time, as an export does, from one row that
// changes with each line, and prints the peak memory of the process before and after: what the
// writer of the format holds on top of the program. The rows come from a hash, so that no
// encoder can make the file much smaller than the picture.
//   bench_row_writer_memory OUTPUT [WIDTHxHEIGHT] [QUALITY]    (default 6000x4000, quality 100)
#include "job/ExportFormat.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>

#include <cstdint>
#include <cstdio>
#include <exception>
#include <vector>

#include <sys/resource.h>

namespace {

long peakKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void fillRow(std::vector<std::uint32_t>& row, int y)
{
    for (std::size_t x = 0; x < row.size(); ++x) {
        std::uint32_t h = std::uint32_t(x) * 0x9e3779b1u ^ std::uint32_t(y) * 0x85ebca77u;
        h ^= h >> 15;
        h *= 0x2c1b3c6du;
        h ^= h >> 12;
        // Smooth on the whole, with noise in the low bits: a photo's detail.
        row[x] = 0xff000000u | (h & 0x0f0f0f) | std::uint32_t((x * 255 / row.size()) << 16) | std::uint32_t(y % 256) << 8;
    }
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() < 2 || arguments.size() > 4) {
        std::fprintf(stderr, "usage: bench_row_writer_memory OUTPUT [WIDTHxHEIGHT] [QUALITY]\n");
        return 2;
    }
    const QStringList sides = (arguments.size() > 2 ? arguments[2] : QStringLiteral("6000x4000")).split(QLatin1Char('x'));
    const int width = sides.value(0).toInt(), height = sides.value(1).toInt();
    const int quality = arguments.size() > 3 ? arguments[3].toInt() : 100;
    if (width <= 0 || height <= 0) {
        std::fprintf(stderr, "bench_row_writer_memory: the size must be WIDTHxHEIGHT\n");
        return 2;
    }
    std::vector<std::uint32_t> row(static_cast<std::size_t>(width));
    fillRow(row, 0);
    const long baseline = peakKiB();
    QElapsedTimer timer;
    timer.start();
    try {
        const std::unique_ptr<PictureRowWriter> writer = StartExportFile(arguments[1], QSize(width, height), quality);
        for (int y = 0; y < height; ++y) {
            fillRow(row, y);
            writer->writeRow(row.data());
        }
        writer->finish();
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "bench_row_writer_memory: %s\n", failure.what());
        return 1;
    }
    const long peak = peakKiB();
    std::printf("%s %dx%d: %lld ms, peak %.1f MiB, %.1f MiB above the %.1f MiB before the writer\n",
                qPrintable(arguments[1]), width, height, static_cast<long long>(timer.elapsed()), peak / 1024.0,
                (peak - baseline) / 1024.0, baseline / 1024.0);
    return 0;
}
