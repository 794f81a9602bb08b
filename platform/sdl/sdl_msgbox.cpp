// Modal message boxes through SDL: the style table and ShowMessageBox. SDL opens its own
// display connection for a box, so boxes work before any window exists; with no display at
// all the box cannot be shown and the core writes it to stderr instead.
#include "platform/sdl/sdl_msgbox.h"

#include <iterator>

#include "platform/sdl/sdl_backend.h"

namespace platform::sdl {
namespace {

struct ButtonKind {
    int id;
    const char* text;
};
constexpr ButtonKind kOk{IDOK, "OK"};
constexpr ButtonKind kCancel{IDCANCEL, "Cancel"};
constexpr ButtonKind kAbort{IDABORT, "Abort"};
constexpr ButtonKind kRetry{IDRETRY, "Retry"};
constexpr ButtonKind kIgnore{IDIGNORE, "Ignore"};
constexpr ButtonKind kYes{IDYES, "Yes"};
constexpr ButtonKind kNo{IDNO, "No"};

struct BoxType {
    ButtonKind buttons[3];
    int count;
    int escapeId;     // 0: Escape does nothing
    int closeResult;  // answer when closed without a button: Escape's, else the declining one
};

// Indexed by the MB_TYPEMASK bits, MB_OK (0) to MB_RETRYCANCEL (5).
// buttons, left to right                     count  Escape     closed
constexpr BoxType kBoxTypes[] = {
    {{kOk}, 1, IDOK, IDOK},                                  // MB_OK
    {{kOk, kCancel}, 2, IDCANCEL, IDCANCEL},                 // MB_OKCANCEL
    {{kAbort, kRetry, kIgnore}, 3, 0, IDABORT},              // MB_ABORTRETRYIGNORE
    {{kYes, kNo, kCancel}, 3, IDCANCEL, IDCANCEL},           // MB_YESNOCANCEL
    {{kYes, kNo}, 2, 0, IDNO},                               // MB_YESNO
    {{kRetry, kCancel}, 2, IDCANCEL, IDCANCEL},              // MB_RETRYCANCEL
};
static_assert(std::size(kBoxTypes) == MB_RETRYCANCEL + 1);

// Indexed by the MB_ICONMASK bits shifted down: none, hand, question, exclamation, asterisk.
constexpr Uint32 kIconFlags[] = {
    0,
    SDL_MESSAGEBOX_ERROR,
    SDL_MESSAGEBOX_INFORMATION,  // SDL has no question icon
    SDL_MESSAGEBOX_WARNING,
    SDL_MESSAGEBOX_INFORMATION,
};
static_assert(std::size(kIconFlags) == (MB_ICONINFORMATION >> 4) + 1);

SDL_Window* OwnerWindow(HWND owner) {
    for (WindowRecord* record = core::Find(owner); record; record = core::Find(record->parent)) {
        if (!record->parent) {
            Window* window = WindowOf(*record);
            return window ? window->sdl : nullptr;
        }
    }
    return nullptr;
}

}  // namespace

MessageBoxLayout LayoutMessageBox(UINT type) {
    const UINT typeIndex = type & MB_TYPEMASK;
    const BoxType& box = kBoxTypes[typeIndex < std::size(kBoxTypes) ? typeIndex : MB_OK];
    const UINT iconIndex = (type & MB_ICONMASK) >> 4;
    int defaultIndex = static_cast<int>((type & MB_DEFMASK) >> 8);
    if (defaultIndex >= box.count) defaultIndex = 0;

    MessageBoxLayout layout;
    layout.count = box.count;
    layout.iconFlags = iconIndex < std::size(kIconFlags) ? kIconFlags[iconIndex] : 0;
    layout.closeResult = box.closeResult;
    for (int i = 0; i < box.count; ++i) {
        SDL_MessageBoxButtonData& button = layout.buttons[i];
        button.buttonid = box.buttons[i].id;
        button.text = box.buttons[i].text;
        if (i == defaultIndex) button.flags |= SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
        if (button.buttonid == box.escapeId) button.flags |= SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
    }
    return layout;
}

}  // namespace platform::sdl

namespace platform::backend {

// Blocks until the user answers; 0 when SDL cannot show a box (no display).
int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type) {
    const sdl::MessageBoxLayout layout = sdl::LayoutMessageBox(type);
    SDL_MessageBoxData data{};
    data.flags = layout.iconFlags | SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT;
    data.window = sdl::OwnerWindow(owner);
    data.title = caption.c_str();
    data.message = text.c_str();
    data.numbuttons = layout.count;
    data.buttons = layout.buttons;
    int chosen = -1;
    if (SDL_ShowMessageBox(&data, &chosen) != 0) return 0;
    return chosen >= 0 ? chosen : layout.closeResult;
}

}  // namespace platform::backend
