#pragma once

#include <hwy/targets.h>

#include <cstdint>
#include <string>
#include <vector>

// Kernels of one instruction set and its name.
template <class Kernels>
struct TargetKernels {
    std::int64_t target;
    std::string name;
    Kernels kernels;
};

// The kernels `best` gives for each instruction set of `compiled` (Highway's target bits) that
// this processor runs, best first: each set in turn is made the only one the processor has.
template <class Kernels>
std::vector<TargetKernels<Kernels>> KernelsOfEachTarget(std::int64_t compiled, Kernels (*best)())
{
    std::vector<TargetKernels<Kernels>> all;
    for (std::int64_t rest = hwy::SupportedTargets() & compiled; rest != 0; rest &= rest - 1) {
        const std::int64_t target = rest & -rest;
        hwy::SetSupportedTargetsForTest(target);
        all.push_back({target, hwy::TargetName(target), best()});
    }
    hwy::SetSupportedTargetsForTest(0);
    return all;
}
