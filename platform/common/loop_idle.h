// The message loop's idle wait, the same for every backend: an empty look at the queue waits for
// input, kWaitMs at most, unless a frame was presented since the previous empty look. A loop that
// draws (the show) never waits; one that draws nothing (minimised) looks twenty times a second
// instead of spinning a core, and input ends its wait at once.
#pragma once

#include <utility>

namespace platform {

struct LoopIdle {
    static constexpr unsigned kWaitMs = 50;
    bool presented = true;  // since the last empty look; the first empty look does not wait

    void FramePresented() { presented = true; }
    // At an empty look: whether to wait now. The next empty look waits unless a frame comes first.
    bool WaitDue() { return !std::exchange(presented, false); }
};

}  // namespace platform
