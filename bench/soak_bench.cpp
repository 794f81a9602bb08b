// Soak run: the whole program (ViewerMain) on the headless backend at 640 x 480 for a given
// number of frames, sampling resident memory, open descriptors and memory mappings, and
// failing (status 1) when any of them does not stay flat.
//
// The tour runs at the highest speed at which every device scene still gets a frame: the clock
// moves 3.2 x tourSpeed per frame and the narrowest scene windows (devices 1 to 4) are 2000
// wide and open at both ends, so the step must stay below 2000, that is tourSpeed below 625.
// "Скорость ++" adds 0.2 to the start speed 0.6 without limit; after 3121 presses the speed is
// 624.82 (a step of 1999.4), and one press more reaches 625.02 (a step of 2000.06), from
// which the clock can step over a whole scene window. At 3121 presses a pass of the tour
// takes about 20 frames. The run checks that every device scene was shown.
//
// Every few hundred frames a push button is clicked (the device, caption, splash and colour
// buttons in turn). A sample is printed at the end of the first pass of the tour, but the
// reference is the first sample after a whole round of clicks (4,800 frames), once every
// state the buttons reach has been drawn: until then Mesa's caches still grow with each new
// one (about 1.3 MB). Resident memory must stay within 1 MB of the reference, descriptors and
// mappings equal to it.
//
// Usage: soak_bench [FRAMES [SAMPLE_EVERY]]   (defaults 1000000 and 20000)
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/viewer.h"
#include "app/viewer_globals.h"
#include "measure/process_figures.h"
#include "platform/subset/headless/headless.h"
#include "scene/scene_state.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kSpeedUpId = 1201;
constexpr int kSpeedUpPresses = 3121;
constexpr int kClickEvery = 300;
constexpr long kRssToleranceKb = 1024;
// Every visible button but the two speed buttons, clicked in turn.
constexpr int kClickedIds[] = {1000, 1001, 1002, 1003, 1004, 1005, 1006, 1008, 1009,
                               1010, 1011, 1012, 1013, 1202, 1203, 1204};

struct Sample {
    long frame;
    double seconds;
    long rssKb;
    long heapKb;  // malloc's bytes in use, every arena: tells a leak from the allocator's slack
    int descriptors;
    int mappings;
};

using Clock = std::chrono::steady_clock;
const Clock::time_point kStart = Clock::now();

Sample Take(long frame) {
    const struct mallinfo2 heap = mallinfo2();
    return {frame,
            std::chrono::duration<double>(Clock::now() - kStart).count(),
            process_figures::ResidentKb(),
            static_cast<long>((heap.uordblks + heap.hblkhd) / 1024),
            process_figures::OpenDescriptors(),
            process_figures::Mappings()};
}

void Print(const Sample& s) {
    std::printf("%10ld %8.0f %10ld %10ld %6d %6d\n", s.frame, s.seconds, s.rssKb, s.heapKb, s.descriptors,
                s.mappings);
    std::fflush(stdout);
}

bool ParseCount(const char* text, long& value) {
    char* end = nullptr;
    value = std::strtol(text, &end, 10);
    return *text != '\0' && *end == '\0' && value > 0;
}

}  // namespace

int main(int argc, char** argv) {
    long frames = 1'000'000;
    long sampleEvery = 20'000;
    if (argc > 3 || (argc > 1 && !ParseCount(argv[1], frames)) || (argc > 2 && !ParseCount(argv[2], sampleEvery))) {
        std::fprintf(stderr, "usage: %s [FRAMES [SAMPLE_EVERY]]\n", argv[0]);
        return 2;
    }
    if (chdir(SHOWCASE_SOURCE_DIR) != 0) {
        std::perror("soak_bench: cannot enter the source tree for picture/");
        return 1;
    }
    headless::Reset();
    headless::SetScreen(kWidth, kHeight, 32);
    ResetViewerGlobals();

    std::vector<Sample> samples;
    bool seen[14] = {};
    bool firstPassOver = false;
    float lastClock = 0;
    std::size_t nextClick = 0;
    headless::OnFrame([&](int frame) {
        headless::ForgetCalls();  // the backend's log of every call would grow with each frame
        if (frame == 1)
            for (int i = 0; i < kSpeedUpPresses; ++i) headless::Post(WM_COMMAND, kSpeedUpId, 0);
        if (sceneState.sceneMode >= 1 && sceneState.sceneMode <= 13) seen[sceneState.sceneMode] = true;
        // At the end of a pass the clock falls back from the last scene's window to 2000.
        const bool wrapped = sceneState.tourClock == kSceneWindowStart[0] && lastClock > kSceneWindowStart[12];
        lastClock = sceneState.tourClock;
        if (!firstPassOver && wrapped) {
            firstPassOver = true;
            samples.push_back(Take(frame));
            Print(samples.back());
        } else if (frame % sampleEvery == 0 || frame == frames) {
            samples.push_back(Take(frame));
            Print(samples.back());
        }
        if (frame % kClickEvery == 0) {
            headless::Click(kClickedIds[nextClick]);
            nextClick = (nextClick + 1) % std::size(kClickedIds);
        }
        if (frame == frames) headless::CloseRequest();
    });

    std::printf("soak: %ld frames at %d x %d, tourSpeed after %d presses of the speed button\n", frames, kWidth,
                kHeight, kSpeedUpPresses);
    std::printf("%10s %8s %10s %10s %6s %6s\n", "frame", "seconds", "rss_kb", "heap_kb", "fds", "maps");
    const Clock::time_point start = Clock::now();
    const int status = ViewerMain(nullptr, nullptr, const_cast<char*>(""), SW_SHOW);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    const int presented = headless::FrameCount();
    std::printf("tourSpeed %.2f, %d frames in %.0f s (%.0f frames/s), exit status %d\n", sceneState.tourSpeed,
                presented, seconds, presented / seconds, status);

    const long settled = kClickEvery * static_cast<long>(std::size(kClickedIds));
    std::erase_if(samples, [&](const Sample& s) { return s.frame < settled && s.frame != frames; });
    bool flat = status == 0 && presented == frames && !samples.empty();
    for (int scene = 1; scene <= 13; ++scene)
        if (!seen[scene]) {
            std::printf("FAIL: device scene %d was never shown\n", scene);
            flat = false;
        }
    if (!samples.empty()) {
        const Sample& first = samples.front();
        Sample low = first, high = first;
        for (const Sample& s : samples) {
            low = {0, 0, std::min(low.rssKb, s.rssKb), 0, std::min(low.descriptors, s.descriptors),
                   std::min(low.mappings, s.mappings)};
            high = {0, 0, std::max(high.rssKb, s.rssKb), 0, std::max(high.descriptors, s.descriptors),
                    std::max(high.mappings, s.mappings)};
            if (std::labs(s.rssKb - first.rssKb) > kRssToleranceKb || s.descriptors != first.descriptors ||
                s.mappings != first.mappings) {
                std::printf("FAIL: at frame %ld rss %+ld kB, fds %+d, maps %+d from the reference\n", s.frame,
                            s.rssKb - first.rssKb, s.descriptors - first.descriptors, s.mappings - first.mappings);
                flat = false;
            }
        }
        const Sample& middle = samples[samples.size() / 2];
        const Sample& last = samples.back();
        std::printf("rss kB reference %ld (frame %ld), middle %ld (frame %ld), last %ld (frame %ld); range %ld..%ld\n",
                    first.rssKb, first.frame, middle.rssKb, middle.frame, last.rssKb, last.frame, low.rssKb,
                    high.rssKb);
        std::printf("heap in use kB reference %ld, last %ld\n", first.heapKb, last.heapKb);
        std::printf("fds %d..%d, maps %d..%d\n", low.descriptors, high.descriptors, low.mappings, high.mappings);
    }
    std::printf("%s\n", flat ? "flat" : "NOT FLAT");
    headless::Reset();
    return flat ? 0 : 1;
}
