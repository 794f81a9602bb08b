// The tour timeline frame by frame: scene selection and its exact bounds, the wrap, the start-up
// pause, the angle limits and the depth oscillator's edges.
#include <gtest/gtest.h>

#include "scene/scene_state.h"

namespace {

class Timeline : public ::testing::Test {
  protected:
    void SetUp() override {
        sceneState = SceneState{};
        ResetSceneState();
    }
    // Leaves the start-up pause behind, so every following frame advances everything.
    static void FinishPause() {
        sceneState.warmupPhase = 2;
        sceneState.frameCounter = 0;
    }
};

TEST_F(Timeline, ExactBoundsSelectNoSceneAndTheStepAboveSelectsIt) {
    struct Case {
        float stepTo;       // clock value after the step
        std::int32_t before;
        std::int32_t after;
    };
    const Case cases[] = {
        {2000, 23, 23},  {2000.5f, 23, 1},  {4000, 1, 1},    {4000.5f, 1, 2},    {8000, 3, 3},
        {8000.5f, 3, 4}, {11000, 4, 4},     {11000.5f, 4, 5}, {35000, 12, 12},  {37999.5f, 12, 13},
        {38000, 13, 13},
    };
    for (const Case& c : cases) {
        sceneState.sceneMode = c.before;
        sceneState.tourSpeed = 0;
        sceneState.tourClock = c.stepTo;
        AdvanceScene();
        EXPECT_EQ(sceneState.sceneMode, c.after) << "clock " << c.stepTo;
        EXPECT_EQ(sceneState.tourClock, c.stepTo) << "no wrap at " << c.stepTo;
    }
}

TEST_F(Timeline, WrapFrameKeepsScene13AndFlipsTheScheme) {
    sceneState.sceneMode = 13;
    sceneState.tourClock = 37999;
    AdvanceScene();  // 37999 + 1.92 passes 38000
    EXPECT_EQ(sceneState.tourClock, 2000.0f);
    EXPECT_EQ(sceneState.sceneMode, 13) << "scene 13 is drawn once more with the clock at 2000";
    EXPECT_EQ(sceneState.colorScheme, 2);
    AdvanceScene();
    EXPECT_EQ(sceneState.sceneMode, 1);

    sceneState.tourClock = 37999;
    AdvanceScene();
    EXPECT_EQ(sceneState.colorScheme, 1) << "the next wrap flips back";

    sceneState.colorScheme = 7;
    sceneState.tourClock = 37999;
    AdvanceScene();
    EXPECT_EQ(sceneState.colorScheme, 7) << "an unknown scheme is left alone";
}

TEST_F(Timeline, StartupPauseHoldsAnglesFromFrame5ToFrame30) {
    float spinBefore = 0;
    for (int frame = 1; frame <= 40; ++frame) {
        float sweep = sceneState.sweepAngle;
        float depth = sceneState.depthSwing;
        float clock = sceneState.tourClock;
        spinBefore = sceneState.spinAngle;
        AdvanceScene();
        EXPECT_GT(sceneState.tourClock, clock) << "the clock never pauses, frame " << frame;
        bool paused = frame >= 5 && frame <= 30;
        EXPECT_EQ(sceneState.sweepAngle == sweep, paused) << "frame " << frame;
        EXPECT_EQ(sceneState.depthSwing == depth, paused) << "frame " << frame;
        if (paused) {
            EXPECT_EQ(sceneState.spinAngle, spinBefore);
        }
        if (frame == 31) {
            EXPECT_EQ(sceneState.frameCounter, 0);
            EXPECT_EQ(sceneState.warmupPhase, 2);
        }
    }
    // From here on the counter cycles without pausing again.
    for (int frame = 0; frame < 100; ++frame) {
        float sweep = sceneState.sweepAngle;
        AdvanceScene();
        EXPECT_NE(sceneState.sweepAngle, sweep);
    }
}

TEST_F(Timeline, AngleLimits) {
    FinishPause();
    AdvanceScene();
    EXPECT_EQ(sceneState.spinAngle, 40000.0f) << "0.6 is below 1 and restarts at 40000";
    EXPECT_FLOAT_EQ(sceneState.sweepAngle, 24900.7f);

    sceneState.spinAngle = 89999.7f;
    sceneState.sweepAngle = 89999.5f;
    AdvanceScene();
    EXPECT_EQ(sceneState.spinAngle, 40000.0f) << "past 90000 goes to 0, then below 1 to 40000";
    EXPECT_EQ(sceneState.sweepAngle, 40000.0f);

    sceneState.spinAngle = 89999.5f;
    sceneState.tourSpeed = 0.5f;
    AdvanceScene();
    EXPECT_EQ(sceneState.spinAngle, 90000.0f) << "exactly 90000 is kept: the test is strict";
}

TEST_F(Timeline, DepthOscillatorEdges) {
    FinishPause();
    struct Case {
        float depth;
        std::int32_t direction;
        float expectDepth;
        std::int32_t expectDirection;
    };
    const Case cases[] = {
        {-20, 1, static_cast<float>(-20.0 + 0.05), 1},
        {-20, 2, static_cast<float>(-20.0 - 0.03), 2},
        {-9, 1, static_cast<float>(-9.0 + 0.05), 1},        // exactly -9 keeps rising
        {-8.99f, 1, static_cast<float>(-8.99f - 0.03), 2},  // above -9 turns down
        {-45, 2, static_cast<float>(-45.0 - 0.03), 2},      // exactly -45 is not forced up
        {-45.01f, 2, static_cast<float>(-45.01f + 0.05), 1},
        {-30, 5, -30, 5},                                   // unknown direction stands still
    };
    for (const Case& c : cases) {
        sceneState.depthSwing = c.depth;
        sceneState.depthSwingDirection = c.direction;
        AdvanceScene();
        EXPECT_EQ(sceneState.depthSwing, c.expectDepth) << c.depth << " dir " << c.direction;
        EXPECT_EQ(sceneState.depthSwingDirection, c.expectDirection) << c.depth << " dir " << c.direction;
    }
}

}  // namespace
