// show-control.exe: what the installer and the uninstaller need to do with a running show, which
// NSIS and its stock plug-ins cannot do by themselves. It travels inside setup.exe and
// uninstall.exe (in $PLUGINSDIR), never in the install folder.
//
//   show-control find FOLDER            lists each running show: a process whose program is the
//                                       very file FOLDER\showcase.exe; status 1 if there is one
//   show-control close FOLDER SECONDS   asks each to close, as taskkill without /F does (WM_CLOSE
//                                       to its top-level windows, which the show honours in every
//                                       state, a kiosk show too); whatever is still running after
//                                       SECONDS is ended by force; status 0 once none is left.
//                                       Watchdogs (showcase.exe --watchdog) go first, so none of
//                                       them starts an old show again while the others close
//   show-control start PROGRAM ARGS DIR starts PROGRAM through the signed-in user's own shell, so
//                                       it runs as that user and not as the installing account;
//                                       status 0 when the shell took it, 1 when there is no shell
//                                       of the installing account's user on this desktop
// Each step prints one line for the installer's log.
//
// A show is matched by the identity of its program file (volume and file index), not by a
// process or window name: a program from anywhere else, a portable copy of the show included,
// is never touched. A handle on each matched process is held from the match to the end, so its
// process id cannot be reused by another program in between.
#include <windows.h>
#include <exdisp.h>
#include <shldisp.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "platform/windows/watchdog.h"

namespace {

struct FileId {
    DWORD volume = 0, high = 0, low = 0;
    bool operator==(const FileId& other) const {
        return volume == other.volume && high == other.high && low == other.low;
    }
};

bool IdOf(const std::wstring& path, FileId& id) {
    const HANDLE file = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool ok = GetFileInformationByHandle(file, &info) != FALSE;
    CloseHandle(file);
    id = {info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
    return ok;
}

struct Show {
    DWORD pid;
    HANDLE process;
};

bool Running(HANDLE process) { return WaitForSingleObject(process, 0) == WAIT_TIMEOUT; }

// Every process started from FOLDER\showcase.exe.
std::vector<Show> FindShows(const std::wstring& folder) {
    std::vector<Show> shows;
    FileId installed;
    if (!IdOf(folder + L"\\showcase.exe", installed)) return shows;
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return shows;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
        if (entry.th32ProcessID == 0 || entry.th32ProcessID == GetCurrentProcessId()) continue;
        HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE | PROCESS_TERMINATE, FALSE,
                                     entry.th32ProcessID);
        if (process == nullptr) continue;  // not ours to see: a protected or system process
        wchar_t image[MAX_PATH * 4];
        DWORD length = static_cast<DWORD>(std::size(image));
        FileId id;
        if (QueryFullProcessImageNameW(process, 0, image, &length) && IdOf(image, id) && id == installed &&
            Running(process)) {
            shows.push_back({entry.th32ProcessID, process});
            if (shows.size() == MAXIMUM_WAIT_OBJECTS) break;  // what one wait can watch; never met
        } else {
            CloseHandle(process);
        }
    }
    CloseHandle(snapshot);
    return shows;
}

BOOL CALLBACK AskToClose(HWND window, LPARAM data) {
    const auto& shows = *reinterpret_cast<const std::vector<Show>*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    for (const Show& show : shows)
        if (show.pid == pid && Running(show.process)) PostMessageW(window, WM_CLOSE, 0, 0);
    return TRUE;
}

// A watchdog owns a hidden window of its own class.
bool IsWatchdog(DWORD pid) {
    for (HWND window = nullptr;
         (window = FindWindowExW(nullptr, window, platform::windows::kWatchdogWindowClass, nullptr)) != nullptr;) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == pid) return true;
    }
    return false;
}

// Asks each of `shows` (programs of one kind, `what`) to close; the number still running after
// SECONDS and ending them by force.
int CloseEach(const std::vector<Show>& shows, DWORD seconds, const char* what) {
    for (const Show& show : shows)
        std::printf("Asking the running %s (process %lu) to close\n", what, static_cast<unsigned long>(show.pid));
    // Asked again every half second: a show still starting has no window yet.
    std::vector<HANDLE> handles;
    for (const Show& show : shows) handles.push_back(show.process);
    const DWORD start = GetTickCount();
    DWORD waited = 0;
    while (!handles.empty() && waited < seconds * 1000) {
        EnumWindows(AskToClose, reinterpret_cast<LPARAM>(&shows));
        if (WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(), TRUE, 500) != WAIT_TIMEOUT) break;
        waited = GetTickCount() - start;
    }
    waited = GetTickCount() - start;
    int left = 0;
    for (const Show& show : shows) {
        const unsigned long pid = show.pid;
        if (!Running(show.process)) {
            std::printf("The %s (process %lu) has closed (%lu ms)\n", what, pid, static_cast<unsigned long>(waited));
        } else if (TerminateProcess(show.process, 1) && WaitForSingleObject(show.process, 5000) == WAIT_OBJECT_0) {
            std::printf("The %s (process %lu) did not close within %lu s: ended by force\n", what, pid,
                        static_cast<unsigned long>(seconds));
        } else {
            std::printf("The %s (process %lu) could not be ended\n", what, pid);
            ++left;
        }
        CloseHandle(show.process);
    }
    return left;
}

int Close(const std::wstring& folder, DWORD seconds) {
    std::vector<Show> watchdogs, shows;
    for (const Show& show : FindShows(folder)) (IsWatchdog(show.pid) ? watchdogs : shows).push_back(show);
    const int left = CloseEach(watchdogs, seconds, "watchdog") + CloseEach(shows, seconds, "show");
    return left == 0 ? 0 : 1;
}

// The user a process runs as.
bool UserOf(HANDLE process, std::vector<BYTE>& user) {
    HANDLE token = nullptr;
    if (!OpenProcessToken(process, TOKEN_QUERY, &token)) return false;
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    user.resize(size);
    const bool ok = size != 0 && GetTokenInformation(token, TokenUser, user.data(), size, &size);
    CloseHandle(token);
    return ok;
}

// The desktop's shell belongs to the user this process runs as (elevated or not): then what it
// starts runs as that user with the shell's own, unelevated rights. Under the system account or
// another user's credentials there is no such shell, and nothing is started.
bool ShellIsOurUsers() {
    DWORD pid = 0;
    const HWND shell = GetShellWindow();
    if (shell == nullptr || GetWindowThreadProcessId(shell, &pid) == 0) return false;
    const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (process == nullptr) return false;
    std::vector<BYTE> theirs, ours;
    const bool same = UserOf(process, theirs) && UserOf(GetCurrentProcess(), ours) &&
                      EqualSid(reinterpret_cast<TOKEN_USER*>(theirs.data())->User.Sid,
                               reinterpret_cast<TOKEN_USER*>(ours.data())->User.Sid);
    CloseHandle(process);
    return same;
}

template <typename T>
struct Com {
    T* p = nullptr;
    ~Com() {
        if (p != nullptr) p->Release();
    }
};

// The shell's own ShellExecute, reached through the desktop window's folder view.
bool StartThroughShell(const wchar_t* program, const wchar_t* arguments, const wchar_t* folder) {
    Com<IShellWindows> windows;
    if (FAILED(CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER, IID_PPV_ARGS(&windows.p))))
        return false;
    VARIANT empty;
    VariantInit(&empty);
    long window = 0;
    Com<IDispatch> desktop;
    if (windows.p->FindWindowSW(&empty, &empty, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH, &desktop.p) != S_OK)
        return false;
    Com<IServiceProvider> provider;
    Com<IShellBrowser> browser;
    Com<IShellView> view;
    Com<IDispatch> background;
    Com<IShellFolderViewDual> folderView;
    Com<IDispatch> application;
    Com<IShellDispatch2> shell;
    if (FAILED(desktop.p->QueryInterface(IID_PPV_ARGS(&provider.p))) ||
        FAILED(provider.p->QueryService(SID_STopLevelBrowser, IID_PPV_ARGS(&browser.p))) ||
        FAILED(browser.p->QueryActiveShellView(&view.p)) ||
        FAILED(view.p->GetItemObject(SVGIO_BACKGROUND, IID_PPV_ARGS(&background.p))) ||
        FAILED(background.p->QueryInterface(IID_PPV_ARGS(&folderView.p))) ||
        FAILED(folderView.p->get_Application(&application.p)) ||
        FAILED(application.p->QueryInterface(IID_PPV_ARGS(&shell.p))))
        return false;
    VARIANT args, dir, operation, show;
    VariantInit(&args);
    VariantInit(&dir);
    VariantInit(&operation);
    VariantInit(&show);
    args.vt = dir.vt = VT_BSTR;
    args.bstrVal = SysAllocString(arguments);
    dir.bstrVal = SysAllocString(folder);
    show.vt = VT_I4;
    show.lVal = SW_SHOWNORMAL;
    const BSTR file = SysAllocString(program);
    const bool ok = SUCCEEDED(shell.p->ShellExecute(file, args, dir, operation, show));
    SysFreeString(file);
    VariantClear(&args);
    VariantClear(&dir);
    return ok;
}

int Start(const wchar_t* program, const wchar_t* arguments, const wchar_t* folder) {
    if (!ShellIsOurUsers()) {
        std::printf("No desktop shell of the signed-in user here: the show was not started\n");
        return 1;
    }
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
    const bool ok = StartThroughShell(program, arguments, folder);
    CoUninitialize();
    std::printf(ok ? "Started the show as the signed-in user\n" : "The desktop shell did not start the show\n");
    return ok ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring verb = argc > 1 ? argv[1] : L"";
    if (verb == L"find" && argc == 3) {
        const std::vector<Show> shows = FindShows(argv[2]);
        for (const Show& show : shows) {
            std::printf("The show is running (process %lu)\n", static_cast<unsigned long>(show.pid));
            CloseHandle(show.process);
        }
        return shows.empty() ? 0 : 1;
    }
    if (verb == L"close" && argc == 4) return Close(argv[2], static_cast<DWORD>(_wtoi(argv[3])));
    if (verb == L"start" && argc == 5) return Start(argv[2], argv[3], argv[4]);
    std::fprintf(stderr, "usage: show-control find FOLDER | close FOLDER SECONDS | start PROGRAM ARGS DIR\n");
    return 2;
}
