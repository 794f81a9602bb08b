// The control panel: the button column at the left edge and the commands behind it. Commands
// only write the show's state; the following frame shows their effect.
#include <iterator>

#include "app/viewer.h"
#include "scene/scene_state.h"

#define DEVICE_LABEL(n) "\xC7\xEE\xF0\xED\xE0" " GX - " #n

// id, label, x, y, width, height. The auto-start button has width 0: it cannot be seen or
// clicked, while its command stays handled.
const PanelButton kPanelButtons[19] = {
    {1000, DEVICE_LABEL(1), 0, 3, 160, 25},
    {1001, DEVICE_LABEL(2), 0, 30, 160, 25},
    {1002, DEVICE_LABEL(3), 0, 60, 160, 25},
    {1003, DEVICE_LABEL(4), 0, 90, 160, 25},
    {1004, DEVICE_LABEL(5), 0, 120, 160, 25},
    {1005, DEVICE_LABEL(6), 0, 150, 160, 25},
    {1006, DEVICE_LABEL(7), 0, 180, 160, 25},
    {1008, DEVICE_LABEL(8), 0, 210, 160, 25},
    {1009, DEVICE_LABEL(9), 0, 240, 160, 25},
    {1010, DEVICE_LABEL(10), 0, 270, 160, 25},
    {1011, DEVICE_LABEL(11), 0, 300, 160, 25},
    {1012, DEVICE_LABEL(12), 0, 330, 160, 25},
    {1013, DEVICE_LABEL(13), 0, 360, 160, 25},
    {1014, "Avto", 0, 410, 0, 25},
    {1200, "\xD1\xEA\xEE\xF0\xEE\xF1\xF2\xFC min", 0, 450, 140, 20},
    {1201, "\xD1\xEA\xEE\xF0\xEE\xF1\xF2\xFC ++", 0, 480, 140, 20},
    {1202, "\xCD\xE0\xE4\xEF\xE8\xF1\xFC \xE2\xEA\xEB", 0, 510, 140, 20},
    {1203, "\xC7\xE0\xF1\xF2\xE0\xE2\xEA\xE0 \xE2\xEA\xEB", 0, 540, 140, 20},
    {1204, "\xD6\xE2\xE5\xF2\xE0", 0, 570, 140, 20},
};
#undef DEVICE_LABEL

namespace {

struct Jump {
    int id;
    std::int32_t sceneMode;
    float tourClock;
};

constexpr int kDeviceScenes = 13;  // device n's button is the n-th of the column
// The jumps that open no device window: the auto-start lead-in and the splash of a fresh show.
constexpr Jump kOtherJumps[] = {{1014, kAutoStartScene, 0}, {1203, kSplashScene, kSplashClock}};

void Select(std::int32_t sceneMode, float tourClock) {
    sceneState.sceneMode = sceneMode;
    sceneState.tourClock = tourClock;
}

// A jump command: a device's button opens that device's window of the tour.
bool RunJump(int id) {
    for (int scene = 1; scene <= kDeviceScenes; ++scene) {
        if (kPanelButtons[scene - 1].id != id) continue;
        Select(scene, kSceneWindowStart[scene - 1]);
        return true;
    }
    for (const Jump& jump : kOtherJumps) {
        if (jump.id != id) continue;
        Select(jump.sceneMode, jump.tourClock);
        return true;
    }
    return false;
}

constexpr int kSpeedMin = 1200;
constexpr int kSpeedUp = 1201;
constexpr int kCaption = 1202;
constexpr int kColours = 1204;
constexpr float kSlowSpeed = 0.2f;
constexpr double kSpeedStep = 0.2;

}  // namespace

void CreateControlPanel(HWND parent) {
    for (const PanelButton& button : kPanelButtons) {
        CreateWindowExA(0, "BUTTON", button.label, WS_CHILD | WS_VISIBLE, button.x, button.y, button.width,
                        button.height, parent,
                        reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(button.id)), instanceHandle, nullptr);
    }
}

bool RunPanelCommand(int id) {
    if (RunJump(id)) return true;
    switch (id) {
        case kSpeedMin:
            sceneState.tourSpeed = kSlowSpeed;
            return true;
        case kSpeedUp:
            sceneState.tourSpeed = static_cast<float>(sceneState.tourSpeed + kSpeedStep);
            return true;
        case kCaption:
            sceneState.captionMode = OtherScheme(sceneState.captionMode);
            return true;
        case kColours:
            sceneState.colorScheme = OtherScheme(sceneState.colorScheme);
            return true;
        default:
            return false;
    }
}
