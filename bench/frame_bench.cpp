// Frame benchmark on the headless backend (Mesa, no window system) with the bundled pictures:
// the CPU time RenderFrame takes per frame, whole frames per second (RenderFrame and
// SwapBuffers, which waits until Mesa has drawn the frame and the buttons over it) at 640 x 480
// and 1920 x 1080, and the time from start to the first frame presented.
#include <benchmark/benchmark.h>

#include <chrono>

#include "bench/playing.h"
#include "scenes/frame.h"

namespace {

void Close() {
    CloseRenderWindow();
    headless::Reset();
}

// RenderFrame alone: the time of the SwapBuffers between frames is not counted.
void BM_RenderFrame(benchmark::State& state) {
    if (!bench::OpenPlaying(state, true)) return;
    for (auto _ : state) {
        RenderFrame();
        state.PauseTiming();
        SwapBuffers(deviceContext);
        state.ResumeTiming();
    }
    state.counters["tourClock"] = sceneState.tourClock;
    Close();
}

// Whole frames as the main loop makes them.
void BM_Frame(benchmark::State& state) {
    if (!bench::OpenPlaying(state, true)) return;
    for (auto _ : state) {
        RenderFrame();
        SwapBuffers(deviceContext);
    }
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    Close();
}

// ViewerMain from its call to the end of its first SwapBuffers: window, context, the nineteen
// pictures decoded and uploaded, the first (splash) frame drawn and presented. The EGL display
// is set up once per process, by the first iteration.
void BM_StartToFirstFrame(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    for (auto _ : state) {
        bench::FreshStart(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), true);
        Clock::time_point firstFrame{};
        headless::OnFrame([&firstFrame](int frame) {
            if (frame != 1) return;
            firstFrame = Clock::now();
            headless::CloseRequest();
        });
        const Clock::time_point start = Clock::now();
        ViewerMain(nullptr, nullptr, const_cast<char*>(""), 0);
        state.SetIterationTime(std::chrono::duration<double>(firstFrame - start).count());
    }
    headless::Reset();
}

}  // namespace

BENCHMARK(BM_RenderFrame)->Args({640, 480})->Args({1920, 1080})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Frame)->Args({640, 480})->Args({1024, 768})->Args({1920, 1080})->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_StartToFirstFrame)->Args({640, 480})->Args({1920, 1080})->Unit(benchmark::kMillisecond)->UseManualTime();

BENCHMARK_MAIN();
