// A private X server and the Xlib client of the real-window tests.
#include "tests/window/x_session.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xfixes.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <thread>

// A tool run to its end; true when it succeeded.
static bool RunTool(const std::vector<std::string>& argv, const std::string& display) {
    ChildProcess tool;
    return tool.Start(argv, {{"DISPLAY", display}}, "/") && tool.ExitCode(10s) == 0;
}

void XServer::Stop() {
    process_.Stop();
    if (!folder_.empty()) std::filesystem::remove_all(folder_);
    folder_.clear();
}

// Starts the server with "-displayfd FD" before its arguments and waits until it writes its
// display number, which it does once it accepts connections.
bool XServer::Launch(const std::string& program, const std::vector<std::string>& arguments) {
    int report[2];
    if (pipe(report) != 0) return false;
    fcntl(report[0], F_SETFD, FD_CLOEXEC);
    std::vector<std::string> argv{program, "-displayfd", std::to_string(report[1]), "-nolisten", "tcp", "-noreset"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    const bool started = process_.Start(argv, {}, "/");
    close(report[1]);
    std::string number;
    char c = 0;
    while (started && read(report[0], &c, 1) == 1 && c != '\n') number += c;
    close(report[0]);
    display_ = number.empty() ? "" : ":" + number;
    return !display_.empty();
}

bool XServer::Start(int width, int height, int depth) {
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x" + std::to_string(depth);
    return Launch("/usr/bin/Xvfb", {"-screen", "0", screen});
}

bool XServer::Start(const std::vector<std::pair<int, int>>& sizes) {
    char pattern[] = "/tmp/showcase-xorg-XXXXXX";
    if (!mkdtemp(pattern)) return false;
    folder_ = pattern;
    int width = 0, height = 0;
    for (const auto& [w, h] : sizes) width += w, height = std::max(height, h);
    std::ofstream(folder_ + "/xorg.conf")
        << "Section \"Device\"\n  Identifier \"dummy\"\n  Driver \"dummy\"\n  VideoRam 256000\nEndSection\n"
        << "Section \"Screen\"\n  Identifier \"screen\"\n  Device \"dummy\"\n  DefaultDepth 24\n"
        << "  SubSection \"Display\"\n    Depth 24\n    Virtual " << std::max(width, 2048) << " "
        << std::max(height, 2048) << "\n  EndSubSection\nEndSection\n";
    if (!Launch("/usr/lib/xorg/Xorg", {"-config", folder_ + "/xorg.conf", "-logfile", folder_ + "/xorg.log"}))
        return false;
    // A mode of each size on its own output, then all outputs laid out in one step.
    std::vector<std::string> layout{"/usr/bin/xrandr"};
    int x = 0;
    for (size_t i = 0; i < sizes.size(); ++i) {
        const auto [w, h] = sizes[i];
        const std::string mode = std::to_string(w) + "x" + std::to_string(h) + "_" + std::to_string(i);
        const std::string output = "DUMMY" + std::to_string(i);
        std::vector<std::string> timings{"/usr/bin/xrandr", "--newmode", mode, std::to_string(w * h * 60 / 1000000 + 1)};
        for (int value : {w, w + 48, w + 80, w + 160, h, h + 3, h + 8, h + 20}) timings.push_back(std::to_string(value));
        RunTool(timings, display_);
        if (!RunTool({"/usr/bin/xrandr", "--addmode", output, mode}, display_)) return false;
        layout.insert(layout.end(), {"--output", output, "--mode", mode, "--pos", std::to_string(x) + "x0"});
        if (i == 0) layout.push_back("--primary");
        x += w;
    }
    layout.insert(layout.end(), {"--fb", std::to_string(width) + "x" + std::to_string(height)});
    return RunTool(layout, display_);
}

XClient::~XClient() { Disconnect(); }

// A property's items (format 8 as char, format 32 as long) when it has the type asked for.
template <typename Item>
static std::vector<Item> Property(Display* display, Window window, const char* name, Atom type) {
    Atom actual = None;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    std::vector<Item> items;
    if (XGetWindowProperty(display, window, XInternAtom(display, name, False), 0, 1024, False, type, &actual, &format,
                           &count, &remaining, &data) == Success && data) {
        if (format == (sizeof(Item) == 1 ? 8 : 32) && (type == AnyPropertyType || actual == type))
            items.assign(reinterpret_cast<const Item*>(data), reinterpret_cast<const Item*>(data) + count);
        XFree(data);
    }
    return items;
}

bool XClient::WantsDecorations(unsigned long window) {
    const std::vector<long> hints = Property<long>(display_, window, "_MOTIF_WM_HINTS", AnyPropertyType);
    constexpr long kDecorationsGiven = 1 << 1;
    return hints.size() < 3 || !(hints[0] & kDecorationsGiven) || hints[2] != 0;
}

bool XClient::PointerHidden() {
    XFixesCursorImage* image = XFixesGetCursorImage(display_);
    if (!image) return false;
    bool hidden = true;
    for (unsigned long i = 0; i < static_cast<unsigned long>(image->width) * image->height; ++i)
        if ((image->pixels[i] >> 24) != 0) hidden = false;
    XFree(image);
    return hidden;
}

void XClient::Disconnect() {
    if (display_) XCloseDisplay(display_);
    display_ = nullptr;
}

bool XClient::Connect(const std::string& display) {
    // A window the program destroys while this client looks at it (SDL replaces its hidden
    // window once the pixel format is known) is not the test's failure: the call just fails.
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    display_ = XOpenDisplay(display.c_str());
    return display_ != nullptr;
}

std::string XClient::Title(unsigned long window) {
    const std::vector<char> title = Property<char>(display_, window, "_NET_WM_NAME", XInternAtom(display_, "UTF8_STRING", False));
    return {title.begin(), title.end()};
}

std::vector<unsigned long> XClient::Windows(const std::string& title) {
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    std::vector<unsigned long> found;
    if (XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &count)) {
        for (unsigned int i = 0; i < count; ++i) {
            XWindowAttributes attributes;
            if (XGetWindowAttributes(display_, children[i], &attributes) && attributes.map_state == IsViewable &&
                Title(children[i]) == title)
                found.push_back(children[i]);
        }
        if (children) XFree(children);
    }
    return found;
}

unsigned long XClient::WaitForWindow(const std::string& title, std::chrono::milliseconds timeout) {
    std::vector<unsigned long> found;
    return WaitFor([&] { return !(found = Windows(title)).empty(); }, timeout) ? found.front() : 0;
}

std::optional<WindowGeometry> XClient::Geometry(unsigned long window) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display_, window, &attributes)) return std::nullopt;
    int rootX = 0, rootY = 0;
    Window child = 0;
    XTranslateCoordinates(display_, window, DefaultRootWindow(display_), 0, 0, &rootX, &rootY, &child);
    return WindowGeometry{rootX, rootY, attributes.width, attributes.height};
}

unsigned long XClient::Root() { return DefaultRootWindow(display_); }

Capture XClient::Grab(int x, int y, int width, int height) {
    Capture capture{x, y, width, height, {}};
    XImage* image = XGetImage(display_, DefaultRootWindow(display_), x, y, static_cast<unsigned>(width),
                              static_cast<unsigned>(height), AllPlanes, ZPixmap);
    if (!image) return Capture{};
    auto channel = [](unsigned long pixel, unsigned long mask) {
        if (!mask) return 0;
        int shift = 0;
        while (!((mask >> shift) & 1)) ++shift;
        const unsigned long maximum = mask >> shift;
        return static_cast<int>(((pixel & mask) >> shift) * 255 / maximum);
    };
    capture.pixels.reserve(static_cast<size_t>(width) * height);
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            const unsigned long pixel = XGetPixel(image, column, row);
            capture.pixels.push_back(Rgb{channel(pixel, image->red_mask), channel(pixel, image->green_mask),
                                         channel(pixel, image->blue_mask)});
        }
    }
    XDestroyImage(image);
    return capture;
}

bool XClient::Focus(unsigned long window) {
    XSetInputFocus(display_, window, RevertToPointerRoot, CurrentTime);
    return XSync(display_, False) != 0;
}

bool XClient::RequestClose(unsigned long window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    const bool sent = XSendEvent(display_, window, False, NoEventMask, &event) != 0;
    XFlush(display_);
    return sent;
}

bool Xdotool(const std::string& display, const std::vector<std::string>& arguments) {
    std::vector<std::string> argv{"/usr/bin/xdotool"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return RunTool(argv, display);
}

bool PressKey(const std::string& display, const std::string& key, std::chrono::milliseconds held) {
    const bool down = Xdotool(display, {"keydown", key});
    std::this_thread::sleep_for(held);
    return Xdotool(display, {"keyup", key}) && down;
}

bool PressReturnIn(XClient& x, const std::string& display, const std::string& title, std::chrono::milliseconds timeout) {
    const unsigned long box = x.WaitForWindow(title, timeout);
    return box != 0 && WaitFor([&] {
        x.Focus(box);
        Xdotool(display, {"key", "Return"});
        std::this_thread::sleep_for(300ms);
        return x.Windows(title).empty();
    }, timeout);
}
