// What the platform layer does with the desktop: the cursor counter, display modes, message
// boxes and their Windows-1251 texts, and refused calls.
#include "platform/core/core.h"
#include "tests/headless/platform_fixture.h"

namespace platform_test {
namespace {

using Desktop = PlatformTest;

// "Зорна GX - 1" as the program stores it.
const std::string kDeviceName = "\xC7\xEE\xF0\xED\xE0 GX - 1";

DEVMODEA FullScreenMode(int width, int height, int bits) {
    DEVMODEA mode{};
    mode.dmSize = sizeof(mode);
    mode.dmPelsWidth = width;
    mode.dmPelsHeight = height;
    mode.dmBitsPerPel = bits;
    mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
    return mode;
}

TEST_F(Desktop, CursorShowsWhileTheCounterIsNotNegative) {
    EXPECT_TRUE(headless::CursorVisible());
    EXPECT_EQ(ShowCursor(FALSE), -1);
    EXPECT_FALSE(headless::CursorVisible());
    EXPECT_EQ(ShowCursor(FALSE), -2);
    EXPECT_EQ(ShowCursor(TRUE), -1);
    EXPECT_FALSE(headless::CursorVisible()) << "hidden twice, shown once";
    EXPECT_EQ(ShowCursor(TRUE), 0);
    EXPECT_TRUE(headless::CursorVisible());
    EXPECT_EQ(ShowCursor(TRUE), 1);
    EXPECT_EQ(headless::CursorCounter(), 1);
}

TEST_F(Desktop, ScreenSizeFollowsTheDisplayMode) {
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 800);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 600);
    headless::SetScreen(1024, 768, 32);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
}

TEST_F(Desktop, FullScreenNeedsAnExactModeOfTheDisplay) {
    DEVMODEA mode = FullScreenMode(640, 480, 16);
    EXPECT_EQ(ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN), DISP_CHANGE_BADMODE) << "no such mode by default";
    headless::AddMode(640, 480, 32);
    EXPECT_EQ(ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN), DISP_CHANGE_BADMODE) << "depth differs";
    headless::AddMode(640, 480, 16);
    EXPECT_EQ(ChangeDisplaySettingsA(&mode, 0), DISP_CHANGE_FAILED) << "only full-screen changes";
    EXPECT_FALSE(headless::ModeChanged());

    ASSERT_EQ(ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN), DISP_CHANGE_SUCCESSFUL);
    EXPECT_TRUE(headless::ModeChanged());
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 640);
    EXPECT_EQ(headless::CurrentMode().bitsPerPixel, 16);
    EXPECT_NE(CreateMain(640, 480, WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN), nullptr);
    EXPECT_TRUE(headless::FullScreen());

    EXPECT_EQ(ChangeDisplaySettingsA(nullptr, 0), DISP_CHANGE_SUCCESSFUL);
    EXPECT_FALSE(headless::ModeChanged());
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 800);
}

TEST_F(Desktop, WindowedPopupIsNotFullScreen) {
    EXPECT_NE(CreateMain(640, 480, WS_POPUP), nullptr);
    EXPECT_FALSE(headless::FullScreen()) << "no mode change came first";
}

TEST_F(Desktop, Cp1251TextBecomesUtf8) {
    EXPECT_EQ(platform::core::Cp1251ToUtf8(kDeviceName), "\u0417\u043e\u0440\u043d\u0430 GX - 1");
    EXPECT_EQ(platform::core::Cp1251ToUtf8("\xA8\xB8\xB9\x80\xFF"), "\u0401\u0451\u2116\u0402\u044f");
    EXPECT_EQ(platform::core::Cp1251ToUtf8("\x98"), "\uFFFD") << "the unassigned byte";
    EXPECT_EQ(platform::core::Cp1251ToUtf8(""), "");
}

TEST_F(Desktop, MessageBoxIsRecordedAndAnsweredFromTheScript) {
    HWND window = CreateMain();
    headless::AnswerNextBox(IDNO);
    EXPECT_EQ(MessageBoxA(window, kDeviceName.c_str(), "ERROR", MB_YESNO | MB_ICONEXCLAMATION), IDNO);
    ASSERT_EQ(headless::Boxes().size(), 1u);
    const headless::Box& box = headless::Boxes()[0];
    EXPECT_EQ(box.owner, window);
    EXPECT_EQ(box.text, "\u0417\u043e\u0440\u043d\u0430 GX - 1");
    EXPECT_EQ(box.textBytes, kDeviceName);
    EXPECT_EQ(box.caption, "ERROR");
    EXPECT_EQ(box.captionBytes, "ERROR");
    EXPECT_EQ(box.type, MB_YESNO | MB_ICONEXCLAMATION);
    EXPECT_EQ(box.answer, IDNO);
}

TEST_F(Desktop, UnscriptedBoxTakesItsDefaultButton) {
    struct Case {
        UINT type;
        int answer;
    };
    const Case cases[] = {
        {MB_OK | MB_ICONINFORMATION, IDOK},
        {MB_YESNO, IDYES},
        {MB_YESNO | MB_DEFBUTTON2, IDNO},
        {MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL},
        {MB_OKCANCEL | MB_DEFBUTTON3, IDOK},  // no third button: the first
        {MB_RETRYCANCEL, IDRETRY},
    };
    for (const Case& c : cases) EXPECT_EQ(MessageBoxA(nullptr, "text", "caption", c.type), c.answer) << c.type;
    EXPECT_EQ(headless::Boxes().size(), std::size(cases));
}

TEST_F(Desktop, ScriptedAnswerMustBeOnTheBox) {
    headless::AnswerNextBox(IDYES);
    EXPECT_EQ(MessageBoxA(nullptr, "text", "caption", MB_OK), IDOK);
    EXPECT_EQ(headless::ScriptErrors(), 1);
}

TEST_F(Desktop, BoxThatCannotBeShownFallsBackToItsDefault) {
    headless::AnswerNextBox(0);
    testing::internal::CaptureStderr();
    EXPECT_EQ(MessageBoxA(nullptr, "no display", "caption", MB_YESNO | MB_DEFBUTTON2), IDNO);
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("no display"), std::string::npos) << said;
    ASSERT_EQ(headless::Boxes().size(), 1u);
    EXPECT_EQ(headless::Boxes()[0].answer, 0);
}

TEST_F(Desktop, RefusedCallsFailLikeTheirWindowsNamesakes) {
    headless::FailCall(platform::Call::MessageBox);
    EXPECT_EQ(MessageBoxA(nullptr, "a", "b", MB_OK), 0);
    EXPECT_TRUE(headless::Boxes().empty()) << "a refused box was shown";
    EXPECT_EQ(MessageBoxA(nullptr, "a", "b", MB_OK), IDOK) << "only the first was refused";

    headless::FailCall(platform::Call::ChangeDisplaySettings);
    headless::AddMode(640, 480, 16);
    DEVMODEA mode = FullScreenMode(640, 480, 16);
    EXPECT_EQ(ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN), DISP_CHANGE_FAILED);
    EXPECT_FALSE(headless::ModeChanged());

    headless::FailCall(platform::Call::ShowCursor);
    EXPECT_EQ(ShowCursor(FALSE), 0);
    EXPECT_TRUE(headless::CursorVisible());

    headless::FailCall(platform::Call::RegisterClass);
    EXPECT_EQ(Register(), 0);
    EXPECT_NE(Register(), 0);
}

TEST_F(Desktop, FailuresCountCallsOfOneKindFromNow) {
    Register();
    auto create = [] {
        return CreateWindowExA(0, kClass, "w", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr) != nullptr;
    };
    EXPECT_TRUE(create());
    headless::FailCall(platform::Call::CreateWindow, 2, 2);  // the 2nd and 3rd from here
    EXPECT_TRUE(create());
    EXPECT_FALSE(create());
    EXPECT_FALSE(create());
    EXPECT_TRUE(create());
    headless::FailCall(platform::Call::CreateWindow, 1, 0);  // every one from here
    EXPECT_FALSE(create());
    EXPECT_FALSE(create());
    EXPECT_EQ(headless::CallCount(platform::Call::CreateWindow), 7);
    EXPECT_EQ(headless::TopLevelCount(), 3);
}

TEST_F(Desktop, CallLogKeepsOrderAndMarksRefusals) {
    headless::FailCall(platform::Call::ShowCursor);
    ShowCursor(FALSE);
    Register();
    ShowCursor(TRUE);
    EXPECT_EQ(headless::CallNames(), (std::vector<std::string>{"ShowCursor!", "RegisterClassA", "ShowCursor"}));
    ASSERT_EQ(headless::Calls().size(), 3u);
    EXPECT_FALSE(headless::Calls()[0].allowed);
    EXPECT_EQ(headless::Calls()[1].call, platform::Call::RegisterClass);
}

TEST_F(Desktop, ResetGivesAFreshPlatform) {
    headless::SetScreen(1280, 1024, 32);
    headless::AddMode(640, 480, 16);
    DEVMODEA mode = FullScreenMode(640, 480, 16);
    ASSERT_EQ(ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN), DISP_CHANGE_SUCCESSFUL);
    HWND window = CreateMain();
    ASSERT_NE(StartGl(window), nullptr);
    ShowCursor(FALSE);
    headless::FailCall(platform::Call::RegisterClass, 1, 0);
    headless::AnswerNextBox(IDNO);
    MessageBoxA(nullptr, "x", "y", MB_YESNO);
    headless::AnswerNextBox(IDNO);

    headless::Reset();
    EXPECT_EQ(headless::TopLevelCount(), 0);
    EXPECT_FALSE(headless::ContextCurrent());
    EXPECT_EQ(headless::LiveContexts(), 0);
    EXPECT_EQ(headless::LiveSurfaces(), 0);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 800);
    EXPECT_FALSE(headless::ModeChanged());
    EXPECT_EQ(headless::CursorCounter(), 0);
    EXPECT_TRUE(headless::Calls().empty());
    EXPECT_TRUE(headless::Boxes().empty());
    EXPECT_NE(Register(), 0) << "class still registered or the failure kept";
    EXPECT_EQ(MessageBoxA(nullptr, "x", "y", MB_YESNO), IDYES) << "old script answered";
}

}  // namespace
}  // namespace platform_test
