// Kiosk mode in a real X session with two monitors side by side (Xorg with the dummy driver):
// the show covers exactly the monitor it was given, without decorations or a mode change, keeps
// running through everything a visitor can press, hides a resting pointer, and ends on the
// operator's chord.
#include <gtest/gtest.h>
#include <sys/wait.h>

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
        const auto end = std::chrono::steady_clock::now() + 30s;
        do {
            for (unsigned long window : x.Windows(kStartupTitleUtf8)) {
                const std::optional<WindowGeometry> geometry = x.Geometry(window);
                if (geometry && geometry->x == left) return window;
            }
            std::this_thread::sleep_for(100ms);
        } while (std::chrono::steady_clock::now() < end);
        return 0;
    }

    void Tool(const std::vector<std::string>& arguments) {
        ASSERT_TRUE(Xdotool(server.Display(), arguments)) << "xdotool failed";
    }

    // The wait status of a program that ends within the timeout.
    static std::optional<int> Status(ChildProcess& show, std::chrono::milliseconds timeout = 15s) {
        return show.WaitExit(timeout);
    }

    DummyXServer server;
    XClient x;
};

TEST_F(KioskOnTwoMonitors, ListsBothAndRefusesAThirdBeforeAnyWindow) {
    ChildProcess list;
    ASSERT_TRUE(StartShow(list, {"--list-monitors"}));
    std::optional<int> status = Status(list);
    ASSERT_TRUE(status && WIFEXITED(*status));
    EXPECT_EQ(WEXITSTATUS(*status), 0);
    EXPECT_EQ(list.Output(), "1: DUMMY0, 1024x768 at 0,0 (primary)\n2: DUMMY1, 800x600 at 1024,0\n");

    ChildProcess third;
    ASSERT_TRUE(StartShow(third, {"--kiosk", "--monitor", "3"}));
    status = Status(third);
    ASSERT_TRUE(status && WIFEXITED(*status));
    EXPECT_EQ(WEXITSTATUS(*status), 2);
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
    bool drawn = false;
    for (const auto end = std::chrono::steady_clock::now() + 20s; !drawn && std::chrono::steady_clock::now() < end;) {
        Capture column = x.Grab(kLeftWidth, 0, kColumnWidth, kColumnHeight);
        column.x = 0;
        drawn = LooksRaised(column, kPanelButtons[0]);
    }
    EXPECT_TRUE(drawn);

    Tool({"mousemove", std::to_string(kLeftWidth + 400), "300"});
    EXPECT_FALSE(x.PointerHidden());
    const auto hiddenBy = std::chrono::steady_clock::now() + 10s;
    while (!x.PointerHidden() && std::chrono::steady_clock::now() < hiddenBy) std::this_thread::sleep_for(100ms);
    EXPECT_TRUE(x.PointerHidden()) << "the pointer did not hide while resting";
    Tool({"mousemove", std::to_string(kLeftWidth + 420), "320"});
    const auto shownBy = std::chrono::steady_clock::now() + 5s;
    while (x.PointerHidden() && std::chrono::steady_clock::now() < shownBy) std::this_thread::sleep_for(50ms);
    EXPECT_FALSE(x.PointerHidden()) << "the pointer did not come back on movement";
}

TEST_F(KioskOnTwoMonitors, VisitorsCannotEndTheShowButTheOperatorsChordDoes) {
    ChildProcess show;
    ASSERT_TRUE(StartShow(show, {"--kiosk", "--monitor", "2"}));
    const unsigned long window = ShowAt(kLeftWidth);
    ASSERT_NE(window, 0u) << show.Output();
    Tool({"mousemove", std::to_string(kLeftWidth + 400), "300"});  // the keyboard follows the pointer
    for (const char* key : {"Escape", "F1", "alt+F4"}) {
        Tool({"keydown", key});
        std::this_thread::sleep_for(150ms);
        Tool({"keyup", key});
    }
    ASSERT_TRUE(x.RequestClose(window));
    std::this_thread::sleep_for(1s);
    EXPECT_FALSE(Status(show, 0ms)) << "the show ended; output:\n" << show.Output();
    EXPECT_EQ(ShowAt(kLeftWidth), window) << "the window was replaced";

    Tool({"keydown", "ctrl+alt+shift+q"});
    std::this_thread::sleep_for(150ms);
    Tool({"keyup", "ctrl+alt+shift+q"});
    const std::optional<int> status = Status(show);
    ASSERT_TRUE(status) << "the chord did not end the show";
    ASSERT_TRUE(WIFEXITED(*status));
    EXPECT_EQ(WEXITSTATUS(*status), 0);
    EXPECT_EQ(show.Output(), "");
}

}  // namespace
