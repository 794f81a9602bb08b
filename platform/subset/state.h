// The one record of the core's state, shared by the core's own files only.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>

#include "platform/common/loop_idle.h"
#include "platform/subset/core.h"

namespace platform::core {

struct ClassRecord {
    WNDCLASSA wndClass{};
    std::string name;
};

struct ContextRecord {
    HDC dc = nullptr;
    void* native = nullptr;
};

struct CoreState {
    std::map<std::string, ClassRecord> classes;              // by name
    std::map<std::uintptr_t, std::unique_ptr<WindowRecord>> windows;  // by handle value
    std::map<std::uintptr_t, ContextRecord> contexts;        // by handle value
    std::deque<MSG> queue;
    bool quitPosted = false;
    int quitCode = 0;
    std::uintptr_t nextHandle = 0x100;
    HWND focus = nullptr;
    HWND pressedButton = nullptr;   // button that took the pointer press
    HGLRC current = nullptr;
    int cursorCounter = 0;
    LoopIdle idle;  // the wait of an empty PeekMessageA
    bool displayChanged = false;
    bool keysDown[256] = {};  // as of the key messages taken from the queue (GetKeyState)
};

CoreState& State();
std::uintptr_t NewHandleValue();
template <typename H>
H MakeHandle() {
    return reinterpret_cast<H>(NewHandleValue());
}
inline std::uintptr_t Key(const void* handle) { return reinterpret_cast<std::uintptr_t>(handle); }

// Case-insensitive class-name comparison, as window class names are.
std::string FoldName(const char* name);

}  // namespace platform::core
