// The show in a private Xvfb, seen from outside as a user meets it: `showcase` itself or, in the
// Wine test program, showcase.exe under Wine; each in an English and a Russian locale. The
// program runs over a picture folder of flat, distinct colours, so each part of the frame tells
// by its hue which picture it shows.
#include <gtest/gtest.h>

#include <fstream>
#include <thread>

#include "tests/window/showcase_fixture.h"

namespace {

using namespace showcase_test;
using testpics::FlatColour;

// The program in the locale the test is given.
class ShowcaseShow : public ShowSession, public ::testing::WithParamInterface<const char*> {
  protected:
    void SetUp() override {
        locale = GetParam();
        ShowSession::SetUp();
    }
};

// A broken picture shows its box and the show goes on: the title, the splash, the tour into
// device 1 without input; a device button brings its device, the colours button switches the
// backdrop's picture and back; Escape ends it with its key code.
TEST_P(ShowcaseShow, TourRunsAndTheButtonsSteerIt) {
    std::ofstream(pictures.PicturePath("3")) << "not a picture at all, just some words long enough to hold a header";
    EXPECT_TRUE(Open({}, pictures.Root().string(), "Error")) << "no box for the broken picture";
    ASSERT_NE(window, 0u);
    EXPECT_EQ(x.Title(window), kStartupTitleUtf8);
    EXPECT_TRUE(WaitFor([&] { return Resembles(Corner(), FlatColour("13")); }, 20s))
        << "the splash picture never filled the view";
    EXPECT_EQ(Like(262, 200, 600, 400, "4"), 0) << "no device face in the splash";
    ASSERT_TRUE(WaitFor([&] { return Resembles(Corner(), FlatColour("11")); }))
        << "the backdrop never replaced the splash; output:\n" << app.Output();
    // Device 1 assembles on its floor (picture 1) in the lower middle of the view.
    EXPECT_TRUE(WaitFor([&] { return Like(362, 400, 400, 250, "1") > 500; }, 10s));
    // Device 9 has no assembly: its large face (picture 4) shows at once.
    ClickButton(1009);
    EXPECT_TRUE(WaitFor([&] { return Like(262, 200, 600, 400, "4") > 2000; }, 10s));
    ClickButton(1204);
    EXPECT_TRUE(WaitFor([&] { return Resembles(Corner(), FlatColour("11a")); }, 10s))
        << "the backdrop kept the first scheme's picture";
    ClickButton(1204);
    EXPECT_TRUE(WaitFor([&] { return Resembles(Corner(), FlatColour("11")); }, 10s));
    ClickAt(client.width / 2, client.height / 2);  // the view takes the keyboard focus, as a user's click gives it
    PressKey("Escape");
    EXPECT_EQ(ExitStatus(), kEscapeStatus);
}

std::string Language(const ::testing::TestParamInfo<const char*>& locale) { return std::string(locale.param, 2); }

INSTANTIATE_TEST_SUITE_P(Locales, ShowcaseShow, ::testing::Values("en_US.UTF-8", "ru_RU.UTF-8"), Language);

#ifdef SHOWCASE_WINDOWS_EXE
// Show-floor mode: the show covers the monitor exactly, without a frame or a mode change (the
// screen is 1024 x 768 and F1 asks for 640 x 480), refuses a visitor's keys and the close box,
// and ends on the operator's chord, as on a close request from outside (taskkill without /F).
// Monitors are the X server's own; a missing one is a usage error.
using WineKiosk = ShowcaseShow;

TEST_P(WineKiosk, CoversTheMonitorAndEndsOnlyAsTheOperatorAsks) {
    std::string listed;
    EXPECT_EQ(Run(Argv({"--list-monitors"}), &listed), 0);
    EXPECT_EQ(listed, "1: \\\\.\\DISPLAY1, 1024x768 at 0,0 (primary)\r\n");
    EXPECT_EQ(Run(Argv({"--monitor", "2"})), 2);
    for (const bool chord : {true, false}) {
        SCOPED_TRACE(chord ? "the chord" : "taskkill");
        Open({"--kiosk", "--monitor", "1"}, SHOWCASE_SOURCE_DIR);
        ASSERT_NE(window, 0u);
        EXPECT_EQ((std::vector<int>{client.x, client.y, client.width, client.height}),
                  (std::vector<int>{0, 0, kDesktop.width, kDesktop.height}))
            << "not exactly the monitor, or framed";
        ClickAt(600, 400);
        for (const char* key : {"Escape", "F1", "alt+F4", "ctrl+shift+q"}) PressKey(key);
        x.RequestClose(window);
        std::this_thread::sleep_for(1s);
        ASSERT_FALSE(app.WaitExit(0ms)) << "a visitor ended the show";
        EXPECT_EQ(x.Geometry(x.Root())->width, kDesktop.width) << "the display mode changed";
        if (chord)
            PressKey("ctrl+alt+shift+q");
        else
            EXPECT_EQ(Run({"/usr/bin/wine", "taskkill", "/im", "showcase.exe"}), 0);
        EXPECT_EQ(ExitStatus(), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Locales, WineKiosk, ::testing::Values("en_US.UTF-8"), Language);
#endif

}  // namespace
