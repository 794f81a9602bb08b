// The one record of the web backend's state, shared by the backend's own files only. The page
// (platform/subset/web/page/) holds the browser's side: the view's canvas, the push buttons as
// buttons of the page, the dialogs and the queue of input events.
#pragma once

#include <emscripten/html5.h>

#include <string>

#include "platform/subset/backend.h"

namespace platform::web {

using backend::DisplayMode;

// The page's one window: its canvas and the WebGL context drawn into it.
struct Window {
    HWND handle = nullptr;
    int canvas = 0;  // number of the page's canvas, "view<N>"
    EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = 0;
    bool glReady = false;         // the GL 1.1 layer was set up in this context
    bool lost = false;            // the browser took the context away and has not given it back
    std::string buttons;          // the push buttons as last handed to the page
};

struct Backend {
    Window* window = nullptr;   // the live window, if any
    Window* current = nullptr;  // the window whose context is current
    bool modeChanged = false;   // the page is in the browser's full screen in place of a mode
    DisplayMode mode;           // the "screen" while modeChanged
    int nextCanvas = 1;
    int frames = 0;             // frames presented, from 1 as showcase-record numbers them
    int holdAt = 0;             // render unpaced up to this frame and hold it there; 0: paced
    double lastYield = 0;       // when an unpaced run last gave the browser its turn
    bool hidden = false;        // the page is out of sight
    bool contextFailed = false; // a lost context could not be made again, not even on a new canvas
    bool failureReported = false;
};
Backend& State();

// The page's viewport in device pixels: the "screen" of a window that changed no mode.
DisplayMode Viewport();
// Makes sure the page hears when main returns. Once the program has waited for the browser,
// main returns to no caller that would report it (ASYNCIFY), so the page watches for it once
// main first waits; call before anything that waits.
void WatchMain();
// Leaves no window's context current. GL calls made then (the window's first WM_SIZE comes
// before its context) do nothing, as the desktop's GL ignores calls without a current context.
void ReleaseContext();
// Takes in what the page has heard of the window's context: lost, given back, or not given back
// in time (the canvas is then replaced and a new context made). Called between frames and while
// a frame is held.
void CheckContext();
// The window is minimised while the page is out of sight or its context is lost: it draws
// nothing and counts no frame then, and is restored when both are over.
void SyncMinimized();
// Sets the page's canvas and the window's frame to the window's client size.
void Layout(const WindowRecord& record);

}  // namespace platform::web
