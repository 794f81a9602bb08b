// What the corrected calls remember between calls: one record for the program.
#pragma once

#include "platform/common/loop_idle.h"
#include "platform/common/swap_pacer.h"
#include "platform/windows/api.h"

namespace platform::windows {

struct State {
    int topLevelWindows = 0;     // made by CreateWindowExA and not yet destroyed
    LoopIdle idle;               // the wait of an empty PeekMessage
    SwapPacer pacer;             // on the performance counter
    HGLRC pacedContext = nullptr;  // the context the pacing was started for
};
State& Now();

// Keeps the display on from the first top-level window until the last is destroyed.
void TopLevelWindowCreated();
// The session is ending and the process with it: gives back a changed display mode and the
// display's sleep.
void GiveBackForSessionEnd();

}  // namespace platform::windows
