// The application shell: program entry and loop, the render window with its GL context, the
// window procedure and the control panel. Everything here is program-wide state.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32.h"

// Flags of the loop and the window procedure.
extern bool windowActive;   // frames are drawn and Escape honoured only while set
extern bool fullscreen;     // the window owns a changed display mode
extern bool keyDown[256];   // by virtual-key code

// Handles of the render window; null when nothing is held.
extern HINSTANCE instanceHandle;
extern HWND windowHandle;
extern HDC deviceContext;
extern HGLRC renderContext;
extern PIXELFORMATDESCRIPTOR pixelFormatRequest;

// Window titles (Windows-1251).
extern const char kStartupTitle[];
extern const char kToggleTitle[];

int ViewerMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandLine, int showCommand);
LRESULT ViewerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// 1 when the window, its context and the show are ready; 0 after a failure, which has then been
// reported and released.
int OpenRenderWindow(const char* title, int width, int height, int bits, bool fullscreenRequested);
// Releases whatever is held, in reverse order of acquisition; safe with nothing held.
void CloseRenderWindow();

// The control panel: one push button per entry, created on the render window's WM_CREATE.
struct PanelButton {
    int id;
    const char* label;  // Windows-1251
    int x;
    int y;
    int width;
    int height;
};
extern const PanelButton kPanelButtons[19];
void CreateControlPanel(HWND parent);
// Applies the command of a control id; false when the id is not a panel command.
bool RunPanelCommand(int id);

// Show-floor mode and the attract reset (app/show_floor.cpp), set by the command line before
// ViewerMain; all off by default, and then the program behaves as it always has.
struct ShowFloorOptions {
    bool kiosk = false;             // borderless, topmost, covering the monitor; visitors cannot end it
    int monitor = 0;                // 1-based place in the monitor list; 0: the primary
    DWORD idleResetMs = 0;          // back to the start this long after the last input; 0: never
    bool allowScreenSaver = false;  // let SC_SCREENSAVE / SC_MONITORPOWER through
};
extern ShowFloorOptions showFloor;
inline constexpr DWORD kKioskIdleResetMs = 120'000;

struct MonitorEntry {
    RECT rect;
    bool primary;
    std::string name;
};
// The monitors in EnumDisplayMonitors order; empty when there is no display.
std::vector<MonitorEntry> ListMonitors();
// Where a window that does not change the display mode goes: the chosen monitor (the primary in
// kiosk mode without a choice), or the screen at the origin as always.
RECT ShowArea();
// WS_POPUP and WS_EX_TOPMOST in kiosk mode; otherwise leaves the styles as they are.
void ShowFloorWindowStyle(DWORD& style, DWORD& exStyle);
// Starts the clocks of the attract reset and of the pointer (ViewerMain's start).
void BeginShowFloor();
// True when the window procedure must drop the message: the keys and close requests a visitor
// could end the show with. The quit chord posts WM_QUIT with status 0.
bool ShowFloorRefuses(UINT message, WPARAM wParam);
// Every message the loop takes: input restarts the idle count, movement shows the pointer.
void NoteShowFloorInput(const MSG& msg);
// Once per loop pass: the attract reset when due, the pointer hidden when it rested long enough.
void TickShowFloor();
// Gives the pointer back if it is hidden.
void EndShowFloor();
