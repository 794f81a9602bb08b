// Presentation at the display's refresh rate where swaps do not wait for it, the same for every
// backend: a context made current asks for vsync; after each swap, swaps that come back well
// inside a refresh interval are counted, and once they keep doing so (or vsync was refused) the
// rest of each interval is waited out here.
#pragma once

#include <cstdint>

namespace platform {

struct SwapPacer {
    bool selfPaced = false;          // vsync unavailable or not blocking: wait out the interval here
    int fastSwaps = 0;               // consecutive swaps that came back well inside one interval
    std::uint64_t lastSwap = 0;      // clock time of the previous swap
    std::uint64_t lastDeadline = 0;  // when the previous self-paced frame was due

    // Swaps returning within this share of the refresh interval do not wait for vertical blank;
    // that many such swaps in a row and the pacer waits itself.
    static constexpr double kFastSwapShare = 0.5;
    static constexpr int kFastSwapsToSelfPace = 10;
    // A refresh rate the display does not report (0, or 1 for the hardware's default) counts as 60 Hz.
    static constexpr int kDefaultRefreshHz = 60;

    // Starts over for the context just made current; `vsync`: it took a swap interval of 1.
    void Start(bool vsync) { *this = SwapPacer{.selfPaced = !vsync}; }

    // Called after each swap. `now()` reads a clock of `ticksPerSecond`, `sleepMs(ms)` sleeps;
    // `refreshHz` is the display's rate as reported.
    template <typename Now, typename SleepMs>
    void AfterSwap(std::uint64_t ticksPerSecond, int refreshHz, Now now, SleepMs sleepMs) {
        const std::uint64_t interval = ticksPerSecond / (refreshHz > 1 ? refreshHz : kDefaultRefreshHz);
        std::uint64_t time = now();
        if (!selfPaced && lastSwap != 0) {
            const bool fast = time - lastSwap < static_cast<std::uint64_t>(double(interval) * kFastSwapShare);
            fastSwaps = fast ? fastSwaps + 1 : 0;
            selfPaced = fastSwaps >= kFastSwapsToSelfPace;
        }
        if (selfPaced) {
            const std::uint64_t deadline = lastDeadline + interval;
            if (lastDeadline != 0 && time < deadline) {
                sleepMs((deadline - time) * 1000 / ticksPerSecond);
                lastDeadline = deadline;
            } else {
                lastDeadline = time;  // late or first frame: count from now
            }
            time = now();
        }
        lastSwap = time;
    }
};

}  // namespace platform
