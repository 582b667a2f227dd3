#include "engine/AlphaRamp.h"
#include "engine/PairComposition.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

Picture gradientPicture(int width, int height, std::uint32_t tint)
{
    auto pixels = std::make_shared<std::vector<std::uint32_t>>(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            (*pixels)[static_cast<std::size_t>(y) * width + x] =
                0xff000000u | tint | static_cast<std::uint32_t>((x * 255 / width) << 8)
                | static_cast<std::uint32_t>(y * 255 / height);
    return Picture::fromPixels(pixels, width, height);
}

// One job's composition of two loaded pictures: both fitted to the canvas, the base made the
// destination's background, and the ramp of 727 strips laid over it. The canvases live as
// long as the window; every job brings new pictures.
void composePair(benchmark::State& state)
{
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    Canvases canvases;
    LoadedPair loaded;
    ConstantAlphaBlitter blitter;
    for (auto _ : state) {
        state.PauseTiming();
        const Picture first = gradientPicture(width, height, 0x400000);
        const Picture second = gradientPicture(width, height, 0x000040);
        state.ResumeTiming();
        ComposePair(canvases, loaded, first, second, 0, 0, blitter);
        benchmark::DoNotOptimize(canvases.picDest.Image().pixels);
    }
}

} // namespace

// Decoded JPEGs arrive shrunk to between one and two canvases; other formats as they are.
BENCHMARK(composePair)->Args({729, 425})->Args({1024, 768})->Args({1458, 850})->Unit(benchmark::kMillisecond);


namespace {

// The ramp alone: 727 strips of a whole-width band over the canvas.
void rampOnly(benchmark::State& state)
{
    Canvas base(0x102030), overlay(0x405060);
    ConstantAlphaBlitter blitter;
    for (auto _ : state)
        AlphaRamp(blitter, base.hDC(), 729, 425, overlay.Image().surface(), 729, 425, 0, 729, 0);
}

} // namespace

BENCHMARK(rampOnly)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
