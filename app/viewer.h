// The application shell: program entry and loop, the render window with its GL context, the
// window procedure and the control panel. Everything here is program-wide state.
#pragma once

#include <cstdint>

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
