// Window classes and the module handle.
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstring>

#include "platform/subset/backend.h"
#include "platform/subset/state.h"

namespace platform::core {

CoreState& State() {
    static CoreState state;
    return state;
}

std::uintptr_t NewHandleValue() { return State().nextHandle += 4; }

std::string FoldName(const char* name) {
    std::string folded;
    for (const char* p = name; p && *p; ++p) {
        folded += static_cast<char>(std::tolower(static_cast<unsigned char>(*p)));
    }
    return folded;
}

}  // namespace platform::core

using namespace platform;

namespace {
// The running program's module: any stable non-null value serves.
char moduleToken;
// Stock icons and cursors are identified by their resource ids; the values only need to be
// non-null handles that are never dereferenced.
template <typename H>
H StockHandle(LPCSTR id) {
    return reinterpret_cast<H>(const_cast<char*>(id));
}
}  // namespace

HMODULE GetModuleHandleA(LPCSTR moduleName) {
    if (moduleName != nullptr) return nullptr;
    return reinterpret_cast<HMODULE>(&moduleToken);
}

DWORD GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size) {
    if (module != nullptr && module != GetModuleHandleA(nullptr)) return 0;
    if (fileName == nullptr || size == 0) return 0;
    char path[4096];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) return 0;
    const DWORD copied = std::min<DWORD>(static_cast<DWORD>(length), size - 1);
    std::memcpy(fileName, path, copied);
    fileName[copied] = '\0';
    return copied;
}

ATOM RegisterClassA(const WNDCLASSA* wndClass) {
    if (!backend::Allow(Call::RegisterClass)) return 0;
    if (wndClass == nullptr || wndClass->lpfnWndProc == nullptr || wndClass->lpszClassName == nullptr ||
        wndClass->lpszClassName[0] == '\0') {
        return 0;
    }
    auto& state = core::State();
    std::string key = core::FoldName(wndClass->lpszClassName);
    if (key == "button" || state.classes.count(key) != 0) return 0;
    core::ClassRecord record;
    record.wndClass = *wndClass;
    record.name = wndClass->lpszClassName;
    record.wndClass.lpszClassName = nullptr;  // the caller's string may not outlive the class
    record.wndClass.lpszMenuName = nullptr;
    state.classes[key] = record;
    static ATOM nextAtom = 0xC000;
    return nextAtom++;
}

BOOL UnregisterClassA(LPCSTR className, HINSTANCE instance) {
    if (!backend::Allow(Call::UnregisterClass)) return FALSE;
    auto& state = core::State();
    auto found = state.classes.find(core::FoldName(className));
    if (className == nullptr || found == state.classes.end()) return FALSE;
    if (found->second.wndClass.hInstance != instance) return FALSE;
    for (const auto& [key, window] : state.windows) {
        if (core::FoldName(window->className.c_str()) == found->first) return FALSE;
    }
    state.classes.erase(found);
    return TRUE;
}

HICON LoadIconA(HINSTANCE instance, LPCSTR iconName) {
    if (instance != nullptr) return nullptr;  // only stock icons exist here
    return StockHandle<HICON>(iconName);
}

HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR cursorName) {
    if (instance != nullptr) return nullptr;
    return StockHandle<HCURSOR>(cursorName);
}
