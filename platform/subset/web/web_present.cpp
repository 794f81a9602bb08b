// GL of the page: one WebGL 1 context per window on the window's canvas, the GL 1.1 layer
// (gl/) set up in it, and presenting: the push buttons handed to the page, then the frame handed
// to the browser, which shows it and comes back at its next animation frame, so the show runs
// at the display's refresh rate. With ?frame=N the frames up to N are drawn without waiting and
// frame N is held on the page.
//
// A WebGL context can be taken away by the browser at any time (a driver reset, a tablet
// reclaiming a page's memory). The page keeps it restorable and tells the program; the show then
// draws nothing, as a minimised window, until the context is given back, when the GL layer
// uploads every picture again and draws the last frame again, and the show goes on where it was.
// A context not given back within a few seconds is replaced, canvas and all. Where no context can
// be had, the window's opening fails, or the show ends, with the box of a context that cannot be
// made.
#include <emscripten.h>

#include <cstdio>
#include <string>

#include "platform/subset/web/gl/gl11.h"
#include "platform/subset/web/web_backend.h"

namespace platform::web {

namespace {

// An unpaced run gives the browser its turn this often, so the page stays responsive.
constexpr double kUnpacedSliceMs = 100;

// clang-format off
EM_JS(int, web_hold_frame, (), { return showcasePage.holdFrame(); });
EM_ASYNC_JS(void, web_next_animation_frame, (), {
    await new Promise(resolve => requestAnimationFrame(resolve));
    showcasePage.figures.resumed = performance.now();
});
EM_ASYNC_JS(int, web_frame_held, (int frame, int shown), { return await showcasePage.frameHeld(frame, shown != 0); });
EM_JS(void, web_frame_shown, (int number, int frame), { showcasePage.frameShown(number, frame); });
EM_JS(void, web_set_buttons, (const char* list), { showcasePage.setButtons(UTF8ToString(list)); });
EM_JS(int, web_next_context_event, (int* canvas), {
    const event = showcasePage.nextContextEvent();
    if (!event) return 0;
    HEAP32[canvas >> 2] = event[1];
    return event[0];
});
EM_JS(void, web_replace_canvas, (int number), { showcasePage.replaceCanvas(number); });
EM_JS(void, web_context_back, (), { showcasePage.contextBack(); });
EM_JS(void, web_gl_failed, (int lost), { showcasePage.glFailed(lost ? 'lost' : 'none'); });
// clang-format on

// What the page heard of a canvas's context; the numbers are the page's (kContextEvent).
enum ContextEvent { kLost = 1, kRestored = 2, kReplace = 3 };

// The status of a show whose context could not be made again, as of a window that could not
// open; the box is the one that window shows.
constexpr int kContextFailedStatus = 1;

// A WebGL 1 context without multisampling or alpha, as the desktop's window has neither, on the
// window's canvas.
bool NewContext(Window& window) {
    EmscriptenWebGLContextAttributes attributes;
    emscripten_webgl_init_context_attributes(&attributes);
    attributes.alpha = false;
    attributes.depth = true;
    attributes.stencil = false;
    attributes.antialias = false;
    attributes.premultipliedAlpha = false;
    attributes.preserveDrawingBuffer = false;
    attributes.majorVersion = 1;
    attributes.minorVersion = 0;
    const std::string selector = "#view" + std::to_string(window.canvas);
    window.context = emscripten_webgl_create_context(selector.c_str(), &attributes);
    if (window.context > 0) return true;
    std::fprintf(stderr, "showcase: cannot create a WebGL context (%d)\n", static_cast<int>(window.context));
    window.context = 0;
    return false;
}

// The window's context current again after the browser gave it back or a new one was made: the
// layer makes its objects and the last frame again.
bool Revive(Window& window) {
    Backend& state = State();
    if (emscripten_webgl_make_context_current(window.context) != EMSCRIPTEN_RESULT_SUCCESS) return false;
    if (!gl11::Restore()) return false;
    state.current = &window;
    window.lost = false;
    web_context_back();
    return true;
}

void AppendEscaped(std::string& out, const std::string& text) {
    for (const char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        if (static_cast<unsigned char>(c) < 0x20) continue;
        out += c;
    }
}

// The push buttons of the window as JSON: id, label (UTF-8), x, y, width, height.
std::string ButtonList(const WindowRecord& record) {
    std::string list = "[";
    for (const WindowRecord* button : core::DrawableButtons(record.handle)) {
        if (list.size() > 1) list += ',';
        list += "{\"id\":" + std::to_string(button->controlId) + ",\"label\":\"";
        AppendEscaped(list, core::Cp1251ToUtf8(button->text));
        list += "\",\"x\":" + std::to_string(button->x) + ",\"y\":" + std::to_string(button->y) +
                ",\"width\":" + std::to_string(button->width) + ",\"height\":" + std::to_string(button->height) + '}';
    }
    return list + ']';
}

// After a frame: wait for the browser's next animation frame, or run on unpaced up to the frame
// to hold, and hold it until the page asks for more frames.
void HandOver(Backend& state) {
    if (state.holdAt == 0) {
        web_next_animation_frame();
        return;
    }
    if (state.frames < state.holdAt) {
        const double now = emscripten_get_now();
        if (now - state.lastYield >= kUnpacedSliceMs) {
            emscripten_sleep(0);
            state.lastYield = emscripten_get_now();
        }
        return;
    }
    // Waits while held; a context lost meanwhile wakes it (-1), and the frame is held again once
    // the context is back and the frame drawn again.
    int more = -1;
    while (more < 0) {
        const Window* window = state.window;
        more = web_frame_held(state.frames, window != nullptr && !window->lost ? 1 : 0);
        if (more >= 0) break;
        CheckContext();
        if (state.contextFailed) more = 0;
    }
    state.holdAt = more > 0 ? state.frames + more : 0;
    state.lastYield = emscripten_get_now();
}

}  // namespace

void CheckContext() {
    Backend& state = State();
    int canvas = 0;
    while (const int event = web_next_context_event(&canvas)) {
        Window* window = state.window;
        if (window == nullptr || window->canvas != canvas || state.contextFailed) continue;
        if (event == kLost && !window->lost && window->context) {
            // The layer keeps its state and goes on taking calls; its objects are gone.
            window->lost = true;
            if (state.current == window) gl11::ForgetObjects();
        } else if (event == kRestored && window->lost && window->context) {
            // Where the context refuses to be made again, it stays lost and is replaced in time.
            if (state.current == window) Revive(*window);
            else window->glReady = false, window->lost = false;
        } else if (event == kReplace && window->lost) {
            const bool wasCurrent = state.current == window;
            if (wasCurrent) ReleaseContext();
            if (window->context) emscripten_webgl_destroy_context(window->context);
            window->context = 0;
            web_replace_canvas(window->canvas);
            if (!NewContext(*window) || (wasCurrent && !Revive(*window))) state.contextFailed = true;
            else if (!wasCurrent) window->glReady = false, window->lost = false;
        }
    }
    if (!state.contextFailed || state.failureReported) return;
    // Reported here, in the program's turn: the box of a context that cannot be made, then the
    // show ends.
    state.failureReported = true;
    web_gl_failed(1);
    backend::ShowMessageBox(nullptr, "Can't Create A GL Rendering Context.", "ERROR", MB_OK | MB_ICONEXCLAMATION);
    PostQuitMessage(kContextFailedStatus);
}

}  // namespace platform::web

namespace platform::backend {

using namespace platform::web;

// WebGL is always there once the page runs; the core checks the request and owns the format.
bool GlAvailable() { return true; }

bool SetPixelFormat(WindowRecord& record, const PIXELFORMATDESCRIPTOR&) {
    return record.native != nullptr;
}

// Where the page gets no WebGL context, the page hears why the window could not open.
void* CreateContext(WindowRecord& record) {
    auto* window = static_cast<Window*>(record.native);
    if (window == nullptr || window->context) return nullptr;
    if (!NewContext(*window)) {
        web_gl_failed(0);
        return nullptr;
    }
    return window;
}

bool MakeCurrent(WindowRecord* record, void* context) {
    Backend& state = State();
    if (record == nullptr && context == nullptr) {
        ReleaseContext();
        return true;
    }
    auto* window = static_cast<Window*>(context);
    if (record == nullptr || window == nullptr || record->native != window || !window->context) return false;
    if (emscripten_webgl_make_context_current(window->context) != EMSCRIPTEN_RESULT_SUCCESS) return false;
    if (!window->glReady) {
        if (!gl11::Initialise()) return false;
        window->glReady = true;
    } else {
        gl11::SetCurrent(true);
    }
    state.current = window;
    if (state.frames == 0 && state.holdAt == 0) state.holdAt = web_hold_frame();
    return true;
}

bool DeleteContext(void* context) {
    Backend& state = State();
    auto* window = static_cast<Window*>(context);
    if (window == nullptr) return false;
    if (!window->context) return window->lost;  // lost for good: nothing left to delete
    if (state.current == window) {
        gl11::ForgetObjects();
        ReleaseContext();
    }
    emscripten_webgl_destroy_context(window->context);
    window->context = 0;
    window->glReady = false;
    return true;
}

bool Present(WindowRecord& record) {
    Backend& state = State();
    auto* window = static_cast<Window*>(record.native);
    if (window == nullptr || state.current != window) return false;
    gl11::EndFrame();
    if (window->lost) return true;  // nothing reached the screen: not a frame
    std::string buttons = ButtonList(record);
    if (buttons != window->buttons) {
        web_set_buttons(buttons.c_str());
        window->buttons = std::move(buttons);
    }
    ++state.frames;
    web_frame_shown(window->canvas, state.frames);
    HandOver(state);
    return true;
}

}  // namespace platform::backend
