// The program-wide animation state and the per-frame tour timeline.
#pragma once

#include <cstdint>

struct SceneState {
    std::int32_t sceneMode;            // 1..13 device scenes, 14 auto-start, 23 splash
    float tourClock;                   // position in the tour, clock units
    float tourSpeed;                   // speed factor of the clock and both angle counters
    float spinAngle;                   // degrees; devices turn with it
    float sweepAngle;                  // degrees; caption, splash and auto-start turn with it
    float depthSwing;                  // depth oscillator, about -45 to -9
    std::int32_t depthSwingDirection;  // 1 rising, 2 falling
    std::int32_t colorScheme;          // 1 or 2: member of every texture pair
    std::int32_t captionMode;          // 1 caption plate drawn, 2 hidden
    std::int32_t lightingMode;         // 1: the frame start enables lighting
    std::int32_t frameCounter;         // 1..30, then 0 again
    std::int32_t warmupPhase;          // 1 start-up pause pending, 2 over for good
};

// The one instance: zero at program start, shared by the frame routine and the commands.
extern SceneState sceneState;

// The tour's scene windows: device scene n is selected while kSceneWindowStart[n-1] < clock <
// kSceneWindowStart[n]; the last entry closes scene 13.
inline constexpr float kSceneWindowStart[14] = {2000,  4000,  6000,  8000,  11000, 14000, 17000,
                                                20000, 23000, 26000, 29000, 32000, 35000, 38000};
inline constexpr float kSplashClock = 1400;  // a fresh show's clock: the splash until kSceneWindowStart[0]
inline constexpr float kWrapEnd = 41000;    // clock values in (38000, 41000) wrap to 2000
inline constexpr std::int32_t kSplashScene = 23;
inline constexpr std::int32_t kAutoStartScene = 14;

// The other colour scheme: 1 and 2 swap, any other value stays. The caption mode (1 drawn,
// 2 hidden) flips the same way.
std::int32_t OtherScheme(std::int32_t scheme);

// Stores the initial state of a fresh show (everything but frameCounter and lightingMode).
void ResetSceneState();

// Moves the tour on by one frame: clock, scene selection, wrap, start-up pause, angle counters
// and depth oscillator, in that order.
void AdvanceScene();
