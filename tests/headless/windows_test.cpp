// Classes and windows of the platform layer: registration rules, the messages creation,
// showing and destruction deliver synchronously, and where the keyboard focus goes.
#include "tests/headless/platform_fixture.h"

namespace platform_test {
namespace {

using Windows = PlatformTest;

TEST_F(Windows, ClassRegistersOnceAndNeedsNameAndProcedure) {
    EXPECT_NE(Register(), 0);
    EXPECT_EQ(Register(), 0) << "second registration of the same name";
    EXPECT_EQ(Register("platformtestclass"), 0) << "class names ignore case";
    EXPECT_EQ(Register("Button"), 0) << "the built-in button class is taken";

    WNDCLASSA noProc{};
    noProc.lpszClassName = "NoProc";
    EXPECT_EQ(RegisterClassA(&noProc), 0);
    WNDCLASSA noName{};
    noName.lpfnWndProc = Proc;
    EXPECT_EQ(RegisterClassA(&noName), 0);
}

TEST_F(Windows, ClassCannotBeUnregisteredWhileAWindowOfItLives) {
    HWND window = CreateMain();
    ASSERT_NE(window, nullptr);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    EXPECT_FALSE(UnregisterClassA(kClass, instance));
    ASSERT_TRUE(DestroyWindow(window));
    EXPECT_TRUE(UnregisterClassA(kClass, instance));
    EXPECT_FALSE(UnregisterClassA(kClass, instance)) << "already gone";
    EXPECT_NE(Register(), 0) << "the name is free again";
}

TEST_F(Windows, CreationSendsCreateThenSizeBeforeReturning) {
    HWND window = CreateMain(320, 240);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(MessagesTo(window), (std::vector<UINT>{WM_CREATE, WM_SIZE}));
    const Received& size = received().back();
    EXPECT_EQ(size.wParam, SIZE_RESTORED);
    EXPECT_EQ(LOWORD(size.lParam), 320);
    EXPECT_EQ(HIWORD(size.lParam), 240);

    const platform::WindowRecord* record = headless::MainWindow();
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->text, "Test");
    EXPECT_FALSE(record->visible) << "created hidden without WS_VISIBLE";
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) << "nothing was posted";
}

TEST_F(Windows, CreateAnsweredWithMinusOneDestroysTheWindow) {
    intercept() = [](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_CREATE) return -1;
        return std::nullopt;
    };
    EXPECT_EQ(CreateMain(), nullptr);
    ASSERT_FALSE(received().empty());
    EXPECT_EQ(received().back().message, WM_DESTROY);
    EXPECT_EQ(headless::TopLevelCount(), 0);
    EXPECT_TRUE(UnregisterClassA(kClass, GetModuleHandleA(nullptr)));
}

TEST_F(Windows, FirstShowActivatesAndTakesTheFocus) {
    HWND window = CreateMain();
    received().clear();
    EXPECT_FALSE(ShowWindow(window, SW_SHOW)) << "was hidden";
    auto activations = Only(WM_ACTIVATE);
    ASSERT_EQ(activations.size(), 1u);
    EXPECT_EQ(LOWORD(activations[0].wParam), WA_ACTIVE);
    EXPECT_EQ(HIWORD(activations[0].wParam), 0) << "not minimised";
    EXPECT_TRUE(headless::MainWindow()->visible);
    EXPECT_EQ(GetFocus(), window);

    EXPECT_TRUE(ShowWindow(window, SW_SHOW)) << "was visible";
    EXPECT_EQ(Only(WM_ACTIVATE).size(), 1u) << "activated only the first time";
}

TEST_F(Windows, VisibleStyleShowsDuringCreation) {
    HWND window = CreateMain(320, 240, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(MessagesTo(window), (std::vector<UINT>{WM_CREATE, WM_SIZE, WM_ACTIVATE}));
    EXPECT_TRUE(headless::MainWindow()->visible);
}

TEST_F(Windows, DestroyTakesChildrenAndPendingMessagesAlong) {
    HWND window = CreateMain();
    HWND first = AddButton(window, 1000, 0, 0, 80, 20);
    HWND second = AddButton(window, 1001, 0, 30, 80, 20);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    ASSERT_EQ(headless::AllButtons().size(), 2u);
    PostMessageA(window, WM_NULL, 1, 2);

    ASSERT_TRUE(DestroyWindow(window));
    EXPECT_EQ(received().back().message, WM_DESTROY);
    EXPECT_FALSE(PostMessageA(first, WM_NULL, 0, 0)) << "child handle still valid";
    EXPECT_FALSE(PostMessageA(second, WM_NULL, 0, 0));
    EXPECT_FALSE(DestroyWindow(window)) << "destroyed twice";
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) << "message for a dead window delivered";
    EXPECT_EQ(headless::TopLevelCount(), 0);
}

TEST_F(Windows, ButtonNeedsALiveParentAndChildStyle) {
    HWND window = CreateMain();
    EXPECT_EQ(CreateWindowExA(0, "BUTTON", "x", WS_VISIBLE, 0, 0, 10, 10, window, nullptr, nullptr, nullptr), nullptr);
    EXPECT_EQ(AddButton(reinterpret_cast<HWND>(std::uintptr_t{0xDEAD0}), 1, 0, 0, 10, 10), nullptr);
    HWND button = AddButton(window, 1203, 5, 6, 70, 20);
    auto all = headless::AllButtons();
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].handle, button);
    EXPECT_EQ(all[0].id, 1203);
    EXPECT_EQ(all[0].text, "Go");
    EXPECT_EQ(all[0].x, 5);
    EXPECT_EQ(all[0].y, 6);
}

TEST_F(Windows, KeyboardFocusStaysOnTheTopLevelWindow) {
    HWND window = CreateMain();
    HWND button = AddButton(window, 7, 0, 0, 50, 20);
    ShowWindow(window, SW_SHOW);
    EXPECT_EQ(SetFocus(button), window) << "returns the previous focus";
    EXPECT_EQ(GetFocus(), window) << "a button took the focus";
}

}  // namespace
}  // namespace platform_test
