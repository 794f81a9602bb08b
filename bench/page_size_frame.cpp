// The desktop's whole frame (frame_bench's BM_Frame: RenderFrame and SwapBuffers on Mesa) at the
// page benchmark's 1024 x 768, so bench/web_bench.sh can put the page's unpaced frame beside the
// native program's. web_bench.sh builds it with frame_bench's own compile and link lines.
#include "bench/frame_bench.cpp"

BENCHMARK(BM_Frame)->Args({1024, 768})->Unit(benchmark::kMicrosecond)->UseRealTime();
