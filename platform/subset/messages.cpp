// The message queue, delivery to window procedures and the default window procedure.
#include "platform/subset/backend.h"
#include "platform/subset/state.h"

namespace platform::core {

LRESULT ButtonProc(WindowRecord& button, UINT message, WPARAM wParam, LPARAM lParam);

void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window != nullptr && Find(window) == nullptr) return;
    State().queue.push_back(MSG{window, message, wParam, lParam, 0, POINT{0, 0}});
}

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowRecord* record = Find(window);
    if (record == nullptr) return 0;
    if (record->parent != nullptr) return ButtonProc(*record, message, wParam, lParam);
    return record->proc(window, message, wParam, lParam);
}

void ReportKey(HWND window, WPARAM vk, bool down, bool altHeld, bool repeat) {
    if (vk == 0 || vk > 0xFE) return;
    HWND target = State().focus ? State().focus : window;
    bool system = altHeld || vk == VK_F10;
    UINT message = system ? (down ? WM_SYSKEYDOWN : WM_SYSKEYUP) : (down ? WM_KEYDOWN : WM_KEYUP);
    LPARAM lParam = 1;  // repeat count
    if (altHeld) lParam |= KF_ALTDOWN_BIT;
    if (!down || repeat) lParam |= LPARAM(1) << 30;
    if (!down) lParam |= LPARAM(1) << 31;
    Post(target, message, vk, lParam);
}

}  // namespace platform::core

using namespace platform;

namespace {

bool InRange(UINT message, UINT filterMin, UINT filterMax) {
    if (filterMin == 0 && filterMax == 0) return true;
    return message >= filterMin && message <= filterMax;
}

// The key state GetKeyState reports follows the key messages as the program takes them.
void TrackKeyState(const MSG& msg) {
    const bool down = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
    const bool up = msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP;
    if ((down || up) && msg.wParam < 256) core::State().keysDown[msg.wParam] = down;
}

bool ForWindow(HWND target, HWND filter) {
    if (filter == nullptr) return true;
    for (HWND w = target; w != nullptr;) {
        if (w == filter) return true;
        WindowRecord* record = core::Find(w);
        w = record ? record->parent : nullptr;
    }
    return false;
}

}  // namespace

BOOL PeekMessageA(MSG* msg, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags) {
    if (msg == nullptr) return FALSE;
    backend::PumpEvents();
    core::DeliverCloseSignal();
    auto& state = core::State();
    for (auto it = state.queue.begin(); it != state.queue.end(); ++it) {
        if (!ForWindow(it->hwnd, window) || !InRange(it->message, filterMin, filterMax)) continue;
        *msg = *it;
        if (removeFlags & PM_REMOVE) {
            state.queue.erase(it);
            TrackKeyState(*msg);
        }
        return TRUE;
    }
    if (state.quitPosted && InRange(WM_QUIT, filterMin, filterMax)) {
        *msg = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(state.quitCode), 0, 0, POINT{0, 0}};
        if (removeFlags & PM_REMOVE) state.quitPosted = false;
        return TRUE;
    }
    if (state.idle.WaitDue()) backend::IdleWait();
    return FALSE;
}

BOOL TranslateMessage(const MSG* msg) {
    if (msg == nullptr) return FALSE;
    return msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN;
}

LRESULT DispatchMessageA(const MSG* msg) {
    if (msg == nullptr || msg->hwnd == nullptr) return 0;
    return core::Send(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    backend::Allow(Call::DefWindowProc);  // traced only: default processing cannot fail
    switch (message) {
        case WM_SYSCOMMAND:
            switch (wParam & 0xFFF0) {
                case SC_CLOSE:
                    core::Send(window, WM_CLOSE, 0, 0);
                    return 0;
                case SC_SCREENSAVE:
                case SC_MONITORPOWER:
                    backend::SetScreenSaverAllowed(true);
                    return 0;
                default:
                    return 0;
            }
        case WM_SYSKEYDOWN:
            if (wParam == VK_F4 && (lParam & KF_ALTDOWN_BIT) != 0) core::Send(window, WM_SYSCOMMAND, SC_CLOSE, 0);
            return 0;
        case WM_CLOSE:
            DestroyWindow(window);
            return 0;
        default:
            return 0;
    }
}

BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window != nullptr && core::Find(window) == nullptr) return FALSE;
    core::Post(window, message, wParam, lParam);
    return TRUE;
}

LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return core::Send(window, message, wParam, lParam);
}

SHORT GetKeyState(int virtualKey) {
    if (virtualKey < 0 || virtualKey > 0xFF) return 0;
    return core::State().keysDown[virtualKey] ? static_cast<SHORT>(0x8000) : 0;
}

void PostQuitMessage(int exitCode) {
    core::State().quitPosted = true;
    core::State().quitCode = exitCode;
}
