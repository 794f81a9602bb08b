// GL of the page: one WebGL 1 context per window on the window's canvas, the GL 1.1 layer
// (gl/) set up in it, and presenting: the push buttons handed to the page, then the frame handed
// to the browser, which shows it and comes back at its next animation frame, so the show runs
// at the display's refresh rate. With ?frame=N the frames up to N are drawn without waiting and
// frame N is held on the page.
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
EM_ASYNC_JS(int, web_frame_held, (int frame), { return await showcasePage.frameHeld(frame); });
EM_JS(void, web_frame_shown, (int number, int frame), { showcasePage.frameShown(number, frame); });
EM_JS(void, web_set_buttons, (const char* list), { showcasePage.setButtons(UTF8ToString(list)); });
// clang-format on

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
    const int more = web_frame_held(state.frames);  // waits while held
    state.holdAt = more > 0 ? state.frames + more : 0;
    state.lastYield = emscripten_get_now();
}

}  // namespace

}  // namespace platform::web

namespace platform::backend {

using namespace platform::web;

// WebGL is always there once the page runs; the core checks the request and owns the format.
bool GlAvailable() { return true; }

bool SetPixelFormat(WindowRecord& record, const PIXELFORMATDESCRIPTOR&) {
    return record.native != nullptr;
}

// A WebGL 1 context without multisampling or alpha, as the desktop's window has neither.
void* CreateContext(WindowRecord& record) {
    auto* window = static_cast<Window*>(record.native);
    if (window == nullptr || window->context) return nullptr;
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
    const std::string selector = "#view" + std::to_string(window->canvas);
    window->context = emscripten_webgl_create_context(selector.c_str(), &attributes);
    if (window->context <= 0) {
        std::fprintf(stderr, "showcase: cannot create a WebGL context (%d)\n", static_cast<int>(window->context));
        window->context = 0;
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
    }
    state.current = window;
    if (state.frames == 0 && state.holdAt == 0) state.holdAt = web_hold_frame();
    return true;
}

bool DeleteContext(void* context) {
    Backend& state = State();
    auto* window = static_cast<Window*>(context);
    if (window == nullptr || !window->context) return false;
    if (state.current == window) ReleaseContext();
    emscripten_webgl_destroy_context(window->context);
    window->context = 0;
    window->glReady = false;
    return true;
}

bool Present(WindowRecord& record) {
    Backend& state = State();
    auto* window = static_cast<Window*>(record.native);
    if (window == nullptr || state.current != window) return false;
    gl11::Flush();
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
