// SDL key events to the virtual-key codes the window procedure receives.
#pragma once

#include <SDL_keyboard.h>

#include "platform/win32.h"

namespace platform::sdl {

// The virtual-key code of a physical key, or 0 when the program has no code for it. Letters
// follow the layout where it produces Latin letters (as Windows does) and the key position
// otherwise; everything else goes by position. Keypad digits are navigation keys while Num
// Lock is off.
WPARAM VirtualKey(SDL_Scancode scancode, SDL_Keycode keycode, Uint16 modifiers);

}  // namespace platform::sdl
