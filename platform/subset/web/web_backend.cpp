// The web backend's side of the contract apart from GL and boxes: the screen is the page's
// viewport, the one top-level window is a canvas filling it, and F1's mode change becomes the
// browser's full screen, with the mode's picture scaled to fill it as a monitor would.
#include "platform/subset/web/web_backend.h"

#include <emscripten.h>

#include <emscripten/heap.h>
#include <malloc.h>

#include <algorithm>
#include <cmath>

#include "platform/subset/web/gl/gl11.h"

namespace platform::web {

namespace {

// clang-format off
EM_JS(int, web_viewport_width, (), { return showcasePage.viewport().width; });
EM_JS(int, web_viewport_height, (), { return showcasePage.viewport().height; });
EM_JS(void, web_create_canvas, (int number, const char* title), {
    showcasePage.createCanvas(number, UTF8ToString(title));
});
EM_JS(void, web_retire_canvas, (int number), { showcasePage.retireCanvas(number); });
EM_JS(void, web_watch_main, (), {
    // Called by the page once callMain has come back: main is then either done (and exit has
    // told the page) or waiting, and whenDone resolves when it returns.
    Module.watchMain = () => {
        if (Asyncify.currData)
            Asyncify.whenDone().then(status => showcasePage.ended(status), error => showcasePage.stopped(String(error)));
    };
});
EM_JS(void, web_layout, (int number, int width, int height, int modeChanged), {
    showcasePage.layout(number, width, height, modeChanged != 0);
});
EM_ASYNC_JS(int, web_request_full_screen, (), { return await showcasePage.requestFullScreen(); });
EM_JS(void, web_leave_full_screen, (), { showcasePage.leaveFullScreen(); });
EM_JS(void, web_set_cursor_visible, (int visible), { showcasePage.setCursorVisible(visible != 0); });
EM_JS(void, web_keep_screen_on, (int on), { showcasePage.keepScreenOn(on != 0); });
// clang-format on

}  // namespace

Backend& State() {
    static Backend backend;
    return backend;
}

DisplayMode Viewport() { return {web_viewport_width(), web_viewport_height(), 32}; }

void WatchMain() { web_watch_main(); }

void ReleaseContext() {
    emscripten_webgl_make_context_current(0);
    gl11::SetCurrent(false);
    State().current = nullptr;
}

void SyncMinimized() {
    Backend& state = State();
    if (state.window == nullptr) return;
    WindowRecord* record = core::Find(state.window->handle);
    if (record == nullptr) return;
    const bool wanted = state.hidden || state.window->lost;
    if (wanted == record->minimized) return;
    if (wanted) core::ReportMinimized(record->handle);
    else core::ReportRestored(record->handle, record->width, record->height);
}

void Layout(const WindowRecord& record) {
    const Window* window = static_cast<const Window*>(record.native);
    if (window == nullptr) return;
    web_layout(window->canvas, record.width, record.height, State().modeChanged ? 1 : 0);
}

}  // namespace platform::web

// The program's heap and the bytes its allocator has in use, for the page's memory figures.
extern "C" EMSCRIPTEN_KEEPALIVE double web_heap_bytes() { return static_cast<double>(emscripten_get_heap_size()); }
extern "C" EMSCRIPTEN_KEEPALIVE double web_heap_in_use() { return static_cast<double>(mallinfo().uordblks); }

namespace platform::backend {

using namespace platform::web;

bool Allow(Call) { return true; }

DisplayMode CurrentMode() { return State().modeChanged ? State().mode : Viewport(); }

// The page cannot change the display's mode; it asks for the browser's full screen instead and
// shows the mode's picture scaled to fill it. A refusal (no user gesture, an <iframe> without
// allowfullscreen, a browser that has none) is a mode the display does not have.
LONG ChangeMode(const DisplayMode& mode) {
    if (mode.width <= 0 || mode.height <= 0) return DISP_CHANGE_BADMODE;
    if (!web_request_full_screen()) return DISP_CHANGE_BADMODE;
    State().modeChanged = true;
    State().mode = mode;
    return DISP_CHANGE_SUCCESSFUL;
}

void RestoreMode() {
    if (!State().modeChanged) return;
    State().modeChanged = false;
    web_leave_full_screen();
}

std::vector<Monitor> Monitors() {
    const DisplayMode mode = CurrentMode();
    Monitor page{RECT{0, 0, mode.width, mode.height}, RECT{0, 0, mode.width, mode.height}, true, "page"};
    return {page};
}

DWORD Ticks() { return static_cast<DWORD>(static_cast<long long>(emscripten_get_now())); }

// The page shows one window at a time; a second one would replace the first on screen.
bool CreateNative(WindowRecord& record) {
    WatchMain();
    Backend& state = State();
    auto* window = new Window;
    window->handle = record.handle;
    window->canvas = state.nextCanvas++;
    record.native = window;
    state.window = window;
    if (state.current == nullptr) ReleaseContext();
    web_create_canvas(window->canvas, core::Cp1251ToUtf8(record.text).c_str());
    Layout(record);
    web_keep_screen_on(1);
    return true;
}

// The canvas stays on the page, its last frame with it, until the next window shows a frame:
// after the show it is the picture the page ends on.
void DestroyNative(WindowRecord& record) {
    Backend& state = State();
    auto* window = static_cast<Window*>(record.native);
    if (window == nullptr) return;
    if (state.current == window) ReleaseContext();
    if (window->context) emscripten_webgl_destroy_context(window->context);
    web_retire_canvas(window->canvas);
    if (state.window == window) state.window = nullptr;
    delete window;
    record.native = nullptr;
    if (state.window == nullptr) web_keep_screen_on(0);
}

// Visibility lives in the core's record; the canvas is on the page from its creation.
void ShowNative(WindowRecord&, int) {}
void RaiseNative(WindowRecord&) {}

void SetCursorVisible(bool visible) { web_set_cursor_visible(visible ? 1 : 0); }

// The screen-on request of the page (a wake lock) stands while there is a window, unless the
// program allows the screen saver.
void SetScreenSaverAllowed(bool allowed) { web_keep_screen_on(!allowed && State().window != nullptr ? 1 : 0); }

}  // namespace platform::backend
