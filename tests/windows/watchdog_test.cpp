// The show-floor watchdog under Wine, started as the installed Startup shortcut starts it
// (showcase.exe --watchdog --kiosk, in the exe's folder): a show that crashes, is ended by force
// or stops answering comes back on its monitor, quick ends in a row back off, and every way the
// operator or the session ends the show ends the watchdog too. What a visitor would see, from
// outside: windows, processes and the log.
#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/windows/watchdog.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

std::wstring WindowsPath(const char* unixPath) {
    std::wstring path = L"Z:";
    for (const char* c = unixPath; *c != '\0'; ++c) path += *c == '/' ? L'\\' : wchar_t(*c);
    return path;
}

struct Show {
    HWND window = nullptr;
    DWORD pid = 0;
};

// The show's window once one is up, other than the one of process `old`.
Show WaitForShow(std::chrono::milliseconds limit, DWORD old = 0) {
    const auto end = Clock::now() + limit;
    do {
        Show show{FindWindowW(L"OpenGL", nullptr)};
        GetWindowThreadProcessId(show.window, &show.pid);
        if (show.window != nullptr && IsWindowVisible(show.window) && show.pid != old) return show;
        std::this_thread::sleep_for(100ms);
    } while (Clock::now() < end);
    return {};
}

bool OnItsMonitor(HWND window) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
    RECT rect{};
    GetWindowRect(window, &rect);
    return EqualRect(&rect, &monitor.rcMonitor) != FALSE;
}

HANDLE OpenShow(DWORD pid) {
    return OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_INFORMATION, FALSE, pid);
}

bool Ends(HANDLE process, std::chrono::milliseconds limit) {
    return WaitForSingleObject(process, static_cast<DWORD>(limit.count())) == WAIT_OBJECT_0;
}

// What the test helper does to a show: a real crash (a thread of its own that runs at address 0),
// a status from outside (a crash's, Task Manager's), or a hang: every thread suspended.
void Crash(DWORD pid) {
    const HANDLE show = OpenProcess(PROCESS_ALL_ACCESS, FALSE, pid);
    CloseHandle(CreateRemoteThread(show, nullptr, 0, nullptr, nullptr, 0, nullptr));
    CloseHandle(show);
}
template <DWORD status>
void EndWith(DWORD pid) {
    const HANDLE show = OpenShow(pid);
    TerminateProcess(show, status);
    CloseHandle(show);
}
void Hang(DWORD pid) {
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        const HANDLE thread = OpenThread(THREAD_SUSPEND_RESUME, FALSE, entry.th32ThreadID);
        if (entry.th32OwnerProcessID == pid) SuspendThread(thread);
        CloseHandle(thread);
    }
    CloseHandle(snapshot);
}

// Keys as a keyboard gives them: all down in order, then up in reverse.
void Press(const std::vector<BYTE>& keys) {
    for (const BYTE key : keys) keybd_event(key, 0, 0, 0);
    for (auto key = keys.rbegin(); key != keys.rend(); ++key) keybd_event(*key, 0, KEYEVENTF_KEYUP, 0);
}

class Watchdog : public ::testing::Test {
  protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        appData = std::filesystem::path(temp) / ("showcase-watchdog-test-" + std::to_string(GetCurrentProcessId()));
        std::filesystem::create_directories(appData);
        SetEnvironmentVariableW(L"LOCALAPPDATA", appData.wstring().c_str());
    }
    void TearDown() override {
        EndWatchdog();
        std::error_code ignored;
        std::filesystem::remove_all(appData, ignored);
    }

    void StartWatchdog(const std::wstring& options = L"") {
        const std::wstring exe = WindowsPath(SHOWCASE_EXE);
        const std::wstring folder = exe.substr(0, exe.rfind(L'\\'));
        std::wstring commandLine = L"\"" + exe + L"\" --watchdog --kiosk" + options;
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        ASSERT_TRUE(CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                   folder.c_str(), &startup, &dog));
    }

    // Its show goes with it, even after a failed check.
    void EndWatchdog() {
        if (dog.hProcess == nullptr) return;
        TerminateProcess(dog.hProcess, 1);
        Ends(dog.hProcess, 10s);
        CloseHandle(dog.hProcess);
        CloseHandle(dog.hThread);
        dog = {};
    }

    DWORD WatchdogStatus(std::chrono::milliseconds limit) {
        DWORD status = STILL_ACTIVE;
        if (Ends(dog.hProcess, limit)) GetExitCodeProcess(dog.hProcess, &status);
        return status;
    }

    std::string Log() const {
        std::stringstream text;
        text << std::ifstream(appData / "showcase" / "watchdog.log").rdbuf();
        return text.str();
    }

    std::filesystem::path appData;
    PROCESS_INFORMATION dog{};
};

// Five quick ends in a row, three causes: each show is back within its limit, full screen on its
// monitor; the first three start again at once, the next ones wait 2 s, then 4 s.
TEST_F(Watchdog, BringsTheShowBackAfterACrashAForcedEndOrAHang) {
    struct Failure {
        const char* what;
        void (*fail)(DWORD pid);
        const char* logged;
    };
    const Failure failures[] = {
        {"a crash", Crash, "ended with 0xC0000005 (access violation) after"},
        {"Task Manager's end", EndWith<1>, "ended with 0x00000001 (ended by force"},
        {"a hang", Hang, "stopped answering for 30 s: ended it"},
        {"an access violation's status", EndWith<0xC0000005>, "4 quick ends in a row: starting it again in 2 s"},
        {"the same, once more", EndWith<0xC0000005>, "5 quick ends in a row: starting it again in 4 s"},
    };
    StartWatchdog();
    Show show = WaitForShow(60s);
    ASSERT_NE(show.window, nullptr) << "the watched show never opened its window";
    for (const Failure& failure : failures) {
        SCOPED_TRACE(failure.what);
        std::this_thread::sleep_for(1s);
        const auto start = Clock::now();
        failure.fail(show.pid);
        const Show back = WaitForShow(90s, show.pid);
        ASSERT_NE(back.window, nullptr) << "not back; the log:\n" << Log();
        std::printf("[ figure ] %s: the show back after %.1f s\n", failure.what,
                    std::chrono::duration<double>(Clock::now() - start).count());
        EXPECT_TRUE(OnItsMonitor(back.window));
        EXPECT_NE(Log().find(failure.logged), std::string::npos) << Log();
        show = back;
    }
}

// The chord without one of its three modifiers leaves the show running; the chord, a close
// request to the show or to the watchdog, and a usage error end it for good, and the watchdog
// with it; a watchdog ended by force takes its show along.
TEST_F(Watchdog, EndsForGoodWithTheShowWhenTheOperatorEndsEither) {
    struct End {
        const char* what;
        const wchar_t* options;
        void (*end)(const Show& show, const PROCESS_INFORMATION& dog);
        DWORD status;
    };
    const End ends[] = {
        {"the chord", L"",
         [](const Show& show, const PROCESS_INFORMATION&) {
             SetForegroundWindow(show.window);
             const HANDLE process = OpenShow(show.pid);
             for (const std::vector<BYTE>& partial : std::vector<std::vector<BYTE>>{
                      {VK_MENU, VK_SHIFT, 'Q'}, {VK_CONTROL, VK_SHIFT, 'Q'}, {VK_CONTROL, VK_MENU, 'Q'}}) {
                 Press(partial);
                 EXPECT_FALSE(Ends(process, 2s)) << "the chord without one of its keys ended the show";
             }
             CloseHandle(process);
             Press({VK_CONTROL, VK_MENU, VK_SHIFT, 'Q'});
         },
         0},
        {"a close request to the show", L"",
         [](const Show& show, const PROCESS_INFORMATION&) { PostMessageW(show.window, WM_CLOSE, 0, 0); }, 0},
        {"a close request to the watchdog", L"",
         [](const Show&, const PROCESS_INFORMATION& dog) {
             const HWND window = FindWindowW(platform::windows::kWatchdogWindowClass, nullptr);
             DWORD pid = 0;
             GetWindowThreadProcessId(window, &pid);
             EXPECT_EQ(pid, dog.dwProcessId);
             PostMessageW(window, WM_CLOSE, 0, 0);
         },
         0},
        {"the watchdog ended by force", L"",
         [](const Show&, const PROCESS_INFORMATION& dog) { TerminateProcess(dog.hProcess, 1); }, 1},
        {"a usage error", L" --monitor 9", nullptr, 2},
    };
    for (const End& end : ends) {
        SCOPED_TRACE(end.what);
        StartWatchdog(end.options);
        if (end.end != nullptr) {
            const Show show = WaitForShow(60s);
            ASSERT_NE(show.window, nullptr);
            const HANDLE process = OpenShow(show.pid);
            end.end(show, dog);
            EXPECT_TRUE(Ends(process, 20s)) << "the show runs on";
            CloseHandle(process);
        }
        EXPECT_EQ(WatchdogStatus(20s), end.status) << Log();
        EXPECT_EQ(WaitForShow(3s).window, nullptr) << "a show came back";
        EndWatchdog();
    }
}

}  // namespace
