// One independent test per scene number, device scenes first.
#include "scene/scene_state.h"
#include "scenes/device_scene.h"
#include "scenes/scenes.h"

void DrawScene(int sceneMode) {
    for (const DeviceScene& scene : DeviceScenes()) {
        if (sceneMode == scene.number) DrawDeviceScene(scene);
    }
    if (sceneMode == kAutoStartScene) DrawAutoStartScene();
    if (sceneMode == kSplashScene) DrawSplashScene();
}
