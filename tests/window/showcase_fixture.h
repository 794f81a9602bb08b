// The fixtures of the real-window tests: a private Xvfb, the program started in it, and ways to
// look at the window's pixels and drive it as a user would.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>

#include "app/viewer.h"
#include "platform/subset/core.h"
#include "platform/subset/sdl/sdl_text.h"
#include "tests/support/test_pictures.h"
#include "tests/window/x_session.h"

namespace showcase_test {

struct Screen {
    int width, height, depth;
};
inline constexpr Screen kDesktop{1024, 768, 24};
inline const std::string kStartupTitleUtf8 = "Анимация 3D устройств Zelvo,ноябрь 2016";
inline const std::string kToggleTitleUtf8 = "Mivo's OpenGL Framework";
inline const std::string kQuestionCaption = "Mivo GL";
// After Escape the program returns the wParam of the last message it took: Escape's key-down.
inline constexpr int kEscapeStatus = 27;
// Below this a pixel of a label counts as ink: half way from the button face to black.
inline constexpr int kInkLuminance = 106;
// The whole button column, wide and tall enough for every button.
inline constexpr int kColumnWidth = 170;
inline constexpr int kColumnHeight = 600;

struct Box {
    int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

inline Box FaceOf(const PanelButton& b) { return {b.x + 2, b.y + 2, b.x + b.width - 2, b.y + b.height - 2}; }

// Ink pixels inside a rectangle of the screen, as a mask over their bounding box.
struct Ink {
    Box box;
    std::vector<bool> mask;  // box.Width() x box.Height()
    int count = 0;
};

inline Ink InkIn(const Capture& capture, const Box& area) {
    Ink ink;
    ink.box = {area.right, area.bottom, area.left, area.top};
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (capture.At(x, y).Luminance() < kInkLuminance) {
                ink.box = {std::min(ink.box.left, x), std::min(ink.box.top, y), std::max(ink.box.right, x + 1),
                           std::max(ink.box.bottom, y + 1)};
                ++ink.count;
            }
    if (ink.count == 0) return Ink{};
    ink.mask.resize(static_cast<size_t>(ink.box.Width()) * ink.box.Height());
    for (int y = ink.box.top; y < ink.box.bottom; ++y)
        for (int x = ink.box.left; x < ink.box.right; ++x)
            ink.mask[(y - ink.box.top) * ink.box.Width() + (x - ink.box.left)] =
                capture.At(x, y).Luminance() < kInkLuminance;
    return ink;
}

// The label as the font draws it in black over the button face, cut to its ink the same way.
inline Ink ReferenceInk(const std::string& utf8, Rgb face) {
    static platform::sdl::LabelFont font;
    const platform::sdl::LabelBitmap bitmap = font.Render(utf8);
    Capture rendered{0, 0, bitmap.width, bitmap.height, {}};
    for (std::uint8_t coverage : bitmap.coverage) {
        auto over = [coverage](int background) { return background * (255 - coverage) / 255; };
        rendered.pixels.push_back(Rgb{over(face.r), over(face.g), over(face.b)});
    }
    return InkIn(rendered, {0, 0, bitmap.width, bitmap.height});
}

// Share of ink pixels the two masks agree on, aligned at their top-left corners.
inline double InkAgreement(const Ink& a, const Ink& b) {
    const int width = std::max(a.box.Width(), b.box.Width());
    const int height = std::max(a.box.Height(), b.box.Height());
    auto at = [](const Ink& ink, int x, int y) {
        return x < ink.box.Width() && y < ink.box.Height() && ink.mask[y * ink.box.Width() + x];
    };
    int both = 0, either = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            both += at(a, x, y) && at(b, x, y);
            either += at(a, x, y) || at(b, x, y);
        }
    return either ? double(both) / either : 0.0;
}

// The classic raised or sunken edge of a button: light and dark outer corners.
inline bool LooksRaised(const Capture& c, const PanelButton& b) {
    return c.At(b.x, b.y).Luminance() > 240 && c.At(b.x + b.width - 1, b.y + b.height - 1).Luminance() < 100;
}
inline bool LooksSunken(const Capture& c, const PanelButton& b) {
    return c.At(b.x, b.y).Luminance() < 160 && c.At(b.x + b.width - 1, b.y + b.height - 1).Luminance() > 240;
}

// The hue family of a lit pixel: lighting scales a flat colour but keeps which channels lead.
inline bool Resembles(const Rgb& pixel, const testpics::Rgb& flat) {
    const int lit[3] = {pixel.r, pixel.g, pixel.b};
    const int want[3] = {flat.r, flat.g, flat.b};
    int brightest = std::max({lit[0], lit[1], lit[2]});
    int wantBrightest = std::max({want[0], want[1], want[2]});
    if (brightest < 30) return false;
    for (int c = 0; c < 3; ++c) {
        double share = double(lit[c]) / brightest;
        double wantShare = double(want[c]) / wantBrightest;
        if (std::abs(share - wantShare) > 0.2) return false;
    }
    return true;
}

// A private X server (Xvfb, or Xorg with the dummy driver when the test asks for monitors) and
// the program started in it, `showcase` or, in the Wine test program, showcase.exe under Wine,
// with a picture folder of flat colours at hand; ways to look at the view and to drive it as a
// user would.
class ShowSession : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(monitors.empty() ? server.Start(screen.width, screen.height, screen.depth) : server.Start(monitors))
            << "the X server did not start (Xorg's dummy driver needs root; scripts/install-deps.sh installs it)";
        ASSERT_TRUE(x.Connect(server.Display()));
    }
#ifdef SHOWCASE_WINDOWS_EXE
    // Wine's own processes of the prefix (its server, its desktop) belong to this X server.
    void TearDown() override { Run({"/usr/bin/wineserver", "-k"}); }
    std::vector<std::string> program{"/usr/bin/wine", SHOWCASE_WINDOWS_EXE};
#else
    std::vector<std::string> program{SHOWCASE_EXECUTABLE};
#endif

    // Wine runs in the prepared prefix and mirrors nothing into this machine's desktop menus.
    std::map<std::string, std::string> Environment() const {
        return {{"DISPLAY", server.Display()}, {"WAYLAND_DISPLAY", ""}, {"LANG", locale}, {"LC_ALL", locale},
#ifdef SHOWCASE_WINDOWS_EXE
                {"WINEPREFIX", SHOWCASE_WINE_PREFIX}, {"WINEDEBUG", "-all"},
                {"WINEDLLOVERRIDES", "mscoree,mshtml=;winemenubuilder.exe=d"}
#endif
        };
    }
    std::vector<std::string> Argv(const std::vector<std::string>& options) const {
        std::vector<std::string> argv = program;
        argv.insert(argv.end(), options.begin(), options.end());
        return argv;
    }

    // A program run to its end: its exit status, or -1.
    int Run(const std::vector<std::string>& argv, std::string* output = nullptr) {
        ChildProcess run;
        const int status = run.Start(argv, Environment(), "/") ? run.ExitCode(60s) : -1;
        if (output != nullptr) *output = run.Output();
        return status;
    }

    // Starts the program in that folder and waits for its window, after answering a box with
    // that caption when one is named. False when the box never came.
    bool Open(const std::vector<std::string>& options, const std::string& folder, const char* box = nullptr) {
        const bool started = app.Start(Argv(options), Environment(), folder);
        const bool answered = started && (box == nullptr || PressReturnIn(x, server.Display(), box, 60s));
        window = x.WaitForWindow(kStartupTitleUtf8, 60s);
        EXPECT_NE(window, 0u) << "no window titled with the start-up title; output:\n" << app.Output();
        if (const std::optional<WindowGeometry> geometry = x.Geometry(window)) client = *geometry;
        return started && answered;
    }

    Capture Column() { return x.Grab(0, 0, kColumnWidth, std::min(kColumnHeight, screen.height)); }
    // Polls the button column until it shows what the check wants (frames arrive continuously).
    bool WaitForLook(const std::function<bool(const Capture&)>& check) {
        return WaitFor([&] { return check(Column()); }, 20s);
    }

    // A corner of the view that only the splash picture or the backdrop covers.
    Rgb Corner() { return x.Grab(client.x + client.width - 120, client.y + 80, 1, 1).pixels.at(0); }

    // Pixels of that area of the view that resemble the picture's colour.
    int Like(int left, int top, int width, int height, const std::string& picture) {
        int count = 0;
        for (const Rgb& pixel : x.Grab(client.x + left, client.y + top, width, height).pixels)
            count += Resembles(pixel, testpics::FlatColour(picture));
        return count;
    }

    void Tool(const std::vector<std::string>& arguments) {
        ASSERT_TRUE(Xdotool(server.Display(), arguments)) << "xdotool failed";
    }
    void ClickAt(int viewX, int viewY) {
        Tool({"mousemove", std::to_string(client.x + viewX), std::to_string(client.y + viewY), "click", "1"});
    }
    void ClickButton(int id) {
        for (const PanelButton& b : kPanelButtons)
            if (b.id == id) ClickAt(b.x + b.width / 2, b.y + b.height / 2);
    }
    void PressKey(const std::string& key) { ASSERT_TRUE(::PressKey(server.Display(), key, 300ms)); }
    int ExitStatus() { return app.ExitCode(30s); }

    Screen screen = kDesktop;
    std::vector<std::pair<int, int>> monitors;  // sizes, left to right
    std::string locale = "en_US.UTF-8";
    testpics::PictureFolder pictures;
    XServer server;
    XClient x;
    ChildProcess app;
    unsigned long window = 0;
    WindowGeometry client{};
};

// The program started in the repository's root, its buttons shown.
class ShowcaseWindow : public ShowSession {
  protected:
    void SetUp() override {
        ShowSession::SetUp();
        ASSERT_TRUE(Open(Options(), WorkingDirectory()));
        ASSERT_NE(window, 0u);
        ASSERT_TRUE(WaitForLook([](const Capture& c) { return LooksRaised(c, kPanelButtons[0]); }))
            << "the buttons never appeared; output:\n"
            << app.Output();
    }
    // Where the program runs, and so where it finds picture/.
    virtual std::string WorkingDirectory() { return SHOWCASE_SOURCE_DIR; }
    virtual std::vector<std::string> Options() { return {}; }
};

}  // namespace showcase_test
