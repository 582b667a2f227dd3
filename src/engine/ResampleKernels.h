#pragma once

#include <cstdint>

struct ResampleAxis;

// The resampler's inner loops, in SSE2 (every x86-64 processor) and in AVX2 (most made since
// 2013, twice the samples a step). Both do the same integer sums in another order, so they
// give exactly the same pixels. A row filtered across holds four 16-bit channels a pixel.

// Fixed-point weights: one is 1 << ResampleWeightBits. The rows filtered across keep
// ResampleBetweenBits more than a byte, so the two roundings do not add up.
inline constexpr int ResampleWeightBits = 14;
inline constexpr int ResampleBetweenBits = 6;

struct ResampleKernels {
    // Filters one source row across into `out`: axis.first.size() pixels.
    void (*across)(const ResampleAxis& axis, const std::uint32_t* row, std::int16_t* out);
    // Makes `width` target pixels from `count` rows filtered across, weighted by `weights`
    // (an even number of them, padded with zero).
    void (*down)(const std::int16_t* const* rows, const std::int16_t* weights, int count, int width, std::uint32_t* out);
};

ResampleKernels Sse2ResampleKernels();
// Only for a processor that has AVX2.
ResampleKernels Avx2ResampleKernels();
bool ProcessorHasAvx2();
// The fastest kernels this processor runs.
ResampleKernels BestResampleKernels();
