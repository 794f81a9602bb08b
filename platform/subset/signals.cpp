// SIGINT, SIGTERM and SIGHUP become a close request of every top-level window, so the program
// leaves through its normal close path (and gives back a full-screen display mode) instead of
// dying where it stands. The handler only records the signal; the next look at the message
// queue turns it into the request. A signal the program was started with ignored (nohup)
// stays ignored. From the first such signal on the program is stopping: no box is shown any
// more, and a box that is open is closed (see MessageBoxA and the backends' boxes).
#include <signal.h>

#include <atomic>
#include <iterator>

#include "platform/subset/core.h"

namespace platform::core {
namespace {

constexpr int kCloseSignals[] = {SIGINT, SIGTERM, SIGHUP};

volatile sig_atomic_t closeSignal = 0;
// Read by a backend's thread that watches an open box, so an atomic that is safe to set from a
// handler.
std::atomic<bool> stopping{false};
static_assert(std::atomic<bool>::is_always_lock_free);

struct Handlers {
    bool installed = false;
    struct sigaction previous[std::size(kCloseSignals)] = {};
};

Handlers& Installed() {
    static Handlers handlers;
    return handlers;
}

// A handler the program had set before (a recorder that must clean up, say) still hears the
// signal.
void RecordCloseSignal(int signal) {
    closeSignal = signal;
    stopping = true;
    const Handlers& handlers = Installed();
    for (std::size_t i = 0; i < std::size(kCloseSignals); ++i) {
        const auto previous = handlers.previous[i].sa_handler;
        if (kCloseSignals[i] == signal && previous != SIG_DFL && previous != SIG_IGN && previous != nullptr)
            previous(signal);
    }
}

}  // namespace

void CatchCloseSignals() {
    Handlers& handlers = Installed();
    if (handlers.installed) return;
    handlers.installed = true;
    for (std::size_t i = 0; i < std::size(kCloseSignals); ++i) {
        sigaction(kCloseSignals[i], nullptr, &handlers.previous[i]);
        if (handlers.previous[i].sa_handler == SIG_IGN) continue;
        struct sigaction action = {};
        action.sa_handler = RecordCloseSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        sigaction(kCloseSignals[i], &action, nullptr);
    }
}

void ReleaseCloseSignals() {
    Handlers& handlers = Installed();
    if (handlers.installed)
        for (std::size_t i = 0; i < std::size(kCloseSignals); ++i)
            sigaction(kCloseSignals[i], &handlers.previous[i], nullptr);
    handlers.installed = false;
    closeSignal = 0;
    stopping = false;
}

bool Stopping() { return stopping; }

// A signal that came while no window was open waits for the next one. Each window gets WM_CLOSE
// itself, as a request to end from outside does on Windows, not the user's SC_CLOSE, which a
// window that must stay up (show-floor mode) refuses.
void DeliverCloseSignal() {
    if (closeSignal == 0) return;
    std::vector<HWND> windows;
    for (const WindowRecord* record : TopLevelWindows()) windows.push_back(record->handle);
    if (windows.empty()) return;
    closeSignal = 0;
    for (HWND window : windows) Send(window, WM_CLOSE, 0, 0);  // a window already gone is skipped
}

}  // namespace platform::core
