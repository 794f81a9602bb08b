// The program is a window program and has no console of its own. Started from cmd.exe or
// PowerShell, what it prints (--help, --version, usage errors) goes to the console it was
// started from; output already redirected to a file or pipe stays where it was sent. This runs
// before main, so every later write finds its stream ready.
#include <cstdio>

#include "platform/windows/api.h"

namespace platform::windows {
namespace {

bool HasHandle(DWORD which) {
    const HANDLE handle = GetStdHandle(which);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

struct ParentConsole {
    ParentConsole() {
        const bool out = HasHandle(STD_OUTPUT_HANDLE), err = HasHandle(STD_ERROR_HANDLE);
        if (out && err) return;
        if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;  // started from the desktop: nothing to print to
        if (!out) std::freopen("CONOUT$", "w", stdout);
        if (!err) std::freopen("CONOUT$", "w", stderr);
    }
};
const ParentConsole parentConsole;

}  // namespace
}  // namespace platform::windows
