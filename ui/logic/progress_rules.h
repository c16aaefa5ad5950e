#pragma once

#include <chrono>

#include "core/settings.h"

namespace doxel {

// Whether the progress window of an operation with `maximum` steps is
// shown: only when the setting ProgressMinimum is below the maximum. A
// ProgressMinimum that is not a whole number counts as its default, 40, so
// no operation fails for it.
bool progressWindowShown(SettingsStore& settings, int maximum);

// Lets a long operation hand control to the event loop at most once per
// `interval`, so the window repaints without the operation paying for it
// on every step.
class EventPacer {
public:
    using Clock = std::chrono::steady_clock;
    explicit EventPacer(Clock::duration interval = std::chrono::milliseconds(25)) : m_interval(interval) {}

    // True when the interval has passed since the last time it said true
    // (or since construction).
    bool due(Clock::time_point now);
    // The same for a caller that asks on every step of a long loop: the
    // clock is read only every 16th call.
    bool due();

private:
    Clock::duration m_interval;
    Clock::time_point m_last = Clock::now();
    unsigned m_calls = 0;
};

}  // namespace doxel
