// The texts of the program on any system code page: classes and windows made through the W
// functions with their 1251 texts widened (boxes: boxes.cpp).
#include <vector>

#include "platform/windows/api.h"
#include "platform/windows/state.h"

namespace platform::windows {

namespace {

constexpr UINT kTextCodePage = 1251;

}  // namespace

std::wstring Widen1251(const char* text) {
    if (text == nullptr) return {};
    const int length = MultiByteToWideChar(kTextCodePage, 0, text, -1, nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(kTextCodePage, 0, text, -1, wide.data(), length);
    wide.resize(static_cast<std::size_t>(length) - 1);  // the terminator stays outside the size
    return wide;
}

ATOM RegisterClassA(const WNDCLASSA* wndClass) {
    if (wndClass == nullptr) return 0;
    const std::wstring className = Widen1251(wndClass->lpszClassName);
    WNDCLASSW wide{};
    wide.style = wndClass->style;
    wide.lpfnWndProc = wndClass->lpfnWndProc;
    wide.cbClsExtra = wndClass->cbClsExtra;
    wide.cbWndExtra = wndClass->cbWndExtra;
    wide.hInstance = wndClass->hInstance;
    wide.hIcon = wndClass->hIcon;
    wide.hCursor = wndClass->hCursor;
    wide.hbrBackground = wndClass->hbrBackground;
    wide.lpszMenuName = nullptr;  // the program has no menus
    wide.lpszClassName = wndClass->lpszClassName != nullptr ? className.c_str() : nullptr;
    return ::RegisterClassW(&wide);
}

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menu, HINSTANCE instance, void* param) {
    const std::wstring wideClass = Widen1251(className);
    const std::wstring wideName = Widen1251(windowName);
    HWND window = ::CreateWindowExW(exStyle, wideClass.c_str(), windowName != nullptr ? wideName.c_str() : nullptr,
                                    style, x, y, width, height, parent, menu, instance, param);
    if (window != nullptr && parent == nullptr) TopLevelWindowCreated();
    return window;
}

}  // namespace platform::windows
