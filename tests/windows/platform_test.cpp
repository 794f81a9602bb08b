// The corrected calls against the real API: the 1251 texts of the title, the button labels and a
// box come out as the right characters whatever the system's code page; a close request ends an
// open box and the program; key messages for a button reach its window.
#include <gtest/gtest.h>

#include <filesystem>
#include <thread>
#include <fstream>
#include <string>
#include <vector>

#include "app/viewer.h"
#include "tests/support/box_record.h"

namespace {

std::string Utf8(const std::wstring& text) {
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), length, nullptr, nullptr);
    out.resize(out.size() - 1);
    return out;
}

std::string TextOf(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return Utf8(text);
}

LRESULT TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

class WindowsPlatform : public ::testing::Test {
  protected:
    void SetUp() override {
        instanceHandle = GetModuleHandleA(nullptr);
        WNDCLASSA wndClass{};
        wndClass.lpfnWndProc = TestWindowProc;
        wndClass.hInstance = instanceHandle;
        wndClass.lpszClassName = "ShowcaseTest";
        ASSERT_NE(RegisterClassA(&wndClass), 0);
        window = CreateWindowExA(0, "ShowcaseTest", kStartupTitle, WS_OVERLAPPEDWINDOW, 0, 0, 640, 480, nullptr,
                                 nullptr, instanceHandle, nullptr);
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override {
        DestroyWindow(window);
        UnregisterClassA("ShowcaseTest", instanceHandle);
    }
    HWND window = nullptr;
};

TEST_F(WindowsPlatform, TitleAndButtonLabelsReadInCyrillic) {
    EXPECT_EQ(TextOf(window), "Анимация 3D устройств Zelvo,ноябрь 2016");
    EXPECT_TRUE(IsWindowUnicode(window));
    CreateControlPanel(window);
    std::vector<std::string> labels;
    for (const PanelButton& button : kPanelButtons) labels.push_back(TextOf(GetDlgItem(window, button.id)));
    const std::vector<std::string> expected{
        "Зорна GX - 1",  "Зорна GX - 2",  "Зорна GX - 3",  "Зорна GX - 4", "Зорна GX - 5",
        "Зорна GX - 6",  "Зорна GX - 7",  "Зорна GX - 8",  "Зорна GX - 9", "Зорна GX - 10",
        "Зорна GX - 11", "Зорна GX - 12", "Зорна GX - 13", "Avto",         "Скорость min",
        "Скорость ++",   "Надпись вкл",   "Заставка вкл",  "Цвета"};
    EXPECT_EQ(labels, expected);
}

TEST_F(WindowsPlatform, BoxesShowTheirTextsInCyrillic) {
    box_record::Reset();
    EXPECT_EQ(MessageBoxA(window, "\xD6\xE2\xE5\xF2\xE0 \xE2\xEA\xEB", "ERROR", MB_OK | MB_ICONEXCLAMATION), IDOK);
    ASSERT_EQ(box_record::Boxes().size(), 1u);
    EXPECT_EQ(box_record::Boxes()[0].text, "Цвета вкл");
    EXPECT_EQ(box_record::Boxes()[0].caption, "ERROR");
    EXPECT_EQ(box_record::Boxes()[0].type, MB_OK | MB_ICONEXCLAMATION);
}

// taskkill without /F posts WM_CLOSE to the process's windows; while the F1 question is open it
// is the only one, and a Yes/No box ignores WM_CLOSE by itself.
TEST_F(WindowsPlatform, ACloseRequestEndsAnOpenBoxAndKeepsFurtherBoxesAway) {
    box_record::Stop();
    const auto closeBox = [](const wchar_t* caption, WPARAM command) {
        return std::thread([=] {
            HWND box = nullptr;
            for (int i = 0; i < 500 && box == nullptr; ++i, Sleep(10)) box = FindWindowW(L"#32770", caption);
            if (box == nullptr) return;
            if (command != 0) PostMessageW(box, WM_SYSCOMMAND, command, 0);
            else PostMessageW(box, WM_CLOSE, 0, 0);
            // A box the request did not end is answered No after a while, so the test ends and fails.
            for (int i = 0; i < 200 && IsWindow(box); ++i) Sleep(10);
            if (IsWindow(box)) PostMessageW(box, WM_COMMAND, IDNO, 0);
        });
    };
    MSG msg{};
    // The user's own close button closes a box as always, and the program goes on.
    std::thread user = closeBox(L"Error", SC_CLOSE);
    MessageBoxA(window, "Unknown DIB file format.", "Error", MB_OK);  // its answer is the system's
    user.join();
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));

    std::thread taskkill = closeBox(L"Mivo GL", 0);
    EXPECT_EQ(MessageBoxA(nullptr, "Use Windowed Mode Instead?", "Mivo GL", MB_YESNO | MB_ICONEXCLAMATION), IDYES);
    taskkill.join();
    box_record::Reset();
    EXPECT_EQ(MessageBoxA(nullptr, "Program Will Now Close.", "ERROR", MB_OK | MB_ICONSTOP), IDOK);
    EXPECT_TRUE(box_record::Boxes().empty()) << "a box opened after the stop request";
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the program was not asked to quit";
    EXPECT_EQ(msg.wParam, 0u);
    EXPECT_EQ(MessageBoxA(nullptr, "Program Will Now Close.", "ERROR", MB_OK | MB_ICONSTOP), IDOK);
    EXPECT_EQ(box_record::Boxes().size(), 1u) << "without a stop request boxes open again";
}

TEST_F(WindowsPlatform, KeysForAButtonReachItsWindow) {
    CreateControlPanel(window);
    const HWND button = GetDlgItem(window, kPanelButtons[0].id);
    ASSERT_NE(button, nullptr);
    MSG msg{};
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    ASSERT_TRUE(PostMessageW(button, WM_KEYDOWN, VK_ESCAPE, 0));
    ASSERT_TRUE(PostMessageW(button, WM_COMMAND, 0, 0));
    std::vector<std::pair<UINT, HWND>> taken;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        if (msg.message == WM_KEYDOWN || msg.message == WM_COMMAND) taken.emplace_back(msg.message, msg.hwnd);
    EXPECT_EQ(taken, (std::vector<std::pair<UINT, HWND>>{{WM_KEYDOWN, window}, {WM_COMMAND, button}}))
        << "only key messages change their window";
}

}  // namespace
