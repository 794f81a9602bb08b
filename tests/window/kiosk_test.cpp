// Kiosk mode in a real X session with two monitors side by side (Xorg with the dummy driver):
// the show covers exactly the monitor it was given, without decorations or a mode change, keeps
// running through everything a visitor can press, hides a resting pointer, and ends on the
// operator's chord.
#include <gtest/gtest.h>

#include <thread>

#include "tests/window/showcase_fixture.h"

namespace {

using namespace showcase_test;

constexpr int kLeftWidth = 1024, kLeftHeight = 768, kRightWidth = 800, kRightHeight = 600;

class KioskOnTwoMonitors : public ShowSession {
protected:
    void SetUp() override {
        monitors = {{kLeftWidth, kLeftHeight}, {kRightWidth, kRightHeight}};
        ShowSession::SetUp();
        // SDL asks for no decorations only through an atom a window manager has made; make it.
        x.WantsDecorations(x.Root());
    }

    // The window of the show whose left edge is at x; 0 when none appears in time.
    unsigned long ShowAt(int left) {
        unsigned long found = 0;
        WaitFor([&] {
            for (unsigned long window : x.Windows(kStartupTitleUtf8))
                if (const auto geometry = x.Geometry(window); geometry && geometry->x == left) found = window;
            return found != 0;
        });
        return found;
    }
};

TEST_F(KioskOnTwoMonitors, ListsBothAndRefusesAThirdBeforeAnyWindow) {
    std::string output;
    EXPECT_EQ(Run(Argv({"--list-monitors"}), &output), 0);
    EXPECT_EQ(output, "1: DUMMY0, 1024x768 at 0,0 (primary)\n2: DUMMY1, 800x600 at 1024,0\n");
    EXPECT_EQ(Run(Argv({"--kiosk", "--monitor", "3"}), &output), 2);
    EXPECT_EQ(output,
              "showcase: there is no monitor 3; the monitors are 1 (DUMMY0), 2 (DUMMY1)\n"
              "Try 'showcase --help' for more information.\n");
}

// Two shows side by side, each exactly on its monitor, the screen as it was; the pointer hides
// on the show it rests over and comes back when it moves. That show keeps running through a
// visitor's keys and the close box, and ends on the operator's chord; the other goes on.
TEST_F(KioskOnTwoMonitors, TwoShowsCoverTheirMonitorsAndOnlyTheOperatorEndsOne) {
    const std::optional<WindowGeometry> screenBefore = x.Geometry(x.Root());
    ChildProcess left;
    ASSERT_TRUE(left.Start(Argv({"--kiosk", "--monitor", "1"}), Environment(), SHOWCASE_SOURCE_DIR));
    ASSERT_TRUE(app.Start(Argv({"--kiosk", "--monitor=2"}), Environment(), SHOWCASE_SOURCE_DIR));
    const unsigned long leftWindow = ShowAt(0), rightWindow = ShowAt(kLeftWidth);
    ASSERT_NE(leftWindow, 0u) << left.Output();
    ASSERT_NE(rightWindow, 0u) << app.Output();
    for (const auto& [show, expected] : {std::pair{leftWindow, std::vector<int>{0, 0, kLeftWidth, kLeftHeight}},
                                         {rightWindow, {kLeftWidth, 0, kRightWidth, kRightHeight}}}) {
        const std::optional<WindowGeometry> geometry = x.Geometry(show);
        ASSERT_TRUE(geometry);
        EXPECT_EQ((std::vector<int>{geometry->x, geometry->y, geometry->width, geometry->height}), expected);
        EXPECT_FALSE(x.WantsDecorations(show));
    }
    const std::optional<WindowGeometry> screenAfter = x.Geometry(x.Root());
    ASSERT_TRUE(screenBefore && screenAfter);
    EXPECT_EQ((std::pair{screenAfter->width, screenAfter->height}), (std::pair{screenBefore->width, screenBefore->height}))
        << "the display mode changed";
    // The buttons of the right show are drawn on the right monitor.
    EXPECT_TRUE(WaitFor([&] {
        Capture column = x.Grab(kLeftWidth, 0, kColumnWidth, kColumnHeight);
        column.x = 0;
        return LooksRaised(column, kPanelButtons[0]);
    }, 20s));

    Tool({"mousemove", std::to_string(kLeftWidth + 400), "300"});
    EXPECT_FALSE(x.PointerHidden());
    EXPECT_TRUE(WaitFor([&] { return x.PointerHidden(); }, 10s)) << "the pointer did not hide while resting";
    Tool({"mousemove", std::to_string(kLeftWidth + 420), "320"});
    EXPECT_TRUE(WaitFor([&] { return !x.PointerHidden(); }, 5s)) << "the pointer did not come back on movement";

    ASSERT_TRUE(x.Focus(rightWindow));  // as a click would, with a window manager
    // A visitor's keys, and the operator's chord with each of its modifiers left out.
    for (const char* key : {"Escape", "F1", "alt+F4", "alt+shift+q", "ctrl+shift+q", "ctrl+alt+q"}) PressKey(key);
    ASSERT_TRUE(x.RequestClose(rightWindow));
    std::this_thread::sleep_for(1s);
    EXPECT_TRUE(app.Running()) << "the show ended; output:\n" << app.Output();
    EXPECT_EQ(ShowAt(kLeftWidth), rightWindow) << "the window was replaced";
    PressKey("ctrl+alt+shift+q");
    EXPECT_EQ(app.ExitCode(15s), 0) << "the chord did not end the show";
    EXPECT_EQ(app.Output(), "");
    EXPECT_TRUE(left.Running()) << "the other show ended too";
}

}  // namespace
