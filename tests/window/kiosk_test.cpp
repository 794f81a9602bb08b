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

class KioskOnTwoMonitors : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.Start({{kLeftWidth, kLeftHeight}, {kRightWidth, kRightHeight}}))
            << "Xorg with the dummy driver did not start (scripts/install-deps.sh installs it; it needs root)";
        ASSERT_TRUE(x.Connect(server.Display()));
        // SDL asks for no decorations only through an atom a window manager has made; make it.
        x.WantsDecorations(x.Root());
    }

    bool StartShow(ChildProcess& show, const std::vector<std::string>& options) {
        std::vector<std::string> argv{SHOWCASE_EXECUTABLE};
        argv.insert(argv.end(), options.begin(), options.end());
        return show.Start(argv, {{"DISPLAY", server.Display()}, {"WAYLAND_DISPLAY", ""}}, SHOWCASE_SOURCE_DIR);
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

    void Tool(const std::vector<std::string>& arguments) {
        ASSERT_TRUE(Xdotool(server.Display(), arguments)) << "xdotool failed";
    }

    DummyXServer server;
    XClient x;
};

TEST_F(KioskOnTwoMonitors, ListsBothAndRefusesAThirdBeforeAnyWindow) {
    ChildProcess list;
    ASSERT_TRUE(StartShow(list, {"--list-monitors"}));
    EXPECT_EQ(list.ExitCode(15s), 0);
    EXPECT_EQ(list.Output(), "1: DUMMY0, 1024x768 at 0,0 (primary)\n2: DUMMY1, 800x600 at 1024,0\n");

    ChildProcess third;
    ASSERT_TRUE(StartShow(third, {"--kiosk", "--monitor", "3"}));
    EXPECT_EQ(third.ExitCode(15s), 2);
    EXPECT_EQ(third.Output(),
              "showcase: there is no monitor 3; the monitors are 1 (DUMMY0), 2 (DUMMY1)\n"
              "Try 'showcase --help' for more information.\n");
}

// Two shows side by side, each exactly on its monitor, the screen as it was; the pointer hides
// on the show it rests over and comes back when it moves.
TEST_F(KioskOnTwoMonitors, TwoShowsCoverTheirMonitorsExactlyAndHideTheRestingPointer) {
    const std::optional<WindowGeometry> screenBefore = x.Geometry(x.Root());
    ChildProcess left, right;
    ASSERT_TRUE(StartShow(left, {"--kiosk", "--monitor", "1"}));
    ASSERT_TRUE(StartShow(right, {"--kiosk", "--monitor=2"}));
    const unsigned long leftWindow = ShowAt(0), rightWindow = ShowAt(kLeftWidth);
    ASSERT_NE(leftWindow, 0u) << left.Output();
    ASSERT_NE(rightWindow, 0u) << right.Output();
    const struct {
        unsigned long window;
        WindowGeometry expected;
    } shows[] = {{leftWindow, {0, 0, kLeftWidth, kLeftHeight}}, {rightWindow, {kLeftWidth, 0, kRightWidth, kRightHeight}}};
    for (const auto& show : shows) {
        const std::optional<WindowGeometry> geometry = x.Geometry(show.window);
        ASSERT_TRUE(geometry);
        EXPECT_EQ((std::vector<int>{geometry->x, geometry->y, geometry->width, geometry->height}),
                  (std::vector<int>{show.expected.x, show.expected.y, show.expected.width, show.expected.height}));
        EXPECT_FALSE(x.WantsDecorations(show.window));
    }
    const std::optional<WindowGeometry> screenAfter = x.Geometry(x.Root());
    ASSERT_TRUE(screenBefore && screenAfter);
    EXPECT_EQ(screenAfter->width, screenBefore->width) << "the display mode changed";
    EXPECT_EQ(screenAfter->height, screenBefore->height) << "the display mode changed";
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
}

TEST_F(KioskOnTwoMonitors, VisitorsCannotEndTheShowButTheOperatorsChordDoes) {
    ChildProcess show;
    ASSERT_TRUE(StartShow(show, {"--kiosk", "--monitor", "2"}));
    const unsigned long window = ShowAt(kLeftWidth);
    ASSERT_NE(window, 0u) << show.Output();
    Tool({"mousemove", std::to_string(kLeftWidth + 400), "300"});  // the keyboard follows the pointer
    for (const char* key : {"Escape", "F1", "alt+F4"}) EXPECT_TRUE(PressKey(server.Display(), key));
    ASSERT_TRUE(x.RequestClose(window));
    std::this_thread::sleep_for(1s);
    EXPECT_TRUE(show.Running()) << "the show ended; output:\n" << show.Output();
    EXPECT_EQ(ShowAt(kLeftWidth), window) << "the window was replaced";

    EXPECT_TRUE(PressKey(server.Display(), "ctrl+alt+shift+q"));
    EXPECT_EQ(show.ExitCode(15s), 0) << "the chord did not end the show";
    EXPECT_EQ(show.Output(), "");
}

}  // namespace
