// The scene blocks the frame runs by sceneMode: device scenes 1 to 13, the auto-start lead-in
// (14) and the splash (23).
#pragma once

// Runs the block of that scene number; numbers without a block draw nothing.
void DrawScene(int sceneMode);

void DrawSplashScene();
void DrawAutoStartScene();
