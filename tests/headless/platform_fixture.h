// A fixture for platform-level tests: a fresh headless platform per test, a window class whose
// procedure records every message it gets and passes it on to DefWindowProcA, and helpers for
// the window, its buttons and its GL context.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <vector>

#include "platform/headless/headless.h"
#include "platform/win32.h"

namespace platform_test {

struct Received {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

class PlatformTest : public ::testing::Test {
  protected:
    static constexpr const char* kClass = "PlatformTestClass";

    void SetUp() override {
        headless::Reset();
        received().clear();
        intercept() = nullptr;
    }
    void TearDown() override {
        headless::Reset();
        intercept() = nullptr;
    }

    // Every message the test class's procedure got, in order.
    static std::vector<Received>& received() {
        static std::vector<Received> log;
        return log;
    }
    // Lets a test answer a message itself instead of DefWindowProcA.
    static std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)>& intercept() {
        static std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)> hook;
        return hook;
    }
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        received().push_back({window, message, wParam, lParam});
        if (intercept()) {
            if (auto answer = intercept()(window, message, wParam, lParam)) return *answer;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }

    static ATOM Register(const char* name = kClass) {
        WNDCLASSA wc{};
        wc.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.lpszClassName = name;
        return RegisterClassA(&wc);
    }

    // Registers the class if needed and makes a hidden top-level window.
    static HWND CreateMain(int width = 320, int height = 240, DWORD style = WS_OVERLAPPEDWINDOW) {
        Register();
        return CreateWindowExA(WS_EX_APPWINDOW, kClass, "Test", style, 0, 0, width, height, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    }

    static HWND AddButton(HWND parent, int id, int x, int y, int width, int height, bool visible = true) {
        DWORD style = WS_CHILD | (visible ? WS_VISIBLE : 0);
        return CreateWindowExA(0, "BUTTON", "Go", style, x, y, width, height, parent,
                               reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(id)), GetModuleHandleA(nullptr),
                               nullptr);
    }

    static PIXELFORMATDESCRIPTOR RgbaRequest() {
        PIXELFORMATDESCRIPTOR pfd{};
        pfd.nSize = sizeof(pfd);
        pfd.nVersion = 1;
        pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
        pfd.iPixelType = PFD_TYPE_RGBA;
        pfd.cColorBits = 32;
        pfd.cDepthBits = 16;
        pfd.iLayerType = PFD_MAIN_PLANE;
        return pfd;
    }

    // Pixel format, context, made current: what the program does before its first frame.
    static HGLRC StartGl(HWND window) {
        HDC dc = GetDC(window);
        PIXELFORMATDESCRIPTOR pfd = RgbaRequest();
        int format = ChoosePixelFormat(dc, &pfd);
        if (format == 0 || !SetPixelFormat(dc, format, &pfd)) return nullptr;
        HGLRC context = wglCreateContext(dc);
        if (context == nullptr || !wglMakeCurrent(dc, context)) return nullptr;
        return context;
    }

    // Takes every queued message and dispatches it, as the program's loop does.
    static void Pump() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) break;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }

    static std::vector<UINT> MessagesTo(HWND window) {
        std::vector<UINT> ids;
        for (const Received& r : received()) {
            if (r.window == window) ids.push_back(r.message);
        }
        return ids;
    }

    static std::vector<Received> Only(UINT message) {
        std::vector<Received> found;
        for (const Received& r : received()) {
            if (r.message == message) found.push_back(r);
        }
        return found;
    }
};

}  // namespace platform_test
