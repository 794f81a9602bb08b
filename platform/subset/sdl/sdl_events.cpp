// SDL events to window messages (through the core's Report functions), the idle wait, and the
// periodic question whether the screen saver may start.
#include "platform/common/loop_idle.h"
#include "platform/subset/sdl/sdl_backend.h"
#include "platform/subset/sdl/sdl_keys.h"
#include "platform/subset/sdl/sdl_notify.h"

namespace platform::sdl {
namespace {

// The window an event belongs to. Events of a window already destroyed (a full-screen window
// leaving full screen just before it goes, say) are dropped, not passed to its successor.
HWND TargetOf(Uint32 windowId) {
    if (windowId == 0) return FallbackWindow();
    Window* window = WindowById(windowId);
    return window ? window->handle : nullptr;
}

void ClientSize(HWND handle, int& width, int& height) {
    width = height = 0;
    if (WindowRecord* record = core::Find(handle))
        if (Window* window = WindowOf(*record)) SDL_GetWindowSize(window->sdl, &width, &height);
}

void OnWindowEvent(const SDL_WindowEvent& event) {
    const HWND target = TargetOf(event.windowID);
    if (!target) return;
    int width = 0, height = 0;
    switch (event.event) {
        case SDL_WINDOWEVENT_CLOSE:
            core::ReportCloseRequest(target);
            break;
        case SDL_WINDOWEVENT_MINIMIZED:
            core::ReportMinimized(target);
            break;
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_MAXIMIZED:
            ClientSize(target, width, height);
            core::ReportRestored(target, width, height);
            break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            core::ReportResized(target, event.data1, event.data2);
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            core::ReportFocus(target, true);
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            core::ReportFocus(target, false);
            break;
        default:
            break;
    }
}

void OnKey(const SDL_KeyboardEvent& event) {
    const HWND target = TargetOf(event.windowID);
    const WPARAM vk = VirtualKey(event.keysym.scancode, event.keysym.sym, event.keysym.mod);
    if (!target || vk == 0) return;
    // SDL drops Alt from the modifiers as the Alt key itself goes up; it still counts as held.
    const bool altHeld = (event.keysym.mod & KMOD_ALT) || vk == VK_MENU;
    core::ReportKey(target, vk, event.type == SDL_KEYDOWN, altHeld, event.repeat != 0);
}

void OnEvent(const SDL_Event& event) {
    switch (event.type) {
        case SDL_QUIT:  // the session ending: every window is asked to close
            for (WindowRecord* record : core::TopLevelWindows()) core::ReportCloseRequest(record->handle);
            break;
        case SDL_WINDOWEVENT:
            OnWindowEvent(event.window);
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            OnKey(event.key);
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            if (event.button.button == SDL_BUTTON_LEFT)
                if (HWND target = TargetOf(event.button.windowID))
                    core::ReportPointer(target, event.button.x, event.button.y,
                                        event.type == SDL_MOUSEBUTTONDOWN, true);
            break;
        case SDL_MOUSEMOTION:
            if (HWND target = TargetOf(event.motion.windowID))
                core::ReportPointer(target, event.motion.x, event.motion.y,
                                    (event.motion.state & SDL_BUTTON_LMASK) != 0, false);
            break;
        default:
            break;
    }
}

// Asks the window with the focus (or the first one) whether the screen saver may start. Its
// procedure lets it start by passing the question to DefWindowProcA; otherwise it stays off.
void AskAboutScreenSaver() {
    Backend& state = State();
    if (state.windows.empty() || SDL_GetTicks64() < state.nextScreenSaverQuestion) return;
    state.nextScreenSaverQuestion = SDL_GetTicks64() + kScreenSaverQuestionMs;
    const HWND target = FallbackWindow();
    if (!target) return;
    state.screenSaverAllowed = false;
    core::Send(target, WM_SYSCOMMAND, SC_SCREENSAVE, 0);
    ApplyScreenSaver();
}

}  // namespace
}  // namespace platform::sdl

namespace platform::backend {

using namespace platform::sdl;

// Everything SDL has queued, without waiting.
void PumpEvents() {
    notify::LoopAlive();
    if (State().video != VideoState::Ready) return;
    SDL_Event event;
    while (SDL_PollEvent(&event)) OnEvent(event);
    AskAboutScreenSaver();
}

// The event that ends the wait stays queued; a signal is seen within the wait.
void IdleWait() {
    if (State().video == VideoState::Ready)
        SDL_WaitEventTimeout(nullptr, LoopIdle::kWaitMs);
    else
        SDL_Delay(LoopIdle::kWaitMs);
}

}  // namespace platform::backend
