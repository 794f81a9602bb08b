// The one record of the headless backend's state, shared by the backend's own files only.
// The EGL display lives as long as the process; everything else is one test's session and is
// replaced whole by headless::Reset().
#pragma once

#include <EGL/egl.h>

#include <array>
#include <deque>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/subset/headless/headless.h"

namespace headless::detail {

using platform::backend::DisplayMode;

// A top-level window: its pbuffer exists once a pixel format was set.
struct NativeWindow {
    HWND handle = nullptr;
    bool fullScreen = false;
    EGLSurface surface = EGL_NO_SURFACE;
    int surfaceWidth = 0;
    int surfaceHeight = 0;
};

// Calls number first to last (1-based, per kind) are refused.
struct FailureRule {
    platform::Call call;
    long first;
    long last;
};

struct Egl {
    bool tried = false;  // initialisation is attempted once per process
    EGLDisplay display = EGL_NO_DISPLAY;
    EGLConfig config = nullptr;
};

struct Session {
    DisplayMode desktop{800, 600, 32};
    DisplayMode current{800, 600, 32};
    std::vector<DisplayMode> modes;
    bool modeChanged = false;

    std::vector<CallEntry> calls;
    std::array<long, static_cast<std::size_t>(platform::Call::Count)> callCounts{};
    std::vector<FailureRule> failures;

    std::vector<Box> boxes;
    std::deque<int> answers;
    int scriptErrors = 0;
    std::FILE* boxEcho = nullptr;
    std::string boxEchoPrefix;

    std::deque<std::function<void()>> pending;  // injected input not yet turned into messages
    std::set<WPARAM> keysDown;
    bool pointerHeld = false;

    std::function<void(int)> onFrame;
    std::function<void(int)> onIdle;
    int frames = 0;
    int idles = 0;
    DWORD ticks = 0;  // GetTickCount
    std::vector<platform::backend::Monitor> extraMonitors;  // beside the primary, the desktop

    bool buttonsDrawn = true;
    bool cursorVisible = true;
    bool screenSaverAllowed = true;

    std::vector<std::unique_ptr<NativeWindow>> windows;  // creation order
    std::set<EGLContext> contexts;
    HWND currentWindow = nullptr;
    EGLContext currentContext = EGL_NO_CONTEXT;
};

struct State {
    Egl egl;
    Session session;
};

State& Get();
inline Session& Now() { return Get().session; }

NativeWindow* FindNative(HWND window);
// The newest live top-level window, or null.
HWND Target();

// GL side (gl.cpp).
// Gives the window's drawable a new size, keeping the current context on it.
void ResizeDrawable(NativeWindow& window, int width, int height);
void DestroyDrawable(NativeWindow& window);
// Releases the current context and destroys every context and drawable of the session.
void ReleaseGl();

}  // namespace headless::detail
