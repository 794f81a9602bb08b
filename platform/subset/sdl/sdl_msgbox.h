// Message-box styles to the buttons, keys and icon of an SDL message box.
#pragma once

#include <SDL_messagebox.h>

#include "platform/win32.h"

namespace platform::sdl {

struct MessageBoxLayout {
    SDL_MessageBoxButtonData buttons[3]{};  // left to right; buttonid is the result id
    int count = 0;
    Uint32 iconFlags = 0;
    int closeResult = 0;  // the answer when the box is closed without a button
};

// Buttons by the style's type (an unknown type shows OK, as Windows does), Return on the
// MB_DEFBUTTONn button (the first when there is no such button), Escape on the button Windows
// gives it (none for Yes/No and Abort/Retry/Ignore), icon by MB_ICON*.
MessageBoxLayout LayoutMessageBox(UINT type);

}  // namespace platform::sdl
