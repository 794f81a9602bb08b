// The viewer's options and their checks; the scan and the picture folder are program_options'.
#include "app/command_line.h"

#include <optional>
#include <string>
#include <vector>

#include "app/program_options.h"
#include "app/viewer.h"
#ifdef _WIN32
#include "platform/windows/watchdog.h"
#endif

namespace {

constexpr char kProgram[] = "showcase";
constexpr long kMaxIdleResetSeconds = 86400;

enum Option { kHelp = 1, kVersion, kPictures, kKiosk, kMonitor, kListMonitors, kIdleReset, kAllowScreenSaver, kWatchdog };
const option kOptions[] = {
    {"help", no_argument, nullptr, kHelp},
    {"version", no_argument, nullptr, kVersion},
    {"pictures", required_argument, nullptr, kPictures},
    {"kiosk", no_argument, nullptr, kKiosk},
    {"monitor", required_argument, nullptr, kMonitor},
    {"list-monitors", no_argument, nullptr, kListMonitors},
    {"idle-reset", required_argument, nullptr, kIdleReset},
    {"allow-screen-saver", no_argument, nullptr, kAllowScreenSaver},
    {"watchdog", no_argument, nullptr, kWatchdog},
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
                 "      --watchdog            (Windows) run the show with the other options and\n"
                 "                              start it again after a crash, a forced end or\n"
                 "                              when it stops answering; the restarts are logged\n"
                 "                              in %%LOCALAPPDATA%%\\showcase\\watchdog.log\n"
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

// The options a watched show is started with: those given, less --watchdog.
[[maybe_unused]] std::vector<std::string> ShowOptions(const std::optional<std::string>& pictures,
                                     const std::optional<long>& idleResetSeconds) {
    std::vector<std::string> options;
    if (pictures) options.push_back("--pictures=" + *pictures);
    if (showFloor.kiosk) options.emplace_back("--kiosk");
    if (showFloor.monitor > 0) options.push_back("--monitor=" + std::to_string(showFloor.monitor));
    if (idleResetSeconds) options.push_back("--idle-reset=" + std::to_string(*idleResetSeconds));
    if (showFloor.allowScreenSaver) options.emplace_back("--allow-screen-saver");
    return options;
}

}  // namespace

int HandleCommandLine(int argc, char** argv, std::FILE* out, std::FILE* err) {
    std::optional<std::string> pictures;
    std::optional<long> idleResetSeconds;
    bool listMonitors = false;
    bool watchdog = false;
    showFloor = ShowFloorOptions{};
    const int status =
        ScanOptions(argc, argv, kProgram, kOptions, PrintHelp, out, err, [&](int option, const char* argument) {
            switch (option) {
                case kPictures:
                    pictures = argument;
                    break;
                case kKiosk:
                    showFloor.kiosk = true;
                    break;
                case kMonitor:
                    if (const auto number = WholeNumber(argument, 1, 64)) showFloor.monitor = static_cast<int>(*number);
                    else return UsageError(err, kProgram, std::string("invalid monitor number '") + argument + "'");
                    break;
                case kListMonitors:
                    listMonitors = true;
                    break;
                case kIdleReset:
                    idleResetSeconds = WholeNumber(argument, 0, kMaxIdleResetSeconds);
                    if (!idleResetSeconds)
                        return UsageError(err, kProgram,
                                          std::string("invalid idle time '") + argument + "' (seconds, 0 to " +
                                              std::to_string(kMaxIdleResetSeconds) + ")");
                    break;
                case kAllowScreenSaver:
                    showFloor.allowScreenSaver = true;
                    break;
                case kWatchdog:
                    watchdog = true;
                    break;
            }
            return -1;
        });
    if (status >= 0) return status;
    if (optind < argc) return UsageError(err, kProgram, std::string("unexpected argument '") + argv[optind] + "'");
#ifndef _WIN32
    // systemd restarts the show here (packaging/showcase-kiosk.service.in), better than a
    // watchdog of our own could: it sees every end, even the watchdog's.
    if (watchdog)
        return UsageError(err, kProgram,
                          "--watchdog is for Windows; here the user service restarts the show "
                          "(systemctl --user enable showcase-kiosk.service)");
#endif
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
    const int pictureStatus = SetPictureFolderFromOption(err, kProgram, pictures);
#ifdef _WIN32
    if (watchdog && pictureStatus < 0) return platform::windows::WatchShow(ShowOptions(pictures, idleResetSeconds));
#endif
    return pictureStatus;
}
