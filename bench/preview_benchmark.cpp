#include "app/PreviewBlend.h"
#include "engine/Canvas.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

// A picture as the preview keeps it: already stretched over the canvas.
Picture canvasPicture(std::uint32_t tint)
{
    auto pixels = std::make_shared<std::vector<std::uint32_t>>(static_cast<std::size_t>(Canvas::Width) * Canvas::Height);
    for (int y = 0; y < Canvas::Height; ++y)
        for (int x = 0; x < Canvas::Width; ++x)
            (*pixels)[static_cast<std::size_t>(y) * Canvas::Width + x] =
                0xff000000u | tint | static_cast<std::uint32_t>((x * 255 / Canvas::Width) << 8)
                | static_cast<std::uint32_t>(y * 255 / Canvas::Height);
    return Picture::fromPixels(pixels, Canvas::Width, Canvas::Height);
}

// The size the preview window opens at.
const QSize PreviewArea(Canvas::Width * 2 / 3, Canvas::Height * 2 / 3);

// One update of the preview as the band start moves: the ramp drawn again over the kept
// pictures, and the result scaled smoothly for the window.
void previewBandStart(benchmark::State& state)
{
    const Picture first = canvasPicture(0x400000);
    const Picture second = canvasPicture(0x000040);
    PreviewBlend blend;
    int bandStart = 0;
    for (auto _ : state) {
        const Picture result = blend.compose(first, second, 0, bandStart);
        benchmark::DoNotOptimize(ScaledToFit(result, PreviewArea).constBits());
        bandStart = (bandStart + 37) % Canvas::Width;
    }
}

// One update as the side changes between left and right: base and overlay swap, so every
// canvas is filled afresh before the ramp.
void previewSideChange(benchmark::State& state)
{
    const Picture first = canvasPicture(0x400000);
    const Picture second = canvasPicture(0x000040);
    PreviewBlend blend;
    bool right = false;
    for (auto _ : state) {
        const Picture result = right ? blend.compose(second, first, 0, 100) : blend.compose(first, second, 0, 100);
        benchmark::DoNotOptimize(ScaledToFit(result, PreviewArea).constBits());
        right = !right;
    }
}

// The scaling alone, at the size the window opens at and at the whole canvas on a large screen.
void previewScale(benchmark::State& state)
{
    const Picture result = canvasPicture(0x203040);
    const QSize area(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state)
        benchmark::DoNotOptimize(ScaledToFit(result, area).constBits());
}

} // namespace

BENCHMARK(previewBandStart)->Unit(benchmark::kMillisecond);
BENCHMARK(previewSideChange)->Unit(benchmark::kMillisecond);
BENCHMARK(previewScale)->Args({486, 283})->Args({1200, 700})->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
