// Tools for running the real program against a private X server of its own, an Xlib client that
// finds windows, reads titles and geometry, captures pixels and asks windows to close, and
// xdotool for pointer and keys.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/child_process.h"

// A private X server on the first free display number (the server picks it and reports it):
// Xvfb with one screen of the given size and depth, or Xorg with the dummy driver and one RandR
// monitor per size, left to right, the first one primary (several monitors, which Xvfb cannot
// give; needs root or a setuid Xorg wrapper). It goes away with every connection to it on Stop.
class XServer {
public:
    XServer() = default;
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;
    ~XServer() { Stop(); }
    bool Start(int width, int height, int depth = 24);
    bool Start(const std::vector<std::pair<int, int>>& monitors);
    void Stop();
    const std::string& Display() const { return display_; }

private:
    bool Launch(const std::string& program, const std::vector<std::string>& arguments);
    ChildProcess process_;
    std::string display_;
    std::string folder_;  // the dummy server's configuration and log
};

struct Rgb {
    int r, g, b;
    int Luminance() const { return (r * 299 + g * 587 + b * 114) / 1000; }
};

// Pixels of a screen rectangle, rows from the top.
struct Capture {
    int x = 0, y = 0, width = 0, height = 0;
    std::vector<Rgb> pixels;
    Rgb At(int screenX, int screenY) const { return pixels[(screenY - y) * width + (screenX - x)]; }
};

struct WindowGeometry {
    int x, y, width, height;  // the window's inside, in root coordinates
};

// An Xlib connection to the test's server.
class XClient {
public:
    XClient() = default;
    XClient(const XClient&) = delete;
    XClient& operator=(const XClient&) = delete;
    ~XClient();
    bool Connect(const std::string& display);
    void Disconnect();

    // A mapped top-level window whose _NET_WM_NAME (UTF-8) is the title; 0 if none in time.
    unsigned long WaitForWindow(const std::string& title, std::chrono::milliseconds timeout);
    // Every mapped top-level window with that title, now.
    std::vector<unsigned long> Windows(const std::string& title);
    std::string Title(unsigned long window);
    std::optional<WindowGeometry> Geometry(unsigned long window);  // of Root(): the screen's mode
    unsigned long Root();
    Capture Grab(int x, int y, int width, int height);
    bool Focus(unsigned long window);
    // What a window manager sends for the close box: WM_PROTOCOLS / WM_DELETE_WINDOW.
    bool RequestClose(unsigned long window);
    // False when the window asks the window manager for no decorations (_MOTIF_WM_HINTS).
    bool WantsDecorations(unsigned long window);
    // True when the pointer shows no pixel where it is now (XFixes).
    bool PointerHidden();

private:
    struct _XDisplay* display_ = nullptr;
};

// Runs xdotool against the display; true when it succeeded.
bool Xdotool(const std::string& display, const std::vector<std::string>& arguments);
// A key (or chord, "ctrl+alt+q") held long enough for the program to see it down in at least
// one pass of its loop.
bool PressKey(const std::string& display, const std::string& key, std::chrono::milliseconds held = 150ms);
// Answers the window with that title (a box) with Return, its default button. Without a window
// manager nothing gives a new window the focus: set it, and again until the box is gone (it may
// not listen yet when it first maps). False when it was never there or stayed.
bool PressReturnIn(XClient& x, const std::string& display, const std::string& title, std::chrono::milliseconds timeout);
