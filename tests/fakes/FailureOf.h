#pragma once

#include "core/Failure.h"

// What the work threw as a Failure, or a Failure numbered 0 when it threw nothing.
template <typename Work>
Failure FailureOf(Work&& work)
{
    try {
        work();
    } catch (const Failure& failure) {
        return failure;
    }
    return Failure(0, "no failure");
}
