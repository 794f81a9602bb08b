// Backend-independent state of the platform layer: classes, window records, the message queue
// and the push-button logic. Backends read window records and feed input through these
// functions; app code never includes this header.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/win32.h"

namespace platform {

struct WindowRecord {
    HWND handle = nullptr;
    std::string className;
    WNDPROC proc = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
    std::string text;  // Windows-1251 bytes, as given
    int x = 0;
    int y = 0;
    int width = 0;   // top-level: client width; child: button width
    int height = 0;  // top-level: client height; child: button height
    HWND parent = nullptr;
    int controlId = 0;
    bool visible = false;
    bool minimized = false;
    bool activatedOnce = false;
    bool pressed = false;  // push button held down with the pointer over it
    HDC dc = nullptr;      // the window's own DC, once GetDC was called
    int pixelFormat = 0;   // set by SetPixelFormat; a window takes one format for its life
    void* native = nullptr;  // backend data of a top-level window
};

// Every contract function and the calls it makes of a backend, for tracing and injected failure.
enum class Call {
    RegisterClass,
    UnregisterClass,
    CreateWindow,
    CreateButton,
    DestroyWindow,
    ShowWindow,
    SetForegroundWindow,
    SetFocus,
    ChangeDisplaySettings,
    RestoreDisplaySettings,
    ShowCursor,
    MessageBox,
    GetDC,
    ReleaseDC,
    ChoosePixelFormat,
    SetPixelFormat,
    CreateContext,
    MakeCurrent,
    ReleaseCurrent,  // wglMakeCurrent(NULL, NULL)
    DeleteContext,
    SwapBuffers,
    DefWindowProc,  // default processing of a message
    Count
};
const char* CallName(Call call);

namespace core {

WindowRecord* Find(HWND window);
WindowRecord* FindByDc(HDC dc);
// The top-level window records, visible or not, oldest first.
std::vector<WindowRecord*> TopLevelWindows();
// The children of a window in creation order.
std::vector<WindowRecord*> Children(HWND parent);

// Queue input for the loop (the window must exist; otherwise dropped).
void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Call the window procedure now.
LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Native window state changes, reported by a backend as they happen.
void ReportMinimized(HWND window);
void ReportRestored(HWND window, int clientWidth, int clientHeight);
void ReportResized(HWND window, int clientWidth, int clientHeight);
void ReportFocus(HWND window, bool gained);
void ReportCloseRequest(HWND window);
// A key went down or up; vk 0 means "no mapping" and is dropped. Alt held or F10 makes it a
// system key message. repeat marks auto-repeat of a key that is already down.
void ReportKey(HWND window, WPARAM vk, bool down, bool altHeld, bool repeat);

// Pointer on a window's client area: press, move, release of the primary button. A push button
// under the press shows pressed while the pointer stays over it; releasing over it clicks.
void ReportPointer(HWND window, int x, int y, bool buttonDown, bool buttonChanged);

// The child push buttons of a window that can be seen and hit: visible, non-zero size.
std::vector<const WindowRecord*> DrawableButtons(HWND parent);

// Windows-1251 bytes to UTF-8.
std::string Cp1251ToUtf8(const std::string& text);

// The cursor display counter (shown while >= 0).
int CursorCounter();

// SIGINT, SIGTERM and SIGHUP (unless started ignored) recorded from the first top-level window
// on; DeliverCloseSignal turns a recorded one into WM_CLOSE to every top-level window (a no-op
// until there is one). Release puts the previous handlers back.
void CatchCloseSignals();
void DeliverCloseSignal();
void ReleaseCloseSignals();
// True from the first of those signals until Release: the program is on its way out, and a
// message box is neither shown nor kept open. Safe to call from any thread.
bool Stopping();

// Drops every window, class, message and counter: a fresh process as far as the platform layer
// is concerned, the signal handlers included. Used by the headless backend between test runs.
void ResetAll();

}  // namespace core
}  // namespace platform
