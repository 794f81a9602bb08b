// Message boxes: 1251 texts widened for MessageBoxW, and a stop request honoured while a box is
// open or about to open.
//
// Windows already ends an open box when the program's window takes a close request (taskkill
// without /F posts WM_CLOSE to every top-level window of the process): the window procedure posts
// WM_QUIT and the box's own loop returns at once. What it does not do by itself:
// - a box whose window gets the close request (the process has no other window while the F1
//   question is open, and a box with Yes and No ignores WM_CLOSE) would stay open, so here it
//   ends with its default button and the program is asked to quit (WM_QUIT);
// - a box asked for while WM_QUIT is pending would still be created, so here it is not shown
//   and returns its default button, as does a box ended by WM_QUIT;
// - a session that ends while a box is open ends the program without its close path, so here
//   a changed display mode is given back first.
// The user's own ways of closing a box (its close button, Alt+F4, Escape) work as always.
#include "platform/common/box_buttons.h"
#include "platform/windows/state.h"

namespace platform::windows {

namespace {

bool QuitPending() {
    MSG msg;
    return PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != FALSE;
}

struct OpenBox {
    HHOOK hook = nullptr;
    WNDPROC procedure = nullptr;
    HWND window = nullptr;
    int defaultButton = IDOK;
    bool userClosing = false;  // the close request came from the box's own close button or Alt+F4
};
OpenBox openBox;

LRESULT CALLBACK StoppableBox(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == SC_CLOSE) {
                openBox.userClosing = true;
                const LRESULT result = CallWindowProcW(openBox.procedure, box, message, wParam, lParam);
                openBox.userClosing = false;
                return result;
            }
            break;
        case WM_ENDSESSION:
            if (wParam == FALSE) break;
            GiveBackForSessionEnd();
            [[fallthrough]];
        case WM_CLOSE:
            if (openBox.userClosing) break;
            EndDialog(box, openBox.defaultButton);
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return CallWindowProcW(openBox.procedure, box, message, wParam, lParam);
}

// Takes over the box's window procedure when the box first becomes active.
LRESULT CALLBACK WatchForBox(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && openBox.window == nullptr) {
        const HWND window = reinterpret_cast<HWND>(wParam);
        wchar_t className[8] = {};
        GetClassNameW(window, className, 8);
        if (lstrcmpW(className, L"#32770") == 0) {
            openBox.window = window;
            openBox.procedure = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StoppableBox)));
        }
    }
    return CallNextHookEx(openBox.hook, code, wParam, lParam);
}

}  // namespace

void GiveBackForSessionEnd() {
    ChangeDisplaySettingsW(nullptr, 0);       // the desktop's mode, if a full-screen one was set
    SetThreadExecutionState(ES_CONTINUOUS);  // the display may sleep again
}

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    const int defaultButton = DefaultBoxButton(type);
    // One box at a time: none opens from inside another's loop.
    if (QuitPending() || openBox.hook != nullptr) return defaultButton;
    const std::wstring wideText = Widen1251(text);
    const std::wstring wideCaption = Widen1251(caption);
    openBox = OpenBox{};
    openBox.defaultButton = defaultButton;
    openBox.hook = SetWindowsHookExW(WH_CBT, WatchForBox, nullptr, GetCurrentThreadId());
    const int answer =
        ::MessageBoxW(owner, wideText.c_str(), caption != nullptr ? wideCaption.c_str() : nullptr, type);
    if (openBox.hook != nullptr) UnhookWindowsHookEx(openBox.hook);
    openBox = OpenBox{};
    return answer != 0 ? answer : defaultButton;  // 0: ended by WM_QUIT
}

}  // namespace platform::windows
