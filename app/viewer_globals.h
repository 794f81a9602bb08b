// The program's globals as they stand when the process starts, for tests and benchmarks that
// run the program several times in one process.
#pragma once

#include <cstring>

#include "app/viewer.h"
#include "image/texture_set.h"
#include "scene/scene_state.h"

inline void ResetViewerGlobals() {
    sceneState = SceneState{};
    windowActive = true;
    fullscreen = true;
    std::memset(keyDown, 0, sizeof keyDown);
    instanceHandle = nullptr;
    windowHandle = nullptr;
    deviceContext = nullptr;
    renderContext = nullptr;
    pixelFormatRequest = PIXELFORMATDESCRIPTOR{};
    SetPictureFolder(nullptr);
    showFloor = ShowFloorOptions{};
}
