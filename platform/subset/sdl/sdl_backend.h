// State of the SDL2 backend: one struct holding every native window, GL context, display-mode
// choice and lazily opened resource, and the helpers the backend's files share. Only files in
// platform/subset/sdl/ include this header.
#pragma once

#include <SDL.h>

#include <memory>
#include <vector>

#include "platform/subset/backend.h"
#include "platform/common/swap_pacer.h"
#include "platform/subset/sdl/sdl_text.h"

namespace platform::sdl {

// The GL framebuffer a window's visual was chosen for; the program's pixel format request
// turns into one of these.
struct GlAttributes {
    int redBits = 5;
    int greenBits = 6;
    int blueBits = 5;
    int alphaBits = 0;
    int depthBits = 16;
    int stencilBits = 0;
    int accumRedBits = 0;
    int accumGreenBits = 0;
    int accumBlueBits = 0;
    int accumAlphaBits = 0;
    bool doubleBuffer = true;
    bool stereo = false;
    bool operator==(const GlAttributes&) const = default;
};

using platform::SwapPacer;

// A top-level window's SDL side (WindowRecord::native).
struct Window {
    HWND handle = nullptr;
    SDL_Window* sdl = nullptr;
    Uint32 id = 0;  // SDL window id, for routing events
    bool fullscreen = false;
    SDL_DisplayMode fullscreenMode{};
    GlAttributes attributes;  // what the window's visual was made for
    SwapPacer pacer;
};

// A GL context handed out as HGLRC, with the button labels rendered into it.
struct Context {
    SDL_GLContext gl = nullptr;
    Window* window = nullptr;  // the window it was made for; null once that window is gone
    core::LabelCache labels;
};

// How often the window is asked whether the screen saver may start (WM_SYSCOMMAND
// SC_SCREENSAVE), as Windows asks when the saver's idle time has passed.
constexpr Uint64 kScreenSaverQuestionMs = 60'000;

enum class VideoState { Untried, Ready, Unavailable };

struct Backend {
    VideoState video = VideoState::Untried;
    bool modeChanged = false;  // a full-screen mode was chosen with ChangeMode
    SDL_DisplayMode chosenMode{};
    std::vector<std::unique_ptr<Window>> windows;
    std::vector<std::unique_ptr<Context>> contexts;
    Context* current = nullptr;  // context current on the GUI thread
    Window* currentWindow = nullptr;
    bool cursorVisible = true;
    bool screenSaverAllowed = false;
    Uint64 nextScreenSaverQuestion = 0;  // SDL ticks
    LabelFont font;
};

Backend& State();

// Starts SDL video the first time it is needed; false when there is no display.
bool EnsureVideo();
Window* WindowOf(const WindowRecord& record);
// The live window with this SDL window id, if any.
Window* WindowById(Uint32 id);
// The top-level window that gets input and questions when SDL names no window.
HWND FallbackWindow();
// Opens the SDL window for a record with the window's current GL attributes.
bool OpenSdlWindow(Window& window, const WindowRecord& record);
void ApplyScreenSaver();

}  // namespace platform::sdl
