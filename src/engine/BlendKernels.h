#pragma once

#include <cstddef>
#include <cstdint>

// The blit's inner loops, compiled for every instruction set the compiler can target and as
// plain scalar code like the resampler's kernels (ResampleKernels.h), the best one chosen at
// run time. Per byte: d = s * a/255 + d * (1 - a/255), rounded to nearest, exact for all
// inputs; a = 0 leaves d as it is.
struct BlendKernels {
    // `count` bytes with one opacity.
    void (*withOpacity)(const std::uint8_t* s, std::uint8_t* d, std::size_t count, std::uint8_t a);
    // `count` bytes with an opacity each.
    void (*withOpacities)(const std::uint8_t* s, std::uint8_t* d, std::size_t count, const std::uint8_t* a);
};

// The kernels of the best instruction set this processor runs.
BlendKernels BestBlendKernels();
// The instruction sets the kernels are compiled for, as Highway's target bits (hwy/targets.h).
std::int64_t CompiledBlendTargets();
