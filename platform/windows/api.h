// The calls of the program that Windows itself gets wrong for us, done right. platform/win32.h
// points the program's calls at these; each one ends in the real Windows function.
//
// - Texts: the program's texts are Windows-1251. The A functions would read them in the
//   system's ANSI code page, which is 1251 only on a Russian Windows; these widen them from
//   1251 and call the W functions, so the title, the button labels and every box read right
//   on any system. The windows they make are Unicode windows, so messages go through the W
//   loop and default procedure too.
// - Keys: a push button takes the keyboard focus when clicked; key messages meant for one of
//   our buttons go to its top-level window instead, so Escape and F1 keep working after a click.
// - Idle: while nothing was presented since the last empty look, an empty PeekMessage waits a
//   little for input, so a minimised show does not spin a core.
// - Pace: frames are presented at the display's refresh rate, with vsync where the driver
//   offers it, otherwise by waiting out the rest of the refresh interval.
// - Display: while a top-level window of the program exists, Windows keeps the display on.
// - Stop: a close request that reaches an open box (taskkill, a session's end) ends it with its
//   default button and asks the program to quit; no box opens once that is asked (boxes.cpp).
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <string>

namespace platform::windows {

// Windows-1251 bytes as UTF-16 (the system's own table for the code page).
std::wstring Widen1251(const char* text);

ATOM RegisterClassA(const WNDCLASSA* wndClass);
HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menu, HINSTANCE instance, void* param);
BOOL DestroyWindow(HWND window);
int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

BOOL PeekMessageA(MSG* msg, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags);
LRESULT DispatchMessageA(const MSG* msg);
LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL SwapBuffers(HDC dc);

}  // namespace platform::windows
