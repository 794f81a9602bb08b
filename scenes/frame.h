// The view: projection on every size change, the set-up of a new render window, and the frame.
#pragma once

// Viewport and perspective projection for a client area of width x height pixels.
void ReshapeScene(int width, int height);

// Prepares a fresh show in the current GL context; 1 on success, 0 on failure.
int SetupScene();

// Draws one frame into the back buffer and moves the show on; always 1.
int RenderFrame();
