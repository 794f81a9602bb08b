// Key table: SDL scancodes to virtual-key codes. Built once at compile time from a list of
// pairs so the list reads like a keyboard and the lookup is a bounds-checked array index.
#include "platform/subset/sdl/sdl_keys.h"

#include <array>

namespace platform::sdl {
namespace {

// Codes the program's header does not name but a keyboard produces.
constexpr WPARAM kVkClear = 0x0C;  // keypad 5 with Num Lock off
constexpr WPARAM kVkLeftWin = 0x5B;
constexpr WPARAM kVkRightWin = 0x5C;
constexpr WPARAM kVkApps = 0x5D;
constexpr WPARAM kVkOem102 = 0xE2;  // the extra key beside left Shift on ISO keyboards

struct KeyPair {
    SDL_Scancode scancode;
    WPARAM vk;
};

// scancode                   virtual key
constexpr KeyPair kKeys[] = {
    // Main block, by position.
    {SDL_SCANCODE_RETURN, VK_RETURN},
    {SDL_SCANCODE_ESCAPE, VK_ESCAPE},
    {SDL_SCANCODE_BACKSPACE, VK_BACK},
    {SDL_SCANCODE_TAB, VK_TAB},
    {SDL_SCANCODE_SPACE, VK_SPACE},
    {SDL_SCANCODE_MINUS, VK_OEM_MINUS},
    {SDL_SCANCODE_EQUALS, VK_OEM_PLUS},
    {SDL_SCANCODE_LEFTBRACKET, VK_OEM_4},
    {SDL_SCANCODE_RIGHTBRACKET, VK_OEM_6},
    {SDL_SCANCODE_BACKSLASH, VK_OEM_5},
    {SDL_SCANCODE_NONUSHASH, VK_OEM_5},
    {SDL_SCANCODE_SEMICOLON, VK_OEM_1},
    {SDL_SCANCODE_APOSTROPHE, VK_OEM_7},
    {SDL_SCANCODE_GRAVE, VK_OEM_3},
    {SDL_SCANCODE_COMMA, VK_OEM_COMMA},
    {SDL_SCANCODE_PERIOD, VK_OEM_PERIOD},
    {SDL_SCANCODE_SLASH, VK_OEM_2},
    {SDL_SCANCODE_NONUSBACKSLASH, kVkOem102},
    {SDL_SCANCODE_CAPSLOCK, VK_CAPITAL},
    // Control block.
    {SDL_SCANCODE_PRINTSCREEN, VK_SNAPSHOT},
    {SDL_SCANCODE_SCROLLLOCK, VK_SCROLL},
    {SDL_SCANCODE_PAUSE, VK_PAUSE},
    {SDL_SCANCODE_INSERT, VK_INSERT},
    {SDL_SCANCODE_HOME, VK_HOME},
    {SDL_SCANCODE_PAGEUP, VK_PRIOR},
    {SDL_SCANCODE_DELETE, VK_DELETE},
    {SDL_SCANCODE_END, VK_END},
    {SDL_SCANCODE_PAGEDOWN, VK_NEXT},
    {SDL_SCANCODE_RIGHT, VK_RIGHT},
    {SDL_SCANCODE_LEFT, VK_LEFT},
    {SDL_SCANCODE_DOWN, VK_DOWN},
    {SDL_SCANCODE_UP, VK_UP},
    // Keypad operators; the digits are filled in below.
    {SDL_SCANCODE_NUMLOCKCLEAR, VK_NUMLOCK},
    {SDL_SCANCODE_KP_DIVIDE, VK_DIVIDE},
    {SDL_SCANCODE_KP_MULTIPLY, VK_MULTIPLY},
    {SDL_SCANCODE_KP_MINUS, VK_SUBTRACT},
    {SDL_SCANCODE_KP_PLUS, VK_ADD},
    {SDL_SCANCODE_KP_ENTER, VK_RETURN},
    {SDL_SCANCODE_KP_PERIOD, VK_DECIMAL},
    // Modifiers: both sides give the same code in key messages.
    {SDL_SCANCODE_LCTRL, VK_CONTROL},
    {SDL_SCANCODE_RCTRL, VK_CONTROL},
    {SDL_SCANCODE_LSHIFT, VK_SHIFT},
    {SDL_SCANCODE_RSHIFT, VK_SHIFT},
    {SDL_SCANCODE_LALT, VK_MENU},
    {SDL_SCANCODE_RALT, VK_MENU},
    {SDL_SCANCODE_LGUI, kVkLeftWin},
    {SDL_SCANCODE_RGUI, kVkRightWin},
    {SDL_SCANCODE_APPLICATION, kVkApps},
};

// Keypad keys while Num Lock is off: keypad 1..9, 0 and the decimal point.
constexpr WPARAM kKeypadNavigation[] = {VK_END,  VK_DOWN, VK_NEXT,  VK_LEFT,   kVkClear, VK_RIGHT,
                                        VK_HOME, VK_UP,   VK_PRIOR, VK_INSERT, VK_DELETE};
static_assert(std::size(kKeypadNavigation) == SDL_SCANCODE_KP_PERIOD - SDL_SCANCODE_KP_1 + 1);

constexpr std::array<WPARAM, SDL_NUM_SCANCODES> BuildTable() {
    std::array<WPARAM, SDL_NUM_SCANCODES> table{};
    for (int i = 0; i < 26; ++i) table[SDL_SCANCODE_A + i] = 'A' + i;
    for (int i = 0; i < 9; ++i) table[SDL_SCANCODE_1 + i] = '1' + i;
    table[SDL_SCANCODE_0] = '0';
    for (int i = 0; i < 12; ++i) table[SDL_SCANCODE_F1 + i] = VK_F1 + i;
    for (int i = 0; i < 9; ++i) table[SDL_SCANCODE_KP_1 + i] = VK_NUMPAD0 + 1 + i;
    table[SDL_SCANCODE_KP_0] = VK_NUMPAD0;
    for (const KeyPair& pair : kKeys) table[pair.scancode] = pair.vk;
    return table;
}
constexpr std::array<WPARAM, SDL_NUM_SCANCODES> kTable = BuildTable();

}  // namespace

WPARAM VirtualKey(SDL_Scancode scancode, SDL_Keycode keycode, Uint16 modifiers) {
    if (scancode < 0 || scancode >= SDL_NUM_SCANCODES) return 0;
    if (keycode >= SDLK_a && keycode <= SDLK_z) return static_cast<WPARAM>('A' + (keycode - SDLK_a));
    if (scancode >= SDL_SCANCODE_KP_1 && scancode <= SDL_SCANCODE_KP_PERIOD && !(modifiers & KMOD_NUM))
        return kKeypadNavigation[scancode - SDL_SCANCODE_KP_1];
    return kTable[scancode];
}

}  // namespace platform::sdl
