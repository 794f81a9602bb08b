// The message loop's calls and presenting: Unicode messages, key messages kept from the push
// buttons, a short wait when idle, frames paced to the display, and the display kept on.
#include "platform/windows/state.h"

#include <mmsystem.h>

namespace platform::windows {

namespace {

// A refresh rate Windows does not report counts as 60 Hz.
constexpr int kDefaultRefreshHz = 60;
// Timer resolution while the show runs, so a paced wait ends on time.
constexpr UINT kTimerResolutionMs = 1;

using SwapIntervalProc = BOOL(WINAPI*)(int);

bool IsKeyMessage(UINT message) { return message >= WM_KEYFIRST && message <= WM_KEYLAST; }

LONGLONG Ticks() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

LONGLONG TicksPerSecond() {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return frequency.QuadPart;
}

int RefreshHz(HDC dc) {
    const int hz = GetDeviceCaps(dc, VREFRESH);
    return hz > 1 ? hz : kDefaultRefreshHz;  // 0 and 1 stand for the hardware's default
}

void StartPacing(State& state, HGLRC context) {
    state.pacedContext = context;
    state.pacer = SwapPacer{};
    const auto swapInterval = reinterpret_cast<SwapIntervalProc>(
        reinterpret_cast<void*>(wglGetProcAddress("wglSwapIntervalEXT")));
    state.pacer.selfPaced = swapInterval == nullptr || !swapInterval(1);
}

// After a swap: keeps the display's pace where the swap did not wait for it.
void Pace(State& state, HDC dc) {
    const auto frequency = static_cast<std::uint64_t>(TicksPerSecond());
    state.pacer.AfterSwap(frequency / RefreshHz(dc), [] { return static_cast<std::uint64_t>(Ticks()); },
                          [frequency](std::uint64_t ticks) { Sleep(static_cast<DWORD>(ticks * 1000 / frequency)); });
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
        Pace(state, dc);
        state.idle.FramePresented();
    }
    return swapped;
}

}  // namespace platform::windows
