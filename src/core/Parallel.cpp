#include "core/Parallel.h"

#include <exception>
#include <system_error>
#include <thread>

namespace {

// Runs the work to its end; what it threw is the result, so that it waits to be thrown
// again until the other piece of work has finished too.
std::exception_ptr FailureOf(const std::function<void()>& work) noexcept
{
    try {
        work();
    } catch (...) {
        return std::current_exception();
    }
    return nullptr;
}

} // namespace

void RunBoth(const std::function<void()>& first, const std::function<void()>& second)
{
    RunBoth(first, second, std::thread::hardware_concurrency() > 1 ? Concurrency::TwoThreads : Concurrency::OneThread);
}

void RunBoth(const std::function<void()>& first, const std::function<void()>& second, Concurrency concurrency)
{
    std::thread other;
    std::exception_ptr secondFailure;
    if (concurrency == Concurrency::TwoThreads) {
        try {
            other = std::thread([&] { secondFailure = FailureOf(second); });
        } catch (const std::system_error&) {
            // No thread to be had: both run here.
        }
    }
    const std::exception_ptr firstFailure = FailureOf(first);
    if (other.joinable())
        other.join();
    else
        secondFailure = FailureOf(second);
    if (firstFailure)
        std::rethrow_exception(firstFailure);
    if (secondFailure)
        std::rethrow_exception(secondFailure);
}
