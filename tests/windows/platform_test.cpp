// The corrected calls against the real API: the 1251 texts of the title, the button labels and a
// box come out as the right characters whatever the system's code page; key messages for a
// button reach its window; the file view takes only a regular file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/viewer.h"
#include "platform/file_view.h"
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

TEST(FileView, MapsOnlyARegularFile) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "file_view_test";
    std::filesystem::create_directories(folder);
    const std::string file = (folder / "picture.bmp").string();
    std::ofstream(file, std::ios::binary) << "BM12";
    std::ofstream((folder / "empty.bmp").string(), std::ios::binary);
    {
        const platform::FileView view(file.c_str());
        ASSERT_NE(view.Data(), nullptr);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(view.Data()), view.Size()), "BM12");
    }
    for (const std::filesystem::path& refused : {folder, folder / "missing.bmp", folder / "empty.bmp"}) {
        const platform::FileView view(refused.string().c_str());
        EXPECT_EQ(view.Data(), nullptr) << refused;
    }
    std::filesystem::remove_all(folder);
}

}  // namespace
