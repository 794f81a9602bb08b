// The service manager's notify protocol, for a show run as a service (systemd's
// showcase-kiosk.service sets NOTIFY_SOCKET, and WATCHDOG_USEC for its WatchdogSec=): READY=1
// once the first frame is on screen, or a box waits for an answer (a broken picture's box before
// any frame would otherwise count as a show that never came up); then, at a quarter of the watchdog's interval, WATCHDOG=1
// for as long as the show is alive: its loop came round since the last one, or one of its boxes
// waits for an answer (a box open is not a hang). A show stuck in a call stops answering, and
// the service manager ends it and starts it again. Without NOTIFY_SOCKET nothing is sent.
#pragma once

namespace platform::sdl::notify {

// The loop came round.
void LoopAlive();
// A frame was shown; the first tells the service manager the show is up.
void FrameShown();
// While one lives, a box waits for an answer.
class BoxWaiting {
public:
    BoxWaiting();
    ~BoxWaiting();
    BoxWaiting(const BoxWaiting&) = delete;
    BoxWaiting& operator=(const BoxWaiting&) = delete;
};

}  // namespace platform::sdl::notify
