#pragma once

#include <functional>

// Runs two independent pieces of work at the same time: `second` on a thread of its own,
// `first` on the calling one. Where the machine has a single core, or no thread is to be
// had, they run one after the other here, with the same outcome. Returns when both have
// finished; whatever either threw is thrown again here, `first`'s before `second`'s.
void RunBoth(const std::function<void()>& first, const std::function<void()>& second);
