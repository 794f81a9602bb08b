// Push buttons under the pointer: the pressed look while held, the click on release over the
// same button, and buttons that cannot be hit.
#include "tests/headless/platform_fixture.h"

namespace platform_test {
namespace {

class Buttons : public PlatformTest {
  protected:
    void SetUp() override {
        PlatformTest::SetUp();
        window = CreateMain(400, 300);
        ShowWindow(window, SW_SHOW);
        go = AddButton(window, 1000, 300, 10, 80, 20);
        stop = AddButton(window, 1001, 300, 40, 80, 20);
        received().clear();
    }

    std::vector<Received> Commands() { return Only(WM_COMMAND); }

    bool Pressed(HWND button) {
        for (const auto& b : headless::AllButtons()) {
            if (b.handle == button) return b.pressed;
        }
        ADD_FAILURE() << "no such button";
        return false;
    }

    HWND window = nullptr;
    HWND go = nullptr;
    HWND stop = nullptr;
};

TEST_F(Buttons, ReleaseOverThePressedButtonClicksIt) {
    ASSERT_TRUE(headless::Click(1001));
    Pump();
    auto commands = Commands();
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].window, window);
    EXPECT_EQ(commands[0].wParam, MAKEWPARAM(1001, BN_CLICKED));
    EXPECT_EQ(commands[0].lParam, reinterpret_cast<LPARAM>(stop));
    EXPECT_FALSE(Pressed(stop));
}

TEST_F(Buttons, PressedOnlyWhileHeldOverTheButton) {
    headless::PointerDown(310, 15);
    Pump();
    EXPECT_TRUE(Pressed(go));
    EXPECT_FALSE(Pressed(stop));
    headless::PointerMove(100, 100);
    Pump();
    EXPECT_FALSE(Pressed(go)) << "pointer left the button";
    headless::PointerMove(370, 25);
    Pump();
    EXPECT_TRUE(Pressed(go)) << "pointer came back";
    headless::PointerUp(370, 25);
    Pump();
    EXPECT_FALSE(Pressed(go));
    ASSERT_EQ(Commands().size(), 1u);
    EXPECT_EQ(LOWORD(Commands()[0].wParam), 1000);
}

TEST_F(Buttons, ReleaseAwayFromThePressedButtonDoesNotClick) {
    headless::PointerDown(310, 15);
    headless::PointerMove(100, 100);
    headless::PointerUp(100, 100);
    Pump();
    EXPECT_TRUE(Commands().empty()) << "released off the button";

    headless::PointerDown(310, 15);
    headless::PointerMove(310, 45);
    headless::PointerUp(310, 45);
    Pump();
    EXPECT_TRUE(Commands().empty()) << "released over another button";
    EXPECT_FALSE(Pressed(go));
    EXPECT_FALSE(Pressed(stop));

    headless::PointerDown(100, 100);
    headless::PointerUp(310, 15);
    Pump();
    EXPECT_TRUE(Commands().empty()) << "pressed off any button";
}

TEST_F(Buttons, PointerOffTheButtonsGoesToTheWindow) {
    headless::PointerDown(50, 60);
    headless::PointerMove(55, 65);
    headless::PointerUp(55, 65);
    headless::PointerMove(70, 80);
    Pump();
    auto downs = Only(WM_LBUTTONDOWN);
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(downs[0].window, window);
    EXPECT_EQ(downs[0].lParam, MAKELPARAM(50, 60));
    EXPECT_EQ(Only(WM_LBUTTONUP).size(), 1u);
    auto moves = Only(WM_MOUSEMOVE);
    ASSERT_EQ(moves.size(), 2u);
    EXPECT_EQ(moves[0].wParam & 1, 1u) << "held while moving";
    EXPECT_EQ(moves[1].wParam & 1, 0u) << "still held after release";
    EXPECT_EQ(moves[1].lParam, MAKELPARAM(70, 80));
}

TEST_F(Buttons, ZeroSizedAndHiddenButtonsAreNeverHit) {
    HWND flat = AddButton(window, 1002, 10, 10, 0, 20);
    HWND hidden = AddButton(window, 1003, 10, 40, 80, 20, false);
    ASSERT_NE(flat, nullptr);
    ASSERT_NE(hidden, nullptr);
    EXPECT_FALSE(headless::Click(1002));
    EXPECT_FALSE(headless::Click(1003));
    EXPECT_FALSE(headless::Click(4242)) << "no such id";

    headless::PointerDown(10, 15);
    headless::PointerUp(10, 15);
    headless::PointerDown(20, 45);
    headless::PointerUp(20, 45);
    Pump();
    EXPECT_TRUE(Commands().empty());

    std::vector<int> drawable;
    for (const auto& b : headless::Buttons()) drawable.push_back(b.id);
    EXPECT_EQ(drawable, (std::vector<int>{1000, 1001}));
    EXPECT_EQ(headless::AllButtons().size(), 4u);

    ShowWindow(hidden, SW_SHOW);
    EXPECT_TRUE(headless::Click(1003)) << "shown now";
}

TEST_F(Buttons, KeysStillReachTheWindowAfterAClick) {
    ASSERT_TRUE(headless::Click(1000));
    Pump();
    headless::KeyDown(VK_ESCAPE);
    Pump();
    auto keys = Only(WM_KEYDOWN);
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(keys[0].window, window);
    EXPECT_EQ(GetFocus(), window);
}

}  // namespace
}  // namespace platform_test
