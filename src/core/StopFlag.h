#pragma once

#include <atomic>
#include <exception>

// Asks long work to stop: set from any thread, checked by the work at each row.
using StopFlag = std::atomic<bool>;

// Thrown by work that stopped because it was asked to; nothing it would have written is.
struct Stopped : std::exception {
    const char* what() const noexcept override { return "stopped on request"; }
};

inline void ThrowIfStopped(const StopFlag* stop)
{
    if (stop && stop->load(std::memory_order_relaxed))
        throw Stopped();
}
