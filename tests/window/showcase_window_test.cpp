// The real program in a real X window: each test starts its own Xvfb and runs `showcase` from
// the repository root, then looks at the window and its pixels from outside and drives it with
// the pointer and keys as a user would.
#include <gtest/gtest.h>
#include <signal.h>
#include <string.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <filesystem>
#include <thread>

#include "tests/support/test_pictures.h"
#include "tests/window/showcase_fixture.h"

namespace {

using namespace showcase_test;

TEST_F(ShowcaseWindow, DrawsEveryButtonRaisedWithItsLabelUprightAndCentred) {
    const Capture column = Column();
    for (const PanelButton& button : kPanelButtons) {
        if (button.width == 0) continue;  // the auto-start button cannot be seen
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

// The window opens over the whole screen. Xvfb offers no 640 x 480 x 16 mode, so F1 asks whether
// to go on windowed; Return takes the default answer, Yes, and the window comes back windowed,
// again over the whole screen, with the other title.
TEST_F(ShowcaseWindow, F1WithoutTheFullScreenModeAsksAndReopensWindowed) {
    const auto coversTheScreen = [&](unsigned long w) {
        const std::optional<WindowGeometry> g = x.Geometry(w);
        return g && g->x <= 0 && g->y <= 0 && g->x + g->width >= screen.width && g->y + g->height >= screen.height;
    };
    EXPECT_TRUE(coversTheScreen(window));
    PressKey("F1");
    ASSERT_TRUE(PressReturnIn(x, server.Display(), kQuestionCaption, 15s)) << "no question box; output:\n" << app.Output();

    const unsigned long reopened = x.WaitForWindow(kToggleTitleUtf8, 15s);
    ASSERT_NE(reopened, 0u) << "the window did not come back; output:\n" << app.Output();
    EXPECT_TRUE(coversTheScreen(reopened));
    EXPECT_TRUE(WaitForLook([](const Capture& c) { return LooksRaised(c, kPanelButtons[0]); }));
    PressKey("Escape");
    EXPECT_EQ(ExitStatus(), kEscapeStatus) << app.Output();
}

// A stop request ends the program within a second in every state it can be in, through the
// window's close path, whose only exit status is 0: no box stays open or comes up, nothing is
// said on stderr (a release step that failed would say so), and the screen has the desktop's
// mode again. The three signals share one handler, so each state takes one of them; the close
// box and Alt+F4 are the user's requests.
enum class StopState { BoxAtStartUp, LoadingAFifoPicture, FullScreenQuestion, Minimised, FullScreen, Kiosk, Windowed };
constexpr int kCloseBox = -1, kAltF4 = -2;

struct StopRow {
    StopState state;
    int way;  // a signal, kCloseBox or kAltF4
};

class StopRequest : public ShowSession, public ::testing::WithParamInterface<StopRow> {
protected:
    // Xvfb has no 640 x 480 x 16 mode beside a 24-bit desktop, so F1 asks there; a screen
    // whose only mode is that one goes full screen without asking.
    StopRequest() {
        if (GetParam().state == StopState::FullScreen) screen = {640, 480, 16};
    }

    // Starts the program and brings it into the state (a fatal failure when it does not get there).
    void EnterState(StopState state) {
        if (state == StopState::BoxAtStartUp) std::filesystem::resize_file(pictures.PicturePath("4"), 60);
        if (state == StopState::LoadingAFifoPicture) {
            std::filesystem::remove(pictures.PicturePath("4"));
            ASSERT_EQ(mkfifo(pictures.PicturePath("4").c_str(), 0600), 0);
        }
        Open(state == StopState::Kiosk ? std::vector<std::string>{"--kiosk"} : std::vector<std::string>{},
             pictures.Root());
        ASSERT_NE(window, 0u);
        if (state == StopState::LoadingAFifoPicture) return;
        if (state == StopState::BoxAtStartUp) {
            ASSERT_NE(x.WaitForWindow("Error", 15s), 0u) << "no box; output:\n" << app.Output();
            return;
        }
        ASSERT_TRUE(WaitForButtons(true));
        if (state == StopState::Kiosk || state == StopState::Windowed) return;
        if (state == StopState::Minimised) {
            ASSERT_TRUE(Xdotool(server.Display(), {"windowunmap", std::to_string(window)}));
            ASSERT_TRUE(WaitForButtons(false));
            return;
        }
        PressKey("F1");
        if (state == StopState::FullScreenQuestion) {
            ASSERT_NE(x.WaitForWindow(kQuestionCaption, 15s), 0u) << "no question box; output:\n" << app.Output();
            return;
        }
        // Full screen without asking: the window is exactly the 640 x 480 mode.
        window = x.WaitForWindow(kToggleTitleUtf8, 15s);
        ASSERT_NE(window, 0u) << "no full-screen window; output:\n" << app.Output();
        const std::optional<WindowGeometry> full = x.Geometry(window);
        ASSERT_TRUE(full);
        EXPECT_EQ((std::vector<int>{full->x, full->y, full->width, full->height}), (std::vector<int>{0, 0, 640, 480}));
        ASSERT_TRUE(WaitForButtons(true));
    }

    bool WaitForButtons(bool shown) {
        return WaitForLook([&](const Capture& c) { return LooksRaised(c, kPanelButtons[0]) == shown; });
    }
};

TEST_P(StopRequest, EndsWithinASecondWithStatusZeroAndTheDesktopMode) {
    EnterState(GetParam().state);
    if (HasFatalFailure()) return;
    const int way = GetParam().way;
    ASSERT_TRUE(way == kCloseBox   ? x.RequestClose(window)
                : way == kAltF4    ? Xdotool(server.Display(), {"key", "alt+F4"})
                                   : kill(app.Pid(), way) == 0);
    const auto sent = std::chrono::steady_clock::now();
    EXPECT_EQ(app.ExitCode(5s), 0) << "-1: still running; above 128: ended by a signal; output:\n" << app.Output();
    EXPECT_LT(std::chrono::steady_clock::now() - sent, 1s);
    EXPECT_EQ(app.Output(), "");
    EXPECT_EQ(x.WaitForWindow("Error", 0ms), 0u);
    const std::optional<WindowGeometry> desktop = x.Geometry(x.Root());
    ASSERT_TRUE(desktop);
    EXPECT_EQ(desktop->width, screen.width);
    EXPECT_EQ(desktop->height, screen.height);
}

const StopRow kStopRows[] = {
    {StopState::BoxAtStartUp, SIGINT}, {StopState::LoadingAFifoPicture, SIGTERM},
    {StopState::FullScreenQuestion, SIGHUP}, {StopState::Minimised, SIGINT},
    {StopState::FullScreen, SIGTERM}, {StopState::Kiosk, SIGHUP},
    {StopState::Windowed, kCloseBox}, {StopState::Windowed, kAltF4},
};

std::string StopRowName(const ::testing::TestParamInfo<StopRow>& row) {
    static const char* const kStates[] = {"BoxAtStartUp", "LoadingAFifoPicture", "FullScreenQuestion", "Minimised",
                                          "FullScreen", "Kiosk", "Windowed"};
    const int way = row.param.way;
    return std::string(kStates[static_cast<int>(row.param.state)]) + "_" +
           (way == kCloseBox ? "CloseBox" : way == kAltF4 ? "AltF4" : sigabbrev_np(way));
}

void PrintTo(const StopRow& row, std::ostream* out) { *out << StopRowName(::testing::TestParamInfo(row, 0)); }

INSTANTIATE_TEST_SUITE_P(StatesAndRequests, StopRequest, ::testing::ValuesIn(kStopRows), StopRowName);

// The X server going away ends the program at once with one line and a failure status, never
// through the exit handlers that would talk to the dead display (and dump core).
TEST_F(ShowcaseWindow, LostDisplayEndsWithOneLineAndStatusOne) {
    x.Disconnect();
    const auto lost = std::chrono::steady_clock::now();
    server.Stop();
    EXPECT_EQ(app.ExitCode(15s), 1) << "-1: still running; above 128: ended by a signal; output:\n" << app.Output();
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - lost);
    RecordProperty("milliseconds_to_exit", static_cast<int>(took.count()));
    EXPECT_EQ(app.Output(), "showcase: lost the connection to the display\n");
}

// Run as a service, the show speaks the service manager's notify protocol on the socket it is
// given: READY=1 once it shows, then a watchdog ping at a quarter of the interval while its loop
// runs; none while it is stopped (SIGSTOP, as a hung show sends none), and again once it goes on.
using ServiceShow = ShowSession;
TEST_F(ServiceShow, TellsTheServiceManagerItIsUpAndAliveAndStopsPingingWhenStopped) {
    sockaddr_un address{AF_UNIX, {}};
    const std::string path = testing::TempDir() + "notify-" + std::to_string(getpid());
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
    const int listener = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    unlink(path.c_str());
    ASSERT_EQ(bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0) << strerror(errno);
    // The messages that come within `time`, each followed by a space.
    const auto listen = [listener](std::chrono::milliseconds time) {
        std::string heard;
        char message[256];
        for (const auto end = std::chrono::steady_clock::now() + time; std::chrono::steady_clock::now() < end;) {
            pollfd waiting{listener, POLLIN, 0};
            if (poll(&waiting, 1, 50) > 0) heard += std::string(message, std::max<ssize_t>(0, recv(listener, message, 255, 0))) + ' ';
        }
        return heard;
    };
    std::map<std::string, std::string> environment = Environment();
    environment.insert({{"NOTIFY_SOCKET", path}, {"WATCHDOG_USEC", "2000000"}});
    ASSERT_TRUE(app.Start(Argv({}), environment, SHOWCASE_SOURCE_DIR));
    std::string heard;
    WaitFor([&] { return (heard += listen(500ms)).find("READY=1 WATCHDOG=1 WATCHDOG=1 WATCHDOG=1") == 0; }, 30s);
    EXPECT_EQ(heard.rfind("READY=1 WATCHDOG=1 WATCHDOG=1 WATCHDOG=1", 0), 0u) << heard << app.Output();
    EXPECT_EQ(heard.find("READY=1", 1), std::string::npos) << heard;
    kill(app.Pid(), SIGSTOP);
    listen(100ms);  // a ping on its way as it stopped
    EXPECT_EQ(listen(2500ms), "") << "pings from a stopped show";
    kill(app.Pid(), SIGCONT);
    EXPECT_NE(listen(2500ms).find("WATCHDOG=1"), std::string::npos) << "no pings once it went on";
    close(listener);
    unlink(path.c_str());
}

TEST(ShowcaseWithoutDisplay, FailsWithAMessageOnStderr) {
    ChildProcess app;
    ASSERT_TRUE(app.Start({SHOWCASE_EXECUTABLE}, {{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}}, SHOWCASE_SOURCE_DIR));
    const int status = app.ExitCode(15s);
    EXPECT_TRUE(status > 0 && status < 128) << "-1: it waited for a display that is not there; above 128: a signal";
    EXPECT_NE(app.Output().find("Window Creation Error."), std::string::npos) << app.Output();
}

}  // namespace
