// The splash (a large picture with two spinning double-faced plates) and the auto-start
// lead-in. Both call a display list that is never built, so those calls draw nothing: the
// slot is kept with its transform and bind.
#include "scenes/splash.h"

#include "image/texture_set.h"
#include "scene/scene_state.h"
#include "scene/shapes.h"
#include "scenes/device_scene.h"

namespace {

constexpr GLuint kSplashModelList = 66;
constexpr GLuint kAutoStartModelList = 67;

// clang-format off
const Quad kSplashPicture    {{{-50.5f, -40.5f, -0.5f}, {-50.5f, 40.5f, -0.5f}, {50.5f, 40.5f, -0.5f}, {50.5f, -40.5f, -0.5f}}};
const Quad kUpperPlateFront  {{{-3.5f, -3.6f, 0},       {-3.5f, 3.6f, 0},       {3.5f, 3.6f, 0},       {3.5f, -3.6f, 0}}};
const Quad kUpperPlateBack   {{{-3.5f, -3.6f, -0.1f},   {-3.5f, 3.6f, -0.1f},   {3.5f, 3.6f, -0.1f},   {3.5f, -3.6f, -0.1f}}};
const Quad kLowerPlateFront  {{{-3.5f, -1.5f, 0},       {-3.5f, 1.5f, 0},       {3.5f, 1.5f, 0},       {3.5f, -1.5f, 0}}};
const Quad kLowerPlateBack   {{{-3.5f, -1.5f, -0.1f},   {-3.5f, 1.5f, -0.1f},   {3.5f, 1.5f, -0.1f},   {3.5f, -1.5f, -0.1f}}};
// clang-format on

GLfloat SweepTimes(double factor) { return static_cast<GLfloat>(sceneState.sweepAngle * factor); }

}  // namespace

void DrawSplashScene() {
    sceneState.lightingMode = 1;

    glPushMatrix();
    glTranslatef(0, 0, -90);
    glBindTexture(GL_TEXTURE_2D, tex13);
    TexturedQuad(kSplashPicture);
    glPopMatrix();

    glPushMatrix();
    glTranslatef(0, 2, -20);
    glRotatef(SweepTimes(1.54), 0, 1, 0);
    glRotatef(180, 0, 1, 0);
    DrawDoubleFacedPlate(Plain(&tex10), kUpperPlateFront, kUpperPlateBack, Axis::Y);
    glPopMatrix();

    glPushMatrix();
    glTranslatef(0, -4, -19);
    glRotatef(SweepTimes(1.64), 0, 1, 0);
    DrawDoubleFacedPlate(Plain(&tex8), kLowerPlateFront, kLowerPlateBack, Axis::Y);
    glPopMatrix();

    glPushMatrix();
    glBindTexture(GL_TEXTURE_2D, tex2);
    glTranslatef(3.1f, -2.5f, -9);
    glRotatef(-90, 1, 0, 0);
    glRotatef(SweepTimes(1.47), 0, 0, 1);
    glCallList(kSplashModelList);
    glPopMatrix();
}

void DrawAutoStartScene() {
    sceneState.lightingMode = 1;
    glPushMatrix();
    glBindTexture(GL_TEXTURE_2D, tex1);
    glTranslatef(0, -0.3f, static_cast<GLfloat>(sceneState.depthSwing / 6.0));
    glRotatef(-90, 1, 0, 0);
    glRotatef(SweepTimes(1.47), 0, 0, 1);
    glCallList(kAutoStartModelList);
    glPopMatrix();
}
