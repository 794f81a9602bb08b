// GL for the headless backend: Mesa's surfaceless EGL platform (no X server, software
// rendering where there is no GPU), a compatibility-profile context so fixed-function GL 1.1
// works, and one pbuffer per window as its drawable, made when the pixel format is set and
// kept at the window's client size. Presenting draws the push buttons (without labels: no text
// rasteriser here) and finishes the frame.
#include "platform/subset/button_overlay.h"
#include "platform/subset/headless/state.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cstdio>

namespace headless::detail {

namespace {

// Initialises the display once per process; false (said once on stderr) when EGL has no
// surfaceless platform or no config with an RGBA8 pbuffer, a depth buffer and desktop GL.
bool EnsureDisplay() {
    Egl& egl = Get().egl;
    if (egl.tried) return egl.config != nullptr;
    egl.tried = true;
    auto getPlatformDisplay =
        reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (getPlatformDisplay == nullptr) {
        std::fprintf(stderr, "headless: EGL has no eglGetPlatformDisplayEXT\n");
        return false;
    }
    EGLDisplay display = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (display == EGL_NO_DISPLAY || !eglInitialize(display, nullptr, nullptr)) {
        std::fprintf(stderr, "headless: no surfaceless EGL display (error 0x%x)\n", eglGetError());
        return false;
    }
    egl.display = display;
    for (EGLint depth : {24, 16}) {
        const EGLint wanted[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                                 EGL_RED_SIZE, 8, EGL_GREEN_SIZE, 8, EGL_BLUE_SIZE, 8, EGL_ALPHA_SIZE, 8,
                                 EGL_DEPTH_SIZE, depth, EGL_NONE};
        EGLConfig config = nullptr;
        EGLint found = 0;
        if (eglChooseConfig(display, wanted, &config, 1, &found) && found == 1) {
            egl.config = config;
            return true;
        }
    }
    std::fprintf(stderr, "headless: no RGBA8 pbuffer config with depth for desktop GL\n");
    return false;
}

EGLDisplay Display() { return Get().egl.display; }

bool MakeDrawable(NativeWindow& window, int width, int height) {
    const EGLint size[] = {EGL_WIDTH, std::max(width, 1), EGL_HEIGHT, std::max(height, 1), EGL_NONE};
    EGLSurface surface = eglCreatePbufferSurface(Display(), Get().egl.config, size);
    if (surface == EGL_NO_SURFACE) return false;
    window.surface = surface;
    window.surfaceWidth = size[1];
    window.surfaceHeight = size[3];
    return true;
}

void Release() {
    Session& s = Now();
    if (s.currentContext != EGL_NO_CONTEXT) eglMakeCurrent(Display(), EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    s.currentWindow = nullptr;
    s.currentContext = EGL_NO_CONTEXT;
}

}  // namespace

void ResizeDrawable(NativeWindow& window, int width, int height) {
    if (window.surface == EGL_NO_SURFACE || width <= 0 || height <= 0) return;
    if (window.surfaceWidth == width && window.surfaceHeight == height) return;
    EGLSurface old = window.surface;
    if (!MakeDrawable(window, width, height)) return;  // keeps drawing at the old size
    Session& s = Now();
    if (s.currentWindow == window.handle) {
        eglMakeCurrent(Display(), window.surface, window.surface, s.currentContext);
    }
    eglDestroySurface(Display(), old);
}

void DestroyDrawable(NativeWindow& window) {
    if (window.surface == EGL_NO_SURFACE) return;
    if (Now().currentWindow == window.handle) Release();
    eglDestroySurface(Display(), window.surface);
    window.surface = EGL_NO_SURFACE;
}

void ReleaseGl() {
    Session& s = Now();
    Release();
    for (EGLContext context : s.contexts) eglDestroyContext(Display(), context);
    s.contexts.clear();
    for (auto& window : s.windows) DestroyDrawable(*window);
}

}  // namespace headless::detail

namespace platform::backend {

using namespace headless::detail;

// The drawable is RGBA8 with a depth buffer whatever the request.
bool GlAvailable() { return EnsureDisplay(); }

bool SetPixelFormat(WindowRecord& record, const PIXELFORMATDESCRIPTOR&) {
    NativeWindow* window = FindNative(record.handle);
    if (window == nullptr || !EnsureDisplay()) return false;
    if (window->surface != EGL_NO_SURFACE) return true;
    return MakeDrawable(*window, record.width, record.height);
}

void* CreateContext(WindowRecord& record) {
    NativeWindow* window = FindNative(record.handle);
    if (window == nullptr || window->surface == EGL_NO_SURFACE) return nullptr;
    if (!eglBindAPI(EGL_OPENGL_API)) return nullptr;
    const EGLint compatibility[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK, EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT,
                                    EGL_NONE};
    EGLContext context = eglCreateContext(Display(), Get().egl.config, EGL_NO_CONTEXT, compatibility);
    if (context == EGL_NO_CONTEXT) return nullptr;
    Now().contexts.insert(context);
    return context;
}

bool MakeCurrent(WindowRecord* record, void* context) {
    Session& s = Now();
    if (record == nullptr && context == nullptr) {
        Release();
        return true;
    }
    NativeWindow* window = record ? FindNative(record->handle) : nullptr;
    if (window == nullptr || window->surface == EGL_NO_SURFACE || s.contexts.count(context) == 0) return false;
    if (!eglMakeCurrent(Display(), window->surface, window->surface, context)) return false;
    s.currentWindow = window->handle;
    s.currentContext = context;
    return true;
}

bool DeleteContext(void* context) {
    Session& s = Now();
    if (s.contexts.count(context) == 0) return false;
    if (s.currentContext == context) Release();
    eglDestroyContext(Display(), context);
    s.contexts.erase(context);
    return true;
}

bool Present(WindowRecord& record) {
    Session& s = Now();
    NativeWindow* window = FindNative(record.handle);
    // Only the context current on this window can have drawn its frame.
    if (window == nullptr || s.currentWindow != window->handle) return false;
    if (s.buttonsDrawn) {
        platform::core::LabelCache none;  // no rasteriser: nothing is cached
        platform::core::DrawButtons(platform::core::DrawableButtons(record.handle), window->surfaceWidth,
                                    window->surfaceHeight, none, nullptr);
    }
    glFinish();
    s.ticks += headless::kTicksPerLook;
    int number = ++s.frames;
    auto hook = s.onFrame;  // the hook may replace itself
    if (hook) hook(number);
    return true;
}

}  // namespace platform::backend

namespace headless {

using namespace detail;

std::uint32_t Frame::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return 0;
    const std::uint8_t* p = &rgba[(static_cast<std::size_t>(y) * width + x) * 4];
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

Frame ReadPixels() {
    Frame frame;
    ReadPixels(frame);
    return frame;
}

void ReadPixels(Frame& frame, PixelOrder order) {
    NativeWindow* window = FindNative(Now().currentWindow);
    if (window == nullptr) {
        frame = Frame{};
        return;
    }
    frame.width = window->surfaceWidth;
    frame.height = window->surfaceHeight;
    frame.rgba.resize(static_cast<std::size_t>(frame.width) * frame.height * 4);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    glPixelStorei(GL_PACK_SKIP_ROWS, 0);
    glPixelStorei(GL_PACK_SKIP_PIXELS, 0);
    const GLenum format = order == PixelOrder::Bgra ? GL_BGRA : GL_RGBA;
    glReadPixels(0, 0, frame.width, frame.height, format, GL_UNSIGNED_BYTE, frame.rgba.data());
    glPopClientAttrib();
    // GL gives the bottom row first.
    const std::size_t row = static_cast<std::size_t>(frame.width) * 4;
    for (int top = 0, bottom = frame.height - 1; top < bottom; ++top, --bottom) {
        std::swap_ranges(&frame.rgba[top * row], &frame.rgba[top * row] + row, &frame.rgba[bottom * row]);
    }
}

Size MaxDrawableSize() {
    if (!EnsureDisplay()) return {};
    Size size;
    eglGetConfigAttrib(Get().egl.display, Get().egl.config, EGL_MAX_PBUFFER_WIDTH, &size.width);
    eglGetConfigAttrib(Get().egl.display, Get().egl.config, EGL_MAX_PBUFFER_HEIGHT, &size.height);
    return size;
}

bool ContextCurrent() { return Now().currentContext != EGL_NO_CONTEXT; }
int LiveContexts() { return static_cast<int>(Now().contexts.size()); }

int LiveSurfaces() {
    int count = 0;
    for (auto& window : Now().windows) count += window->surface != EGL_NO_SURFACE ? 1 : 0;
    return count;
}

}  // namespace headless
