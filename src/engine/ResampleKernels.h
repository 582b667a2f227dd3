#pragma once

#include <cstdint>

struct ResampleAxis;

// The resampler's inner loops, compiled for every instruction set the compiler can target
// (SSSE3 to AVX-512 on x86-64, NEON on arm64) and as plain scalar code; the best one the
// processor runs is chosen at run time. Every one does the same integer sums, only in another
// order, so all give exactly the same pixels. A row filtered across holds four 16-bit channels
// a pixel.

// Fixed-point weights: one is 1 << ResampleWeightBits. The rows filtered across keep
// ResampleBetweenBits more than a byte, so the two roundings do not add up.
inline constexpr int ResampleWeightBits = 14;
inline constexpr int ResampleBetweenBits = 6;

struct ResampleKernels {
    // Filters one source row across into `out`: axis.first.size() pixels.
    void (*across)(const ResampleAxis& axis, const std::uint32_t* row, std::int16_t* out);
    // Makes `width` target pixels from `count` rows filtered across, weighted by `weights`
    // (an even number of them, padded with zero). Each row holds `width` pixels rounded up to
    // even.
    void (*down)(const std::int16_t* const* rows, const std::int16_t* weights, int count, int width, std::uint32_t* out);
};

// The kernels of the best instruction set this processor runs.
ResampleKernels BestResampleKernels();
// The instruction sets the kernels are compiled for, as Highway's target bits (hwy/targets.h),
// so that a test can run each of them that the processor has.
std::int64_t CompiledResampleTargets();
