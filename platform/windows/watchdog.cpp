// The show-floor watchdog: one job, the show kept running. It waits on the show's process and,
// every few seconds, asks the show's window for an answer; the policy is the constants below.
// It records each restart in %LOCALAPPDATA%\showcase\watchdog.log, a file an operator can open
// with Notepad and send on: the event log would need a source registered by an administrator.
#include "platform/windows/watchdog.h"

#include <cstdio>
#include <exception>
#include <iterator>

#include "platform/windows/api.h"

namespace platform::windows {

namespace {

// A show that ran less than this ended quickly; after kQuickEndsAllowed quick ends in a row each
// further one waits twice as long as the last before the next start, from kFirstWaitMs up to
// kLongestWaitMs, so a show that cannot run does not take the machine with it.
constexpr DWORD kQuickRunMs = 60'000;
constexpr int kQuickEndsAllowed = 3;
constexpr DWORD kFirstWaitMs = 2'000;
constexpr DWORD kLongestWaitMs = 60'000;
// The show's window is asked every kAskEveryMs and given kAnswerWithinMs to answer; one that has
// not answered for kHungAfterMs is ended. The show answers between any two frames and from inside
// any of its boxes, so only a frame or a picture load taking that long would look like a hang.
constexpr DWORD kAskEveryMs = 5'000;
constexpr DWORD kAnswerWithinMs = 5'000;
constexpr DWORD kHungAfterMs = 30'000;
// How long a show asked to close (the watchdog asked to stop) may take before it is ended.
constexpr DWORD kCloseWithinMs = 10'000;
// The log is started afresh past this size; the last one stays beside it as watchdog.log.old.
constexpr LONGLONG kLogLimitBytes = 1 << 20;

// Ends the show asked for: the operator's chord, a close request, the session's end (0), a usage
// error (2), Escape outside kiosk mode (27). Any other status is a crash or a forced end.
constexpr DWORD kNormalEnds[] = {0, 2, 27};
// What a show ended for not answering is given as its status.
constexpr DWORD kHungStatus = 1;
// What the C++ runtime's abort gives, and a watched show ends with on std::terminate.
constexpr DWORD kAbortStatus = 3;
// Set for the show by its watchdog (to the watchdog's process id), so the show knows it is watched.
constexpr wchar_t kWatchedVariable[] = L"SHOWCASE_WATCHDOG";

struct StatusName {
    DWORD status;
    const char* name;
};
// The statuses a log reader meets most, by name.
constexpr StatusName kStatusNames[] = {
    {1, "ended by force (Task Manager, taskkill /F) or its window could not be opened"},
    {kAbortStatus, "aborted"},
    {0xC0000005, "access violation"},
    {0xC000001D, "illegal instruction"},
    {0xC0000094, "integer division by zero"},
    {0xC00000FD, "stack overflow"},
    {0xC0000135, "a DLL was not found"},
    {0xC0000142, "a DLL could not start"},
    {0xC0000374, "heap corruption"},
    {0xC0000409, "fast fail"},
};

struct Watchdog {
    HWND window = nullptr;  // hidden, never shown: close requests and the session's end
    HANDLE job = nullptr;   // the show ends when the watchdog does, however it ends
    PROCESS_INFORMATION show{};
    DWORD startedAt = 0;
    int quickEnds = 0;  // in a row
    bool stopAsked = false;
    bool sessionEnding = false;
    std::wstring program;
    std::wstring commandLine;
    std::wstring logPath;
};
Watchdog* watchdog = nullptr;  // for the window procedure

struct ShowEnd {
    DWORD status;
    bool hung;
};

std::wstring Wide(const std::string& text) {
    const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), length);
    wide.resize(static_cast<std::size_t>(length) - 1);
    return wide;
}

// One argument as the C runtime's command-line parser reads it back.
std::wstring Quoted(const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) return argument;
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        quoted.push_back(c);
        backslashes = 0;
    }
    quoted.append(backslashes * 2, L'\\');
    return quoted + L"\"";
}

std::wstring LogPath() {
    wchar_t folder[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    std::wstring path = std::wstring(folder) + L"\\showcase";
    CreateDirectoryW(path.c_str(), nullptr);
    return path + L"\\watchdog.log";
}

// One line, stamped with the local time and the watchdog's process id.
void Log(const Watchdog& dog, const std::string& line) {
    if (dog.logPath.empty()) return;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (GetFileAttributesExW(dog.logPath.c_str(), GetFileExInfoStandard, &data) &&
        (static_cast<LONGLONG>(data.nFileSizeHigh) << 32 | data.nFileSizeLow) > kLogLimitBytes)
        MoveFileExW(dog.logPath.c_str(), (dog.logPath + L".old").c_str(), MOVEFILE_REPLACE_EXISTING);
    const HANDLE file = CreateFileW(dog.logPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    SYSTEMTIME now;
    GetLocalTime(&now);
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "%04u-%02u-%02u %02u:%02u:%02u [%lu] ", now.wYear, now.wMonth, now.wDay,
                  now.wHour, now.wMinute, now.wSecond, static_cast<unsigned long>(GetCurrentProcessId()));
    const std::string text = stamp + line + "\r\n";
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

std::string Described(DWORD status) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%08lX", static_cast<unsigned long>(status));
    for (const StatusName& known : kStatusNames)
        if (known.status == status) return std::string(hex) + " (" + known.name + ")";
    return hex;
}

bool NormalEnd(DWORD status) {
    for (const DWORD normal : kNormalEnds)
        if (status == normal) return true;
    return false;
}

// The wait before the next start after `quickEnds` quick ends in a row.
DWORD WaitBeforeStartMs(int quickEnds) {
    if (quickEnds <= kQuickEndsAllowed) return 0;
    DWORD wait = kFirstWaitMs;
    for (int i = kQuickEndsAllowed + 1; i < quickEnds && wait < kLongestWaitMs; ++i) wait *= 2;
    return wait < kLongestWaitMs ? wait : kLongestWaitMs;
}

LRESULT CALLBACK WatchdogWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CLOSE:
            watchdog->stopAsked = true;
            return 0;
        case WM_QUERYENDSESSION:
            watchdog->sessionEnding = true;  // the show is about to be asked too: no restart from here on
            return TRUE;
        case WM_ENDSESSION:
            watchdog->sessionEnding = wParam != FALSE;
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

// The session may still go on (a sign-out another program cancels), so the show is left to it:
// it is only not started again.
bool SessionEnding(const Watchdog& dog) { return dog.sessionEnding || GetSystemMetrics(SM_SHUTTINGDOWN) != 0; }

void TakeMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// Waits up to `ms` for the handle (none: just the time) while taking the window's messages;
// true when the handle was signalled, false after the time or a request to stop.
bool WaitTaking(Watchdog& dog, HANDLE handle, DWORD ms) {
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD passed = GetTickCount() - start;
        if (passed >= ms || dog.stopAsked) return false;
        const DWORD count = handle != nullptr ? 1 : 0;
        const DWORD woke = MsgWaitForMultipleObjects(count, &handle, FALSE, ms - passed, QS_ALLINPUT);
        if (count == 1 && woke == WAIT_OBJECT_0) return true;
        if (woke == WAIT_OBJECT_0 + count) TakeMessages();
    }
}

BOOL CALLBACK FirstWindow(HWND window, LPARAM found) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

BOOL CALLBACK AskToClose(HWND window, LPARAM) {
    PostMessageW(window, WM_CLOSE, 0, 0);
    return TRUE;
}

// True while the show's main thread answers, or has no window to ask yet.
bool Answers(const Watchdog& dog) {
    HWND window = nullptr;
    EnumThreadWindows(dog.show.dwThreadId, FirstWindow, reinterpret_cast<LPARAM>(&window));
    if (window == nullptr) return true;
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kAnswerWithinMs, &result) != 0;
}

void Release(PROCESS_INFORMATION& show) {
    if (show.hThread != nullptr) CloseHandle(show.hThread);
    if (show.hProcess != nullptr) CloseHandle(show.hProcess);
    show = PROCESS_INFORMATION{};
}

bool StartShow(Watchdog& dog) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    // Out of a job the watchdog may run in where that job allows it: Windows 7 puts a process in
    // one job only, and the show's place is in the watchdog's own.
    const auto start = [&](DWORD flags) {
        std::wstring commandLine = dog.commandLine;
        return CreateProcessW(dog.program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, flags, nullptr,
                              nullptr, &startup, &dog.show) != FALSE;
    };
    if (!start(CREATE_SUSPENDED | CREATE_BREAKAWAY_FROM_JOB) && !start(CREATE_SUSPENDED)) {
        Log(dog, "could not start the show: error " + std::to_string(GetLastError()));
        return false;
    }
    if (!AssignProcessToJobObject(dog.job, dog.show.hProcess))
        Log(dog, "the show does not end with the watchdog here: error " + std::to_string(GetLastError()));
    AllowSetForegroundWindow(dog.show.dwProcessId);  // the kiosk window takes the keyboard again
    ResumeThread(dog.show.hThread);
    dog.startedAt = GetTickCount();
    Log(dog, "started the show (process " + std::to_string(dog.show.dwProcessId) + ")");
    return true;
}

// Watches the running show until it ends, or until the watchdog is asked to stop (then the show
// is asked to close and waited for, and ended if it does not).
ShowEnd WatchRunning(Watchdog& dog) {
    DWORD lastAnswer = GetTickCount();
    for (;;) {
        if (WaitTaking(dog, dog.show.hProcess, kAskEveryMs)) break;
        if (dog.stopAsked) {
            EnumThreadWindows(dog.show.dwThreadId, AskToClose, 0);
            if (WaitForSingleObject(dog.show.hProcess, kCloseWithinMs) != WAIT_OBJECT_0)
                TerminateProcess(dog.show.hProcess, 1);
            WaitForSingleObject(dog.show.hProcess, kCloseWithinMs);
            break;
        }
        if (Answers(dog)) {
            lastAnswer = GetTickCount();
        } else if (GetTickCount() - lastAnswer >= kHungAfterMs) {
            TerminateProcess(dog.show.hProcess, kHungStatus);
            WaitForSingleObject(dog.show.hProcess, kCloseWithinMs);
            return {kHungStatus, true};
        }
    }
    DWORD status = 0;
    GetExitCodeProcess(dog.show.hProcess, &status);
    return {status, false};
}

bool SetUp(Watchdog& dog, const std::vector<std::string>& arguments) {
    wchar_t program[MAX_PATH * 4];
    const DWORD length = GetModuleFileNameW(nullptr, program, static_cast<DWORD>(std::size(program)));
    if (length == 0 || length >= std::size(program)) return false;
    dog.program = program;
    dog.commandLine = Quoted(dog.program);
    for (const std::string& argument : arguments) dog.commandLine += L" " + Quoted(Wide(argument));
    dog.logPath = LogPath();

    // Inherited by the show: no box for a missing disk or a crash waits for a click there.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    SetEnvironmentVariableW(kWatchedVariable, std::to_wstring(GetCurrentProcessId()).c_str());
    dog.job = CreateJobObjectW(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (dog.job == nullptr ||
        !SetInformationJobObject(dog.job, JobObjectExtendedLimitInformation, &limits, sizeof limits))
        return false;

    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WatchdogWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kWatchdogWindowClass;
    RegisterClassW(&windowClass);
    dog.window = CreateWindowExW(WS_EX_TOOLWINDOW, kWatchdogWindowClass, L"showcase watchdog", WS_POPUP, 0, 0, 0, 0,
                                 nullptr, nullptr, windowClass.hInstance, nullptr);
    return dog.window != nullptr;
}

// A show started by the watchdog ends at once on a crash, with the crash's code, before any
// debugger or report box is offered: Windows offers none with the error mode it inherits, but
// Wine starts its debugger whatever the error mode says, and a child may not inherit it there.
LONG WINAPI EndAtOnce(EXCEPTION_POINTERS* crash) {
    TerminateProcess(GetCurrentProcess(), crash->ExceptionRecord->ExceptionCode);
    return EXCEPTION_EXECUTE_HANDLER;
}

struct WatchedCrashEnd {
    WatchedCrashEnd() {
        if (GetEnvironmentVariableW(kWatchedVariable, nullptr, 0) == 0) return;
        SetEnvironmentVariableW(kWatchedVariable, nullptr);
        SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
        SetUnhandledExceptionFilter(EndAtOnce);
        std::set_terminate([] { TerminateProcess(GetCurrentProcess(), kAbortStatus); });
    }
};
const WatchedCrashEnd watchedCrashEnd;

}  // namespace

int WatchShow(const std::vector<std::string>& arguments) {
    Watchdog dog;
    watchdog = &dog;
    if (!SetUp(dog, arguments)) return 1;
    int status = 1;
    while (!dog.stopAsked && !SessionEnding(dog) && StartShow(dog)) {
        const std::string show = "the show (process " + std::to_string(dog.show.dwProcessId) + ")";
        const ShowEnd end = WatchRunning(dog);
        const DWORD ranMs = GetTickCount() - dog.startedAt;
        Release(dog.show);
        TakeMessages();  // a session's end told at the same time as the show's end
        status = static_cast<int>(end.status);
        if (dog.stopAsked || SessionEnding(dog)) {
            Log(dog, dog.stopAsked ? "asked to stop: " + show + " closed, the watchdog ends"
                                   : "the session ends: " + show + " is not started again");
            status = dog.stopAsked ? 0 : status;
            break;
        }
        if (!end.hung && NormalEnd(end.status)) {
            Log(dog, show + " ended normally, status " + std::to_string(end.status) + "; the watchdog ends");
            break;
        }
        dog.quickEnds = ranMs < kQuickRunMs ? dog.quickEnds + 1 : 0;
        const DWORD waitMs = WaitBeforeStartMs(dog.quickEnds);
        std::string line = show + (end.hung ? " stopped answering for " + std::to_string(kHungAfterMs / 1000) + " s: ended it"
                                            : " ended with " + Described(end.status));
        line += " after " + std::to_string(ranMs / 1000) + " s; ";
        line += waitMs == 0 ? "starting it again"
                            : std::to_string(dog.quickEnds) + " quick ends in a row: starting it again in " +
                                  std::to_string(waitMs / 1000) + " s";
        Log(dog, line);
        WaitTaking(dog, nullptr, waitMs);
        status = 1;
    }
    if (dog.stopAsked) status = 0;
    ::DestroyWindow(dog.window);
    CloseHandle(dog.job);
    watchdog = nullptr;
    return status;
}

}  // namespace platform::windows
