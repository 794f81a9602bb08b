// showcase.exe, the Windows program, as a user meets it under Wine on a private Xvfb, under an
// English and a Russian locale: the title as the X server sees it, the splash, a device button,
// the box of a broken picture and Escape's status. The program runs over a picture folder of
// flat colours, as in the Linux show tests, so each part of the frame tells which picture it shows.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <fstream>
#include <thread>

#include "tests/window/showcase_fixture.h"

namespace {

using namespace showcase_test;
using testpics::FlatColour;

constexpr char kWine[] = "/usr/bin/wine";
constexpr char kWineServer[] = "/usr/bin/wineserver";

// Wine on the test's X server, in the prepared prefix; Wine mirrors nothing into this machine's
// desktop menus.
std::map<std::string, std::string> WineEnvironment(const std::string& display, const std::string& locale) {
    return {{"DISPLAY", display},
            {"WAYLAND_DISPLAY", ""},
            {"WINEPREFIX", SHOWCASE_WINE_PREFIX},
            {"WINEDEBUG", "-all"},
            {"WINEDLLOVERRIDES", "mscoree,mshtml=;winemenubuilder.exe=d"},
            {"LANG", locale},
            {"LC_ALL", locale}};
}

// Ends Wine's own processes of the prefix (its server, its desktop), which belong to one X server.
void StopWine(const std::string& display) {
    ChildProcess stop;
    if (stop.Start({kWineServer, "-k"}, WineEnvironment(display, "C.UTF-8"), "/")) stop.WaitExit(30s);
}

class WineShow : public ::testing::TestWithParam<const char*> {
  protected:
    void SetUp() override {
        ASSERT_TRUE(server.Start(kDesktop.width, kDesktop.height, kDesktop.depth)) << "Xvfb did not start";
        ASSERT_TRUE(x.Connect(server.Display()));
    }
    // Wine's own processes of the prefix (its server, its desktop) belong to this test's X server
    // and end with it.
    void TearDown() override { StopWine(server.Display()); }

    std::map<std::string, std::string> Environment() const { return WineEnvironment(server.Display(), GetParam()); }

    // Starts the program in the picture folder's root and waits for its window.
    void Open() {
        ASSERT_TRUE(app.Start({kWine, SHOWCASE_WINDOWS_EXE}, Environment(), pictures.Root().string()));
        window = x.WaitForWindow(kStartupTitleUtf8, 60s);
        ASSERT_NE(window, 0u) << "no window titled with the start-up title; output:\n" << app.Output();
        const std::optional<WindowGeometry> geometry = x.Geometry(window);
        ASSERT_TRUE(geometry);
        client = *geometry;
    }

    // The text of the box with this caption, once it is open, after pressing its OK button.
    std::string AnswerBox(const std::string& caption) {
        ChildProcess reader;
        if (!reader.Start({kWine, SHOWCASE_BOX_TEXT, caption, "ok"}, Environment(), "/")) return "(no reader)";
        const std::optional<int> status = reader.WaitExit(60s);
        if (!status || !WIFEXITED(*status) || WEXITSTATUS(*status) != 0) return "(no box)";
        return reader.Output();
    }

    Rgb ViewPixel(int clientX, int clientY) {
        return x.Grab(client.x + clientX, client.y + clientY, 1, 1).At(client.x + clientX, client.y + clientY);
    }
    // A corner of the view that only the splash picture or the backdrop covers.
    Rgb Corner() { return ViewPixel(client.width - 120, 80); }

    int CountLike(int left, int top, int width, int height, const std::string& picture) {
        const Capture area = x.Grab(client.x + left, client.y + top, width, height);
        int count = 0;
        for (const Rgb& pixel : area.pixels) count += Resembles(pixel, FlatColour(picture));
        return count;
    }

    void Tool(const std::vector<std::string>& arguments) {
        ASSERT_TRUE(Xdotool(server.Display(), arguments)) << "xdotool failed";
    }

    void ClickButton(int id) {
        for (const PanelButton& b : kPanelButtons)
            if (b.id == id) {
                Tool({"mousemove", std::to_string(client.x + b.x + b.width / 2),
                      std::to_string(client.y + b.y + b.height / 2)});
                Tool({"click", "1"});
            }
    }

    int EscapeStatus() {
        Tool({"mousemove", std::to_string(client.x + client.width / 2), std::to_string(client.y + client.height / 2)});
        Tool({"click", "1"});  // the view takes the keyboard focus, as a user's click gives it
        Tool({"keydown", "Escape"});
        std::this_thread::sleep_for(300ms);
        Tool({"keyup", "Escape"});
        const std::optional<int> status = app.WaitExit(30s);
        return status && WIFEXITED(*status) ? WEXITSTATUS(*status) : -1;
    }

    XvfbServer server;
    XClient x;
    ChildProcess app;
    testpics::PictureFolder pictures;
    unsigned long window = 0;
    WindowGeometry client{};
};

TEST_P(WineShow, TitleSplashDeviceButtonAndEscape) {
    ASSERT_NO_FATAL_FAILURE(Open());
    EXPECT_EQ(x.Title(window), kStartupTitleUtf8);
    EXPECT_TRUE(WaitFor([&] { return Resembles(Corner(), FlatColour("13")); }, 20s))
        << "the splash picture never filled the view";
    EXPECT_EQ(CountLike(client.width / 4, client.height / 4, client.width / 2, client.height / 2, "4"), 0)
        << "no device face in the splash";
    // Device 9 has no assembly: its large face (picture 4) shows at once, behind it the backdrop.
    ClickButton(1009);
    EXPECT_TRUE(WaitFor([&] { return Resembles(Corner(), FlatColour("11")); }, 10s));
    EXPECT_TRUE(WaitFor([&] {
        return CountLike(client.width / 4, client.height / 4, client.width / 2, client.height / 2, "4") > 2000;
    }, 10s)) << "the device button did not bring device 9";
    EXPECT_EQ(EscapeStatus(), kEscapeStatus);
}

TEST_P(WineShow, BrokenPictureShowsItsBoxAndTheShowGoesOn) {
    std::ofstream(pictures.PicturePath("3")) << "not a picture at all, just some words long enough to hold a header";
    ASSERT_TRUE(app.Start({kWine, SHOWCASE_WINDOWS_EXE}, Environment(), pictures.Root().string()));
    EXPECT_EQ(AnswerBox("Error"), "Unknown DIB file format.");
    window = x.WaitForWindow(kStartupTitleUtf8, 60s);
    ASSERT_NE(window, 0u) << app.Output();
    client = *x.Geometry(window);
    EXPECT_TRUE(WaitFor([&] { return Resembles(Corner(), FlatColour("13")); }, 20s));
    EXPECT_EQ(EscapeStatus(), kEscapeStatus);
}

// Show-floor mode: the show covers the monitor exactly, without a frame or a mode change (the
// screen is 1024 x 768 and F1 asks for 640 x 480), refuses a visitor's keys and the close box,
// and ends on the operator's chord, as on a close request from outside (taskkill without /F).
// Monitors are the X server's own; a missing one is a usage error.
TEST(WineKiosk, CoversTheMonitorAndEndsOnlyAsTheOperatorAsks) {
    XvfbServer server;
    ASSERT_TRUE(server.Start(kDesktop.width, kDesktop.height, kDesktop.depth));
    XClient x;
    ASSERT_TRUE(x.Connect(server.Display()));
    const auto environment = WineEnvironment(server.Display(), "en_US.UTF-8");
    const auto run = [&](std::vector<std::string> argv, std::string* output = nullptr) {
        ChildProcess program;
        argv.insert(argv.begin(), kWine);
        if (!program.Start(argv, environment, "/")) return -1;
        const std::optional<int> status = program.WaitExit(60s);
        if (output != nullptr) *output = program.Output();
        return status && WIFEXITED(*status) ? WEXITSTATUS(*status) : -1;
    };
    std::string listed;
    EXPECT_EQ(run({SHOWCASE_WINDOWS_EXE, "--list-monitors"}, &listed), 0);
    EXPECT_EQ(listed, "1: \\\\.\\DISPLAY1, 1024x768 at 0,0 (primary)\r\n");
    EXPECT_EQ(run({SHOWCASE_WINDOWS_EXE, "--monitor", "2"}), 2);

    for (const bool chord : {true, false}) {
        SCOPED_TRACE(chord ? "the chord" : "taskkill");
        ChildProcess show;
        ASSERT_TRUE(show.Start({kWine, SHOWCASE_WINDOWS_EXE, "--kiosk", "--monitor", "1"}, environment,
                               SHOWCASE_SOURCE_DIR));
        const unsigned long window = x.WaitForWindow(kStartupTitleUtf8, 60s);
        ASSERT_NE(window, 0u) << show.Output();
        const std::optional<WindowGeometry> geometry = x.Geometry(window), screen = x.Geometry(x.Root());
        ASSERT_TRUE(geometry && screen);
        EXPECT_EQ((std::vector<int>{geometry->x, geometry->y, geometry->width, geometry->height}),
                  (std::vector<int>{0, 0, kDesktop.width, kDesktop.height}))
            << "not exactly the monitor, or framed";
        ASSERT_TRUE(Xdotool(server.Display(), {"mousemove", "600", "400", "click", "1"}));
        for (const char* key : {"Escape", "F1", "alt+F4"}) {
            Xdotool(server.Display(), {"keydown", key});
            std::this_thread::sleep_for(300ms);
            Xdotool(server.Display(), {"keyup", key});
        }
        x.RequestClose(window);
        std::this_thread::sleep_for(1s);
        ASSERT_FALSE(show.WaitExit(0ms)) << "a visitor ended the show";
        EXPECT_EQ(x.Geometry(x.Root())->width, screen->width) << "the display mode changed";
        if (chord) {
            Xdotool(server.Display(), {"keydown", "ctrl+alt+shift+q"});
            std::this_thread::sleep_for(300ms);
            Xdotool(server.Display(), {"keyup", "ctrl+alt+shift+q"});
        } else {
            EXPECT_EQ(run({"taskkill", "/im", "showcase.exe"}), 0);
        }
        const std::optional<int> status = show.WaitExit(30s);
        ASSERT_TRUE(status && WIFEXITED(*status));
        EXPECT_EQ(WEXITSTATUS(*status), 0);
    }
    StopWine(server.Display());
}

INSTANTIATE_TEST_SUITE_P(Locales, WineShow, ::testing::Values("en_US.UTF-8", "ru_RU.UTF-8"),
                         [](const auto& info) { return std::string(info.param).substr(0, 2); });

}  // namespace
