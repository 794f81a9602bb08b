// Push buttons: routing of the pointer to the button under it and the built-in button
// procedure (pressed look while held, click on release over the same button). A button never
// takes the keyboard focus.
#include "platform/subset/state.h"

namespace platform::core {

namespace {

constexpr WPARAM kLeftButtonHeld = 0x0001;  // MK_LBUTTON

bool Hittable(const WindowRecord& button) {
    return button.visible && button.width > 0 && button.height > 0;
}

bool Inside(const WindowRecord& button, int x, int y) {
    return Hittable(button) && x >= 0 && y >= 0 && x < button.width && y < button.height;
}

LPARAM PackPoint(int x, int y) {
    return MAKELPARAM(static_cast<WORD>(static_cast<std::int16_t>(x)), static_cast<WORD>(static_cast<std::int16_t>(y)));
}

int PointX(LPARAM lParam) { return static_cast<std::int16_t>(LOWORD(static_cast<std::uintptr_t>(lParam))); }
int PointY(LPARAM lParam) { return static_cast<std::int16_t>(HIWORD(static_cast<std::uintptr_t>(lParam))); }

}  // namespace

std::vector<const WindowRecord*> DrawableButtons(HWND parent) {
    std::vector<const WindowRecord*> result;
    for (WindowRecord* child : Children(parent)) {
        if (Hittable(*child)) result.push_back(child);
    }
    return result;
}

void ReportPointer(HWND window, int x, int y, bool buttonDown, bool buttonChanged) {
    WindowRecord* top = Find(window);
    if (top == nullptr) return;
    WindowRecord* target = State().pressedButton ? Find(State().pressedButton) : nullptr;
    if (target == nullptr) {
        target = top;
        for (WindowRecord* child : Children(window)) {
            if (Inside(*child, x - child->x, y - child->y)) target = child;
        }
    }
    int localX = target == top ? x : x - target->x;
    int localY = target == top ? y : y - target->y;
    UINT message = buttonChanged ? (buttonDown ? WM_LBUTTONDOWN : WM_LBUTTONUP) : WM_MOUSEMOVE;
    Post(target->handle, message, buttonDown ? kLeftButtonHeld : 0, PackPoint(localX, localY));
}

LRESULT ButtonProc(WindowRecord& button, UINT message, WPARAM wParam, LPARAM lParam) {
    (void)wParam;
    auto& state = State();
    bool inside = Inside(button, PointX(lParam), PointY(lParam));
    switch (message) {
        case WM_LBUTTONDOWN:
            if (!inside) return 0;
            state.pressedButton = button.handle;
            button.pressed = true;
            return 0;
        case WM_MOUSEMOVE:
            if (state.pressedButton == button.handle) button.pressed = inside;
            return 0;
        case WM_LBUTTONUP:
            if (state.pressedButton != button.handle) return 0;
            state.pressedButton = nullptr;
            button.pressed = false;
            if (inside) {
                Send(button.parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(button.controlId), BN_CLICKED),
                     reinterpret_cast<LPARAM>(button.handle));
            }
            return 0;
        default:
            return 0;
    }
}

}  // namespace platform::core
