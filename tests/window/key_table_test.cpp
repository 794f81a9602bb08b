// The SDL key table: the codes the window procedure sees for physical keys, whatever the
// keyboard layout. Needs no display.
#include <gtest/gtest.h>

#include "platform/sdl/sdl_keys.h"

using platform::sdl::VirtualKey;

namespace {

// The key code SDL gives a scancode on a US layout (only letters matter to the table).
SDL_Keycode UsKeycode(SDL_Scancode scancode) {
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) return SDLK_a + (scancode - SDL_SCANCODE_A);
    return SDL_SCANCODE_TO_KEYCODE(scancode);
}

// A key as it comes from SDL on a US layout with Num Lock on.
WPARAM Us(SDL_Scancode scancode) { return VirtualKey(scancode, UsKeycode(scancode), KMOD_NUM); }

}  // namespace

TEST(KeyTable, LettersAndDigitsAreTheirUpperCaseCharacters) {
    for (int i = 0; i < 26; ++i)
        EXPECT_EQ(Us(SDL_Scancode(SDL_SCANCODE_A + i)), WPARAM('A' + i)) << "letter " << char('A' + i);
    EXPECT_EQ(Us(SDL_SCANCODE_1), WPARAM('1'));
    EXPECT_EQ(Us(SDL_SCANCODE_9), WPARAM('9'));
    EXPECT_EQ(Us(SDL_SCANCODE_0), WPARAM('0'));
}

TEST(KeyTable, LettersFollowALatinLayoutAndThePositionOtherwise) {
    // French layout: the key left of Z's US position types A.
    EXPECT_EQ(VirtualKey(SDL_SCANCODE_Q, SDLK_a, 0), WPARAM('A'));
    EXPECT_EQ(VirtualKey(SDL_SCANCODE_A, SDLK_q, 0), WPARAM('Q'));
    // Russian layout: Cyrillic letters give the code of the key's Latin position.
    EXPECT_EQ(VirtualKey(SDL_SCANCODE_F, SDL_Keycode(0x0430), 0), WPARAM('F'));
    EXPECT_EQ(VirtualKey(SDL_SCANCODE_Q, SDL_Keycode(0x0439), 0), WPARAM('Q'));
}

TEST(KeyTable, KeysTheProgramAndTheDefaultProcessingReadHaveTheirCodes) {
    EXPECT_EQ(Us(SDL_SCANCODE_ESCAPE), VK_ESCAPE);
    EXPECT_EQ(Us(SDL_SCANCODE_F1), VK_F1);
    EXPECT_EQ(Us(SDL_SCANCODE_F4), VK_F4);
    EXPECT_EQ(Us(SDL_SCANCODE_F10), VK_F10);
    EXPECT_EQ(Us(SDL_SCANCODE_F12), VK_F12);
    EXPECT_EQ(Us(SDL_SCANCODE_LALT), VK_MENU);
    EXPECT_EQ(Us(SDL_SCANCODE_RALT), VK_MENU);
    EXPECT_EQ(Us(SDL_SCANCODE_LSHIFT), VK_SHIFT);
    EXPECT_EQ(Us(SDL_SCANCODE_RCTRL), VK_CONTROL);
}

TEST(KeyTable, KeypadDigitsDependOnNumLock) {
    for (int i = 0; i < 9; ++i) {
        const auto scancode = SDL_Scancode(SDL_SCANCODE_KP_1 + i);
        EXPECT_EQ(VirtualKey(scancode, UsKeycode(scancode), KMOD_NUM), VK_NUMPAD0 + 1 + i);
    }
    EXPECT_EQ(VirtualKey(SDL_SCANCODE_KP_0, SDLK_KP_0, KMOD_NUM), VK_NUMPAD0);
    EXPECT_EQ(VirtualKey(SDL_SCANCODE_KP_PERIOD, SDLK_KP_PERIOD, KMOD_NUM), VK_DECIMAL);
    EXPECT_EQ(VirtualKey(SDL_SCANCODE_KP_7, SDLK_KP_7, 0), VK_HOME);
    EXPECT_EQ(VirtualKey(SDL_SCANCODE_KP_8, SDLK_KP_8, 0), VK_UP);
    EXPECT_EQ(VirtualKey(SDL_SCANCODE_KP_3, SDLK_KP_3, 0), VK_NEXT);
    EXPECT_EQ(VirtualKey(SDL_SCANCODE_KP_0, SDLK_KP_0, 0), VK_INSERT);
    EXPECT_EQ(VirtualKey(SDL_SCANCODE_KP_PERIOD, SDLK_KP_PERIOD, 0), VK_DELETE);
    // Operators and Enter do not change with Num Lock.
    EXPECT_EQ(VirtualKey(SDL_SCANCODE_KP_PLUS, SDLK_KP_PLUS, 0), VK_ADD);
    EXPECT_EQ(VirtualKey(SDL_SCANCODE_KP_MINUS, SDLK_KP_MINUS, 0), VK_SUBTRACT);
    EXPECT_EQ(VirtualKey(SDL_SCANCODE_KP_MULTIPLY, SDLK_KP_MULTIPLY, 0), VK_MULTIPLY);
    EXPECT_EQ(VirtualKey(SDL_SCANCODE_KP_DIVIDE, SDLK_KP_DIVIDE, 0), VK_DIVIDE);
    EXPECT_EQ(VirtualKey(SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER, 0), VK_RETURN);
}

TEST(KeyTable, KeysWithoutACodeAndScancodesOutOfRangeGiveZero) {
    EXPECT_EQ(Us(SDL_SCANCODE_UNKNOWN), 0u);
    EXPECT_EQ(Us(SDL_SCANCODE_AUDIOPLAY), 0u);
    EXPECT_EQ(VirtualKey(SDL_Scancode(SDL_NUM_SCANCODES), SDLK_UNKNOWN, 0), 0u);
    EXPECT_EQ(VirtualKey(SDL_Scancode(-1), SDLK_UNKNOWN, 0), 0u);
}

TEST(KeyTable, EveryCodeFitsTheProgramsKeyArray) {
    for (int scancode = 0; scancode < SDL_NUM_SCANCODES; ++scancode) {
        const auto code = SDL_Scancode(scancode);
        for (Uint16 mod : {Uint16(0), Uint16(KMOD_NUM)})
            EXPECT_LT(VirtualKey(code, UsKeycode(code), mod), 256u) << "scancode " << scancode;
    }
}
