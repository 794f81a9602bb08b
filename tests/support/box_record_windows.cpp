// Boxes on Windows: a hook on this thread sees each message box as it is activated, reads its
// caption, text, buttons and icon from its controls, and presses the default button.
#include <windows.h>

#include "tests/support/box_record.h"

namespace box_record {
namespace {

std::vector<Box> boxes;
HHOOK hook = nullptr;

std::wstring TextOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::string Encode(const std::wstring& text, UINT codePage) {
    const int length = WideCharToMultiByte(codePage, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(length > 0 ? length : 1), '\0');
    WideCharToMultiByte(codePage, 0, text.c_str(), -1, out.data(), length, nullptr, nullptr);
    out.resize(out.size() - 1);
    return out;
}

struct Reading {
    std::wstring text;
    bool buttons[8] = {};  // by command id, IDOK to IDNO
    HICON icon = nullptr;
};

BOOL CALLBACK ReadControl(HWND control, LPARAM context) {
    Reading& reading = *reinterpret_cast<Reading*>(context);
    wchar_t className[16] = {};
    GetClassNameW(control, className, 16);
    const int id = GetDlgCtrlID(control);
    if (lstrcmpiW(className, L"Button") == 0 && id >= IDOK && id <= IDNO) {
        reading.buttons[id] = true;
    } else if (lstrcmpiW(className, L"Static") == 0) {
        if ((GetWindowLongW(control, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            reading.icon = reinterpret_cast<HICON>(SendMessageW(control, STM_GETICON, 0, 0));
        else if (GetWindowTextLengthW(control) > 0)
            reading.text = TextOf(control);
    }
    return TRUE;
}

UINT TypeOf(const Reading& r) {
    UINT type = MB_OK;
    if (r.buttons[IDYES] && r.buttons[IDNO]) type = r.buttons[IDCANCEL] ? MB_YESNOCANCEL : MB_YESNO;
    else if (r.buttons[IDRETRY]) type = r.buttons[IDABORT] ? MB_ABORTRETRYIGNORE : MB_RETRYCANCEL;
    else if (r.buttons[IDOK] && r.buttons[IDCANCEL]) type = MB_OKCANCEL;
    // The system icons the box can show: hand, question, exclamation, asterisk.
    const struct {
        WORD id;
        UINT flag;
    } icons[] = {{32513, MB_ICONHAND}, {32514, MB_ICONQUESTION}, {32515, MB_ICONEXCLAMATION}, {32516, MB_ICONASTERISK}};
    for (const auto& icon : icons)
        if (r.icon != nullptr && r.icon == LoadIconW(nullptr, MAKEINTRESOURCEW(icon.id))) type |= icon.flag;
    return type;
}

LRESULT CALLBACK WatchActivation(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        const HWND window = reinterpret_cast<HWND>(wParam);
        wchar_t className[16] = {};
        GetClassNameW(window, className, 16);
        if (lstrcmpW(className, L"#32770") == 0) {
            Reading reading;
            EnumChildWindows(window, ReadControl, reinterpret_cast<LPARAM>(&reading));
            boxes.push_back({Encode(reading.text, CP_UTF8), Encode(TextOf(window), CP_UTF8),
                             Encode(reading.text, 1251), TypeOf(reading)});
            const LRESULT defaultId = SendMessageW(window, DM_GETDEFID, 0, 0);
            const WPARAM press = HIWORD(defaultId) == DC_HASDEFID ? LOWORD(defaultId) : IDOK;
            PostMessageW(window, WM_COMMAND, MAKEWPARAM(press, BN_CLICKED), 0);
        }
    }
    return CallNextHookEx(hook, code, wParam, lParam);
}

}  // namespace

void Reset() {
    boxes.clear();
    if (hook == nullptr) hook = SetWindowsHookExW(WH_CBT, WatchActivation, nullptr, GetCurrentThreadId());
}

const std::vector<Box>& Boxes() { return boxes; }

void Stop() {
    if (hook != nullptr) UnhookWindowsHookEx(hook);
    hook = nullptr;
}

}  // namespace box_record
