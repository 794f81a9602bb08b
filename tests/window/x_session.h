// Tools for running the real program against a private X server: an Xvfb of its own on a free
// display, child processes stopped by pid, an Xlib client that finds windows, reads titles
// and geometry, captures pixels and asks windows to close, and xdotool for pointer and keys.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

using namespace std::chrono_literals;

// A process started with a given environment and working directory; killed when dropped if
// still running. Its stdout and stderr go to one temporary file.
class ChildProcess {
public:
    ChildProcess() = default;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess();

    // environment: variables to set; an empty value removes the variable.
    bool Start(const std::vector<std::string>& argv, const std::map<std::string, std::string>& environment,
               const std::string& workingDirectory);
    // The wait status once it ended within the timeout.
    std::optional<int> WaitExit(std::chrono::milliseconds timeout);
    // The exit status once it ended within the timeout, 128 + the signal that ended it, or -1.
    int ExitCode(std::chrono::milliseconds timeout);
    bool Running();
    void Stop();  // SIGTERM, then SIGKILL if it does not end soon
    std::string Output() const;
    pid_t Pid() const { return pid_; }

private:
    pid_t pid_ = -1;
    std::optional<int> status_;
    std::string outputPath_;
};

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
using XvfbServer = XServer;
using DummyXServer = XServer;

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

// Polls until the check holds or the time is up.
bool WaitFor(const std::function<bool()>& check, std::chrono::milliseconds timeout = 30s);

// Runs xdotool against the display; true when it succeeded.
bool Xdotool(const std::string& display, const std::vector<std::string>& arguments);
