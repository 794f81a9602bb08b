// showcase.exe, the Windows program, as a user meets it under Wine on a private Xvfb, under an
// English and a Russian locale: the title as the X server sees it, the splash, a device button,
// the box of a broken picture and Escape's status; and in show-floor mode. The program runs over a picture folder of
// flat colours, as in the Linux show tests, so each part of the frame tells which picture it shows.
#include <gtest/gtest.h>

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

// Ends Wine's own processes of the prefix, which belong to one X server.
void StopWine(const std::string& display) {
    ChildProcess stop;
    if (stop.Start({kWineServer, "-k"}, WineEnvironment(display, "C.UTF-8"), "/")) stop.WaitExit(30s);
}

// A private Xvfb for Wine; Wine's own processes of the prefix (its server, its desktop) belong to
// it and end with it.
class WineSession : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(server.Start(kDesktop.width, kDesktop.height, kDesktop.depth)) << "Xvfb did not start";
        ASSERT_TRUE(x.Connect(server.Display()));
    }
    void TearDown() override { StopWine(server.Display()); }

    virtual std::string Locale() const { return "en_US.UTF-8"; }
    std::map<std::string, std::string> Environment() const { return WineEnvironment(server.Display(), Locale()); }

    // Starts the program in that folder and waits for its window, after answering a box with
    // that caption when one is named. False when the box never came.
    bool Open(const std::vector<std::string>& options, const std::string& folder, const char* box = nullptr) {
        std::vector<std::string> argv{kWine, SHOWCASE_WINDOWS_EXE};
        argv.insert(argv.end(), options.begin(), options.end());
        const bool started = app.Start(argv, Environment(), folder);
        const bool answered = started && (box == nullptr || PressReturnIn(x, server.Display(), box, 60s));
        window = x.WaitForWindow(kStartupTitleUtf8, 60s);
        EXPECT_NE(window, 0u) << "no window titled with the start-up title; output:\n" << app.Output();
        if (const std::optional<WindowGeometry> geometry = x.Geometry(window)) client = *geometry;
        return answered;
    }

    // A program run to its end: its exit status, or -1.
    int Run(std::vector<std::string> argv, std::string* output = nullptr) {
        ChildProcess program;
        argv.insert(argv.begin(), kWine);
        if (!program.Start(argv, Environment(), "/")) return -1;
        const int status = program.ExitCode(60s);
        if (output != nullptr) *output = program.Output();
        return status;
    }

    void Tool(const std::vector<std::string>& arguments) {
        ASSERT_TRUE(Xdotool(server.Display(), arguments)) << "xdotool failed";
    }
    void PressKey(const std::string& key) { ASSERT_TRUE(::PressKey(server.Display(), key, 300ms)); }
    int ExitStatus() { return app.ExitCode(30s); }

    XvfbServer server;
    XClient x;
    ChildProcess app;
    unsigned long window = 0;
    WindowGeometry client{};
};

class WineShow : public WineSession, public ::testing::WithParamInterface<const char*> {
  protected:
    std::string Locale() const override { return GetParam(); }

    Rgb ViewPixel(int clientX, int clientY) {
        return x.Grab(client.x + clientX, client.y + clientY, 1, 1).At(client.x + clientX, client.y + clientY);
    }
    // A corner of the view that only the splash picture or the backdrop covers.
    Rgb Corner() { return ViewPixel(client.width - 120, 80); }

    // Pixels like the picture in the middle quarter of the view.
    int CentreLike(const std::string& picture) {
        const Capture area = x.Grab(client.x + client.width / 4, client.y + client.height / 4, client.width / 2,
                                    client.height / 2);
        int count = 0;
        for (const Rgb& pixel : area.pixels) count += Resembles(pixel, FlatColour(picture));
        return count;
    }

    void ClickButton(int id) {
        for (const PanelButton& b : kPanelButtons)
            if (b.id == id)
                Tool({"mousemove", std::to_string(client.x + b.x + b.width / 2),
                      std::to_string(client.y + b.y + b.height / 2), "click", "1"});
    }

    testpics::PictureFolder pictures;
};

// A broken picture shows its box and the show goes on: the title, the splash, a device button,
// and Escape's status.
TEST_P(WineShow, BrokenPictureTitleSplashDeviceButtonAndEscape) {
    std::ofstream(pictures.PicturePath("3")) << "not a picture at all, just some words long enough to hold a header";
    EXPECT_TRUE(Open({}, pictures.Root().string(), "Error")) << "no box for the broken picture";
    ASSERT_NE(window, 0u);
    EXPECT_EQ(x.Title(window), kStartupTitleUtf8);
    EXPECT_TRUE(WaitFor([&] { return Resembles(Corner(), FlatColour("13")); }, 20s))
        << "the splash picture never filled the view";
    EXPECT_EQ(CentreLike("4"), 0) << "no device face in the splash";
    // Device 9 has no assembly: its large face (picture 4) shows at once, behind it the backdrop.
    ClickButton(1009);
    EXPECT_TRUE(WaitFor([&] { return Resembles(Corner(), FlatColour("11")); }, 10s));
    EXPECT_TRUE(WaitFor([&] { return CentreLike("4") > 2000; }, 10s)) << "the device button did not bring device 9";
    // The view takes the keyboard focus, as a user's click gives it.
    Tool({"mousemove", std::to_string(client.x + client.width / 2), std::to_string(client.y + client.height / 2),
          "click", "1"});
    PressKey("Escape");
    EXPECT_EQ(ExitStatus(), kEscapeStatus);
}

// Show-floor mode: the show covers the monitor exactly, without a frame or a mode change (the
// screen is 1024 x 768 and F1 asks for 640 x 480), refuses a visitor's keys and the close box,
// and ends on the operator's chord, as on a close request from outside (taskkill without /F).
// Monitors are the X server's own; a missing one is a usage error.
using WineKiosk = WineSession;

TEST_F(WineKiosk, CoversTheMonitorAndEndsOnlyAsTheOperatorAsks) {
    std::string listed;
    EXPECT_EQ(Run({SHOWCASE_WINDOWS_EXE, "--list-monitors"}, &listed), 0);
    EXPECT_EQ(listed, "1: \\\\.\\DISPLAY1, 1024x768 at 0,0 (primary)\r\n");
    EXPECT_EQ(Run({SHOWCASE_WINDOWS_EXE, "--monitor", "2"}), 2);
    for (const bool chord : {true, false}) {
        SCOPED_TRACE(chord ? "the chord" : "taskkill");
        Open({"--kiosk", "--monitor", "1"}, SHOWCASE_SOURCE_DIR);
        ASSERT_NE(window, 0u);
        EXPECT_EQ((std::vector<int>{client.x, client.y, client.width, client.height}),
                  (std::vector<int>{0, 0, kDesktop.width, kDesktop.height}))
            << "not exactly the monitor, or framed";
        Tool({"mousemove", "600", "400", "click", "1"});
        for (const char* key : {"Escape", "F1", "alt+F4", "ctrl+shift+q"}) PressKey(key);
        x.RequestClose(window);
        std::this_thread::sleep_for(1s);
        ASSERT_FALSE(app.WaitExit(0ms)) << "a visitor ended the show";
        EXPECT_EQ(x.Geometry(x.Root())->width, kDesktop.width) << "the display mode changed";
        if (chord)
            PressKey("ctrl+alt+shift+q");
        else
            EXPECT_EQ(Run({"taskkill", "/im", "showcase.exe"}), 0);
        EXPECT_EQ(ExitStatus(), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Locales, WineShow, ::testing::Values("en_US.UTF-8", "ru_RU.UTF-8"),
                         [](const auto& info) { return std::string(info.param).substr(0, 2); });

}  // namespace
