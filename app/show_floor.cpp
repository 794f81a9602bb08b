// Show-floor mode: the show unattended on a monitor of its own. A borderless window above
// panels and taskbars covering the chosen monitor in its current mode; Escape, F1, Alt+F4 and
// the window manager's close refused, the operator's chord (Ctrl+Alt+Shift+Q) and a request
// from outside (WM_CLOSE, a signal on Linux) honoured; the pointer hidden while it rests; and
// the attract reset, which brings the show back to its start once a visitor has left it alone.
#include <iterator>

#include "app/viewer.h"
#include "scene/scene_state.h"

ShowFloorOptions showFloor;

namespace {

constexpr DWORD kPointerRestMs = 3000;
constexpr WPARAM kQuitChordKey = 'Q';

struct ShowFloorClock {
    DWORD lastInput = 0;
    DWORD lastMove = 0;
    bool visited = false;  // input since the start or the last attract reset
    bool pointerHidden = false;
    HWND moveWindow = nullptr;  // where the last WM_MOUSEMOVE pointed, to tell movement from a repeat
    LPARAM movePoint = -1;
};
ShowFloorClock floorClock;

bool IsInput(UINT message) {
    return (message >= WM_KEYDOWN && message <= WM_SYSKEYUP) || (message >= WM_MOUSEMOVE && message <= WM_LBUTTONUP);
}

bool Held(WPARAM key) { return GetKeyState(static_cast<int>(key)) < 0; }

BOOL CALLBACK CollectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    MONITORINFOEXA info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoA(monitor, &info)) {
        reinterpret_cast<std::vector<MonitorEntry>*>(data)->push_back(
            {info.rcMonitor, (info.dwFlags & MONITORINFOF_PRIMARY) != 0, info.szDevice});
    }
    return TRUE;
}

}  // namespace

std::vector<MonitorEntry> ListMonitors() {
    std::vector<MonitorEntry> monitors;
    if (!EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&monitors))) return {};
    return monitors;
}

RECT ShowArea() {
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (!showFloor.kiosk && showFloor.monitor == 0) return screen;
    const std::vector<MonitorEntry> monitors = ListMonitors();
    if (showFloor.monitor > 0 && showFloor.monitor <= static_cast<int>(monitors.size()))
        return monitors[showFloor.monitor - 1].rect;
    for (const MonitorEntry& monitor : monitors)
        if (monitor.primary) return monitor.rect;
    return screen;
}

void ShowFloorWindowStyle(DWORD& style, DWORD& exStyle) {
    if (!showFloor.kiosk) return;
    style = WS_POPUP;
    exStyle = WS_EX_APPWINDOW | WS_EX_TOPMOST;
}

void BeginShowFloor() {
    floorClock = ShowFloorClock{};
    if (!showFloor.kiosk && showFloor.idleResetMs == 0) return;
    floorClock.lastInput = floorClock.lastMove = GetTickCount();
}

bool ShowFloorRefuses(UINT message, WPARAM wParam) {
    if (!showFloor.kiosk) return false;
    switch (message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            if (wParam == kQuitChordKey && Held(VK_CONTROL) && Held(VK_MENU) && Held(VK_SHIFT)) {
                PostQuitMessage(0);
                return true;
            }
            return wParam == VK_ESCAPE || wParam == VK_F1;
        case WM_KEYUP:
            return wParam == VK_ESCAPE || wParam == VK_F1;
        case WM_SYSCOMMAND:
            return (wParam & 0xFFF0) == SC_CLOSE;  // the close box, the window menu and Alt+F4
        default:
            return false;
    }
}

void NoteShowFloorInput(const MSG& msg) {
    if (!IsInput(msg.message) || (!showFloor.kiosk && showFloor.idleResetMs == 0)) return;
    if (msg.message == WM_MOUSEMOVE) {
        if (msg.hwnd == floorClock.moveWindow && msg.lParam == floorClock.movePoint) return;
        floorClock.moveWindow = msg.hwnd;
        floorClock.movePoint = msg.lParam;
        floorClock.lastMove = GetTickCount();
        if (floorClock.pointerHidden) {
            ShowCursor(TRUE);
            floorClock.pointerHidden = false;
        }
    }
    floorClock.lastInput = GetTickCount();
    floorClock.visited = true;
}

void TickShowFloor() {
    if (!showFloor.kiosk && showFloor.idleResetMs == 0) return;
    const DWORD now = GetTickCount();
    if (showFloor.idleResetMs != 0 && floorClock.visited && now - floorClock.lastInput >= showFloor.idleResetMs) {
        // The show as a fresh start has it: the tour state of a new process, then its start values.
        sceneState = SceneState{};
        ResetSceneState();
        floorClock.visited = false;
    }
    if (showFloor.kiosk && !floorClock.pointerHidden && now - floorClock.lastMove >= kPointerRestMs) {
        ShowCursor(FALSE);
        floorClock.pointerHidden = true;
    }
}

void EndShowFloor() {
    if (floorClock.pointerHidden) ShowCursor(TRUE);
    floorClock.pointerHidden = false;
}
