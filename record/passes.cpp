// The tour is advanced on a saved copy of the program's scene state, exactly as RenderFrame's
// AdvanceScene moves it; drawing never changes the clock or the colour scheme.
#include "record/passes.h"

#include <climits>

#include "scene/scene_state.h"

namespace record {

namespace {

// Frames from the current state up to and including the one that flips the colour scheme.
long long FramesToFlip() {
    const std::int32_t scheme = sceneState.colorScheme;
    long long frames = 0;
    do {
        AdvanceScene();
        ++frames;
    } while (sceneState.colorScheme == scheme);
    return frames;
}

}  // namespace

int LastFrameOfPass(int pass) {
    const SceneState saved = sceneState;
    ResetSceneState();
    const long long first = FramesToFlip();
    // Every later pass starts from the same clock at the same speed, so all have one length.
    const long long later = FramesToFlip();
    sceneState = saved;
    const long long last = first + (pass - 1LL) * later;
    return last <= INT_MAX ? static_cast<int>(last) : -1;
}

}  // namespace record
