// The frame skeleton. The view is cleared and the tour moves on every frame.
#include "scene/frame.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "image/texture_set.h"
#include "scene/scene_state.h"

namespace {
// The viewport reaches this many pixels past the client area's right and top edges, so the
// centre of the view sits half of it right of and above the centre of the window.
constexpr int kViewportOverhang = 100;
}  // namespace

void ReshapeScene(int width, int height) {
    if (height == 0) height = 1;
    glViewport(0, 0, width + kViewportOverhang, height + kViewportOverhang);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, static_cast<GLdouble>(width) / static_cast<GLdouble>(height), 0.1, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

int SetupScene() {
    ResetSceneState();
    if (!LoadTextureSet()) return 0;
    return 1;
}

int RenderFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    AdvanceScene();
    return 1;
}
