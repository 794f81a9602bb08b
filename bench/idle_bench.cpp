// What the show costs the processor. Two figures:
// - minimised: the real program (`showcase`) under a private Xvfb, its window unmapped as a
//   window manager does when it iconifies one (SDL reports that as minimised), and the CPU time
//   it uses per second of wall time over a measuring period, from /proc/PID/stat. The target
//   is below 1% of a core; the program exits 1 when it is missed. The same figure while
//   playing windowed is printed for comparison.
// - playing: ViewerMain on the headless backend at 1920 x 1080, the process CPU time
//   (CLOCK_PROCESS_CPUTIME_ID, so Mesa's rendering threads count) per frame.
// The real program is used for the minimised figure because only it waits the way a user's
// desktop makes it wait; the headless backend's idle wait returns at once so tests run fast.
//
// Usage: idle_bench [SECONDS]   (the measuring period, default 20)
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/viewer.h"
#include "app/viewer_globals.h"
#include "platform/subset/headless/headless.h"

using namespace std::chrono_literals;

namespace {

constexpr double kMinimisedTargetPercent = 1.0;
constexpr int kHeadlessWarmupFrames = 30;
constexpr int kHeadlessFrames = 300;

// User plus system CPU seconds of a process so far (its threads included).
std::optional<double> CpuSeconds(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text;
    if (!std::getline(stat, text)) return std::nullopt;
    // Fields after the command name, which ends with the last ')'; utime and stime are the
    // 14th and 15th fields of the line.
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    unsigned long long utime = 0, stime = 0;
    for (int index = 3; index <= 15 && fields >> field; ++index) {
        if (index == 14) utime = std::stoull(field);
        if (index == 15) stime = std::stoull(field);
    }
    return double(utime + stime) / double(sysconf(_SC_CLK_TCK));
}

// Percent of one core the process used over the next `seconds`.
std::optional<double> CorePercent(pid_t pid, int seconds) {
    const std::optional<double> before = CpuSeconds(pid);
    const auto start = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    const std::optional<double> after = CpuSeconds(pid);
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!before || !after) return std::nullopt;
    return 100.0 * (*after - *before) / wall;
}

double ProcessCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// A child process, ended (SIGTERM) and reaped when dropped.
struct Child {
    pid_t pid = -1;
    Child() = default;
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;
    ~Child() {
        if (pid <= 0) return;
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }
    bool Running() const { return pid > 0 && waitpid(pid, nullptr, WNOHANG) == 0; }
};

// Starts argv with DISPLAY set, Wayland unset and its output dropped; `keep` stays open in it.
pid_t Spawn(const std::vector<std::string>& argv, const std::string& display, int keep = -1) {
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    const pid_t pid = fork();
    if (pid != 0) return pid;
    const int null = open("/dev/null", O_RDWR);
    dup2(null, STDOUT_FILENO);
    dup2(null, STDERR_FILENO);
    if (keep >= 0) fcntl(keep, F_SETFD, 0);
    if (!display.empty()) setenv("DISPLAY", display.c_str(), 1);
    unsetenv("WAYLAND_DISPLAY");
    if (chdir(SHOWCASE_SOURCE_DIR) != 0) _exit(127);
    execvp(args[0], args.data());
    _exit(127);
}

// Xvfb on a free display (the server picks it and reports it); its name, or empty.
std::string StartXvfb(Child& server) {
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0) return {};
    server.pid = Spawn({"Xvfb", "-displayfd", std::to_string(report[1]), "-screen", "0", "1024x768x24", "-nolisten",
                        "tcp"},
                       "", report[1]);
    close(report[1]);
    std::string number;
    pollfd ready{report[0], POLLIN, 0};
    char c = 0;
    while (poll(&ready, 1, 10000) > 0 && read(report[0], &c, 1) == 1 && c != '\n') number += c;
    close(report[0]);
    return number.empty() ? std::string() : ":" + number;
}

// Runs xdotool on the display; its first line of output, or nothing when it failed.
std::optional<std::string> Xdotool(const std::string& display, const std::string& arguments) {
    FILE* pipe = popen(("DISPLAY=" + display + " timeout 30 xdotool " + arguments).c_str(), "r");
    if (pipe == nullptr) return std::nullopt;
    char line[256] = {};
    if (std::fgets(line, sizeof line, pipe) == nullptr) line[0] = '\0';
    if (pclose(pipe) != 0) return std::nullopt;
    std::string text = line;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text;
}

// The real program, playing and then minimised; false when it could not be measured.
bool MeasureRealProgram(int seconds, double& playing, double& minimised) {
    Child server, app;
    const std::string display = StartXvfb(server);
    if (display.empty()) {
        std::fprintf(stderr, "idle_bench: Xvfb did not start\n");
        return false;
    }
    app.pid = Spawn({SHOWCASE_EXECUTABLE}, display);
    // The window, once it is mapped (SDL names the process in _NET_WM_PID).
    const std::optional<std::string> window =
        Xdotool(display, "search --sync --onlyvisible --pid " + std::to_string(app.pid));
    if (!window || window->empty()) {
        std::fprintf(stderr, "idle_bench: the window of %s never appeared\n", SHOWCASE_EXECUTABLE);
        return false;
    }
    std::this_thread::sleep_for(3s);  // past the pictures' loading
    const std::optional<double> whilePlaying = CorePercent(app.pid, seconds);
    if (!Xdotool(display, "windowunmap " + *window)) {
        std::fprintf(stderr, "idle_bench: xdotool could not unmap the window\n");
        return false;
    }
    std::this_thread::sleep_for(1s);
    const std::optional<double> whileMinimised = CorePercent(app.pid, seconds);
    if (!whilePlaying || !whileMinimised || !app.Running()) {
        std::fprintf(stderr, "idle_bench: the program ended early\n");
        return false;
    }
    playing = *whilePlaying;
    minimised = *whileMinimised;
    return true;
}

// CPU seconds per frame of the whole program on the headless backend at 1920 x 1080.
bool MeasureHeadlessFrame(double& cpuPerFrame, double& wallPerFrame) {
    if (chdir(SHOWCASE_SOURCE_DIR) != 0) return false;
    headless::Reset();
    headless::SetScreen(1920, 1080, 32);
    ResetViewerGlobals();
    double cpuStart = 0;
    auto wallStart = std::chrono::steady_clock::now();
    headless::OnFrame([&](int frame) {
        if (frame == kHeadlessWarmupFrames) {
            cpuStart = ProcessCpuSeconds();
            wallStart = std::chrono::steady_clock::now();
        }
        if (frame == kHeadlessWarmupFrames + kHeadlessFrames) {
            cpuPerFrame = (ProcessCpuSeconds() - cpuStart) / kHeadlessFrames;
            wallPerFrame =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count() / kHeadlessFrames;
            headless::CloseRequest();
        }
    });
    const int status = ViewerMain(nullptr, nullptr, const_cast<char*>(""), SW_SHOW);
    const bool complete = status == 0 && headless::FrameCount() == kHeadlessWarmupFrames + kHeadlessFrames;
    headless::Reset();
    return complete;
}

}  // namespace

int main(int argc, char** argv) {
    int seconds = 20;
    if (argc > 2 || (argc == 2 && (seconds = std::atoi(argv[1])) <= 0)) {
        std::fprintf(stderr, "usage: %s [SECONDS]\n", argv[0]);
        return 2;
    }
    double playing = 0, minimised = 0;
    if (!MeasureRealProgram(seconds, playing, minimised)) return 1;
    std::printf("showcase under Xvfb at 1024 x 768, %d s each: playing %.2f%% of a core, minimised %.2f%% "
                "(target below %.0f%%)\n",
                seconds, playing, minimised, kMinimisedTargetPercent);
    double cpuPerFrame = 0, wallPerFrame = 0;
    if (!MeasureHeadlessFrame(cpuPerFrame, wallPerFrame)) {
        std::fprintf(stderr, "idle_bench: the headless run did not complete\n");
        return 1;
    }
    std::printf("headless at 1920 x 1080, %d frames: %.2f ms CPU per frame (%.2f ms wall)\n", kHeadlessFrames,
                cpuPerFrame * 1e3, wallPerFrame * 1e3);
    return minimised < kMinimisedTargetPercent ? 0 : 1;
}
