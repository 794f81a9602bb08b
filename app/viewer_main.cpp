// Program entry, the loop that never waits, and the window procedure of the render window.
#include <iterator>

#include "app/viewer.h"
#include "scenes/frame.h"

bool windowActive = true;
bool fullscreen = true;
bool keyDown[256] = {};

const char kStartupTitle[] = "\xC0\xED\xE8\xEC\xE0\xF6\xE8\xFF" " 3D " "\xF3\xF1\xF2\xF0\xEE\xE9\xF1\xF2\xE2"
                             " Zelvo," "\xED\xEE\xFF\xE1\xF0\xFC" " 2016";
const char kToggleTitle[] = "Mivo's OpenGL Framework";

namespace {

constexpr int kColourBits = 16;
constexpr int kToggleWidth = 640;
constexpr int kToggleHeight = 480;
// A window that could not be opened ends the program with this status.
constexpr int kOpenFailedStatus = 1;

void RecordKey(WPARAM key, bool down) {
    if (key < std::size(keyDown)) keyDown[key] = down;
}

}  // namespace

int ViewerMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    fullscreen = false;
    const RECT area = ShowArea();
    if (!OpenRenderWindow(kStartupTitle, area.right - area.left, area.bottom - area.top, kColourBits, false)) {
        return kOpenFailedStatus;
    }
    BeginShowFloor();
    MSG msg{};
    bool quit = false;
    for (;;) {
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) break;
            NoteShowFloorInput(msg);
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
            continue;
        }
        TickShowFloor();
        if (windowActive) {
            if (keyDown[VK_ESCAPE]) {
                quit = true;
            } else {
                RenderFrame();
                SwapBuffers(deviceContext);
            }
        }
        if (keyDown[VK_F1]) {
            keyDown[VK_F1] = false;
            CloseRenderWindow();
            fullscreen = !fullscreen;
            if (!OpenRenderWindow(kToggleTitle, kToggleWidth, kToggleHeight, kColourBits, fullscreen)) {
                return kOpenFailedStatus;
            }
        }
        if (quit) break;
    }
    EndShowFloor();
    CloseRenderWindow();
    return static_cast<int>(msg.wParam);
}

LRESULT ViewerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (ShowFloorRefuses(message, wParam)) return 0;
    switch (message) {
        case WM_CREATE:
            CreateControlPanel(window);
            return 0;
        case WM_SIZE:
            ReshapeScene(LOWORD(static_cast<std::uintptr_t>(lParam)), HIWORD(static_cast<std::uintptr_t>(lParam)));
            return 0;
        case WM_ACTIVATE:
            windowActive = HIWORD(wParam) == 0;
            return 0;
        case WM_CLOSE:
            PostQuitMessage(0);
            return 0;
        case WM_KEYDOWN:
            RecordKey(wParam, true);
            return 0;
        case WM_KEYUP:
            RecordKey(wParam, false);
            return 0;
        case WM_COMMAND:
            if (RunPanelCommand(LOWORD(wParam))) return 0;
            break;
        case WM_SYSCOMMAND:
            // The screen saver and monitor power-down never start while the show runs, unless
            // the operator allowed them.
            if ((wParam == SC_SCREENSAVE || wParam == SC_MONITORPOWER) && !showFloor.allowScreenSaver) return 0;
            break;
        default:
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
