// The loop and the window procedure, through ViewerMain: quitting, the full-screen toggle,
// minimising, system commands and panel commands.
#include <signal.h>

#include "tests/app/viewer_fixture.h"

namespace {

using platform::Call;

TEST_F(ViewerRun, EscapeExitStatusIsTheWParamOfTheLastMessageTaken) {
    atFrame[3] = [] {
        headless::KeyDown(VK_ESCAPE);
        headless::Deliver();
        headless::Post(WM_NULL, 77, 0);
    };
    EXPECT_EQ(Run(), 77);
    EXPECT_EQ(headless::FrameCount(), 3) << "the pass that sees Escape draws no frame";
    EXPECT_EQ(headless::TopLevelCount(), 0);
    EXPECT_EQ(Count(Call::UnregisterClass), 1);
    EXPECT_TRUE(headless::Boxes().empty());
}

// Every way of closing ends with status 0 after one destroying of the window. A signal asks the
// window to close as the close box does: the program leaves full screen and releases everything
// in order; afterwards the signal has its previous action again.
TEST_F(ViewerRun, EveryWayOfClosingEndsWithZero) {
    const std::function<void()> ways[] = {
        [] { headless::CloseRequest(); },
        [] { headless::Post(WM_SYSCOMMAND, SC_CLOSE, 0); },
        [] {
            headless::KeyDown(VK_MENU);
            headless::KeyDown(VK_F4);
        },
        [] { raise(SIGINT); }, [] { raise(SIGTERM); }, [] { raise(SIGHUP); },
    };
    for (const auto& way : ways) {
        SetUp();
        headless::AddMode(640, 480, 16);
        for (int signal : {SIGINT, SIGTERM, SIGHUP}) ::signal(signal, SIG_DFL);
        atFrame = {{2, [] { headless::KeyDown(VK_F1); }}, {5, way}};
        EXPECT_EQ(Run(), 0);
        EXPECT_EQ(headless::FrameCount(), 5) << "the close request is taken before another frame";
        EXPECT_EQ(Count(Call::DestroyWindow), 2) << "F1's reopening, then the closing routine";
        EXPECT_FALSE(keyDown[VK_F4]) << "system keys are not recorded";
        // The release calls after the last frame, in their order.
        const std::vector<std::string> names = headless::CallNames();
        const auto lastFrame = std::find(names.rbegin(), names.rend(), "SwapBuffers").base();
        const std::vector<std::string> steps = {"ChangeDisplaySettingsA(NULL)", "ShowCursor", "wglMakeCurrent(NULL)",
                                                "wglDeleteContext", "ReleaseDC", "DestroyWindow", "UnregisterClassA"};
        std::vector<std::string> released;
        std::copy_if(lastFrame, names.end(), std::back_inserter(released), [&](const std::string& name) {
            return std::find(steps.begin(), steps.end(), name) != steps.end();
        });
        EXPECT_EQ(released, steps);
        EXPECT_FALSE(headless::ModeChanged());
        EXPECT_EQ(headless::LiveContexts(), 0);
        headless::Reset();
        for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
            struct sigaction now = {};
            sigaction(signal, nullptr, &now);
            EXPECT_EQ(now.sa_handler, SIG_DFL);
        }
    }
}

// In the background the window stays active and draws on. Minimised, it is inactive, draws no
// frame and ignores Escape; its 0 x 0 size reaches the projection as a viewport of 100 x 101 (the
// zero height becomes 1). Restored, it is active with its size again.
TEST_F(ViewerRun, MinimisedWindowStopsAndIgnoresEscapeUntilRestored) {
    const auto viewport = [] {
        GLint box[4] = {};
        glGetIntegerv(GL_VIEWPORT, box);
        return std::vector<int>{box[2], box[3]};
    };
    atFrame[2] = [] { headless::Focus(false); };
    atFrame[4] = [] {
        EXPECT_TRUE(windowActive);
        headless::Minimize();
    };
    atIdle[3] = [&] {
        EXPECT_FALSE(windowActive);
        EXPECT_EQ(viewport(), (std::vector<int>{100, 101}));
        headless::KeyDown(VK_ESCAPE);
    };
    atIdle[40] = [&] {
        EXPECT_EQ(headless::FrameCount(), 4) << "no frame while minimised";
        EXPECT_TRUE(headless::MainWindow() != nullptr) << "Escape did not end the program";
        headless::KeyUp(VK_ESCAPE);
        headless::Restore();
    };
    atFrame[5] = [&] {
        EXPECT_TRUE(windowActive);
        EXPECT_EQ(viewport(), (std::vector<int>{900, 700}));
        headless::KeyDown(VK_ESCAPE);
    };
    EXPECT_EQ(Run(), static_cast<int>(VK_ESCAPE));
    EXPECT_EQ(headless::FrameCount(), 5);
    EXPECT_GE(headless::IdleCount(), 40) << "the idle loop gives the processor back on every empty look";
}

TEST_F(ViewerRun, EveryPanelCommandTakesEffectOnTheFollowingFrame) {
    struct Step {
        int id;
        std::function<void()> check;
    };
    std::vector<Step> steps;
    // Device n's button opens its scene window: the following frame stands one step past it.
    for (int n = 1; n <= 13; ++n) {
        steps.push_back({n < 8 ? 999 + n : 1000 + n, [n] {
                             EXPECT_EQ(sceneState.sceneMode, n);
                             EXPECT_FLOAT_EQ(sceneState.tourClock, kSceneWindowStart[n - 1] + 1.92f);
                         }});
    }
    steps.insert(steps.end(), {
        {1014, [] { EXPECT_EQ(sceneState.sceneMode, 14); }},
        {1203, [] { EXPECT_EQ(sceneState.sceneMode, 23); }},
        {1201, [] { EXPECT_FLOAT_EQ(sceneState.tourSpeed, 0.8f); }},
        {1200, [] { EXPECT_EQ(sceneState.tourSpeed, 0.2f); }},
        {1202, [] { EXPECT_EQ(sceneState.captionMode, 2); }},
        {1204, [] { EXPECT_EQ(sceneState.colorScheme, 2); }},
        {1202, [] { EXPECT_EQ(sceneState.captionMode, 1); }},
        {1204, [] { EXPECT_EQ(sceneState.colorScheme, 1); }},
    });
    int frame = 2;
    for (const Step& step : steps) {
        atFrame[frame] = [&step] { headless::Post(WM_COMMAND, MAKEWPARAM(step.id, BN_CLICKED), 0); };
        atFrame[frame + 1] = [&step] { step.check(); };
        frame += 2;
    }
    atFrame[frame] = [] { headless::KeyDown(VK_ESCAPE); };
    Run();
}

// The screen saver and the monitor's power-down are swallowed; command ids and key codes outside
// the tables are left alone.
TEST_F(ViewerRun, ScreenSaverSwallowedAndUnlistedCommandsAndKeysLeftAlone) {
    atFrame[2] = [] {
        int defaultsBefore = Count(Call::DefWindowProc);
        EXPECT_EQ(headless::Send(WM_SYSCOMMAND, SC_SCREENSAVE, 0), 0);
        EXPECT_EQ(headless::Send(WM_SYSCOMMAND, SC_MONITORPOWER, 0), 0);
        EXPECT_EQ(Count(Call::DefWindowProc), defaultsBefore);
        EXPECT_FALSE(headless::ScreenSaverAllowed());
        // Compared as a whole: another value in the low bits is not swallowed.
        headless::Send(WM_SYSCOMMAND, SC_SCREENSAVE | 1, 0);
        EXPECT_EQ(Count(Call::DefWindowProc), defaultsBefore + 1);
        for (WORD id : {WORD(1007), WORD(999), WORD(1205), WORD(0xFFFF)}) {
            SceneState before = sceneState;
            int defaults = Count(Call::DefWindowProc);
            headless::Send(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
            EXPECT_EQ(Count(Call::DefWindowProc), defaults + 1) << id;
            EXPECT_EQ(std::memcmp(&before, &sceneState, sizeof before), 0) << id;
        }
        int defaults = Count(Call::DefWindowProc);
        EXPECT_EQ(headless::Send(WM_COMMAND, MAKEWPARAM(1000, 0), 0), 0);
        EXPECT_EQ(Count(Call::DefWindowProc), defaults) << "a listed id is handled";
        headless::Send(WM_KEYDOWN, 256, 0);
        headless::Send(WM_KEYDOWN, WPARAM(-1), 0);
        headless::Send(WM_KEYUP, 100000, 0);
        headless::CloseRequest();
    };
    EXPECT_EQ(Run(), 0);
}

// A button looks pressed only while held with the pointer over it, and clicks only when
// released over it; it never takes the focus. The zero-width auto-start button cannot be seen
// or clicked.
TEST_F(ViewerRun, ButtonsClickOnlyWhenReleasedOverThemAndNeverTakeTheFocus) {
    const auto pressed = [](int id) {
        for (const auto& b : headless::AllButtons()) {
            if (b.id == id) return b.pressed;
        }
        return false;
    };
    atFrame[2] = [] {
        EXPECT_EQ(headless::Buttons().size(), 18u);
        EXPECT_EQ(headless::AllButtons().size(), 19u);
        EXPECT_FALSE(headless::Click(1014));
        headless::PointerDown(10, 575);  // "Colours"
    };
    atFrame[3] = [&] {
        EXPECT_TRUE(pressed(1204));
        headless::PointerMove(300, 300);
    };
    atFrame[4] = [&] {
        EXPECT_FALSE(pressed(1204)) << "the pointer left the button";
        headless::PointerUp(300, 300);
    };
    atFrame[5] = [&] {
        EXPECT_EQ(sceneState.colorScheme, 1) << "released away from the button";
        headless::PointerDown(10, 575);
    };
    atFrame[6] = [] { headless::PointerUp(10, 575); };
    atFrame[7] = [&] {
        EXPECT_FALSE(pressed(1204));
        EXPECT_EQ(sceneState.colorScheme, 2);
        EXPECT_EQ(GetFocus(), windowHandle);
        headless::KeyDown(VK_ESCAPE);  // keys still reach the window after a click
    };
    EXPECT_EQ(Run(), static_cast<int>(VK_ESCAPE));
}

TEST_F(ViewerRun, F1ReopensFullScreenAt640x480AndRestartsTheShow) {
    headless::SetScreen(1024, 768, 32);
    headless::AddMode(640, 480, 16);
    std::int32_t counterBefore = 0;
    int reopenFrame = 0;
    HWND oldButton = nullptr;
    atFrame[40] = [&] {
        sceneState.sceneMode = 7;
        sceneState.tourClock = 18000;
        counterBefore = sceneState.frameCounter;
        oldButton = headless::AllButtons().at(0).handle;
        headless::KeyDown(VK_F1);
    };
    // The frame after the key is still drawn in the old window; the toggle follows it.
    atFrame[42] = [&] {
        reopenFrame = 42;
        const platform::WindowRecord* window = headless::MainWindow();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->text, "Mivo's OpenGL Framework");
        EXPECT_TRUE(fullscreen);
        EXPECT_TRUE(headless::FullScreen());
        EXPECT_EQ(window->width, 640);
        EXPECT_EQ(window->height, 480);
        EXPECT_EQ(window->style, WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
        EXPECT_EQ(window->exStyle, WS_EX_APPWINDOW);
        EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 640);
        EXPECT_FALSE(headless::CursorVisible());
        EXPECT_EQ(sceneState.sceneMode, 23) << "the show restarts at the splash";
        EXPECT_FLOAT_EQ(sceneState.tourClock, 1400 + 1.92f);
        EXPECT_EQ(sceneState.frameCounter, counterBefore + 2) << "the frame counter runs on";
        EXPECT_EQ(headless::AllButtons().size(), 19u) << "the panel is built again";
        EXPECT_FALSE(PostMessageA(oldButton, WM_NULL, 0, 0)) << "the old panel went with its window";
        headless::KeyUp(VK_F1);
        headless::KeyDown(VK_F1);
    };
    atFrame[44] = [] {
        const platform::WindowRecord* window = headless::MainWindow();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->text, "Mivo's OpenGL Framework");
        EXPECT_FALSE(fullscreen);
        EXPECT_FALSE(headless::ModeChanged()) << "the desktop mode is back";
        EXPECT_TRUE(headless::CursorVisible());
        EXPECT_EQ(window->width, 1024) << "windowed, the window covers the desktop again";
        headless::KeyDown(VK_ESCAPE);
    };
    EXPECT_EQ(Run(), static_cast<int>(VK_ESCAPE));
    EXPECT_EQ(reopenFrame, 42);
    EXPECT_EQ(Count(Call::CreateWindow), 3);
    EXPECT_EQ(Count(Call::RestoreDisplaySettings), 1);
    EXPECT_EQ(headless::LiveContexts(), 0);
}

TEST_F(ViewerRun, EscapeAndF1InOnePassReopenThenQuit) {
    atFrame[2] = [] {
        headless::Post(WM_KEYDOWN, VK_ESCAPE, 0);
        headless::Post(WM_KEYDOWN, VK_F1, 0);
    };
    headless::AnswerNextBox(IDYES);  // no 640 x 480 x 16 mode here
    EXPECT_EQ(Run(), static_cast<int>(VK_F1));
    EXPECT_EQ(headless::FrameCount(), 2) << "no frame is drawn after the pass that saw Escape";
    EXPECT_EQ(Count(Call::CreateWindow), 2);
    EXPECT_EQ(Count(Call::DestroyWindow), 2);
    EXPECT_EQ(Count(Call::UnregisterClass), 2);
    ASSERT_EQ(headless::Boxes().size(), 1u);
    EXPECT_EQ(headless::Boxes()[0].caption, "Mivo GL");
}

TEST_F(ViewerRun, MissingFullScreenModeAskedAndYesStaysWindowed) {
    atFrame[2] = [] { headless::KeyDown(VK_F1); };
    headless::AnswerNextBox(IDYES);
    atFrame[4] = [] {
        ASSERT_EQ(headless::Boxes().size(), 1u);
        const headless::Box& box = headless::Boxes()[0];
        EXPECT_EQ(box.text,
                  "The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. Use Windowed Mode Instead?");
        EXPECT_EQ(box.caption, "Mivo GL");
        EXPECT_EQ(box.type, MB_YESNO | MB_ICONEXCLAMATION);
        EXPECT_EQ(box.owner, nullptr);
        EXPECT_FALSE(fullscreen);
        EXPECT_FALSE(headless::FullScreen());
        EXPECT_EQ(headless::MainWindow()->text, "Mivo's OpenGL Framework");
        EXPECT_EQ(headless::MainWindow()->style & WS_OVERLAPPEDWINDOW, WS_OVERLAPPEDWINDOW);
        EXPECT_TRUE(headless::CursorVisible());
        headless::KeyDown(VK_ESCAPE);
    };
    EXPECT_EQ(Run(), static_cast<int>(VK_ESCAPE));
    EXPECT_EQ(Count(Call::RestoreDisplaySettings), 0) << "closing does not touch the display mode";
}

TEST_F(ViewerRun, MissingFullScreenModeAnsweredNoEndsWithFailure) {
    atFrame[2] = [] { headless::KeyDown(VK_F1); };
    headless::AnswerNextBox(IDNO);
    int status = Run();
    EXPECT_NE(status, 0) << "a window that could not be opened is a failure";
    ASSERT_EQ(headless::Boxes().size(), 2u);
    const headless::Box& last = headless::Boxes()[1];
    EXPECT_EQ(last.text, "Program Will Now Close.");
    EXPECT_EQ(last.caption, "ERROR");
    EXPECT_EQ(last.type, MB_OK | MB_ICONSTOP);
    EXPECT_EQ(Count(Call::RegisterClass), 2);
    EXPECT_EQ(Count(Call::UnregisterClass), 1) << "the class of the second opening stays registered";
    EXPECT_EQ(Count(Call::CreateWindow), 1);
    EXPECT_EQ(headless::TopLevelCount(), 0);
}

}  // namespace

namespace {

// In kiosk mode every way a visitor could end or derail the show does nothing; the operator's
// chord and a request from outside end it with status 0. The window covers the chosen monitor
// without a mode change.
TEST_F(ViewerRun, KioskRefusesVisitorsAndEndsOnTheChordOrATermination) {
    const std::function<void()> refused[] = {
        [] { headless::KeyDown(VK_ESCAPE); },
        [] { headless::KeyDown(VK_F1); },
        [] {
            headless::KeyDown(VK_MENU);
            headless::KeyDown(VK_F4);
        },
        [] { headless::CloseRequest(); },
        [] {  // the chord without one of its keys
            headless::KeyDown(VK_CONTROL);
            headless::KeyDown(VK_SHIFT);
            headless::KeyDown('Q');
        },
    };
    const std::function<void()> ending[] = {
        [] {
            for (WPARAM key : {VK_CONTROL, VK_MENU, VK_SHIFT, WPARAM('Q')}) headless::KeyDown(key);
        },
        [] { raise(SIGTERM); },
    };
    for (const auto& end : ending) {
        for (const auto& visitor : refused) {
            SetUp();
            headless::AddMonitor(800, 0, 640, 480, "second");
            headless::AddMode(640, 480, 16);
            showFloor = {.kiosk = true, .monitor = 2, .idleResetMs = kKioskIdleResetMs};
            atFrame[2] = visitor;
            atFrame[8] = [&] {
                for (WPARAM key : {VK_ESCAPE, VK_F1, VK_F4, VK_MENU, VK_CONTROL, VK_SHIFT, WPARAM('Q')})
                    headless::KeyUp(key);
                const platform::WindowRecord* window = headless::MainWindow();
                ASSERT_NE(window, nullptr);
                EXPECT_EQ(Count(Call::CreateWindow), 1);
                EXPECT_EQ((std::vector<int>{window->x, window->y, window->width, window->height}),
                          (std::vector<int>{800, 0, 640, 480}));
                EXPECT_TRUE(window->style & WS_POPUP);
                EXPECT_TRUE(window->exStyle & WS_EX_TOPMOST);
                EXPECT_EQ(Count(Call::ChangeDisplaySettings), 0);
                end();
            };
            EXPECT_EQ(Run(), 0);
            EXPECT_EQ(headless::FrameCount(), 8);
            EXPECT_EQ(headless::CursorCounter(), 0);
        }
    }
}

class AttractReset : public ViewerRun {
  protected:
    static constexpr int kFrames = 200;
    static constexpr DWORD kTimeoutMs = 1000;  // 63 frames of the headless clock

    // A digest of every presented frame, buttons included, of a run that the script drives
    // and that ends after kFrames.
    std::vector<std::uint64_t> Frames(std::map<int, std::function<void()>> script) {
        SetUp();
        headless::SetScreen(320, 240, 32);
        showFloor = kiosk;
        std::vector<std::uint64_t> digests;
        auto pixels = std::make_shared<headless::Frame>();
        for (int frame = 1; frame <= kFrames; ++frame) {
            atFrame[frame] = [&, frame, pixels, action = script[frame]] {
                headless::ReadPixels(*pixels, headless::PixelOrder::Bgra);
                std::uint64_t hash = 14695981039346656037ull;
                for (std::uint8_t byte : pixels->rgba) hash = (hash ^ byte) * 1099511628211ull;
                digests.push_back(hash);
                if (action) action();
                if (frame == kFrames) headless::Post(WM_CLOSE, 0, 0);
            };
        }
        Run();
        return digests;
    }

    static void Derail() {
        for (int id : {1201, 1201, 1202, 1204}) EXPECT_TRUE(headless::Click(id));
    }

    // The first frame from `from` on that shows the start of the show again, 1-based; 0 if none.
    static int Restart(const std::vector<std::uint64_t>& run, const std::vector<std::uint64_t>& fresh, int from) {
        for (int frame = from; frame <= static_cast<int>(run.size()); ++frame)
            if (run[frame - 1] == fresh[0]) return frame;
        return 0;
    }

    ShowFloorOptions kiosk{.kiosk = true, .idleResetMs = kTimeoutMs};
};

TEST_F(AttractReset, ReturnsToTheFreshStartOnceAfterTheLastInput) {
    kiosk = {};
    const std::vector<std::uint64_t> fresh = Frames({});
    kiosk = {.kiosk = true, .idleResetMs = kTimeoutMs};

    const std::vector<std::uint64_t> untouched = Frames({});
    EXPECT_EQ(untouched, fresh) << "a show nobody touched is never reset";

    const std::vector<std::uint64_t> derailed = Frames({{2, Derail}, {3, [] {
                                                             EXPECT_FLOAT_EQ(sceneState.tourSpeed, 1.0f);
                                                             EXPECT_EQ(sceneState.captionMode, 2);
                                                             EXPECT_EQ(sceneState.colorScheme, 2);
                                                         }}});
    const int reset = Restart(derailed, fresh, 3);
    EXPECT_EQ(reset, 2 + 64) << "one timeout of frames after the clicks were taken";
    ASSERT_GT(reset, 0);
    const std::vector<std::uint64_t> after(derailed.begin() + reset - 1, derailed.end());
    EXPECT_TRUE(std::equal(after.begin(), after.end(), fresh.begin())) << "frame for frame a fresh start";

    const std::vector<std::uint64_t> postponed = Frames({{2, Derail}, {reset - 2, [] { headless::PointerMove(300, 200); }}});
    EXPECT_EQ(Restart(postponed, fresh, 3), reset + (reset - 4)) << "input just before the timeout starts it over";
}

// The pointer hides after resting 3 s in kiosk mode and comes back when it moves.
TEST_F(AttractReset, PointerHidesWhileItRests) {
    constexpr int kRestFrames = 3000 / headless::kTicksPerLook;
    Frames({{kRestFrames - 2, [] { EXPECT_TRUE(headless::CursorVisible()); }},
            {kRestFrames + 2,
             [] {
                 EXPECT_FALSE(headless::CursorVisible());
                 headless::PointerMove(10, 10);
             }},
            {kRestFrames + 3, [] { EXPECT_TRUE(headless::CursorVisible()); }},
            {kRestFrames + 4, [] { EXPECT_EQ(headless::CursorCounter(), 0); }}});
}

}  // namespace
