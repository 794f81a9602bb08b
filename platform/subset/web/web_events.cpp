// The page's input events to window messages (through the core's Report functions), and the
// idle wait. The page queues each event as five numbers; nothing is called into the program
// while it waits, so events reach it only here, in the order they came.
#include <emscripten.h>

#include <array>
#include <bitset>
#include <optional>

#include "platform/subset/web/web_backend.h"

namespace platform::web {

namespace {

// Kinds of queued events; the numbers are the page's (page/page.js, kEvent).
enum Event {
    kKey = 1,             // vk, down, alt held, repeat
    kPointer = 2,         // x, y (client CSS pixels), button down, button changed
    kButtonClick = 3,     // control id of the push button clicked (pointer, touch or keyboard)
    kResize = 4,          // viewport width, height in device pixels
    kHidden = 5,          // the page went out of sight (another tab, a minimised browser)
    kShown = 6,
    kFocus = 7,           // gained
    kLeftFullScreen = 8,  // the browser left full screen by itself (Escape, its own controls)
};

// How often the program is asked whether the screen may sleep (WM_SYSCOMMAND, SC_SCREENSAVE).
constexpr double kScreenSaverQuestionMs = 30000;

// clang-format off
EM_JS(int, web_next_event, (int* out), {
    const event = showcasePage.nextEvent();
    if (!event) return 0;
    for (let i = 0; i < 5; ++i) HEAP32[(out >> 2) + i] = event[i] | 0;
    return 1;
});
// clang-format on

// A key released in the same look as it went down waits for the next look, so the program sees
// it held for a frame, as it does a press on the desktop; a slow frame would otherwise swallow
// a quick press of Escape or F1 whole.
std::optional<std::array<int, 5>> pendingRelease;
int pendingSince = 0;  // the frame count when it was held back

HWND Target() { return State().window ? State().window->handle : nullptr; }

// A push button clicked on the page is the press and release a pointer makes at its centre.
void ClickButton(HWND window, int controlId) {
    for (const WindowRecord* button : core::DrawableButtons(window)) {
        if (button->controlId != controlId) continue;
        const int x = button->x + button->width / 2, y = button->y + button->height / 2;
        core::ReportPointer(window, x, y, true, true);
        core::ReportPointer(window, x, y, false, true);
        return;
    }
}

void OnEvent(const int* e) {
    const HWND window = Target();
    if (window == nullptr) return;
    WindowRecord* record = core::Find(window);
    switch (e[0]) {
        case kKey:
            core::ReportKey(window, static_cast<WPARAM>(e[1]), e[2] != 0, e[3] != 0, e[4] != 0);
            break;
        case kPointer:
            core::ReportPointer(window, e[1], e[2], e[3] != 0, e[4] != 0);
            break;
        case kButtonClick:
            ClickButton(window, e[1]);
            break;
        case kResize:
            // A window in a changed mode keeps the mode's size; the page scales it.
            if (!State().modeChanged) core::ReportResized(window, e[1], e[2]);
            if ((record = core::Find(window))) Layout(*record);
            break;
        case kHidden:
        case kShown:
            State().hidden = e[0] == kHidden;
            SyncMinimized();
            break;
        case kFocus:
            core::ReportFocus(window, e[1] != 0);
            break;
        case kLeftFullScreen:
            // Full screen ends as F1 ends it on the desktop: the show reopens in the window. The
            // release waits for the next look, as a quick press's does, or the loop never sees F1
            // held.
            if (State().modeChanged) {
                core::ReportKey(window, VK_F1, true, false, false);
                pendingRelease = std::array<int, 5>{kKey, VK_F1, 0, 0, 0};
                pendingSince = State().frames;
            }
            break;
        default:
            break;
    }
}

void AskAboutScreenSaver() {
    static double next = 0;
    const double now = emscripten_get_now();
    if (now < next || Target() == nullptr) return;
    next = now + kScreenSaverQuestionMs;
    backend::SetScreenSaverAllowed(false);
    core::Send(Target(), WM_SYSCOMMAND, SC_SCREENSAVE, 0);
}

}  // namespace

}  // namespace platform::web

namespace platform::backend {

using namespace platform::web;

void PumpEvents() {
    CheckContext();
    SyncMinimized();
    std::bitset<256> pressed;
    if (pendingRelease) {
        // Held until a frame was drawn, or the page is out of sight and draws none.
        const WindowRecord* record = core::Find(Target());
        if (State().frames == pendingSince && record != nullptr && !record->minimized) return;
        OnEvent(pendingRelease->data());
        pendingRelease.reset();
    }
    std::array<int, 5> event;
    while (web_next_event(event.data())) {
        const bool key = event[0] == kKey && event[1] > 0 && event[1] < 256;
        if (key && event[2] == 0 && pressed[event[1]]) {
            pendingRelease = event;
            pendingSince = State().frames;
            break;
        }
        if (key && event[2] != 0) pressed[event[1]] = true;
        OnEvent(event.data());
        if (pendingRelease) break;
    }
    AskAboutScreenSaver();
}

// The loop idles only while it draws nothing (the page out of sight); the browser gets its turn.
void IdleWait() {
    WatchMain();
    emscripten_sleep(50);
}

}  // namespace platform::backend
