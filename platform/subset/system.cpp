// Screen metrics, cursor, message boxes, display modes, device and GL contexts.
#include <algorithm>
#include <cstdio>
#include <iterator>

#include "platform/common/box_buttons.h"
#include "platform/subset/backend.h"
#include "platform/subset/state.h"

namespace platform {

const char* CallName(Call call) {
    static constexpr const char* kNames[] = {
        "RegisterClassA", "UnregisterClassA", "CreateWindowExA", "CreateWindowExA(BUTTON)", "DestroyWindow",
        "ShowWindow", "SetForegroundWindow", "SetFocus", "ChangeDisplaySettingsA", "ChangeDisplaySettingsA(NULL)",
        "ShowCursor", "MessageBoxA", "GetDC", "ReleaseDC", "ChoosePixelFormat", "SetPixelFormat",
        "wglCreateContext", "wglMakeCurrent", "wglMakeCurrent(NULL)", "wglDeleteContext", "SwapBuffers", "DefWindowProcA",
    };
    static_assert(std::size(kNames) == static_cast<std::size_t>(Call::Count));
    auto index = static_cast<std::size_t>(call);
    return index < std::size(kNames) ? kNames[index] : "?";
}

namespace core {

int CursorCounter() { return State().cursorCounter; }

void ResetAll() {
    auto& state = State();
    for (auto& [key, context] : state.contexts) backend::DeleteContext(context.native);
    for (auto& [key, window] : state.windows) {
        if (window->parent == nullptr) backend::DestroyNative(*window);
    }
    state = CoreState{};
    ReleaseCloseSignals();
}

}  // namespace core
}  // namespace platform

using namespace platform;


int GetSystemMetrics(int index) {
    backend::DisplayMode mode = backend::CurrentMode();
    if (index == SM_CXSCREEN) return mode.width;
    if (index == SM_CYSCREEN) return mode.height;
    return 0;
}

namespace {

// A monitor handle is its place in the backend's list, counted from 1.
HMONITOR MonitorHandle(std::size_t index) { return reinterpret_cast<HMONITOR>(index + 1); }

// The one pixel format: RGBA drawn to a window with OpenGL, its buffers shaped by the request.
constexpr int kPixelFormat = 1;

}  // namespace

BOOL EnumDisplayMonitors(HDC hdc, LPCRECT clip, MONITORENUMPROC proc, LPARAM data) {
    if (hdc != nullptr || proc == nullptr) return FALSE;
    const std::vector<backend::Monitor> monitors = backend::Monitors();
    if (monitors.empty()) return FALSE;
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        RECT shown = monitors[i].bounds;
        if (clip != nullptr) {
            shown = {std::max(shown.left, clip->left), std::max(shown.top, clip->top),
                     std::min(shown.right, clip->right), std::min(shown.bottom, clip->bottom)};
            if (shown.left >= shown.right || shown.top >= shown.bottom) continue;
        }
        if (!proc(MonitorHandle(i), nullptr, &shown, data)) break;
    }
    return TRUE;
}

BOOL GetMonitorInfoA(HMONITOR monitor, MONITORINFO* info) {
    if (info == nullptr || (info->cbSize != sizeof(MONITORINFO) && info->cbSize != sizeof(MONITORINFOEXA)))
        return FALSE;
    const std::vector<backend::Monitor> monitors = backend::Monitors();
    const auto index = reinterpret_cast<std::uintptr_t>(monitor);
    if (index == 0 || index > monitors.size()) return FALSE;
    const backend::Monitor& found = monitors[index - 1];
    info->rcMonitor = found.bounds;
    info->rcWork = found.work;
    info->dwFlags = found.primary ? MONITORINFOF_PRIMARY : 0;
    if (info->cbSize == sizeof(MONITORINFOEXA)) {
        char* device = static_cast<MONITORINFOEXA*>(info)->szDevice;
        std::snprintf(device, CCHDEVICENAME, "%s", found.name.c_str());
    }
    return TRUE;
}

DWORD GetTickCount() { return backend::Ticks(); }

int ShowCursor(BOOL show) {
    auto& state = core::State();
    if (!backend::Allow(Call::ShowCursor)) return state.cursorCounter;
    state.cursorCounter += show ? 1 : -1;
    backend::SetCursorVisible(state.cursorCounter >= 0);
    return state.cursorCounter;
}

// Once the program is stopping, a box is not shown, and one that was open when the stop came
// is closed by the backend; either way the answer is the box's default button, as when no box
// can be shown, and the caller goes on along its usual path to the end.
int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    if (!backend::Allow(Call::MessageBox)) return 0;
    if (core::Stopping()) return DefaultBoxButton(type);
    std::string body = core::Cp1251ToUtf8(text ? text : "");
    std::string title = core::Cp1251ToUtf8(caption ? caption : "Error");
    int answer = backend::ShowMessageBox(owner, body, title, type);
    if (core::Stopping()) return DefaultBoxButton(type);
    if (answer != 0) return answer;
    // No box could be shown: say it on stderr and take the box's default button.
    std::fprintf(stderr, "%s: %s\n", title.c_str(), body.c_str());
    return DefaultBoxButton(type);
}

LONG ChangeDisplaySettingsA(DEVMODEA* mode, DWORD flags) {
    if (mode == nullptr) {
        if (!backend::Allow(Call::RestoreDisplaySettings)) return DISP_CHANGE_FAILED;
        backend::RestoreMode();
        core::State().displayChanged = false;
        return DISP_CHANGE_SUCCESSFUL;
    }
    if (!backend::Allow(Call::ChangeDisplaySettings)) return DISP_CHANGE_FAILED;
    if (mode->dmSize < sizeof(DEVMODEA) || (flags & CDS_FULLSCREEN) == 0) return DISP_CHANGE_FAILED;
    backend::DisplayMode wanted = backend::CurrentMode();
    if (mode->dmFields & DM_PELSWIDTH) wanted.width = static_cast<int>(mode->dmPelsWidth);
    if (mode->dmFields & DM_PELSHEIGHT) wanted.height = static_cast<int>(mode->dmPelsHeight);
    if (mode->dmFields & DM_BITSPERPEL) wanted.bitsPerPixel = static_cast<int>(mode->dmBitsPerPel);
    LONG result = backend::ChangeMode(wanted);
    if (result == DISP_CHANGE_SUCCESSFUL) core::State().displayChanged = true;
    return result;
}

HDC GetDC(HWND window) {
    if (!backend::Allow(Call::GetDC)) return nullptr;
    WindowRecord* record = core::Find(window);
    if (record == nullptr || record->parent != nullptr) return nullptr;
    if (record->dc == nullptr) record->dc = core::MakeHandle<HDC>();
    return record->dc;
}

int ReleaseDC(HWND window, HDC dc) {
    if (!backend::Allow(Call::ReleaseDC)) return 0;
    WindowRecord* record = core::Find(window);
    // The window keeps its own DC for its whole life; releasing only checks that it is its DC.
    return record != nullptr && record->dc == dc && dc != nullptr ? 1 : 0;
}

int ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* request) {
    if (!backend::Allow(Call::ChoosePixelFormat)) return 0;
    const DWORD needed = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;
    if (core::FindByDc(dc) == nullptr || request == nullptr || request->iPixelType != PFD_TYPE_RGBA ||
        (request->dwFlags & needed) != needed)
        return 0;
    return backend::GlAvailable() ? kPixelFormat : 0;
}

BOOL SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR* request) {
    if (!backend::Allow(Call::SetPixelFormat)) return FALSE;
    WindowRecord* record = core::FindByDc(dc);
    if (record == nullptr || request == nullptr || format <= 0) return FALSE;
    if (record->pixelFormat != 0) return record->pixelFormat == format ? TRUE : FALSE;
    if (format != kPixelFormat || !backend::SetPixelFormat(*record, *request)) return FALSE;
    record->pixelFormat = format;
    return TRUE;
}

HGLRC wglCreateContext(HDC dc) {
    if (!backend::Allow(Call::CreateContext)) return nullptr;
    WindowRecord* record = core::FindByDc(dc);
    if (record == nullptr || record->pixelFormat == 0) return nullptr;
    void* native = backend::CreateContext(*record);
    if (native == nullptr) return nullptr;
    auto handle = core::MakeHandle<HGLRC>();
    core::State().contexts[core::Key(handle)] = core::ContextRecord{dc, native};
    return handle;
}

BOOL wglMakeCurrent(HDC dc, HGLRC context) {
    auto& state = core::State();
    if (dc == nullptr && context == nullptr) {
        if (!backend::Allow(Call::ReleaseCurrent)) return FALSE;
        if (state.current != nullptr && !backend::MakeCurrent(nullptr, nullptr)) return FALSE;
        state.current = nullptr;
        return TRUE;
    }
    if (!backend::Allow(Call::MakeCurrent)) return FALSE;
    WindowRecord* record = core::FindByDc(dc);
    auto found = state.contexts.find(core::Key(context));
    if (record == nullptr || found == state.contexts.end()) return FALSE;
    if (!backend::MakeCurrent(record, found->second.native)) return FALSE;
    state.current = context;
    return TRUE;
}

BOOL wglDeleteContext(HGLRC context) {
    if (!backend::Allow(Call::DeleteContext)) return FALSE;
    auto& state = core::State();
    auto found = state.contexts.find(core::Key(context));
    if (found == state.contexts.end()) return FALSE;
    if (state.current == context) {
        backend::MakeCurrent(nullptr, nullptr);
        state.current = nullptr;
    }
    bool deleted = backend::DeleteContext(found->second.native);
    state.contexts.erase(found);
    return deleted ? TRUE : FALSE;
}

BOOL SwapBuffers(HDC dc) {
    if (!backend::Allow(Call::SwapBuffers)) return FALSE;
    WindowRecord* record = core::FindByDc(dc);
    if (record == nullptr) return FALSE;
    bool presented = backend::Present(*record);
    core::State().idle.FramePresented();
    return presented ? TRUE : FALSE;
}
