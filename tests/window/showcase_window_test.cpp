// The real program in a real X window: each test starts its own Xvfb and runs `showcase` from
// the repository root, then looks at the window and its pixels from outside and drives it with
// the pointer and keys as a user would.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <thread>

#include "app/viewer.h"
#include "platform/core/core.h"
#include "platform/sdl/sdl_text.h"
#include "tests/window/x_session.h"

namespace {

struct Screen {
    int width, height, depth;
};
constexpr Screen kDesktop{1024, 768, 24};
const std::string kStartupTitle = "Анимация 3D устройств Zelvo,ноябрь 2016";
const std::string kToggleTitle = "Mivo's OpenGL Framework";
const std::string kQuestionCaption = "Mivo GL";
// After Escape the program returns the wParam of the last message it took: Escape's key-down.
constexpr int kEscapeStatus = 27;
// Below this a pixel of a label counts as ink: half way from the button face to black.
constexpr int kInkLuminance = 106;
// The whole button column, wide and tall enough for every button.
constexpr int kColumnWidth = 170;
constexpr int kColumnHeight = 600;

struct Box {
    int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

// The buttons a user can see: all but the zero-width one.
std::vector<PanelButton> VisibleButtons() {
    std::vector<PanelButton> buttons;
    for (const PanelButton& button : kPanelButtons)
        if (button.width > 0 && button.height > 0) buttons.push_back(button);
    return buttons;
}

Box FaceOf(const PanelButton& b) { return {b.x + 2, b.y + 2, b.x + b.width - 2, b.y + b.height - 2}; }

// Ink pixels inside a rectangle of the screen, as a mask over their bounding box.
struct Ink {
    Box box;
    std::vector<bool> mask;  // box.Width() x box.Height()
    int count = 0;
};

Ink InkIn(const Capture& capture, const Box& area) {
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
Ink ReferenceInk(const std::string& utf8, Rgb face) {
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
double InkAgreement(const Ink& a, const Ink& b) {
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
bool LooksRaised(const Capture& c, const PanelButton& b) {
    return c.At(b.x, b.y).Luminance() > 240 && c.At(b.x + b.width - 1, b.y + b.height - 1).Luminance() < 100;
}
bool LooksSunken(const Capture& c, const PanelButton& b) {
    return c.At(b.x, b.y).Luminance() < 160 && c.At(b.x + b.width - 1, b.y + b.height - 1).Luminance() > 240;
}

class ShowcaseWindow : public ::testing::Test {
protected:
    explicit ShowcaseWindow(Screen screen = kDesktop) : screen(screen) {}

    void SetUp() override {
        ASSERT_TRUE(server.Start(screen.width, screen.height, screen.depth)) << "Xvfb did not start";
        ASSERT_TRUE(x.Connect(server.Display()));
        ASSERT_TRUE(app.Start({SHOWCASE_EXECUTABLE}, {{"DISPLAY", server.Display()}, {"WAYLAND_DISPLAY", ""}},
                              SHOWCASE_SOURCE_DIR));
        window = x.WaitForWindow(kStartupTitle, 30s);
        ASSERT_NE(window, 0u) << "no window titled with the start-up title; output:\n" << app.Output();
        ASSERT_TRUE(WaitForLook([](const Capture& c) { return LooksRaised(c, kPanelButtons[0]); }))
            << "the buttons never appeared; output:\n"
            << app.Output();
    }

    Capture Column() { return x.Grab(0, 0, kColumnWidth, std::min(kColumnHeight, screen.height)); }

    // Polls the button column until it shows what the check wants (frames arrive continuously).
    template <typename Check>
    bool WaitForLook(Check check, std::chrono::milliseconds timeout = 20s) {
        const auto end = std::chrono::steady_clock::now() + timeout;
        do {
            if (check(Column())) return true;
            std::this_thread::sleep_for(50ms);
        } while (std::chrono::steady_clock::now() < end);
        return false;
    }

    void Tool(const std::vector<std::string>& arguments) {
        ASSERT_TRUE(Xdotool(server.Display(), arguments)) << "xdotool failed";
    }

    // A key held long enough for the program to see it down in at least one loop pass.
    void PressKey(const std::string& key) {
        Tool({"keydown", key});
        std::this_thread::sleep_for(150ms);
        Tool({"keyup", key});
    }

    // The exit status, or -1 when the program did not end normally within the timeout.
    int ExitStatus() {
        const std::optional<int> status = app.WaitExit(15s);
        if (!status || !WIFEXITED(*status)) return -1;
        return WEXITSTATUS(*status);
    }

    const Screen screen;
    XvfbServer server;
    XClient x;
    ChildProcess app;
    unsigned long window = 0;
};

TEST_F(ShowcaseWindow, OpensWithItsTitleOverTheWholeScreen) {
    EXPECT_EQ(x.Title(window), kStartupTitle);
    const std::optional<WindowGeometry> geometry = x.Geometry(window);
    ASSERT_TRUE(geometry);
    EXPECT_LE(geometry->x, 0);
    EXPECT_LE(geometry->y, 0);
    EXPECT_GE(geometry->x + geometry->width, screen.width);
    EXPECT_GE(geometry->y + geometry->height, screen.height);
}

TEST_F(ShowcaseWindow, DrawsEveryButtonRaisedWithItsLabelUprightAndCentred) {
    const Capture column = Column();
    for (const PanelButton& button : VisibleButtons()) {
        const std::string label = platform::core::Cp1251ToUtf8(button.label);
        SCOPED_TRACE(label);
        EXPECT_TRUE(LooksRaised(column, button));
        const Rgb face = column.At(button.x + 3, button.y + button.height / 2);
        EXPECT_GT(face.Luminance(), 180);
        EXPECT_LT(std::abs(face.r - face.b), 24) << "the face is not a light grey";

        const Ink ink = InkIn(column, FaceOf(button));
        ASSERT_GT(ink.count, 20) << "no label";
        EXPECT_NEAR((ink.box.left + ink.box.right) / 2.0, button.x + button.width / 2.0, 3.0);
        EXPECT_NEAR((ink.box.top + ink.box.bottom) / 2.0, button.y + button.height / 2.0, 3.0);
        // Mirrored, upside-down or wrongly decoded text would not match the font's own drawing.
        const Ink reference = ReferenceInk(label, face);
        EXPECT_NEAR(ink.box.Width(), reference.box.Width(), 1);
        EXPECT_NEAR(ink.box.Height(), reference.box.Height(), 1);
        EXPECT_GT(InkAgreement(ink, reference), 0.9);
    }
}

TEST_F(ShowcaseWindow, HeldButtonLooksPressedWhileThePointerIsOverItAndKeysStillWork) {
    const PanelButton& held = kPanelButtons[1];
    const PanelButton& other = kPanelButtons[0];
    const Ink released = InkIn(Column(), FaceOf(held));
    const int centreX = held.x + held.width / 2, centreY = held.y + held.height / 2;

    Tool({"mousemove", std::to_string(centreX), std::to_string(centreY)});
    Tool({"mousedown", "1"});
    ASSERT_TRUE(WaitForLook([&](const Capture& c) { return LooksSunken(c, held); }));
    const Capture pressed = Column();
    EXPECT_TRUE(LooksRaised(pressed, other));
    const Ink shifted = InkIn(pressed, FaceOf(held));
    EXPECT_EQ(shifted.box.left, released.box.left + 1);
    EXPECT_EQ(shifted.box.top, released.box.top + 1);
    EXPECT_GT(InkAgreement(shifted, released), 0.95);

    // Off the button the press shows released; back over it, pressed again.
    Tool({"mousemove", "600", "400"});
    EXPECT_TRUE(WaitForLook([&](const Capture& c) { return LooksRaised(c, held); }));
    Tool({"mousemove", std::to_string(centreX), std::to_string(centreY)});
    EXPECT_TRUE(WaitForLook([&](const Capture& c) { return LooksSunken(c, held); }));

    Tool({"mouseup", "1"});
    EXPECT_TRUE(WaitForLook([&](const Capture& c) { return LooksRaised(c, held); }));
    // The click left the keyboard with the window.
    PressKey("Escape");
    EXPECT_EQ(ExitStatus(), kEscapeStatus) << app.Output();
}

TEST_F(ShowcaseWindow, EscapeEndsWithTheKeyCodeAsStatus) {
    PressKey("Escape");
    EXPECT_EQ(ExitStatus(), kEscapeStatus) << app.Output();
}

TEST_F(ShowcaseWindow, CloseRequestEndsWithStatusZero) {
    ASSERT_TRUE(x.RequestClose(window));
    EXPECT_EQ(ExitStatus(), 0) << app.Output();
}

TEST_F(ShowcaseWindow, AltF4EndsWithStatusZero) {
    Tool({"key", "alt+F4"});
    EXPECT_EQ(ExitStatus(), 0) << app.Output();
}

// Xvfb offers no 640 x 480 x 16 mode, so F1 asks whether to go on windowed; Return takes the
// default answer, Yes, and the window comes back windowed with the other title.
TEST_F(ShowcaseWindow, F1WithoutTheFullScreenModeAsksAndReopensWindowed) {
    PressKey("F1");
    const unsigned long question = x.WaitForWindow(kQuestionCaption, 15s);
    ASSERT_NE(question, 0u) << "no question box; output:\n" << app.Output();
    // Nothing gives a new window the focus without a window manager: do what one would.
    ASSERT_TRUE(x.Focus(question));
    Tool({"key", "Return"});

    const unsigned long reopened = x.WaitForWindow(kToggleTitle, 15s);
    ASSERT_NE(reopened, 0u) << "the window did not come back; output:\n" << app.Output();
    const std::optional<WindowGeometry> geometry = x.Geometry(reopened);
    ASSERT_TRUE(geometry);
    EXPECT_GE(geometry->width, screen.width);
    EXPECT_GE(geometry->height, screen.height);
    EXPECT_TRUE(WaitForLook([](const Capture& c) { return LooksRaised(c, kPanelButtons[0]); }));
    PressKey("Escape");
    EXPECT_EQ(ExitStatus(), kEscapeStatus) << app.Output();
}

// A screen whose only mode is 640 x 480 x 16 has the full-screen mode the program asks for.
class ShowcaseOnA16BitScreen : public ShowcaseWindow {
protected:
    ShowcaseOnA16BitScreen() : ShowcaseWindow(Screen{640, 480, 16}) {}
};

TEST_F(ShowcaseOnA16BitScreen, F1GoesFullScreenWithoutAskingAndBackWindowed) {
    PressKey("F1");
    const unsigned long full = x.WaitForWindow(kToggleTitle, 15s);
    ASSERT_NE(full, 0u) << "no full-screen window; output:\n" << app.Output();
    const std::optional<WindowGeometry> geometry = x.Geometry(full);
    ASSERT_TRUE(geometry);
    EXPECT_EQ(geometry->x, 0);
    EXPECT_EQ(geometry->y, 0);
    EXPECT_EQ(geometry->width, 640);
    EXPECT_EQ(geometry->height, 480);
    EXPECT_EQ(x.WaitForWindow(kQuestionCaption, 0ms), 0u) << "asked although the mode exists";
    EXPECT_TRUE(WaitForLook([](const Capture& c) { return LooksRaised(c, kPanelButtons[0]); }));

    PressKey("F1");
    const auto end = std::chrono::steady_clock::now() + 15s;
    unsigned long windowed = full;
    while ((windowed == full || windowed == 0) && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(50ms);
        windowed = x.WaitForWindow(kToggleTitle, 0ms);
    }
    ASSERT_NE(windowed, full) << "the window did not reopen; output:\n" << app.Output();
    ASSERT_NE(windowed, 0u) << "the window did not reopen; output:\n" << app.Output();
    EXPECT_TRUE(WaitForLook([](const Capture& c) { return LooksRaised(c, kPanelButtons[0]); }));
    PressKey("Escape");
    EXPECT_EQ(ExitStatus(), kEscapeStatus) << app.Output();
}

TEST(ShowcaseWithoutDisplay, FailsWithAMessageOnStderr) {
    ChildProcess app;
    ASSERT_TRUE(app.Start({SHOWCASE_EXECUTABLE}, {{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}}, SHOWCASE_SOURCE_DIR));
    const std::optional<int> status = app.WaitExit(15s);
    ASSERT_TRUE(status) << "the program waited for a display that is not there";
    ASSERT_TRUE(WIFEXITED(*status)) << "ended by signal " << WTERMSIG(*status);
    EXPECT_NE(WEXITSTATUS(*status), 0);
    EXPECT_NE(app.Output().find("Window Creation Error."), std::string::npos) << app.Output();
}

}  // namespace
