// The message loop's calls and presenting: Unicode messages, key messages kept from the push
// buttons, a short wait when idle, frames paced to the display, and the display kept on.
#include "platform/windows/state.h"

#include <mmsystem.h>

namespace platform::windows {

namespace {

// Timer resolution while the show runs, so a paced wait ends on time.
constexpr UINT kTimerResolutionMs = 1;

using SwapIntervalProc = BOOL(WINAPI*)(int);

bool IsKeyMessage(UINT message) { return message >= WM_KEYFIRST && message <= WM_KEYLAST; }

std::uint64_t Ticks() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<std::uint64_t>(now.QuadPart);
}

void StartPacing(State& state, HGLRC context) {
    state.pacedContext = context;
    const auto swapInterval = reinterpret_cast<SwapIntervalProc>(
        reinterpret_cast<void*>(wglGetProcAddress("wglSwapIntervalEXT")));
    state.pacer.Start(swapInterval != nullptr && swapInterval(1));
}

}  // namespace

State& Now() {
    static State state;
    return state;
}

void TopLevelWindowCreated() {
    if (Now().topLevelWindows++ > 0) return;
    SetThreadExecutionState(ES_CONTINUOUS | ES_DISPLAY_REQUIRED | ES_SYSTEM_REQUIRED);
    timeBeginPeriod(kTimerResolutionMs);
}

BOOL DestroyWindow(HWND window) {
    const bool topLevel = window != nullptr && GetParent(window) == nullptr;
    const BOOL destroyed = ::DestroyWindow(window);
    State& state = Now();
    if (destroyed && topLevel && state.topLevelWindows > 0 && --state.topLevelWindows == 0) {
        SetThreadExecutionState(ES_CONTINUOUS);  // the display may sleep again
        timeEndPeriod(kTimerResolutionMs);
    }
    return destroyed;
}

BOOL PeekMessageA(MSG* msg, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags) {
    State& state = Now();
    BOOL got = ::PeekMessageW(msg, window, filterMin, filterMax, removeFlags);
    if (!got && state.idle.WaitDue()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, LoopIdle::kWaitMs, QS_ALLINPUT);
        got = ::PeekMessageW(msg, window, filterMin, filterMax, removeFlags);
    }
    if (got && IsKeyMessage(msg->message) && msg->hwnd != nullptr && GetParent(msg->hwnd) != nullptr)
        msg->hwnd = GetAncestor(msg->hwnd, GA_ROOT);
    return got;
}

LRESULT DispatchMessageA(const MSG* msg) { return ::DispatchMessageW(msg); }

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // After WM_ENDSESSION the process ends without running its close path.
    if (message == WM_ENDSESSION && wParam != FALSE) GiveBackForSessionEnd();
    return ::DefWindowProcW(window, message, wParam, lParam);
}

BOOL SwapBuffers(HDC dc) {
    State& state = Now();
    const HGLRC context = wglGetCurrentContext();
    if (context != state.pacedContext) StartPacing(state, context);
    const BOOL swapped = ::SwapBuffers(dc);
    if (swapped) {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        state.pacer.AfterSwap(static_cast<std::uint64_t>(frequency.QuadPart), GetDeviceCaps(dc, VREFRESH), Ticks,
                              [](std::uint64_t ms) { Sleep(static_cast<DWORD>(ms)); });
        state.idle.FramePresented();
    }
    return swapped;
}

}  // namespace platform::windows
