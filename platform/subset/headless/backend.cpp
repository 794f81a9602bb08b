// The headless backend's side of the contract apart from GL: call tracing and refusal, the
// screen and its modes, native windows of record, input delivery, idling, the cursor, the
// screen saver and message boxes answered from a script.
#include <algorithm>
#include <cstdio>

#include "platform/common/box_buttons.h"
#include "platform/subset/headless/state.h"

namespace headless::detail {

State& Get() {
    static State state;
    return state;
}

NativeWindow* FindNative(HWND window) {
    for (auto& native : Now().windows) {
        if (native->handle == window) return native.get();
    }
    return nullptr;
}

HWND Target() {
    auto& windows = Now().windows;
    return windows.empty() ? nullptr : windows.back()->handle;
}

}  // namespace headless::detail

namespace platform::backend {

using namespace headless::detail;

bool Allow(Call call) {
    Session& s = Now();
    long number = ++s.callCounts[static_cast<std::size_t>(call)];
    bool allowed = std::none_of(s.failures.begin(), s.failures.end(), [&](const FailureRule& rule) {
        return rule.call == call && number >= rule.first && number <= rule.last;
    });
    s.calls.push_back({call, allowed});
    return allowed;
}

DisplayMode CurrentMode() { return Now().current; }

LONG ChangeMode(const DisplayMode& mode) {
    Session& s = Now();
    bool offered = std::any_of(s.modes.begin(), s.modes.end(), [&](const DisplayMode& m) {
        return m.width == mode.width && m.height == mode.height && m.bitsPerPixel == mode.bitsPerPixel;
    });
    if (!offered) return DISP_CHANGE_BADMODE;
    s.current = mode;
    s.modeChanged = true;
    return DISP_CHANGE_SUCCESSFUL;
}

void RestoreMode() {
    Session& s = Now();
    s.current = s.desktop;
    s.modeChanged = false;
}

bool CreateNative(WindowRecord& record) {
    Session& s = Now();
    auto native = std::make_unique<NativeWindow>();
    native->handle = record.handle;
    native->fullScreen = (record.style & WS_POPUP) != 0 && s.modeChanged;
    record.native = native.get();
    // The program's window keeps the screen saver off; only default processing of
    // SC_SCREENSAVE / SC_MONITORPOWER lets it run again.
    s.screenSaverAllowed = false;
    s.windows.push_back(std::move(native));
    return true;
}

void DestroyNative(WindowRecord& record) {
    auto& windows = Now().windows;
    auto found = std::find_if(windows.begin(), windows.end(),
                              [&](const auto& native) { return native->handle == record.handle; });
    if (found == windows.end()) return;
    DestroyDrawable(**found);
    windows.erase(found);
    record.native = nullptr;
}

// There is no desktop to show a window on or raise it in: visibility lives in the core's record.
void ShowNative(WindowRecord&, int) {}
void RaiseNative(WindowRecord&) {}

void PumpEvents() { headless::Deliver(); }

// The primary monitor is the desktop at the origin.
std::vector<Monitor> Monitors() {
    Session& s = Now();
    std::vector<Monitor> monitors{{RECT{0, 0, s.desktop.width, s.desktop.height}, {}, true, "headless"}};
    monitors.front().work = monitors.front().bounds;
    monitors.insert(monitors.end(), s.extraMonitors.begin(), s.extraMonitors.end());
    return monitors;
}

DWORD Ticks() { return Now().ticks; }

// Tests must run fast, so idling only counts, moves the clock and gives the script its turn.
void IdleWait() {
    Session& s = Now();
    s.ticks += headless::kTicksPerLook;
    int number = ++s.idles;
    auto hook = s.onIdle;  // the hook may replace itself
    if (hook) hook(number);
}

void SetCursorVisible(bool visible) { Now().cursorVisible = visible; }

void SetScreenSaverAllowed(bool allowed) { Now().screenSaverAllowed = allowed; }

}  // namespace platform::backend

namespace {

using namespace headless::detail;

// Recovers the program's Windows-1251 bytes by inverting the core's own conversion, one
// character at a time, so the two can never disagree.
std::string Utf8ToCp1251(const std::string& text) {
    static const std::vector<std::string> encoded = [] {
        std::vector<std::string> table(256);
        for (int byte = 1; byte < 256; ++byte)
            table[byte] = platform::core::Cp1251ToUtf8(std::string(1, static_cast<char>(byte)));
        return table;
    }();
    std::string out;
    std::size_t at = 0;
    while (at < text.size()) {
        if (text[at] > 0 && static_cast<unsigned char>(text[at]) < 0x80) {  // ASCII is itself
            out += text[at++];
            continue;
        }
        int match = 0;
        for (int byte = 1; byte < 256 && match == 0; ++byte) {
            if (text.compare(at, encoded[byte].size(), encoded[byte]) == 0) match = byte;
        }
        out += match != 0 ? static_cast<char>(match) : '?';
        at += match != 0 ? encoded[match].size() : 1;
    }
    return out;
}

}  // namespace

namespace platform::backend {

int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type) {
    Session& s = Now();
    int answer = platform::DefaultBoxButton(type);
    if (!s.answers.empty()) {
        int scripted = s.answers.front();
        s.answers.pop_front();
        const std::span<const int> buttons = platform::BoxButtons(type);
        if (scripted == 0 || std::find(buttons.begin(), buttons.end(), scripted) != buttons.end()) {
            answer = scripted;
        } else {
            ++s.scriptErrors;
        }
    }
    s.boxes.push_back(headless::Box{owner, text, caption, Utf8ToCp1251(text), Utf8ToCp1251(caption), type, answer});
    if (s.boxEcho != nullptr) {
        std::string line = text;
        while (!line.empty() && line.back() == '\n') line.pop_back();
        std::fprintf(s.boxEcho, "%s: %s: %s\n", s.boxEchoPrefix.c_str(), caption.c_str(), line.c_str());
    }
    return answer;
}

}  // namespace platform::backend
