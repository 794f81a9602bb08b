// The control panel's layout and commands.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "app/viewer.h"
#include "scene/scene_state.h"

namespace {

class PanelCommands : public ::testing::Test {
  protected:
    void SetUp() override {
        sceneState = SceneState{};
        ResetSceneState();
    }
};

TEST_F(PanelCommands, JumpsSetSceneAndClockTogether) {
    struct Jump {
        int id;
        int scene;
        float clock;
    };
    const Jump jumps[] = {
        {1000, 1, 2000},   {1001, 2, 4000},   {1002, 3, 6000},   {1003, 4, 8000},   {1004, 5, 11000},
        {1005, 6, 14000},  {1006, 7, 17000},  {1008, 8, 20000},  {1009, 9, 23000},  {1010, 10, 26000},
        {1011, 11, 29000}, {1012, 12, 32000}, {1013, 13, 35000}, {1014, 14, 0},     {1203, 23, 1400},
    };
    for (const Jump& jump : jumps) {
        sceneState.sceneMode = 7;
        sceneState.tourClock = 12345;
        SceneState before = sceneState;
        ASSERT_TRUE(RunPanelCommand(jump.id)) << jump.id;
        EXPECT_EQ(sceneState.sceneMode, jump.scene) << jump.id;
        EXPECT_EQ(sceneState.tourClock, jump.clock) << jump.id;
        sceneState.sceneMode = before.sceneMode;
        sceneState.tourClock = before.tourClock;
        EXPECT_EQ(std::memcmp(&sceneState, &before, sizeof before), 0) << jump.id << " touched another field";
    }
}

TEST_F(PanelCommands, SpeedHasNoUpperLimitAndMinIsExactly02) {
    for (int i = 0; i < 50; ++i) ASSERT_TRUE(RunPanelCommand(1201));
    float expected = 0.6f;
    for (int i = 0; i < 50; ++i) expected = static_cast<float>(expected + 0.2);
    EXPECT_EQ(sceneState.tourSpeed, expected);
    EXPECT_GT(sceneState.tourSpeed, 10.5f);
    RunPanelCommand(1200);
    EXPECT_EQ(sceneState.tourSpeed, 0.2f);
}

TEST_F(PanelCommands, CaptionAndColoursToggleBetweenOneAndTwoOnly) {
    for (int id : {1202, 1204}) {
        std::int32_t& field = id == 1202 ? sceneState.captionMode : sceneState.colorScheme;
        field = 1;
        RunPanelCommand(id);
        EXPECT_EQ(field, 2);
        RunPanelCommand(id);
        EXPECT_EQ(field, 1);
        field = 0;
        RunPanelCommand(id);
        EXPECT_EQ(field, 0) << "any other value stays";
    }
}

TEST_F(PanelCommands, UnlistedIdsAreNotCommands) {
    for (int id : {0, 999, 1007, 1015, 1199, 1205, 65535}) EXPECT_FALSE(RunPanelCommand(id)) << id;
}

TEST(PanelLayout, NineteenButtonsWithDistinctIdsInTheLeftColumn) {
    std::set<int> ids;
    for (const PanelButton& button : kPanelButtons) {
        ids.insert(button.id);
        EXPECT_EQ(button.x, 0);
        EXPECT_TRUE(RunPanelCommand(button.id)) << "every button has a command: " << button.id;
    }
    EXPECT_EQ(ids.size(), 19u);
    EXPECT_EQ(ids.count(1007), 0u);
    EXPECT_EQ(std::string(kPanelButtons[0].label), "\xC7\xEE\xF0\xED\xE0 GX - 1");
    EXPECT_EQ(kPanelButtons[0].y, 3);
    EXPECT_EQ(kPanelButtons[1].y, 30);
    EXPECT_EQ(kPanelButtons[13].width, 0) << "the auto-start button is created without width";
    EXPECT_EQ(kPanelButtons[18].y, 570);
}

}  // namespace
