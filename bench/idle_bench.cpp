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
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>

#include "app/viewer.h"
#include "platform/subset/headless/headless.h"
#include "tests/support/viewer_globals.h"
#include "tests/window/x_session.h"

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

// The real program, playing and then minimised; false when it could not be measured.
bool MeasureRealProgram(int seconds, double& playing, double& minimised) {
    XvfbServer server;
    XClient x;
    ChildProcess app;
    if (!server.Start(1024, 768, 24) || !x.Connect(server.Display())) {
        std::fprintf(stderr, "idle_bench: Xvfb did not start\n");
        return false;
    }
    if (!app.Start({SHOWCASE_EXECUTABLE}, {{"DISPLAY", server.Display()}, {"WAYLAND_DISPLAY", ""}},
                   SHOWCASE_SOURCE_DIR)) {
        std::fprintf(stderr, "idle_bench: cannot start %s\n", SHOWCASE_EXECUTABLE);
        return false;
    }
    const unsigned long window = x.WaitForWindow("Анимация 3D устройств Zelvo,ноябрь 2016", 30s);
    if (window == 0) {
        std::fprintf(stderr, "idle_bench: the window never appeared; output:\n%s", app.Output().c_str());
        return false;
    }
    std::this_thread::sleep_for(3s);  // past the pictures' loading
    const std::optional<double> whilePlaying = CorePercent(app.Pid(), seconds);
    if (!Xdotool(server.Display(), {"windowunmap", std::to_string(window)})) {
        std::fprintf(stderr, "idle_bench: xdotool could not unmap the window\n");
        return false;
    }
    std::this_thread::sleep_for(1s);
    const std::optional<double> whileMinimised = CorePercent(app.Pid(), seconds);
    x.Disconnect();
    if (!whilePlaying || !whileMinimised || !app.Running()) {
        std::fprintf(stderr, "idle_bench: the program ended early; output:\n%s", app.Output().c_str());
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
