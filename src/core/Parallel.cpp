#include "core/Parallel.h"

#include <exception>
#include <system_error>
#include <thread>

void RunBoth(const std::function<void()>& first, const std::function<void()>& second)
{
    std::thread other;
    std::exception_ptr secondFailure;
    if (std::thread::hardware_concurrency() > 1) {
        try {
            other = std::thread([&] {
                try {
                    second();
                } catch (...) {
                    secondFailure = std::current_exception();
                }
            });
        } catch (const std::system_error&) {
            // No thread to be had: both run here.
        }
    }
    std::exception_ptr firstFailure;
    try {
        first();
    } catch (...) {
        firstFailure = std::current_exception();
    }
    if (other.joinable())
        other.join();
    else
        second();
    if (firstFailure)
        std::rethrow_exception(firstFailure);
    if (secondFailure)
        std::rethrow_exception(secondFailure);
}
