// Recording speed on the off-screen backend (Mesa, no window system) with the bundled pictures:
// frames per second rendered alone (RenderFrame and SwapBuffers, no buttons), rendered and read
// back, and recorded (rendered, read back, converted to yuv420p and encoded: H.264 into MP4, VP9
// into WebM) at 1280 x 720 and 1920 x 1080. A recording is faster than real time when it makes
// more than the show's 60 frames a second. Beside the frames per second, cpu_ms is the CPU time
// of every thread of the process (Mesa's and the encoder's included) per frame: on a shared
// machine it says what the work costs when the wall-clock rate says how busy the others were.
// Numbers come from a Release build: build/bench/record_bench.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <time.h>

#include <chrono>
#include <cstdio>
#include <filesystem>

#include "bench/playing.h"
#include "record/writer.h"
#include "scenes/frame.h"

namespace {

using Clock = std::chrono::steady_clock;

// Frames per run: ten seconds of the show, so the encoder's start and its final flush (timed
// with the last frame) weigh as they do in a real recording.
constexpr int kFrames = 600;

// CPU time of the whole process so far, in milliseconds.
double ProcessCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

void Close(benchmark::State& state, int frames, double cpuStartMs) {
    state.counters["cpu_ms"] = (ProcessCpuMs() - cpuStartMs) / frames;
    CloseRenderWindow();
    headless::Reset();
    state.counters["fps"] = benchmark::Counter(frames, benchmark::Counter::kIsRate);
}

void BM_Render(benchmark::State& state) {
    if (!bench::OpenPlaying(state, false)) return;
    const double cpu = ProcessCpuMs();
    for (auto _ : state) {
        RenderFrame();
        SwapBuffers(deviceContext);
    }
    Close(state, static_cast<int>(state.iterations()), cpu);
}

void BM_RenderReadBack(benchmark::State& state) {
    if (!bench::OpenPlaying(state, false)) return;
    headless::Frame frame;
    const double cpu = ProcessCpuMs();
    for (auto _ : state) {
        RenderFrame();
        SwapBuffers(deviceContext);
        headless::ReadPixels(frame, headless::PixelOrder::Bgra);
        benchmark::DoNotOptimize(frame.rgba.data());
    }
    Close(state, static_cast<int>(state.iterations()), cpu);
}

// Whole recording steps into a video file with the recorder's default quality.
void Record(benchmark::State& state, const char* extension) {
    record::Options options;
    options.kind = record::OutputKind::Video;
    options.extension = extension;
    options.width = static_cast<int>(state.range(0));
    options.height = static_cast<int>(state.range(1));
    options.quality = options.extension == "webm" ? 32 : 20;
    options.output = (std::filesystem::temp_directory_path() /
                      ("record-bench-" + std::to_string(getpid()) + "." + options.extension))
                         .string();
    if (!bench::OpenPlaying(state, false)) return;
    std::string error;
    std::unique_ptr<record::FrameWriter> writer = record::OpenWriter(options, error);
    if (!writer) {
        state.SkipWithError(error.c_str());
        return;
    }
    headless::Frame frame;
    int done = 0;
    const double cpu = ProcessCpuMs();
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        RenderFrame();
        SwapBuffers(deviceContext);
        headless::ReadPixels(frame, headless::PixelOrder::Bgra);
        if (!writer->Write(record::FrameView{frame.width, frame.height, frame.rgba.data()}, ++done))
            state.SkipWithError(writer->Error().c_str());
        if (done == kFrames && !writer->Finish()) state.SkipWithError(writer->Error().c_str());
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    }
    state.counters["MB"] = static_cast<double>(std::filesystem::file_size(options.output)) / 1e6;
    std::filesystem::remove(options.output);
    Close(state, done, cpu);
}

void BM_RecordMp4(benchmark::State& state) { Record(state, "mp4"); }
void BM_RecordWebm(benchmark::State& state) { Record(state, "webm"); }

}  // namespace

BENCHMARK(BM_Render)->Args({1280, 720})->Args({1920, 1080})->Iterations(kFrames)->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderReadBack)->Args({1280, 720})->Args({1920, 1080})->Iterations(kFrames)->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecordMp4)->Args({1280, 720})->Args({1920, 1080})->Iterations(kFrames)->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecordWebm)->Args({1280, 720})->Args({1920, 1080})->Iterations(kFrames)->UseManualTime()
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
