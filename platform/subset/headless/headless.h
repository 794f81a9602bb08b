// Control of the headless (off-screen) backend, for the tests and for showcase-record: the screen
// and its modes, injected failures, the call log, scripted message-box answers, input as a user
// or the desktop would give it, per-frame and idle hooks, the push buttons, and the pixels of the
// frame being presented. Everything here acts on the one process-wide platform state; tests
// start with Reset().
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "platform/subset/backend.h"

namespace headless {

// A fresh platform: every window, class, context and message of the core dropped, the screen
// back to 800 x 600 x 32 with no other mode, no failures, no scripts, no hooks, empty logs.
// The EGL display itself stays initialised for the life of the process.
void Reset();

// ---- Screen and display modes ----

// The desktop mode (what the screen shows when nothing switched it).
void SetScreen(int width, int height, int bitsPerPixel);
// A mode the display can switch to for full screen (the desktop mode is not implied).
void AddMode(int width, int height, int bitsPerPixel);
// A monitor beside the primary one, which is the desktop at (0, 0).
void AddMonitor(int x, int y, int width, int height, const std::string& name);
platform::backend::DisplayMode CurrentMode();
// True while a full-screen mode change is in effect.
bool ModeChanged();

// ---- Injected failures and the call log ----

// The nth call of that kind from now on, and the count - 1 after it, are refused (the contract
// function fails as its Windows namesake would). count <= 0 refuses every call from the nth on.
void FailCall(platform::Call call, int nth = 1, int count = 1);

struct CallEntry {
    platform::Call call;
    bool allowed;
};
// Every traced call since Reset, in order.
const std::vector<CallEntry>& Calls();
// The same, as "name" for allowed and "name!" for refused calls, for readable comparisons.
std::vector<std::string> CallNames();
// Empties the call log; the counts and injected failures go on. Long runs (the soak) call it
// so the log does not grow with every frame.
void ForgetCalls();
// How many calls of that kind were made since Reset (refused ones included).
int CallCount(platform::Call call);

// ---- Message boxes ----

struct Box {
    HWND owner;
    std::string text;          // UTF-8, as the backend received it
    std::string caption;       // UTF-8
    std::string textBytes;     // the Windows-1251 bytes the program passed
    std::string captionBytes;  // Windows-1251
    UINT type;
    int answer;  // what the box returned; 0 means it "could not be shown"
};
// Answers for the next boxes, in order. An answer that is not one of the box's buttons is a
// script error: the box takes its default button instead and ScriptErrors() counts it.
// Answer 0 makes that box impossible to show (the core then falls back to the default).
void AnswerNextBox(int answer);
// Boxes shown since Reset.
const std::vector<Box>& Boxes();
int ScriptErrors();
// Each box from now on is also written to `stream` as one "<prefix>: caption: text" line (UTF-8),
// for a program that has no screen to show it on; null stops that.
void EchoBoxes(std::FILE* stream, const std::string& prefix);

// ---- Input ----
// Input goes to the newest top-level window. Like native events it is turned into messages
// when the program next looks at its queue (PeekMessageA), or at once by Deliver().

void KeyDown(WPARAM vk);  // auto-repeat when the key is already down
void KeyUp(WPARAM vk);
void Minimize();
void Restore();  // back to the client size the window had
void CloseRequest();
void Focus(bool gained);
void Resize(int clientWidth, int clientHeight);
void PointerDown(int x, int y);  // client coordinates of the top-level window
void PointerMove(int x, int y);
void PointerUp(int x, int y);
// Press and release at the centre of the push button with that control id; false (and nothing
// queued) when no such button can be seen and hit now.
bool Click(int controlId);
// Turns the queued input into messages now.
void Deliver();
// Straight to the newest top-level window: queued, or its procedure called now. False / 0
// when there is no window.
bool Post(UINT message, WPARAM wParam, LPARAM lParam);
LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam);

// ---- Hooks and counters ----

// Runs inside each SwapBuffers after the frame (buttons included) is complete and before it
// returns; frameNo counts presented frames from 1. A hook may inject input and read pixels.
void OnFrame(std::function<void(int frameNo)> hook);
// Runs each time the loop idles (PeekMessageA found nothing and no frame came since); idleNo
// counts from 1. Lets a script act while the window is minimised and no frames come.
void OnIdle(std::function<void(int idleNo)> hook);
int FrameCount();
// GetTickCount's clock: 0 after Reset, then kTicksPerLook more for each presented frame and for
// each idle look, so timeouts in the program run frame by frame, the same on every machine.
constexpr DWORD kTicksPerLook = 16;
DWORD Ticks();
int IdleCount();

// ---- Windows and buttons ----

// The newest live top-level window, hidden or not; null when there is none.
const platform::WindowRecord* MainWindow();
int TopLevelCount();
// True when the newest top-level window was created full screen (WS_POPUP after a mode change).
bool FullScreen();

struct Button {
    HWND handle;
    int id;
    std::string text;  // Windows-1251 bytes
    int x, y, width, height;
    bool visible;
    bool pressed;
};
// The push buttons of the main window that can be seen and hit, in creation order.
std::vector<Button> Buttons();
// Every child of the main window, zero-sized and hidden ones included.
std::vector<Button> AllButtons();
// Whether presenting a frame draws the push buttons over it (it does after Reset). Without them a
// frame holds the scene alone, as a recording of the show wants it.
void DrawButtons(bool drawn);

// ---- Desktop state ----

bool CursorVisible();
int CursorCounter();
// True until a top-level window is created (it holds the screen saver off), and again once
// default processing let SC_SCREENSAVE or SC_MONITORPOWER through.
bool ScreenSaverAllowed();
// True while a GL context is current on this thread.
bool ContextCurrent();
// GL contexts and drawables not yet released.
int LiveContexts();
int LiveSurfaces();

// ---- Pixels ----

struct Frame {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;  // rows top first; red first in each pixel unless read as Bgra
    // The pixel at (x, y) from the top-left corner as 0xRRGGBBAA.
    std::uint32_t At(int x, int y) const;
};
// The drawable of the current context as it is now: inside OnFrame that is the presented frame
// with the buttons drawn over it (as in a window, but without labels). Empty when no context is
// current.
Frame ReadPixels();
enum class PixelOrder { Rgba, Bgra };
// The same into a frame the caller keeps, whose buffer is reused from one frame to the next. Bgra
// (blue, green, red, alpha) is the drawable's own order on Mesa and reads several times faster.
void ReadPixels(Frame& frame, PixelOrder order = PixelOrder::Rgba);

struct Size {
    int width = 0;
    int height = 0;
};
// The largest drawable the GL behind this backend can make; 0 x 0 when it has no usable display.
Size MaxDrawableSize();

}  // namespace headless
