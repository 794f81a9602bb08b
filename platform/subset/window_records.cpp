// Window records: creation with its synchronous messages, destruction, showing, focus, and the
// state changes a backend reports for a native window.
#include <algorithm>

#include "platform/subset/backend.h"
#include "platform/subset/state.h"

namespace platform::core {

WindowRecord* Find(HWND window) {
    auto& windows = State().windows;
    auto found = windows.find(Key(window));
    return found == windows.end() ? nullptr : found->second.get();
}

WindowRecord* FindByDc(HDC dc) {
    if (dc == nullptr) return nullptr;
    for (auto& [key, window] : State().windows) {
        if (window->dc == dc) return window.get();
    }
    return nullptr;
}

std::vector<WindowRecord*> TopLevelWindows() {
    std::vector<WindowRecord*> result;
    for (auto& [key, window] : State().windows) {
        if (window->parent == nullptr) result.push_back(window.get());
    }
    return result;
}

std::vector<WindowRecord*> Children(HWND parent) {
    std::vector<WindowRecord*> result;
    for (auto& [key, window] : State().windows) {
        if (window->parent == parent && parent != nullptr) result.push_back(window.get());
    }
    return result;  // handle values grow, so map order is creation order
}

namespace {

LPARAM PackSize(int width, int height) {
    return MAKELPARAM(static_cast<WORD>(std::clamp(width, 0, 0xFFFF)),
                      static_cast<WORD>(std::clamp(height, 0, 0xFFFF)));
}

void Activate(WindowRecord& record, WORD state) {
    Send(record.handle, WM_ACTIVATE, MAKEWPARAM(state, record.minimized ? 1 : 0), 0);
}

HWND CreateButton(DWORD exStyle, LPCSTR text, DWORD style, int x, int y, int width, int height, HWND parent,
                  HMENU menu) {
    if (!backend::Allow(Call::CreateButton)) return nullptr;
    if ((style & WS_CHILD) == 0 || Find(parent) == nullptr) return nullptr;
    auto record = std::make_unique<WindowRecord>();
    record->handle = MakeHandle<HWND>();
    record->className = "BUTTON";
    record->style = style;
    record->exStyle = exStyle;
    record->text = text ? text : "";
    record->x = x;
    record->y = y;
    record->width = width;
    record->height = height;
    record->parent = parent;
    record->controlId = static_cast<int>(reinterpret_cast<std::uintptr_t>(menu) & 0xFFFF);
    record->visible = (style & WS_VISIBLE) != 0;
    HWND handle = record->handle;
    State().windows[Key(handle)] = std::move(record);
    return handle;
}

void Forget(HWND window) {
    auto& state = State();
    std::erase_if(state.queue, [window](const MSG& msg) { return msg.hwnd == window; });
    if (state.focus == window) state.focus = nullptr;
    if (state.pressedButton == window) state.pressedButton = nullptr;
    state.windows.erase(Key(window));
}

}  // namespace

void ReportMinimized(HWND window) {
    WindowRecord* record = Find(window);
    if (record == nullptr || record->minimized) return;
    record->minimized = true;
    Activate(*record, WA_INACTIVE);
    if (Find(window) != nullptr) Send(window, WM_SIZE, SIZE_MINIMIZED, PackSize(0, 0));
}

void ReportRestored(HWND window, int clientWidth, int clientHeight) {
    WindowRecord* record = Find(window);
    if (record == nullptr) return;
    bool wasMinimized = record->minimized;
    record->minimized = false;
    record->width = clientWidth;
    record->height = clientHeight;
    if (wasMinimized) Activate(*record, WA_ACTIVE);
    if (Find(window) != nullptr) Send(window, WM_SIZE, SIZE_RESTORED, PackSize(clientWidth, clientHeight));
}

void ReportResized(HWND window, int clientWidth, int clientHeight) {
    WindowRecord* record = Find(window);
    if (record == nullptr || record->minimized) return;
    if (record->width == clientWidth && record->height == clientHeight) return;
    record->width = clientWidth;
    record->height = clientHeight;
    Send(window, WM_SIZE, SIZE_RESTORED, PackSize(clientWidth, clientHeight));
}

void ReportFocus(HWND window, bool gained) {
    WindowRecord* record = Find(window);
    if (record == nullptr) return;
    if (gained) State().focus = window;
    else if (State().focus == window) State().focus = nullptr;
    Activate(*record, gained ? WA_ACTIVE : WA_INACTIVE);
}

void ReportCloseRequest(HWND window) {
    if (Find(window) != nullptr) Send(window, WM_SYSCOMMAND, SC_CLOSE, 0);
}

}  // namespace platform::core

using namespace platform;

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menu, HINSTANCE instance, void* param) {
    (void)param;
    if (className != nullptr && core::FoldName(className) == "button") {
        return core::CreateButton(exStyle, windowName, style, x, y, width, height, parent, menu);
    }
    if (!backend::Allow(Call::CreateWindow)) return nullptr;
    auto& state = core::State();
    auto found = state.classes.find(core::FoldName(className));
    if (className == nullptr || found == state.classes.end() || parent != nullptr) return nullptr;
    if (found->second.wndClass.hInstance != instance) return nullptr;

    auto owned = std::make_unique<WindowRecord>();
    WindowRecord& record = *owned;
    record.handle = core::MakeHandle<HWND>();
    record.className = found->second.name;
    record.proc = found->second.wndClass.lpfnWndProc;
    record.style = style & ~WS_VISIBLE;
    record.exStyle = exStyle;
    record.text = windowName ? windowName : "";
    record.x = x;
    record.y = y;
    record.width = std::max(width, 0);
    record.height = std::max(height, 0);
    core::CatchCloseSignals();
    if (!backend::CreateNative(record)) return nullptr;
    HWND handle = record.handle;
    state.windows[core::Key(handle)] = std::move(owned);

    if (core::Send(handle, WM_CREATE, 0, 0) == -1) {
        DestroyWindow(handle);
        return nullptr;
    }
    WindowRecord* created = core::Find(handle);
    if (created == nullptr) return nullptr;
    core::Send(handle, WM_SIZE, SIZE_RESTORED, core::PackSize(created->width, created->height));
    if ((style & WS_VISIBLE) != 0 && core::Find(handle) != nullptr) ShowWindow(handle, SW_SHOW);
    return core::Find(handle) ? handle : nullptr;
}

BOOL DestroyWindow(HWND window) {
    if (!backend::Allow(Call::DestroyWindow)) return FALSE;
    WindowRecord* record = core::Find(window);
    if (record == nullptr) return FALSE;
    if (record->parent == nullptr) core::Send(window, WM_DESTROY, 0, 0);
    for (WindowRecord* child : core::Children(window)) core::Forget(child->handle);
    record = core::Find(window);
    if (record == nullptr) return TRUE;  // destroyed again from inside WM_DESTROY
    if (record->parent == nullptr) backend::DestroyNative(*record);
    core::Forget(window);
    return TRUE;
}

BOOL ShowWindow(HWND window, int command) {
    if (!backend::Allow(Call::ShowWindow)) return FALSE;
    WindowRecord* record = core::Find(window);
    if (record == nullptr) return FALSE;
    BOOL wasVisible = record->visible ? TRUE : FALSE;
    if (record->parent != nullptr) {
        record->visible = command != SW_HIDE;
        return wasVisible;
    }
    backend::ShowNative(*record, command);
    switch (command) {
        case SW_HIDE:
            record->visible = false;
            break;
        case SW_MINIMIZE:
        case SW_SHOWMINIMIZED:
            record->visible = true;
            core::ReportMinimized(window);
            break;
        case SW_RESTORE:
            record->visible = true;
            if (record->minimized) core::ReportRestored(window, record->width, record->height);
            break;
        default:
            record->visible = true;
            if (!record->activatedOnce) {
                record->activatedOnce = true;
                core::State().focus = window;
                core::Activate(*record, WA_ACTIVE);
            }
            break;
    }
    return wasVisible;
}

BOOL SetForegroundWindow(HWND window) {
    if (!backend::Allow(Call::SetForegroundWindow)) return FALSE;
    WindowRecord* record = core::Find(window);
    if (record == nullptr || record->parent != nullptr) return FALSE;
    backend::RaiseNative(*record);
    return TRUE;
}

HWND SetFocus(HWND window) {
    if (!backend::Allow(Call::SetFocus)) return nullptr;
    auto& state = core::State();
    HWND previous = state.focus;
    WindowRecord* record = core::Find(window);
    if (window != nullptr && record == nullptr) return nullptr;
    // Push buttons never hold the keyboard focus, so keys always reach the render window.
    while (record != nullptr && record->parent != nullptr) record = core::Find(record->parent);
    state.focus = record ? record->handle : nullptr;
    return previous;
}

HWND GetFocus() { return core::State().focus; }
