// Set-up shared by the benchmarks that play the show on the headless backend with the source
// tree's pictures.
#pragma once

#include <benchmark/benchmark.h>

#include "app/viewer.h"
#include "app/viewer_globals.h"
#include "image/texture_set.h"
#include "platform/subset/headless/headless.h"
#include "scene/scene_state.h"

namespace bench {

// A fresh platform with a screen of that size, with or without the button column, and the
// program's globals as at process start, reading the source tree's pictures.
inline void FreshStart(int width, int height, bool buttons) {
    headless::Reset();
    headless::SetScreen(width, height, 32);
    headless::DrawButtons(buttons);
    ResetViewerGlobals();
    fullscreen = false;
    SetPictureFolder(SHOWCASE_SOURCE_DIR "/picture");
}

// The render window over the whole screen (the benchmark's two arguments), playing the tour from
// the first device on (past the start-up pause), so the measured frames walk through the device
// scenes as the show does.
inline bool OpenPlaying(benchmark::State& state, bool buttons) {
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    FreshStart(width, height, buttons);
    if (OpenRenderWindow(kStartupTitle, width, height, 16, false) != 1) {
        state.SkipWithError("the render window did not open");
        return false;
    }
    sceneState.warmupPhase = 2;
    sceneState.sceneMode = 1;
    sceneState.tourClock = 2000;
    return true;
}

}  // namespace bench
