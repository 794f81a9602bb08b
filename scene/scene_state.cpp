// The tour timeline. Every value is stored as a 32-bit float between frames and each update is
// worked out in double precision.
#include "scene/scene_state.h"

SceneState sceneState{};

namespace {

constexpr double kClockPerSpeed = 3.2;
constexpr float kWrapClock = 2000;
constexpr int kPauseStartFrame = 5;   // from this frame of a pass the angles stand still...
constexpr int kPauseEndFrame = 30;    // ...until the counter passes this and restarts
constexpr float kAngleHigh = 90000;
constexpr float kAngleLow = 1;
constexpr float kAngleRestart = 40000;
constexpr float kSwingLow = -45;
constexpr float kSwingHigh = -9;
constexpr double kSwingUpStep = 0.05;
constexpr double kSwingDownStep = 0.03;

void SelectScene(float clock) {
    for (int scene = 1; scene <= 13; ++scene) {
        if (kSceneWindowStart[scene - 1] < clock && clock < kSceneWindowStart[scene]) sceneState.sceneMode = scene;
    }
}

// Returns false while the start-up pause holds the angles and the oscillator.
bool PassStartupPause() {
    ++sceneState.frameCounter;
    if (sceneState.frameCounter > kPauseEndFrame) {
        sceneState.frameCounter = 0;
        sceneState.warmupPhase = 2;
        return true;
    }
    return !(sceneState.warmupPhase != 2 && sceneState.frameCounter >= kPauseStartFrame);
}

void LimitAngles() {
    if (sceneState.spinAngle > kAngleHigh) sceneState.spinAngle = 0;
    if (sceneState.sweepAngle > kAngleHigh) sceneState.sweepAngle = 0;
    if (sceneState.spinAngle < kAngleLow) sceneState.spinAngle = kAngleRestart;
    if (sceneState.sweepAngle < kAngleLow) sceneState.sweepAngle = kAngleRestart;
}

void SwingDepth() {
    const float depth = sceneState.depthSwing;
    if (depth < kSwingLow) sceneState.depthSwingDirection = 1;
    if (depth > kSwingHigh) {
        sceneState.depthSwingDirection = 2;
        sceneState.depthSwing = static_cast<float>(depth - kSwingDownStep);
    } else if (sceneState.depthSwingDirection == 1) {
        sceneState.depthSwing = static_cast<float>(depth + kSwingUpStep);
    } else if (sceneState.depthSwingDirection == 2) {
        sceneState.depthSwing = static_cast<float>(depth - kSwingDownStep);
    }
}

}  // namespace

std::int32_t OtherScheme(std::int32_t scheme) {
    if (scheme == 1) return 2;
    if (scheme == 2) return 1;
    return scheme;
}

void ResetSceneState() {
    sceneState.depthSwing = -20;
    sceneState.warmupPhase = 1;
    sceneState.sceneMode = kSplashScene;
    sceneState.depthSwingDirection = 1;
    sceneState.tourSpeed = 0.6f;
    sceneState.tourClock = kSplashClock;
    sceneState.spinAngle = 0;
    sceneState.captionMode = 1;
    sceneState.colorScheme = 1;
    sceneState.sweepAngle = 24900;
}

void AdvanceScene() {
    const double speed = sceneState.tourSpeed;
    sceneState.tourClock = static_cast<float>(sceneState.tourClock + speed * kClockPerSpeed);
    const float clock = sceneState.tourClock;

    SelectScene(clock);
    if (kSceneWindowStart[13] < clock && clock < kWrapEnd) {
        sceneState.tourClock = kWrapClock;
        sceneState.colorScheme = OtherScheme(sceneState.colorScheme);
    }
    if (!PassStartupPause()) return;

    sceneState.spinAngle = static_cast<float>(sceneState.spinAngle + speed);
    sceneState.sweepAngle = static_cast<float>((sceneState.sweepAngle + 0.1) + speed);
    LimitAngles();
    SwingDepth();
}
