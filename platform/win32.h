// The Windows API the viewer is written against. On Windows it is the real one (with a few calls
// corrected, platform/windows/win32.h). On Linux it is the small subset below: names, types,
// constants and documented behaviour follow the Windows headers, so message ids, wParam/lParam
// packing, virtual-key codes and message-box results keep their values. Which backend stands
// behind these functions there (a real SDL2 window or a headless EGL surface) is chosen when the
// program is linked.
#pragma once

#ifdef _WIN32
#include "platform/windows/win32.h"
#else

#include <cstddef>
#include <cstdint>

#define WINAPI
#define CALLBACK
#ifndef APIENTRY
#define APIENTRY
#endif

using BOOL = int;
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = unsigned int;
using SHORT = std::int16_t;
using LONG = std::int32_t;
using ATOM = std::uint16_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using LPCSTR = const char*;
using LPSTR = char*;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

#define DECLARE_HANDLE(name) \
    struct name##__;         \
    using name = name##__*
DECLARE_HANDLE(HWND);
DECLARE_HANDLE(HDC);
DECLARE_HANDLE(HGLRC);
DECLARE_HANDLE(HINSTANCE);
DECLARE_HANDLE(HICON);
DECLARE_HANDLE(HCURSOR);
DECLARE_HANDLE(HBRUSH);
DECLARE_HANDLE(HMENU);
DECLARE_HANDLE(HMONITOR);
#undef DECLARE_HANDLE
using HMODULE = HINSTANCE;

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);

struct POINT {
    LONG x;
    LONG y;
};

struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};
using LPRECT = RECT*;
using LPCRECT = const RECT*;

struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
};

struct WNDCLASSA {
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCSTR lpszMenuName;
    LPCSTR lpszClassName;
};

struct PIXELFORMATDESCRIPTOR {
    WORD nSize;
    WORD nVersion;
    DWORD dwFlags;
    BYTE iPixelType;
    BYTE cColorBits;
    BYTE cRedBits;
    BYTE cRedShift;
    BYTE cGreenBits;
    BYTE cGreenShift;
    BYTE cBlueBits;
    BYTE cBlueShift;
    BYTE cAlphaBits;
    BYTE cAlphaShift;
    BYTE cAccumBits;
    BYTE cAccumRedBits;
    BYTE cAccumGreenBits;
    BYTE cAccumBlueBits;
    BYTE cAccumAlphaBits;
    BYTE cDepthBits;
    BYTE cStencilBits;
    BYTE cAuxBuffers;
    BYTE iLayerType;
    BYTE bReserved;
    DWORD dwLayerMask;
    DWORD dwVisibleMask;
    DWORD dwDamageMask;
};
static_assert(sizeof(PIXELFORMATDESCRIPTOR) == 40);

struct POINTL {
    LONG x;
    LONG y;
};

struct DEVMODEA {
    BYTE dmDeviceName[32];
    WORD dmSpecVersion;
    WORD dmDriverVersion;
    WORD dmSize;
    WORD dmDriverExtra;
    DWORD dmFields;
    union {
        struct {
            short dmOrientation;
            short dmPaperSize;
            short dmPaperLength;
            short dmPaperWidth;
            short dmScale;
            short dmCopies;
            short dmDefaultSource;
            short dmPrintQuality;
        };
        struct {
            POINTL dmPosition;
            DWORD dmDisplayOrientation;
            DWORD dmDisplayFixedOutput;
        };
    };
    short dmColor;
    short dmDuplex;
    short dmYResolution;
    short dmTTOption;
    short dmCollate;
    BYTE dmFormName[32];
    WORD dmLogPixels;
    DWORD dmBitsPerPel;
    DWORD dmPelsWidth;
    DWORD dmPelsHeight;
    union {
        DWORD dmDisplayFlags;
        DWORD dmNup;
    };
    DWORD dmDisplayFrequency;
    DWORD dmICMMethod;
    DWORD dmICMIntent;
    DWORD dmMediaType;
    DWORD dmDitherType;
    DWORD dmReserved1;
    DWORD dmReserved2;
    DWORD dmPanningWidth;
    DWORD dmPanningHeight;
};
static_assert(sizeof(DEVMODEA) == 156);

// Packing helpers.
constexpr WORD LOWORD(std::uintptr_t v) { return static_cast<WORD>(v & 0xFFFF); }
constexpr WORD HIWORD(std::uintptr_t v) { return static_cast<WORD>((v >> 16) & 0xFFFF); }
constexpr WPARAM MAKEWPARAM(WORD lo, WORD hi) { return static_cast<WPARAM>(static_cast<DWORD>(lo) | (static_cast<DWORD>(hi) << 16)); }
constexpr LPARAM MAKELPARAM(WORD lo, WORD hi) { return static_cast<LPARAM>(static_cast<DWORD>(lo) | (static_cast<DWORD>(hi) << 16)); }
#define MAKEINTRESOURCEA(i) (reinterpret_cast<LPCSTR>(static_cast<std::uintptr_t>(static_cast<WORD>(i))))

// Window messages.
constexpr UINT WM_NULL = 0x0000;
constexpr UINT WM_CREATE = 0x0001;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_SIZE = 0x0005;
constexpr UINT WM_ACTIVATE = 0x0006;
constexpr UINT WM_SETFOCUS = 0x0007;
constexpr UINT WM_KILLFOCUS = 0x0008;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_SYSKEYDOWN = 0x0104;
constexpr UINT WM_SYSKEYUP = 0x0105;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_SYSCOMMAND = 0x0112;
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_LBUTTONUP = 0x0202;

// WM_ACTIVATE low word, WM_SIZE wParam, button notifications.
constexpr WORD WA_INACTIVE = 0;
constexpr WORD WA_ACTIVE = 1;
constexpr WORD WA_CLICKACTIVE = 2;
constexpr WPARAM SIZE_RESTORED = 0;
constexpr WPARAM SIZE_MINIMIZED = 1;
constexpr WPARAM SIZE_MAXIMIZED = 2;
constexpr WORD BN_CLICKED = 0;

// WM_SYSCOMMAND codes.
constexpr WPARAM SC_CLOSE = 0xF060;
constexpr WPARAM SC_KEYMENU = 0xF100;
constexpr WPARAM SC_SCREENSAVE = 0xF140;
constexpr WPARAM SC_MONITORPOWER = 0xF170;

// Virtual-key codes (letters and digits are their ASCII upper-case codes).
constexpr WPARAM VK_BACK = 0x08;
constexpr WPARAM VK_TAB = 0x09;
constexpr WPARAM VK_RETURN = 0x0D;
constexpr WPARAM VK_SHIFT = 0x10;
constexpr WPARAM VK_CONTROL = 0x11;
constexpr WPARAM VK_MENU = 0x12;
constexpr WPARAM VK_PAUSE = 0x13;
constexpr WPARAM VK_CAPITAL = 0x14;
constexpr WPARAM VK_ESCAPE = 0x1B;
constexpr WPARAM VK_SPACE = 0x20;
constexpr WPARAM VK_PRIOR = 0x21;
constexpr WPARAM VK_NEXT = 0x22;
constexpr WPARAM VK_END = 0x23;
constexpr WPARAM VK_HOME = 0x24;
constexpr WPARAM VK_LEFT = 0x25;
constexpr WPARAM VK_UP = 0x26;
constexpr WPARAM VK_RIGHT = 0x27;
constexpr WPARAM VK_DOWN = 0x28;
constexpr WPARAM VK_SNAPSHOT = 0x2C;
constexpr WPARAM VK_INSERT = 0x2D;
constexpr WPARAM VK_DELETE = 0x2E;
constexpr WPARAM VK_NUMPAD0 = 0x60;
constexpr WPARAM VK_MULTIPLY = 0x6A;
constexpr WPARAM VK_ADD = 0x6B;
constexpr WPARAM VK_SUBTRACT = 0x6D;
constexpr WPARAM VK_DECIMAL = 0x6E;
constexpr WPARAM VK_DIVIDE = 0x6F;
constexpr WPARAM VK_F1 = 0x70;
constexpr WPARAM VK_F4 = 0x73;
constexpr WPARAM VK_F10 = 0x79;
constexpr WPARAM VK_F12 = 0x7B;
constexpr WPARAM VK_NUMLOCK = 0x90;
constexpr WPARAM VK_SCROLL = 0x91;
constexpr WPARAM VK_OEM_1 = 0xBA;       // ;:
constexpr WPARAM VK_OEM_PLUS = 0xBB;    // =+
constexpr WPARAM VK_OEM_COMMA = 0xBC;
constexpr WPARAM VK_OEM_MINUS = 0xBD;
constexpr WPARAM VK_OEM_PERIOD = 0xBE;
constexpr WPARAM VK_OEM_2 = 0xBF;       // /?
constexpr WPARAM VK_OEM_3 = 0xC0;       // `~
constexpr WPARAM VK_OEM_4 = 0xDB;       // [{
constexpr WPARAM VK_OEM_5 = 0xDC;       // backslash
constexpr WPARAM VK_OEM_6 = 0xDD;       // ]}
constexpr WPARAM VK_OEM_7 = 0xDE;       // '"

// Key-message lParam: bit 29 is the context code (Alt held), bit 30 the previous state,
// bit 31 the transition state.
constexpr LPARAM KF_ALTDOWN_BIT = LPARAM(1) << 29;

// Message boxes.
constexpr UINT MB_OK = 0x0;
constexpr UINT MB_OKCANCEL = 0x1;
constexpr UINT MB_ABORTRETRYIGNORE = 0x2;
constexpr UINT MB_YESNOCANCEL = 0x3;
constexpr UINT MB_YESNO = 0x4;
constexpr UINT MB_RETRYCANCEL = 0x5;
constexpr UINT MB_TYPEMASK = 0xF;
constexpr UINT MB_ICONHAND = 0x10;
constexpr UINT MB_ICONSTOP = MB_ICONHAND;
constexpr UINT MB_ICONERROR = MB_ICONHAND;
constexpr UINT MB_ICONQUESTION = 0x20;
constexpr UINT MB_ICONEXCLAMATION = 0x30;
constexpr UINT MB_ICONWARNING = MB_ICONEXCLAMATION;
constexpr UINT MB_ICONASTERISK = 0x40;
constexpr UINT MB_ICONINFORMATION = MB_ICONASTERISK;
constexpr UINT MB_ICONMASK = 0xF0;
constexpr UINT MB_DEFBUTTON1 = 0x000;
constexpr UINT MB_DEFBUTTON2 = 0x100;
constexpr UINT MB_DEFBUTTON3 = 0x200;
constexpr UINT MB_DEFMASK = 0xF00;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// Window and class styles.
constexpr DWORD WS_OVERLAPPED = 0x00000000;
constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_MINIMIZE = 0x20000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_CLIPSIBLINGS = 0x04000000;
constexpr DWORD WS_CLIPCHILDREN = 0x02000000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_THICKFRAME = 0x00040000;
constexpr DWORD WS_MINIMIZEBOX = 0x00020000;
constexpr DWORD WS_MAXIMIZEBOX = 0x00010000;
constexpr DWORD WS_TABSTOP = 0x00010000;
constexpr DWORD WS_OVERLAPPEDWINDOW =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
constexpr DWORD WS_EX_TOPMOST = 0x00000008;
constexpr DWORD WS_EX_WINDOWEDGE = 0x00000100;
constexpr DWORD WS_EX_APPWINDOW = 0x00040000;
constexpr UINT CS_VREDRAW = 0x0001;
constexpr UINT CS_HREDRAW = 0x0002;
constexpr UINT CS_OWNDC = 0x0020;

// ShowWindow commands, PeekMessage flags, system metrics.
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOWMINIMIZED = 2;
constexpr int SW_SHOW = 5;
constexpr int SW_MINIMIZE = 6;
constexpr int SW_RESTORE = 9;
constexpr UINT PM_NOREMOVE = 0x0;
constexpr UINT PM_REMOVE = 0x1;
constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;

// Stock icon and cursor ids.
#define IDI_APPLICATION MAKEINTRESOURCEA(32512)
#define IDI_WINLOGO MAKEINTRESOURCEA(32517)
#define IDC_ARROW MAKEINTRESOURCEA(32512)

// Pixel formats.
constexpr DWORD PFD_DOUBLEBUFFER = 0x00000001;
constexpr DWORD PFD_STEREO = 0x00000002;
constexpr DWORD PFD_DRAW_TO_WINDOW = 0x00000004;
constexpr DWORD PFD_DRAW_TO_BITMAP = 0x00000008;
constexpr DWORD PFD_SUPPORT_GDI = 0x00000010;
constexpr DWORD PFD_SUPPORT_OPENGL = 0x00000020;
constexpr BYTE PFD_TYPE_RGBA = 0;
constexpr BYTE PFD_TYPE_COLORINDEX = 1;
constexpr BYTE PFD_MAIN_PLANE = 0;

// Display settings.
constexpr DWORD DM_BITSPERPEL = 0x00040000;
constexpr DWORD DM_PELSWIDTH = 0x00080000;
constexpr DWORD DM_PELSHEIGHT = 0x00100000;
constexpr DWORD DM_DISPLAYFREQUENCY = 0x00400000;
constexpr DWORD CDS_FULLSCREEN = 0x00000004;
constexpr LONG DISP_CHANGE_SUCCESSFUL = 0;
constexpr LONG DISP_CHANGE_FAILED = -1;
constexpr LONG DISP_CHANGE_BADMODE = -2;

// Monitors.
constexpr DWORD MONITORINFOF_PRIMARY = 0x00000001;
constexpr int CCHDEVICENAME = 32;
struct MONITORINFO {
    DWORD cbSize;
    RECT rcMonitor;  // the monitor's rectangle on the virtual screen
    RECT rcWork;     // the part of it panels and taskbars leave free
    DWORD dwFlags;
};
struct MONITORINFOEXA : MONITORINFO {
    char szDevice[CCHDEVICENAME];
};
using MONITORENUMPROC = BOOL(CALLBACK*)(HMONITOR, HDC, LPRECT, LPARAM);

// Module: a non-null handle standing for the running program.
HMODULE GetModuleHandleA(LPCSTR moduleName);
// The running program's own file, absolute and with links resolved, for a null module. Returns
// the length copied (the name is cut to size - 1 and still ended), 0 on failure.
DWORD GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size);

// Classes: RegisterClassA fails (0) on a second registration of the same name for the same
// instance or on a missing name or procedure; UnregisterClassA fails while a window of the class
// exists or when the class is not registered.
ATOM RegisterClassA(const WNDCLASSA* wndClass);
BOOL UnregisterClassA(LPCSTR className, HINSTANCE instance);
HICON LoadIconA(HINSTANCE instance, LPCSTR iconName);
HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR cursorName);

// Windows. CreateWindowExA of a top-level window sends WM_CREATE, then WM_SIZE with the client
// size, before it returns; a WM_CREATE result of -1 destroys the window and returns null. Class
// "BUTTON" makes a push button child (hMenu carries its control id); a click on it posts
// WM_COMMAND (id, BN_CLICKED) to the parent. DestroyWindow destroys the children too.
HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance, void* param);
BOOL DestroyWindow(HWND window);
// SW_SHOW makes the window visible and sends WM_ACTIVATE (WA_ACTIVE) the first time.
BOOL ShowWindow(HWND window, int command);
BOOL SetForegroundWindow(HWND window);
// Keyboard focus goes to top-level windows only in this subset; returns the previous focus.
HWND SetFocus(HWND window);
HWND GetFocus();

// Messages. PeekMessageA never blocks; when nothing is pending and no frame was presented since
// the previous empty look, it yields the processor briefly so an idle loop does not spin.
BOOL PeekMessageA(MSG* msg, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags);
// Character messages are not generated: nothing in the program reads them.
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessageA(const MSG* msg);
// Default processing: SC_CLOSE sends WM_CLOSE; Alt+F4 sends SC_CLOSE; WM_CLOSE destroys the
// window; SC_SCREENSAVE / SC_MONITORPOWER let the screen saver and power-down run.
LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);

// Screen, cursor, message boxes, display modes.
int GetSystemMetrics(int index);
// The cursor is shown while the display counter is 0 or more; returns the new counter.
int ShowCursor(BOOL show);
// Texts are Windows-1251; "\n" breaks the line. Returns the ID of the button chosen; a box that
// cannot be shown at all is written to stderr and returns its default button.
int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
// Only full-screen changes of width, height and bits per pixel; null restores the desktop mode.
LONG ChangeDisplaySettingsA(DEVMODEA* mode, DWORD flags);

// Monitors of the desktop, primary marked; asks no window. EnumDisplayMonitors calls proc for
// each monitor that meets clip (all when null; hdc must be null) with its rectangle, until proc
// returns FALSE; FALSE when there is no display. GetMonitorInfoA fills a MONITORINFO or, by cbSize,
// a MONITORINFOEXA (szDevice: the monitor's name); FALSE for a handle no longer valid.
BOOL EnumDisplayMonitors(HDC hdc, LPCRECT clip, MONITORENUMPROC proc, LPARAM data);
BOOL GetMonitorInfoA(HMONITOR monitor, MONITORINFO* info);
// Milliseconds since some fixed start, wrapping at 2^32; the headless backend's clock moves by
// one frame interval per presented frame or idle look, not with the wall clock.
DWORD GetTickCount();
// Bit 15 set while the key was down as of the key messages taken from the queue so far.
SHORT GetKeyState(int virtualKey);

// Device contexts and GL contexts. A window's DC is its GL drawable; after wglMakeCurrent the
// context stays current on this thread until released.
HDC GetDC(HWND window);
int ReleaseDC(HWND window, HDC dc);
int ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* request);
BOOL SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR* request);
HGLRC wglCreateContext(HDC dc);
BOOL wglMakeCurrent(HDC dc, HGLRC context);
BOOL wglDeleteContext(HGLRC context);
// Presents the back buffer (the push buttons drawn over it) at the display's refresh rate.
BOOL SwapBuffers(HDC dc);

#endif  // _WIN32
