// The render window and its GL context: opened at start and around every full-screen toggle,
// released in reverse order by one routine that tolerates a half-finished opening.
#include "app/viewer.h"
#include "scenes/frame.h"

HINSTANCE instanceHandle = nullptr;
HWND windowHandle = nullptr;
HDC deviceContext = nullptr;
HGLRC renderContext = nullptr;
PIXELFORMATDESCRIPTOR pixelFormatRequest{};

namespace {

constexpr const char kClassName[] = "OpenGL";
constexpr int kDepthBits = 16;

void ShowOpeningError(const char* text) { MessageBoxA(nullptr, text, "ERROR", MB_OK | MB_ICONEXCLAMATION); }
void ShowShutdownError(const char* text) { MessageBoxA(nullptr, text, "SHUTDOWN ERROR", MB_OK | MB_ICONINFORMATION); }

// Closes what the opening has built so far, then says why it failed.
int FailOpening(const char* text) {
    CloseRenderWindow();
    ShowOpeningError(text);
    return 0;
}

void FillPixelFormatRequest(int bits) {
    if (pixelFormatRequest.nSize != 0) return;
    pixelFormatRequest.nSize = sizeof(PIXELFORMATDESCRIPTOR);
    pixelFormatRequest.nVersion = 1;
    pixelFormatRequest.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    pixelFormatRequest.iPixelType = PFD_TYPE_RGBA;
    pixelFormatRequest.cColorBits = static_cast<BYTE>(bits);
    pixelFormatRequest.cDepthBits = kDepthBits;
    pixelFormatRequest.iLayerType = PFD_MAIN_PLANE;
}

bool RegisterWindowClass() {
    WNDCLASSA wndClass{};
    wndClass.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
    wndClass.lpfnWndProc = ViewerWindowProc;
    wndClass.cbClsExtra = 0;
    wndClass.cbWndExtra = 0;
    wndClass.hInstance = instanceHandle;
    wndClass.hIcon = LoadIconA(nullptr, IDI_WINLOGO);
    wndClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wndClass.hbrBackground = nullptr;
    wndClass.lpszMenuName = nullptr;
    wndClass.lpszClassName = kClassName;
    return RegisterClassA(&wndClass) != 0;
}

// Switches the display for full screen; false when the user declined the windowed fallback.
bool EnterFullscreenMode(int width, int height, int bits) {
    DEVMODEA mode{};
    mode.dmSize = sizeof(DEVMODEA);
    mode.dmPelsWidth = static_cast<DWORD>(width);
    mode.dmPelsHeight = static_cast<DWORD>(height);
    mode.dmBitsPerPel = static_cast<DWORD>(bits);
    mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
    if (ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN) == DISP_CHANGE_SUCCESSFUL) {
        ShowCursor(FALSE);
        return true;
    }
    if (MessageBoxA(nullptr,
                    "The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. Use Windowed Mode Instead?",
                    "Mivo GL", MB_YESNO | MB_ICONEXCLAMATION) == IDYES) {
        fullscreen = false;
        return true;
    }
    MessageBoxA(nullptr, "Program Will Now Close.", "ERROR", MB_OK | MB_ICONSTOP);
    return false;
}

}  // namespace

int OpenRenderWindow(const char* title, int width, int height, int bits, bool fullscreenRequested) {
    fullscreen = fullscreenRequested;
    instanceHandle = GetModuleHandleA(nullptr);
    if (!RegisterWindowClass()) {
        ShowOpeningError("Failed To Register The Window Class.");
        return 0;
    }
    if (fullscreen && !EnterFullscreenMode(width, height, bits)) return 0;

    DWORD style = WS_OVERLAPPEDWINDOW;
    DWORD exStyle = WS_EX_APPWINDOW | WS_EX_WINDOWEDGE;
    // The window always covers the screen of this moment; in full screen that screen has just
    // been switched to width x height. Otherwise it covers the monitor chosen for the show.
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (fullscreen) {
        style = WS_POPUP;
        exStyle = WS_EX_APPWINDOW;
    } else {
        area = ShowArea();
        ShowFloorWindowStyle(style, exStyle);
    }
    windowHandle = CreateWindowExA(exStyle, kClassName, title, style | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, area.left,
                                   area.top, area.right - area.left, area.bottom - area.top, nullptr, nullptr,
                                   instanceHandle, nullptr);
    if (windowHandle == nullptr) return FailOpening("Window Creation Error.");

    deviceContext = GetDC(windowHandle);
    if (deviceContext == nullptr) return FailOpening("Can't Create A GL Device Context.");
    FillPixelFormatRequest(bits);
    int format = ChoosePixelFormat(deviceContext, &pixelFormatRequest);
    if (format == 0) return FailOpening("Can't Find A Suitable PixelFormat.");
    if (!SetPixelFormat(deviceContext, format, &pixelFormatRequest)) return FailOpening("Can't Set The PixelFormat.");
    renderContext = wglCreateContext(deviceContext);
    if (renderContext == nullptr) return FailOpening("Can't Create A GL Rendering Context.");
    if (!wglMakeCurrent(deviceContext, renderContext)) return FailOpening("Can't Activate The GL Rendering Context.");

    ShowWindow(windowHandle, SW_SHOW);
    SetForegroundWindow(windowHandle);
    SetFocus(windowHandle);
    ReshapeScene(width, height);
    if (!SetupScene()) return FailOpening("Initialization Failed.");
    return 1;
}

void CloseRenderWindow() {
    if (fullscreen) {
        ChangeDisplaySettingsA(nullptr, 0);
        ShowCursor(TRUE);
    }
    if (renderContext != nullptr) {
        if (!wglMakeCurrent(nullptr, nullptr)) ShowShutdownError("Release Of DC And RC Failed.");
        if (!wglDeleteContext(renderContext)) ShowShutdownError("Release Rendering Context Failed.");
        renderContext = nullptr;
    }
    if (deviceContext != nullptr) {
        if (!ReleaseDC(windowHandle, deviceContext)) ShowShutdownError("Release Device Context Failed.");
        deviceContext = nullptr;
    }
    if (windowHandle != nullptr) {
        if (!DestroyWindow(windowHandle)) ShowShutdownError("Could Not Release hWnd.");
        windowHandle = nullptr;
    }
    if (!UnregisterClassA(kClassName, instanceHandle)) {
        ShowShutdownError("Could Not Unregister Class.");
        instanceHandle = nullptr;
    }
}
