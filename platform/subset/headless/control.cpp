// The test-control side of the headless backend: resetting, scripting, injecting input and
// reading state back. Input is queued as native events would be and turned into messages
// through the core's Report functions, so the program sees what the real backend would give.
#include <algorithm>
#include <climits>

#include "platform/subset/headless/state.h"

namespace headless {

using namespace detail;
namespace core = platform::core;

void Reset() {
    core::ResetAll();  // deletes the core's contexts and destroys its native windows through us
    ReleaseGl();       // anything the core no longer knew of
    Now() = Session{};
}

// ---- Screen and display modes ----

void SetScreen(int width, int height, int bitsPerPixel) {
    Session& s = Now();
    s.desktop = DisplayMode{width, height, bitsPerPixel};
    if (!s.modeChanged) s.current = s.desktop;
}

void AddMode(int width, int height, int bitsPerPixel) { Now().modes.push_back({width, height, bitsPerPixel}); }

void AddMonitor(int x, int y, int width, int height, const std::string& name) {
    const RECT bounds{x, y, x + width, y + height};
    Now().extraMonitors.push_back({bounds, bounds, false, name});
}

platform::backend::DisplayMode CurrentMode() { return Now().current; }
bool ModeChanged() { return Now().modeChanged; }

// ---- Injected failures and the call log ----

void FailCall(platform::Call call, int nth, int count) {
    Session& s = Now();
    long first = s.callCounts[static_cast<std::size_t>(call)] + std::max(nth, 1);
    long last = count <= 0 ? LONG_MAX : first + count - 1;
    s.failures.push_back({call, first, last});
}

const std::vector<CallEntry>& Calls() { return Now().calls; }

void ForgetCalls() { Now().calls.clear(); }

std::vector<std::string> CallNames() {
    std::vector<std::string> names;
    for (const CallEntry& entry : Now().calls) {
        names.push_back(std::string(platform::CallName(entry.call)) + (entry.allowed ? "" : "!"));
    }
    return names;
}

int CallCount(platform::Call call) { return static_cast<int>(Now().callCounts[static_cast<std::size_t>(call)]); }

// ---- Message boxes ----

void AnswerNextBox(int answer) { Now().answers.push_back(answer); }
const std::vector<Box>& Boxes() { return Now().boxes; }
int ScriptErrors() { return Now().scriptErrors; }

void EchoBoxes(std::FILE* stream, const std::string& prefix) {
    Now().boxEcho = stream;
    Now().boxEchoPrefix = prefix;
}

// ---- Input ----

namespace {

void Queue(std::function<void(HWND)> event) {
    Now().pending.push_back([event = std::move(event)] {
        if (HWND target = Target()) event(target);
    });
}

void Pointer(int x, int y, bool down, bool changed) {
    Queue([=](HWND target) { core::ReportPointer(target, x, y, down, changed); });
}

}  // namespace

void KeyDown(WPARAM vk) {
    Session& s = Now();
    bool repeat = !s.keysDown.insert(vk).second;
    bool alt = s.keysDown.count(VK_MENU) != 0;
    Queue([=](HWND target) { core::ReportKey(target, vk, true, alt, repeat); });
}

void KeyUp(WPARAM vk) {
    Session& s = Now();
    bool alt = s.keysDown.count(VK_MENU) != 0;  // releasing Alt itself is still a system key
    s.keysDown.erase(vk);
    Queue([=](HWND target) { core::ReportKey(target, vk, false, alt, false); });
}

void Minimize() {
    Queue([](HWND target) { core::ReportMinimized(target); });
}

void Restore() {
    Queue([](HWND target) {
        const platform::WindowRecord* record = core::Find(target);
        if (NativeWindow* window = FindNative(target)) ResizeDrawable(*window, record->width, record->height);
        core::ReportRestored(target, record->width, record->height);
    });
}

void CloseRequest() {
    Queue([](HWND target) { core::ReportCloseRequest(target); });
}

void Focus(bool gained) {
    Queue([=](HWND target) { core::ReportFocus(target, gained); });
}

void Resize(int clientWidth, int clientHeight) {
    Queue([=](HWND target) {
        // A minimised window keeps its size; otherwise the drawable follows before WM_SIZE.
        if (core::Find(target)->minimized) return;
        if (NativeWindow* window = FindNative(target)) ResizeDrawable(*window, clientWidth, clientHeight);
        core::ReportResized(target, clientWidth, clientHeight);
    });
}

void PointerDown(int x, int y) {
    Now().pointerHeld = true;
    Pointer(x, y, true, true);
}

void PointerMove(int x, int y) { Pointer(x, y, Now().pointerHeld, false); }

void PointerUp(int x, int y) {
    Now().pointerHeld = false;
    Pointer(x, y, false, true);
}

bool Click(int controlId) {
    for (const Button& button : Buttons()) {
        if (button.id != controlId) continue;
        int x = button.x + button.width / 2;
        int y = button.y + button.height / 2;
        PointerDown(x, y);
        PointerUp(x, y);
        return true;
    }
    return false;
}

void Deliver() {
    auto& pending = Now().pending;
    while (!pending.empty()) {
        auto event = std::move(pending.front());
        pending.pop_front();  // before running: the program may look at its queue again inside
        event();
    }
}

bool Post(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND target = Target();
    if (target == nullptr) return false;
    core::Post(target, message, wParam, lParam);
    return true;
}

LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND target = Target();
    return target ? core::Send(target, message, wParam, lParam) : 0;
}

// ---- Hooks and counters ----

void OnFrame(std::function<void(int)> hook) { Now().onFrame = std::move(hook); }
void OnIdle(std::function<void(int)> hook) { Now().onIdle = std::move(hook); }
int FrameCount() { return Now().frames; }
DWORD Ticks() { return Now().ticks; }
int IdleCount() { return Now().idles; }

// ---- Windows and buttons ----

const platform::WindowRecord* MainWindow() { return core::Find(Target()); }
int TopLevelCount() { return static_cast<int>(Now().windows.size()); }

bool FullScreen() {
    NativeWindow* window = FindNative(Target());
    return window != nullptr && window->fullScreen;
}

namespace {

Button Describe(const platform::WindowRecord& record) {
    return Button{record.handle, record.controlId, record.text, record.x, record.y, record.width, record.height,
                  record.visible, record.pressed};
}

}  // namespace

std::vector<Button> Buttons() {
    std::vector<Button> buttons;
    if (HWND target = Target()) {
        for (const platform::WindowRecord* record : core::DrawableButtons(target)) buttons.push_back(Describe(*record));
    }
    return buttons;
}

std::vector<Button> AllButtons() {
    std::vector<Button> buttons;
    if (HWND target = Target()) {
        for (const platform::WindowRecord* record : core::Children(target)) buttons.push_back(Describe(*record));
    }
    return buttons;
}

void DrawButtons(bool drawn) { Now().buttonsDrawn = drawn; }

// ---- Desktop state ----

bool CursorVisible() { return Now().cursorVisible; }
int CursorCounter() { return core::CursorCounter(); }
bool ScreenSaverAllowed() { return Now().screenSaverAllowed; }

}  // namespace headless
