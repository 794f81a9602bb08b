// Option parsing with getopt_long and the lookup of the picture folder.
#include "app/command_line.h"

#include <getopt.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <system_error>

#include "app/viewer.h"
#include "image/texture_set.h"
#include "platform/win32.h"

namespace fs = std::filesystem;

namespace {

constexpr char kProgram[] = "showcase";
constexpr int kUsageStatus = 2;

constexpr long kMaxIdleResetSeconds = 86400;

enum Option { kHelp = 1, kVersion, kPictures, kKiosk, kMonitor, kListMonitors, kIdleReset, kAllowScreenSaver };
const option kOptions[] = {
    {"help", no_argument, nullptr, kHelp},
    {"version", no_argument, nullptr, kVersion},
    {"pictures", required_argument, nullptr, kPictures},
    {"kiosk", no_argument, nullptr, kKiosk},
    {"monitor", required_argument, nullptr, kMonitor},
    {"list-monitors", no_argument, nullptr, kListMonitors},
    {"idle-reset", required_argument, nullptr, kIdleReset},
    {"allow-screen-saver", no_argument, nullptr, kAllowScreenSaver},
    {nullptr, 0, nullptr, 0},
};

void PrintHelp(std::FILE* out) {
    std::fprintf(out,
                 "Usage: %s [OPTION]...\n"
                 "Play the animated 3D presentation of thirteen hand-held devices.\n"
                 "\n"
                 "      --pictures=DIR        read the nineteen pictures from DIR\n"
                 "      --kiosk               show-floor mode: full screen on the monitor in its\n"
                 "                              current mode, above panels; Escape, F1, Alt+F4 and\n"
                 "                              the close box do nothing; Ctrl+Alt+Shift+Q ends it\n"
                 "      --monitor=N           show on monitor N (see --list-monitors; default\n"
                 "                              the primary)\n"
                 "      --list-monitors       print the monitors with number, name, position and\n"
                 "                              size, and exit\n"
                 "      --idle-reset=SECONDS  back to the start of the show this long after the\n"
                 "                              last input (default 120 with --kiosk, else off;\n"
                 "                              0 turns it off)\n"
                 "      --allow-screen-saver  let the screen saver and display power-off run\n"
                 "      --help                display this help and exit\n"
                 "      --version             output version information and exit\n"
                 "\n"
                 "Without --pictures the pictures come from ./picture when the current directory\n"
                 "has one, otherwise from the set installed with the program: %s,\n"
                 "relative to the folder the program is in.\n"
                 "\n"
                 "In the show: F1 toggles full screen, Escape quits.\n"
                 "In kiosk mode the pointer hides after 3 seconds at rest, and Ctrl+Alt+Shift+Q\n"
                 "or SIGTERM ends the show with status 0.\n"
                 "Exit status: 0 when the window is closed, 1 when it cannot be opened or the\n"
                 "display is lost, 2 on a usage error, 27 after Escape.\n",
                 kProgram, SHOWCASE_PICTURES_FROM_BINDIR);
}

bool IsDirectory(const fs::path& path) {
    std::error_code error;
    return fs::is_directory(path, error);
}

// Why a folder given with --pictures cannot serve, or empty when it can.
std::string FolderProblem(const std::string& folder) {
    std::error_code error;
    const fs::file_status status = fs::status(folder, error);
    if (error || !fs::exists(status)) return std::strerror(error ? error.value() : ENOENT);
    if (!fs::is_directory(status)) return std::strerror(ENOTDIR);
    return {};
}

fs::path ProgramFolder() {
    char file[4096];
    if (GetModuleFileNameA(nullptr, file, sizeof file) == 0) return {};
    return fs::path(file).parent_path();
}

// A whole decimal number from low to high, or -1.
long WholeNumber(const char* text, long low, long high) {
    if (text == nullptr || *text < '0' || *text > '9') return -1;
    errno = 0;
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (errno != 0 || *end != '\0' || value < low || value > high) return -1;
    return value;
}

void PrintMonitors(std::FILE* out, const std::vector<MonitorEntry>& monitors) {
    int number = 0;
    for (const MonitorEntry& m : monitors) {
        std::fprintf(out, "%d: %s, %ldx%ld at %ld,%ld%s\n", ++number, m.name.c_str(), long(m.rect.right - m.rect.left),
                     long(m.rect.bottom - m.rect.top), long(m.rect.left), long(m.rect.top),
                     m.primary ? " (primary)" : "");
    }
}

// "1 (DP-1), 2 (HDMI-1)": the monitors a --monitor number may name.
std::string MonitorNames(const std::vector<MonitorEntry>& monitors) {
    std::string names;
    for (std::size_t i = 0; i < monitors.size(); ++i)
        names += (i ? ", " : "") + std::to_string(i + 1) + " (" + monitors[i].name + ")";
    return names;
}

}  // namespace

void PrintVersion(std::FILE* out, const char* program) {
    std::fprintf(out,
                 "%s %s\n"
                 "Copyright (C) 2026 The showcase authors.\n"
                 "License MIT: <https://opensource.org/licenses/MIT>.\n",
                 program, SHOWCASE_VERSION);
}

int UsageError(std::FILE* err, const char* program, const std::string& problem) {
    std::fprintf(err, "%s: %s\nTry '%s --help' for more information.\n", program, problem.c_str(), program);
    return kUsageStatus;
}

int RefusedOption(std::FILE* err, const char* program, int option, const char* word) {
    if (option == ':') return UsageError(err, program, std::string("option '") + word + "' requires an argument");
    if (optopt != 0) return UsageError(err, program, std::string("invalid option -- '") + char(optopt) + "'");
    return UsageError(err, program, std::string("unrecognized option '") + word + "'");
}

std::string UsePictureFolder(std::string folder) {
    std::string problem = FolderProblem(folder);
    if (!problem.empty()) return problem;
    // The boxes name the files as opened: "DIR/4.bmp", not "DIR//4.bmp" (nor "DIR\\4.bmp" on Windows).
    const auto separator = [](char c) { return c == '/' || c == char(fs::path::preferred_separator); };
    while (folder.size() > 1 && separator(folder.back())) folder.pop_back();
    SetPictureFolder(folder.c_str());
    return {};
}

std::string FindPictureFolder() {
    if (IsDirectory(kDefaultPictureFolder)) return kDefaultPictureFolder;
    const fs::path programFolder = ProgramFolder();
    if (!programFolder.empty()) {
        const fs::path installed = (programFolder / SHOWCASE_PICTURES_FROM_BINDIR).lexically_normal();
        if (IsDirectory(installed)) return installed.string();
        std::error_code error;
        if (fs::equivalent(programFolder, SHOWCASE_BUILD_DIR, error) && IsDirectory(SHOWCASE_SOURCE_PICTURES))
            return SHOWCASE_SOURCE_PICTURES;
    }
    return kDefaultPictureFolder;
}

int HandleCommandLine(int argc, char** argv, std::FILE* out, std::FILE* err) {
    std::optional<std::string> pictures;
    std::optional<long> idleResetSeconds;
    bool listMonitors = false;
    showFloor = ShowFloorOptions{};
    opterr = 0;  // the messages below name the program and the problem the GNU way
    optind = 0;  // a fresh scan (glibc), so the parser can run more than once in a process
    for (;;) {
        const int previous = optind;
        const int option = getopt_long(argc, argv, ":", kOptions, nullptr);
        if (option == -1) break;
        const char* word = argv[optind > previous ? optind - 1 : previous];
        switch (option) {
            case kHelp:
                PrintHelp(out);
                return 0;
            case kVersion:
                PrintVersion(out, kProgram);
                return 0;
            case kPictures:
                pictures = optarg;
                break;
            case kKiosk:
                showFloor.kiosk = true;
                break;
            case kMonitor:
                showFloor.monitor = static_cast<int>(WholeNumber(optarg, 1, 64));
                if (showFloor.monitor < 0)
                    return UsageError(err, kProgram, std::string("invalid monitor number '") + optarg + "'");
                break;
            case kListMonitors:
                listMonitors = true;
                break;
            case kIdleReset:
                idleResetSeconds = WholeNumber(optarg, 0, kMaxIdleResetSeconds);
                if (*idleResetSeconds < 0)
                    return UsageError(err, kProgram,
                                      std::string("invalid idle time '") + optarg + "' (seconds, 0 to " +
                                          std::to_string(kMaxIdleResetSeconds) + ")");
                break;
            case kAllowScreenSaver:
                showFloor.allowScreenSaver = true;
                break;
            default:  // ':' or '?'
                return RefusedOption(err, kProgram, option, word);
        }
    }
    if (optind < argc) return UsageError(err, kProgram, std::string("unexpected argument '") + argv[optind] + "'");
    if (idleResetSeconds) showFloor.idleResetMs = static_cast<DWORD>(*idleResetSeconds * 1000);
    else if (showFloor.kiosk) showFloor.idleResetMs = kKioskIdleResetMs;
    if (listMonitors || showFloor.monitor > 0) {
        const std::vector<MonitorEntry> monitors = ListMonitors();
        if (listMonitors) {
            if (monitors.empty()) {
                std::fprintf(err, "%s: cannot list the monitors: no display\n", kProgram);
                return 1;
            }
            PrintMonitors(out, monitors);
            return 0;
        }
        // Without a display the window's own error says so.
        if (!monitors.empty() && showFloor.monitor > static_cast<int>(monitors.size()))
            return UsageError(err, kProgram,
                              "there is no monitor " + std::to_string(showFloor.monitor) +
                                  "; the monitors are " + MonitorNames(monitors));
    }
    if (!pictures) {
        SetPictureFolder(FindPictureFolder().c_str());
        return -1;
    }
    const std::string problem = UsePictureFolder(*pictures);
    if (!problem.empty()) return UsageError(err, kProgram, "cannot use picture folder '" + *pictures + "': " + problem);
    return -1;
}
