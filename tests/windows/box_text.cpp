// box_text CAPTION [ok|yes|no]: waits up to 20 s for a message box with that caption in this Wine
// or Windows session, prints its text (UTF-8) and, when asked, presses one of its buttons. Exit
// status 0 when a box was found, 1 when none came. The whole-program tests read the program's
// boxes with it.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

std::wstring Widen(const char* utf8) {
    std::wstring out(static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0)), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8, -1, out.data(), static_cast<int>(out.size()));
    out.resize(out.size() - 1);
    return out;
}

// The box's text: its static control with text (the icon is a static control without).
BOOL CALLBACK ReadText(HWND control, LPARAM result) {
    wchar_t className[16] = {};
    GetClassNameW(control, className, 16);
    if (lstrcmpiW(className, L"Static") != 0 || GetWindowTextLengthW(control) == 0) return TRUE;
    wchar_t text[1024] = {};
    GetWindowTextW(control, text, 1024);
    *reinterpret_cast<std::wstring*>(result) = text;
    return FALSE;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: box_text CAPTION [ok|yes|no]\n");
        return 2;
    }
    const std::wstring caption = Widen(argv[1]);
    // The box counts once it is shown with its text: it is found the moment it is created.
    HWND box = nullptr;
    std::wstring text;
    for (int waited = 0; text.empty() && waited < 20000; waited += 50) {
        box = FindWindowW(L"#32770", caption.c_str());
        if (box != nullptr && IsWindowVisible(box)) EnumChildWindows(box, ReadText, reinterpret_cast<LPARAM>(&text));
        if (text.empty()) Sleep(50);
    }
    if (text.empty()) return 1;
    char utf8[4096] = {};
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, utf8, sizeof utf8, nullptr, nullptr);
    std::fputs(utf8, stdout);
    std::fflush(stdout);
    if (argc == 3) {
        const int button = std::strcmp(argv[2], "yes") == 0 ? IDYES : std::strcmp(argv[2], "no") == 0 ? IDNO : IDOK;
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    }
    return 0;
}
