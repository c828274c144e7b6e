#pragma once
// Bounded waits of the tests, on the host and in the Windows-side programs:
// a condition is asked again and again until it holds or the limit passes.
// The limit is generous on purpose: a wait ends as soon as its condition
// holds, so only a failing test waits that long, while on a loaded machine
// (two test programs on two cores, Wine's own processes, an X server) one
// process start under Wine has taken seconds.
#include <chrono>
#include <functional>
#include <thread>

namespace vexal::testing {

constexpr std::chrono::milliseconds kPatience{30000};

// True as soon as condition() holds; false when it still does not after limit.
inline bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit = kPatience,
                      std::chrono::milliseconds period = std::chrono::milliseconds(20)) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(period);
    }
    return true;
}

}  // namespace vexal::testing
