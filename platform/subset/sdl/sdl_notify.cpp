// The pings come from a thread of their own, so that a box (SDL waits inside its own loop) keeps
// them going; the thread only passes on what the show's thread marked, and stops with the
// process, so a stopped or stuck show sends none.
#include "platform/subset/sdl/sdl_notify.h"

#include <systemd/sd-daemon.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace platform::sdl::notify {

namespace {

std::atomic<bool> ready{false};  // READY=1 sent: the pings come after it

class Watchdog {
public:
    // Starts pinging when the service manager watches this process.
    void Arm() {
        std::call_once(armed_, [this] {
            uint64_t usec = 0;
            if (sd_watchdog_enabled(0, &usec) <= 0 || usec == 0) return;
            interval_ = std::chrono::microseconds(usec / 4);
            thread_ = std::thread([this] { Run(); });
        });
    }

    ~Watchdog() {
        {
            const std::lock_guard lock(mutex_);
            done_ = true;
        }
        wake_.notify_all();
        if (thread_.joinable()) thread_.join();
    }

    std::atomic<bool> alive{false};
    std::atomic<int> boxes{0};

private:
    void Run() {
        std::unique_lock lock(mutex_);
        while (!wake_.wait_for(lock, interval_, [this] { return done_; })) {
            if (ready && (alive.exchange(false) || boxes.load() > 0)) sd_notify(0, "WATCHDOG=1");
        }
    }

    std::once_flag armed_;
    std::chrono::microseconds interval_{0};
    std::mutex mutex_;
    std::condition_variable wake_;
    bool done_ = false;
    std::thread thread_;
};

Watchdog& TheWatchdog() {
    static Watchdog watchdog;
    return watchdog;
}


void Ready() {
    if (ready) return;
    ready = true;
    sd_notify(0, "READY=1");
}

}  // namespace

void LoopAlive() {
    Watchdog& watchdog = TheWatchdog();
    watchdog.Arm();
    watchdog.alive = true;
}

void FrameShown() {
    if (ready) return;
    Ready();
    LoopAlive();
}

BoxWaiting::BoxWaiting() {
    Ready();
    TheWatchdog().Arm();
    ++TheWatchdog().boxes;
}

BoxWaiting::~BoxWaiting() { --TheWatchdog().boxes; }

}  // namespace platform::sdl::notify
