// What a backend provides to the platform core. Exactly one backend library (sdl or headless)
// is linked into a program; both implement every function below.
#pragma once

#include <string>
#include <vector>

#include "platform/subset/core.h"

namespace platform::backend {

// Called on entry of every traced call. A backend may record it and may refuse it (return
// false), which makes the call fail as the Windows function would. The real backend allows all.
bool Allow(Call call);

struct DisplayMode {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
};
// The mode the screen has now (after any full-screen change).
DisplayMode CurrentMode();
// Switch to exactly this mode for full screen (DISP_CHANGE_SUCCESSFUL), or DISP_CHANGE_BADMODE
// when the display has no such mode, DISP_CHANGE_FAILED when switching failed.
LONG ChangeMode(const DisplayMode& mode);
// Back to the desktop mode; no effect when it was never changed.
void RestoreMode();

// The monitors on the desktop, primary marked; empty when there is no display.
struct Monitor {
    RECT bounds{};
    RECT work{};
    bool primary = false;
    std::string name;
};
std::vector<Monitor> Monitors();
// GetTickCount's clock.
DWORD Ticks();

// Top-level native windows. CreateNative makes a hidden window of record.width x record.height
// client pixels at (record.x, record.y), titled with the record's text; WS_POPUP after a
// successful ChangeMode means full screen in that mode, WS_POPUP otherwise a borderless window,
// and WS_EX_TOPMOST keeps it above other windows, panels included.
bool CreateNative(WindowRecord& record);
void DestroyNative(WindowRecord& record);
void ShowNative(WindowRecord& record, int command);
void RaiseNative(WindowRecord& record);

// Turns pending native events into messages (through the core's Report functions); never blocks.
void PumpEvents();
// Waits until input arrives, LoopIdle::kWaitMs at most (common/loop_idle.h says when).
void IdleWait();

void SetCursorVisible(bool visible);
void SetScreenSaverAllowed(bool allowed);

// Shows a modal box (UTF-8 texts) and returns the id of the button chosen, or 0 when no box can
// be shown at all. A box still open when core::Stopping() turns true is closed at once.
int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type);

// GL drawables and contexts of top-level windows. The core offers one pixel format, RGBA to a
// window with OpenGL, while GlAvailable (the backend's GL can be started); SetPixelFormat gives
// the window a drawable with the request's buffers.
bool GlAvailable();
bool SetPixelFormat(WindowRecord& record, const PIXELFORMATDESCRIPTOR& request);
void* CreateContext(WindowRecord& record);
bool MakeCurrent(WindowRecord* record, void* context);  // null, null releases
bool DeleteContext(void* context);
// Draws the window's push buttons over the frame and presents it.
bool Present(WindowRecord& record);

}  // namespace platform::backend
