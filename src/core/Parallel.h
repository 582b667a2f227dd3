#pragma once

#include <functional>

// Whether two pieces of work may take a thread of their own.
enum class Concurrency {
    TwoThreads, // the second on a thread of its own, where one is to be had
    OneThread,  // both on the calling thread, the first before the second
};

// Runs two independent pieces of work at the same time: `second` on a thread of its own,
// `first` on the calling one. Where the machine has a single core, or no thread is to be
// had, they run one after the other here, with the same outcome. Returns when both have
// finished; whatever either threw is thrown again here, `first`'s before `second`'s.
void RunBoth(const std::function<void()>& first, const std::function<void()>& second);

// The same with the choice of threads made by the caller instead of by the machine's cores.
void RunBoth(const std::function<void()>& first, const std::function<void()>& second, Concurrency concurrency);
