// The message queue, default processing, and the messages injected input turns into: keys,
// minimise and restore, focus, close requests, and idling while nothing happens.
#include "tests/headless/platform_fixture.h"

namespace platform_test {
namespace {

using Messages = PlatformTest;

constexpr LPARAM kPreviousState = LPARAM(1) << 30;
constexpr LPARAM kReleased = LPARAM(1) << 31;

TEST_F(Messages, QueueKeepsPostingOrderAndHonoursFilters) {
    HWND window = CreateMain();
    ASSERT_TRUE(PostMessageA(window, WM_KEYDOWN, 'A', 1));
    ASSERT_TRUE(PostMessageA(window, WM_COMMAND, 1000, 0));
    ASSERT_TRUE(PostMessageA(window, WM_KEYUP, 'A', 2));

    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, WM_KEYDOWN);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_COMMAND, WM_COMMAND, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_COMMAND) << "filter skipped nothing";
    EXPECT_EQ(msg.hwnd, window);

    std::vector<UINT> rest;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) rest.push_back(msg.message);
    EXPECT_EQ(rest, (std::vector<UINT>{WM_KEYDOWN, WM_KEYUP}));
}

TEST_F(Messages, QuitComesAfterQueuedMessagesWithTheExitCode) {
    HWND window = CreateMain();
    PostMessageA(window, WM_NULL, 0, 0);
    PostQuitMessage(3);
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_NULL);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_EQ(msg.wParam, 3u);
    EXPECT_EQ(msg.hwnd, nullptr);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) << "quit delivered twice";
}

TEST_F(Messages, CloseCommandClosesAndDestroys) {
    HWND window = CreateMain();
    received().clear();
    EXPECT_EQ(SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0), 0);
    EXPECT_EQ(MessagesTo(window), (std::vector<UINT>{WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY}));
    EXPECT_EQ(headless::TopLevelCount(), 0);
}

TEST_F(Messages, CloseRequestOfTheDesktopBecomesScClose) {
    HWND window = CreateMain();
    received().clear();
    headless::CloseRequest();
    Pump();
    ASSERT_FALSE(received().empty());
    EXPECT_EQ(received()[0].message, WM_SYSCOMMAND);
    EXPECT_EQ(received()[0].wParam, SC_CLOSE);
    EXPECT_EQ(MessagesTo(window).back(), WM_DESTROY);
}

TEST_F(Messages, AltF4ClosesThroughDefaultProcessing) {
    CreateMain();
    ShowWindow(headless::MainWindow()->handle, SW_SHOW);
    received().clear();
    headless::KeyDown(VK_MENU);
    headless::KeyDown(VK_F4);
    Pump();
    auto system = Only(WM_SYSKEYDOWN);
    ASSERT_EQ(system.size(), 2u);
    EXPECT_EQ(system[1].wParam, VK_F4);
    EXPECT_NE(system[1].lParam & KF_ALTDOWN_BIT, 0);
    auto commands = Only(WM_SYSCOMMAND);
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].wParam, SC_CLOSE);
    EXPECT_EQ(headless::TopLevelCount(), 0);
}

TEST_F(Messages, ScreenSaverRunsOnlyThroughDefaultProcessing) {
    EXPECT_TRUE(headless::ScreenSaverAllowed()) << "no program window yet";
    HWND window = CreateMain();
    EXPECT_FALSE(headless::ScreenSaverAllowed()) << "the window holds it off";

    intercept() = [](HWND, UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_SYSCOMMAND && wParam == SC_SCREENSAVE) return 0;  // swallowed
        return std::nullopt;
    };
    SendMessageA(window, WM_SYSCOMMAND, SC_SCREENSAVE, 0);
    EXPECT_FALSE(headless::ScreenSaverAllowed());
    intercept() = nullptr;
    SendMessageA(window, WM_SYSCOMMAND, SC_MONITORPOWER, 2);
    EXPECT_TRUE(headless::ScreenSaverAllowed());
}

TEST_F(Messages, KeysCarryRepeatReleaseAndAltBits) {
    HWND window = CreateMain();
    ShowWindow(window, SW_SHOW);
    received().clear();
    headless::KeyDown('A');
    headless::KeyDown('A');
    headless::KeyUp('A');
    headless::KeyDown(VK_F10);
    headless::KeyUp(VK_F10);
    headless::KeyDown(VK_MENU);
    headless::KeyDown('X');
    headless::KeyUp('X');
    headless::KeyUp(VK_MENU);
    headless::KeyDown(VK_ESCAPE);
    Pump();

    struct Expected {
        UINT message;
        WPARAM vk;
        LPARAM bits;
    };
    const Expected expected[] = {
        {WM_KEYDOWN, 'A', 0},
        {WM_KEYDOWN, 'A', kPreviousState},
        {WM_KEYUP, 'A', kPreviousState | kReleased},
        {WM_SYSKEYDOWN, VK_F10, 0},
        {WM_SYSKEYUP, VK_F10, kPreviousState | kReleased},
        {WM_SYSKEYDOWN, VK_MENU, KF_ALTDOWN_BIT},
        {WM_SYSKEYDOWN, 'X', KF_ALTDOWN_BIT},
        {WM_SYSKEYUP, 'X', KF_ALTDOWN_BIT | kPreviousState | kReleased},
        {WM_SYSKEYUP, VK_MENU, KF_ALTDOWN_BIT | kPreviousState | kReleased},
        {WM_KEYDOWN, VK_ESCAPE, 0},
    };
    ASSERT_EQ(received().size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const Received& got = received()[i];
        EXPECT_EQ(got.window, window) << i;
        EXPECT_EQ(got.message, expected[i].message) << i;
        EXPECT_EQ(got.wParam, expected[i].vk) << i;
        EXPECT_EQ(got.lParam & ~LPARAM(0xFFFF), expected[i].bits) << i;
        EXPECT_EQ(got.lParam & 0xFFFF, 1) << "repeat count of message " << i;
    }
}

TEST_F(Messages, InputWaitsForTheProgramToLookAtItsQueue) {
    CreateMain();
    received().clear();
    headless::KeyDown(VK_ESCAPE);
    headless::Minimize();
    EXPECT_TRUE(received().empty()) << "input reached the window before the loop looked";
    headless::Deliver();
    EXPECT_EQ(Only(WM_SIZE).size(), 1u) << "state changes are sent while delivering";
    EXPECT_TRUE(Only(WM_KEYDOWN).empty()) << "keys are queued, not sent";
}

TEST_F(Messages, MinimiseAndRestoreReportActivationAndSize) {
    HWND window = CreateMain(300, 200);
    ShowWindow(window, SW_SHOW);
    received().clear();
    headless::Minimize();
    headless::Deliver();
    ASSERT_EQ(received().size(), 2u);
    EXPECT_EQ(received()[0].message, WM_ACTIVATE);
    EXPECT_EQ(LOWORD(received()[0].wParam), WA_INACTIVE);
    EXPECT_NE(HIWORD(received()[0].wParam), 0) << "minimised flag";
    EXPECT_EQ(received()[1].message, WM_SIZE);
    EXPECT_EQ(received()[1].wParam, SIZE_MINIMIZED);
    EXPECT_EQ(received()[1].lParam, 0);
    EXPECT_TRUE(headless::MainWindow()->minimized);

    received().clear();
    headless::Resize(640, 480);  // a minimised window keeps its size
    headless::Restore();
    headless::Deliver();
    ASSERT_EQ(received().size(), 2u);
    EXPECT_EQ(received()[0].message, WM_ACTIVATE);
    EXPECT_EQ(received()[0].wParam, MAKEWPARAM(WA_ACTIVE, 0));
    EXPECT_EQ(received()[1].message, WM_SIZE);
    EXPECT_EQ(received()[1].wParam, SIZE_RESTORED);
    EXPECT_EQ(received()[1].lParam, MAKELPARAM(300, 200));
}

TEST_F(Messages, FocusChangesActivateAndDeactivate) {
    HWND window = CreateMain();
    ShowWindow(window, SW_SHOW);
    received().clear();
    headless::Focus(false);
    headless::Focus(true);
    headless::Deliver();
    auto activations = Only(WM_ACTIVATE);
    ASSERT_EQ(activations.size(), 2u);
    EXPECT_EQ(activations[0].wParam, MAKEWPARAM(WA_INACTIVE, 0));
    EXPECT_EQ(activations[1].wParam, MAKEWPARAM(WA_ACTIVE, 0));
    EXPECT_EQ(GetFocus(), window);
}

TEST_F(Messages, EmptyLooksYieldOnlyWhenNoFrameCameSinceTheLastOne) {
    HWND window = CreateMain();
    ASSERT_NE(StartGl(window), nullptr);
    HDC dc = GetDC(window);
    MSG msg;
    auto emptyLook = [&] { EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)); };

    emptyLook();
    const int start = headless::IdleCount();
    emptyLook();
    EXPECT_EQ(headless::IdleCount(), start + 1) << "nothing presented since the last empty look";
    ASSERT_TRUE(SwapBuffers(dc));
    emptyLook();
    EXPECT_EQ(headless::IdleCount(), start + 1) << "a frame came: no yield";
    emptyLook();
    EXPECT_EQ(headless::IdleCount(), start + 2);
    PostMessageA(window, WM_NULL, 0, 0);
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(headless::IdleCount(), start + 2) << "yielded with a message pending";
}

TEST_F(Messages, IdleHookCanActWhileNoFramesCome) {
    HWND window = CreateMain();
    ShowWindow(window, SW_SHOW);
    std::vector<int> seen;
    headless::OnIdle([&](int idleNo) {
        seen.push_back(idleNo);
        if (idleNo == 3) headless::CloseRequest();
    });
    headless::Minimize();
    // The shape of the program's loop while minimised: look, and look again.
    MSG msg;
    for (int looks = 0; looks < 20 && headless::TopLevelCount() > 0; ++looks) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
    EXPECT_EQ(headless::TopLevelCount(), 0) << "the close request from the idle hook never arrived";
    ASSERT_GE(seen.size(), 3u);
    EXPECT_EQ(seen[0], 1);
    EXPECT_EQ(seen[2], 3);
}

TEST_F(Messages, RawPostAndSendReachTheNewestWindow) {
    EXPECT_FALSE(headless::Post(WM_NULL, 0, 0)) << "no window yet";
    HWND window = CreateMain();
    received().clear();
    intercept() = [](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_COMMAND) return 42;
        return std::nullopt;
    };
    EXPECT_EQ(headless::Send(WM_COMMAND, 1000, 0), 42);
    ASSERT_TRUE(headless::Post(WM_COMMAND, 1001, 0));
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, window);
    EXPECT_EQ(msg.wParam, 1001u);
    EXPECT_EQ(DispatchMessageA(&msg), 42);
}

}  // namespace
}  // namespace platform_test
