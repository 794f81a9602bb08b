// GL drawables and contexts of SDL windows: the window's visual for the pixel format set,
// contexts handed out as HGLRC, and presenting (button overlay, swap, pacing to the display's refresh rate).
#include <cstdio>
#include <iterator>

#include "platform/subset/sdl/sdl_backend.h"
#include "platform/subset/sdl/sdl_notify.h"

namespace platform::sdl {
namespace {

// Channel sizes for a bare colour depth; SDL treats them as minimums, like a request.
struct ChannelBits {
    int colourBits, red, green, blue;
};
// up to colour bits  red green blue
constexpr ChannelBits kChannelSplits[] = {
    {8, 3, 3, 2},
    {16, 5, 6, 5},
    {32, 8, 8, 8},
};

GlAttributes AttributesFor(const PIXELFORMATDESCRIPTOR& pfd) {
    const ChannelBits* split = &kChannelSplits[std::size(kChannelSplits) - 1];
    for (const ChannelBits& candidate : kChannelSplits) {
        if (pfd.cColorBits <= candidate.colourBits) {
            split = &candidate;
            break;
        }
    }
    GlAttributes a;
    a.redBits = pfd.cRedBits ? pfd.cRedBits : split->red;
    a.greenBits = pfd.cGreenBits ? pfd.cGreenBits : split->green;
    a.blueBits = pfd.cBlueBits ? pfd.cBlueBits : split->blue;
    a.alphaBits = pfd.cAlphaBits;
    a.depthBits = pfd.cDepthBits;
    a.stencilBits = pfd.cStencilBits;
    a.accumRedBits = pfd.cAccumRedBits ? pfd.cAccumRedBits : pfd.cAccumBits / 4;
    a.accumGreenBits = pfd.cAccumGreenBits ? pfd.cAccumGreenBits : pfd.cAccumBits / 4;
    a.accumBlueBits = pfd.cAccumBlueBits ? pfd.cAccumBlueBits : pfd.cAccumBits / 4;
    a.accumAlphaBits = pfd.cAccumAlphaBits ? pfd.cAccumAlphaBits : pfd.cAccumBits / 4;
    a.doubleBuffer = (pfd.dwFlags & PFD_DOUBLEBUFFER) != 0;
    a.stereo = (pfd.dwFlags & PFD_STEREO) != 0;
    return a;
}

Context* Known(void* handle) {
    for (const auto& context : State().contexts)
        if (context.get() == handle) return context.get();
    return nullptr;
}

// The refresh rate of the window's display; 0 when SDL cannot tell.
int RefreshHz(SDL_Window* sdl) {
    SDL_DisplayMode mode{};
    const int display = SDL_GetWindowDisplayIndex(sdl);
    return display >= 0 && SDL_GetCurrentDisplayMode(display, &mode) == 0 ? mode.refresh_rate : 0;
}

}  // namespace
}  // namespace platform::sdl

namespace platform::backend {

using namespace platform::sdl;

// A window exists, so SDL's video and GL are there.
bool GlAvailable() { return true; }

// Takes the request's buffers for the window's visual. The visual is chosen when an X11 window
// is made, so a still hidden window whose visual differs is made again with the new one.
bool SetPixelFormat(WindowRecord& record, const PIXELFORMATDESCRIPTOR& request) {
    Window* window = WindowOf(record);
    if (!window) return false;
    const GlAttributes wanted = AttributesFor(request);
    if (wanted == window->attributes) return true;
    if (SDL_GetWindowFlags(window->sdl) & SDL_WINDOW_SHOWN) return false;
    for (const auto& context : State().contexts)
        if (context->window == window) return false;
    const GlAttributes previous = window->attributes;
    SDL_Window* old = window->sdl;
    window->attributes = wanted;
    if (!OpenSdlWindow(*window, record)) {
        window->attributes = previous;
        window->sdl = old;
        return false;
    }
    SDL_DestroyWindow(old);
    return true;
}

// A context for the window's visual. SDL makes a new context current; the caller's current
// context (or none) is put back, as a new context is not current until MakeCurrent.
void* CreateContext(WindowRecord& record) {
    Window* window = WindowOf(record);
    if (!window || !window->sdl) return nullptr;
    Backend& state = State();
    SDL_GLContext gl = SDL_GL_CreateContext(window->sdl);
    if (!gl) {
        std::fprintf(stderr, "showcase: cannot create a GL context: %s\n", SDL_GetError());
        return nullptr;
    }
    if (state.current && state.currentWindow)
        SDL_GL_MakeCurrent(state.currentWindow->sdl, state.current->gl);
    else
        SDL_GL_MakeCurrent(window->sdl, nullptr);
    auto context = std::make_unique<Context>();
    context->gl = gl;
    context->window = window;
    state.contexts.push_back(std::move(context));
    return state.contexts.back().get();
}

// Binds the context to the window (vsync on), or releases the current context for null, null.
bool MakeCurrent(WindowRecord* record, void* handle) {
    Backend& state = State();
    if (!record && !handle) {
        if (state.currentWindow) SDL_GL_MakeCurrent(state.currentWindow->sdl, nullptr);
        state.current = nullptr;
        state.currentWindow = nullptr;
        return true;
    }
    Context* context = Known(handle);
    Window* window = record ? WindowOf(*record) : nullptr;
    if (!context || !window || !window->sdl) return false;
    if (SDL_GL_MakeCurrent(window->sdl, context->gl) != 0) return false;
    state.current = context;
    state.currentWindow = window;
    window->pacer.Start(SDL_GL_SetSwapInterval(1) == 0);
    return true;
}

// Deleting a context frees the label textures made in it along with it.
bool DeleteContext(void* handle) {
    Backend& state = State();
    Context* context = Known(handle);
    if (!context) return false;
    if (state.current == context) {
        if (state.currentWindow) SDL_GL_MakeCurrent(state.currentWindow->sdl, nullptr);
        state.current = nullptr;
        state.currentWindow = nullptr;
    }
    SDL_GL_DeleteContext(context->gl);
    std::erase_if(state.contexts, [context](const auto& held) { return held.get() == context; });
    return true;
}

// The buttons go over the frame only when the window's own context is current, then the back
// buffer is shown.
bool Present(WindowRecord& record) {
    Window* window = WindowOf(record);
    if (!window || !window->sdl) return false;
    Backend& state = State();
    if (state.current && state.currentWindow == window) {
        int width = 0, height = 0;
        SDL_GL_GetDrawableSize(window->sdl, &width, &height);
        core::DrawButtons(core::DrawableButtons(record.handle), width, height, state.current->labels,
                          [](const std::string& utf8) { return State().font.Render(utf8); });
    }
    SDL_GL_SwapWindow(window->sdl);
    notify::FrameShown();
    window->pacer.AfterSwap(SDL_GetPerformanceFrequency(), RefreshHz(window->sdl), SDL_GetPerformanceCounter,
                            [](Uint64 ms) { SDL_Delay(static_cast<Uint32>(ms)); });
    return true;
}

}  // namespace platform::backend
