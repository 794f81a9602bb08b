// The view: projection, the GL state of a new render window with its two lights, and the frame
// skeleton with the layers every scene but the splash shares (caption plate and backdrop) and
// the block of the current scene.
#include "scenes/frame.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "image/texture_set.h"
#include "scene/scene_state.h"
#include "scene/shapes.h"
#include "scenes/device_scene.h"
#include "scenes/device_tables.h"
#include "scenes/splash.h"

namespace {

// The viewport reaches this many pixels past the client area's right and top edges, so the
// centre of the view sits half of it right of and above the centre of the window.
constexpr int kViewportOverhang = 100;

// Both lights are positional and given while the modelview matrix is the identity, so they stay
// fixed relative to the viewer: light 1 above, light 2 behind and slightly raised.
const GLfloat kLightAmbient[] = {0.9f, 0.9f, 0.9f, 1.0f};
const GLfloat kLightDiffuse[] = {1.0f, 1.0f, 1.0f, 1.0f};
const GLfloat kLight1Position[] = {0.0f, 15.0f, 0.0f, 1.0f};
const GLfloat kLight2Position[] = {0.0f, 4.0f, 15.0f, 1.0f};

// clang-format off
const Quad kCaptionFront {{{-2.7f, -0.2f, 0},     {-2.7f, 0.2f, 0},     {2.7f, 0.2f, 0},     {2.7f, -0.2f, 0}}};
const Quad kCaptionBack  {{{-2.7f, -0.2f, -0.1f}, {-2.7f, 0.2f, -0.1f}, {2.7f, 0.2f, -0.1f}, {2.7f, -0.2f, -0.1f}}};
const Quad kBackdrop     {{{-54.5f, -46.6f, -0.5f}, {-54.5f, 36.6f, -0.5f}, {54.5f, 36.6f, -0.5f}, {54.5f, -46.6f, -0.5f}}};
// clang-format on

// A double-faced caption tumbling about the horizontal axis.
void CaptionPlate() {
    glPushMatrix();
    glTranslatef(0, -5.2f, -16);
    glRotatef(static_cast<GLfloat>(sceneState.sweepAngle * 2.14), 1, 0, 0);
    glRotatef(180, 0, 1, 0);
    DrawDoubleFacedPlate(Pair(&tex12, &tex16), kCaptionFront, kCaptionBack, Axis::X);
    glPopMatrix();
}

// The large picture behind every device, drifting with the depth oscillator.
void Backdrop() {
    glPushMatrix();
    glTranslatef(0, 0, static_cast<GLfloat>(-sceneState.depthSwing - 100.0));
    BindSchemeTexture(tex11, tex11a);
    TexturedQuad(kBackdrop);
    glPopMatrix();
}

void DrawCommonLayers() {
    sceneState.lightingMode = 1;
    if (sceneState.captionMode == 1) CaptionPlate();
    Backdrop();
}

// Runs the block of that scene number, one independent test per number, device scenes first;
// numbers without a block draw nothing.
void DrawScene(int sceneMode) {
    for (const DeviceScene& scene : DeviceScenes()) {
        if (sceneMode == scene.number) DrawDeviceScene(scene);
    }
    if (sceneMode == kAutoStartScene) DrawAutoStartScene();
    if (sceneMode == kSplashScene) DrawSplashScene();
}

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
    glEnable(GL_TEXTURE_2D);
    glShadeModel(GL_SMOOTH);
    glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glLightfv(GL_LIGHT1, GL_AMBIENT, kLightAmbient);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, kLightDiffuse);
    glLightfv(GL_LIGHT1, GL_POSITION, kLight1Position);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT1);
    glLightfv(GL_LIGHT2, GL_AMBIENT, kLightAmbient);
    glLightfv(GL_LIGHT2, GL_DIFFUSE, kLightDiffuse);
    glLightfv(GL_LIGHT2, GL_POSITION, kLight2Position);
    glEnable(GL_LIGHT2);
    return 1;
}

int RenderFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    if (sceneState.lightingMode == 1) glEnable(GL_LIGHTING);
    if (sceneState.sceneMode != kSplashScene) DrawCommonLayers();
    DrawScene(sceneState.sceneMode);
    AdvanceScene();
    return 1;
}
