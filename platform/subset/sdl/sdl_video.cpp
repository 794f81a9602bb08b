// SDL video: lazy start-up, display modes, top-level windows, cursor and screen saver.
// A window is created hidden with SDL_WINDOW_OPENGL; its GL visual is fixed at creation on
// X11, so SetPixelFormat may replace the still hidden SDL window (see sdl_gl.cpp).
#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>

#include "platform/subset/sdl/sdl_backend.h"

namespace platform::sdl {

namespace {

// SDL's drivers that draw nowhere anyone can see; the program uses them only when the user
// names one in SDL_VIDEODRIVER.
constexpr const char* kInvisibleDrivers[] = {"offscreen", "dummy", "evdev"};

// Every compiled-in driver except the invisible ones, in SDL's order of preference.
std::string VisibleDrivers() {
    std::string list;
    for (int i = 0; i < SDL_GetNumVideoDrivers(); ++i) {
        const std::string name = SDL_GetVideoDriver(i);
        if (std::ranges::find(kInvisibleDrivers, name) != std::end(kInvisibleDrivers)) continue;
        list += (list.empty() ? "" : ",") + name;
    }
    return list;
}

// Exit status of a program whose display went away.
constexpr int kLostDisplayStatus = 1;

// Xlib calls this when the connection to the X server breaks, from wherever the program was in
// Xlib, SDL or the GL driver. Its own default would exit() from there, and the exit handlers
// would then talk to the dead display and crash; so say so in one line and leave at once.
int LeaveOnLostDisplay(Display*) {
    static const char kMessage[] = "showcase: lost the connection to the display\n";
    [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, kMessage, sizeof kMessage - 1);
    _exit(kLostDisplayStatus);
}

RECT ToRect(const SDL_Rect& r) { return RECT{r.x, r.y, r.x + r.w, r.y + r.h}; }

// On X11 the monitors are the server's RandR monitors, the ones desktops and window managers
// place panels and full-screen windows on; an output the server reports without a connected
// sink still counts there, as it does for them. Empty when the server has no RandR 1.5.
std::vector<backend::Monitor> RandrMonitors() {
    std::vector<backend::Monitor> monitors;
    Display* display = XOpenDisplay(nullptr);
    if (!display) return monitors;
    int event = 0, error = 0, major = 0, minor = 0;
    if (XRRQueryExtension(display, &event, &error) && XRRQueryVersion(display, &major, &minor) &&
        (major > 1 || (major == 1 && minor >= 5))) {
        int count = 0;
        XRRMonitorInfo* found = XRRGetMonitors(display, DefaultRootWindow(display), True, &count);
        for (int i = 0; found && i < count; ++i) {
            backend::Monitor monitor;
            monitor.bounds = RECT{found[i].x, found[i].y, found[i].x + found[i].width, found[i].y + found[i].height};
            monitor.work = monitor.bounds;
            monitor.primary = found[i].primary != 0;
            if (char* name = XGetAtomName(display, found[i].name)) {
                monitor.name = name;
                XFree(name);
            }
            monitors.push_back(monitor);
        }
        if (found) XRRFreeMonitors(found);
    }
    XCloseDisplay(display);
    return monitors;
}

std::vector<backend::Monitor> SdlDisplays() {
    std::vector<backend::Monitor> monitors;
    for (int i = 0; i < SDL_GetNumVideoDisplays(); ++i) {
        SDL_Rect bounds{}, usable{};
        if (SDL_GetDisplayBounds(i, &bounds) != 0) continue;
        if (SDL_GetDisplayUsableBounds(i, &usable) != 0) usable = bounds;
        const char* name = SDL_GetDisplayName(i);
        monitors.push_back({ToRect(bounds), ToRect(usable), i == 0, name ? name : ""});
    }
    return monitors;
}

}  // namespace

Backend& State() {
    static Backend backend;
    return backend;
}

bool EnsureVideo() {
    Backend& state = State();
    if (state.video != VideoState::Untried) return state.video == VideoState::Ready;
    // One window per program: closing it is a close request, never a quit of its own.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    // A click that activates the window still reaches the button under it.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    // The program decides about the screen saver (SC_SCREENSAVE), not SDL's start-up.
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    // Signals are the core's: they become close requests of the windows (core/signals.cpp).
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    const char* requested = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    if (!requested || !*requested) SDL_SetHint(SDL_HINT_VIDEODRIVER, VisibleDrivers().c_str());
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "showcase: no display available: %s\n", SDL_GetError());
        state.video = VideoState::Unavailable;
        return false;
    }
    state.video = VideoState::Ready;
    // SDL loads the same libX11 the program links, so this handler is the one its calls see.
    if (std::strcmp(SDL_GetCurrentVideoDriver(), "x11") == 0) XSetIOErrorHandler(LeaveOnLostDisplay);
    // At exit SDL closes what is still open and gives the display its desktop mode back.
    std::atexit(SDL_Quit);
    SDL_ShowCursor(state.cursorVisible ? SDL_ENABLE : SDL_DISABLE);
    return true;
}

Window* WindowOf(const WindowRecord& record) { return static_cast<Window*>(record.native); }

Window* WindowById(Uint32 id) {
    for (const auto& window : State().windows)
        if (window->id == id && window->sdl) return window.get();
    return nullptr;
}

HWND FallbackWindow() {
    if (HWND focus = GetFocus()) return focus;
    const std::vector<WindowRecord*> windows = core::TopLevelWindows();
    return windows.empty() ? nullptr : windows.front()->handle;
}

bool OpenSdlWindow(Window& window, const WindowRecord& record) {
    const GlAttributes& a = window.attributes;
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, a.redBits);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, a.greenBits);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, a.blueBits);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, a.alphaBits);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, a.depthBits);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, a.stencilBits);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_RED_SIZE, a.accumRedBits);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_GREEN_SIZE, a.accumGreenBits);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_BLUE_SIZE, a.accumBlueBits);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_ALPHA_SIZE, a.accumAlphaBits);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, a.doubleBuffer ? 1 : 0);
    SDL_GL_SetAttribute(SDL_GL_STEREO, a.stereo ? 1 : 0);

    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN;
    if (window.fullscreen)
        flags |= SDL_WINDOW_FULLSCREEN;
    else if (record.style & WS_POPUP)
        flags |= SDL_WINDOW_BORDERLESS;
    if (record.exStyle & WS_EX_TOPMOST) flags |= SDL_WINDOW_ALWAYS_ON_TOP;
    else if (record.style & WS_THICKFRAME)
        flags |= SDL_WINDOW_RESIZABLE;
    const std::string title = core::Cp1251ToUtf8(record.text);
    window.sdl = SDL_CreateWindow(title.c_str(), record.x, record.y, std::max(record.width, 1),
                                  std::max(record.height, 1), flags);
    if (!window.sdl) {
        std::fprintf(stderr, "showcase: cannot create a window: %s\n", SDL_GetError());
        return false;
    }
    if (window.fullscreen && SDL_SetWindowDisplayMode(window.sdl, &window.fullscreenMode) != 0) {
        std::fprintf(stderr, "showcase: cannot use the full-screen mode: %s\n", SDL_GetError());
        SDL_DestroyWindow(window.sdl);
        window.sdl = nullptr;
        return false;
    }
    window.id = SDL_GetWindowID(window.sdl);
    return true;
}

void ApplyScreenSaver() {
    if (State().video != VideoState::Ready) return;
    if (State().screenSaverAllowed)
        SDL_EnableScreenSaver();
    else
        SDL_DisableScreenSaver();
}

}  // namespace platform::sdl

namespace platform::backend {

using namespace platform::sdl;

// The real program never refuses a call.
bool Allow(Call) { return true; }

// The first monitor is the primary one when none is marked.
std::vector<Monitor> Monitors() {
    if (!EnsureVideo()) return {};
    std::vector<Monitor> monitors;
    if (std::strcmp(SDL_GetCurrentVideoDriver(), "x11") == 0) monitors = RandrMonitors();
    if (monitors.empty()) monitors = SdlDisplays();
    if (!monitors.empty() && std::ranges::none_of(monitors, &Monitor::primary)) monitors.front().primary = true;
    return monitors;
}

DWORD Ticks() { return static_cast<DWORD>(SDL_GetTicks64()); }

// The chosen full-screen mode once ChangeMode succeeded, the desktop mode otherwise; 0 x 0
// when there is no display.
DisplayMode CurrentMode() {
    Backend& state = State();
    if (state.modeChanged)
        return {state.chosenMode.w, state.chosenMode.h, int(SDL_BITSPERPIXEL(state.chosenMode.format))};
    SDL_DisplayMode mode{};
    if (!EnsureVideo() || SDL_GetDesktopDisplayMode(0, &mode) != 0) return {};
    return {mode.w, mode.h, int(SDL_BITSPERPIXEL(mode.format))};
}

// Only a mode the display lists with exactly this size and depth; the switch itself happens
// when the full-screen window appears (SDL changes the mode for a visible full-screen window).
LONG ChangeMode(const DisplayMode& wanted) {
    if (!EnsureVideo()) return DISP_CHANGE_FAILED;
    Backend& state = State();
    const int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode mode{};
        if (SDL_GetDisplayMode(0, i, &mode) != 0) continue;
        if (mode.w == wanted.width && mode.h == wanted.height &&
            int(SDL_BITSPERPIXEL(mode.format)) == wanted.bitsPerPixel) {
            state.chosenMode = mode;
            state.modeChanged = true;
            return DISP_CHANGE_SUCCESSFUL;
        }
    }
    return DISP_CHANGE_BADMODE;
}

// Full-screen windows leave full screen, which gives the display its desktop mode back.
void RestoreMode() {
    Backend& state = State();
    if (!state.modeChanged) return;
    state.modeChanged = false;
    for (const auto& window : state.windows) {
        if (window->fullscreen && window->sdl) SDL_SetWindowFullscreen(window->sdl, 0);
        window->fullscreen = false;
    }
}

// A hidden window: full screen in the chosen mode for a popup after ChangeMode, otherwise
// decorated (borderless for a popup) and resizable when its style has a sizing frame. The screen saver stays off while the program has a window.
bool CreateNative(WindowRecord& record) {
    if (!EnsureVideo()) return false;
    Backend& state = State();
    auto window = std::make_unique<Window>();
    window->handle = record.handle;
    window->fullscreen = (record.style & WS_POPUP) && state.modeChanged;
    window->fullscreenMode = state.chosenMode;
    if (!OpenSdlWindow(*window, record)) return false;
    record.native = window.get();
    state.windows.push_back(std::move(window));
    if (state.windows.size() == 1) {
        state.screenSaverAllowed = false;
        state.nextScreenSaverQuestion = SDL_GetTicks64() + kScreenSaverQuestionMs;
        ApplyScreenSaver();
    }
    return true;
}

void DestroyNative(WindowRecord& record) {
    Backend& state = State();
    Window* window = WindowOf(record);
    if (!window) return;
    if (state.currentWindow == window) {
        SDL_GL_MakeCurrent(window->sdl, nullptr);
        state.current = nullptr;
        state.currentWindow = nullptr;
    }
    for (const auto& context : state.contexts)
        if (context->window == window) context->window = nullptr;
    if (window->sdl) SDL_DestroyWindow(window->sdl);
    record.native = nullptr;
    std::erase_if(state.windows, [window](const auto& held) { return held.get() == window; });
    if (state.windows.empty()) SetScreenSaverAllowed(true);
}

void ShowNative(WindowRecord& record, int command) {
    Window* window = WindowOf(record);
    if (!window || !window->sdl) return;
    switch (command) {
        case SW_HIDE:
            SDL_HideWindow(window->sdl);
            break;
        case SW_MINIMIZE:
        case SW_SHOWMINIMIZED:
            SDL_ShowWindow(window->sdl);
            SDL_MinimizeWindow(window->sdl);
            break;
        case SW_RESTORE:
            SDL_ShowWindow(window->sdl);
            SDL_RestoreWindow(window->sdl);
            break;
        default:
            SDL_ShowWindow(window->sdl);
            break;
    }
}

void RaiseNative(WindowRecord& record) {
    Window* window = WindowOf(record);
    if (window && window->sdl) SDL_RaiseWindow(window->sdl);
}

void SetCursorVisible(bool visible) {
    Backend& state = State();
    state.cursorVisible = visible;
    if (state.video == VideoState::Ready) SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

void SetScreenSaverAllowed(bool allowed) {
    State().screenSaverAllowed = allowed;
    ApplyScreenSaver();
}

}  // namespace platform::backend
