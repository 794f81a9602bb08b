// The splash (scene 23) and the auto-start lead-in (scene 14).
#pragma once

void DrawSplashScene();
void DrawAutoStartScene();
