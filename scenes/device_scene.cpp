// The walker of the device tables, the only code that issues a device scene's GL calls, and the
// double-faced plate.
#include "scenes/device_scene.h"

#include "image/texture_set.h"
#include "scene/scene_state.h"

namespace {

constexpr double kDepthDivisor = 1.9;
constexpr float kSpinRestart = 10;
constexpr float kSpinRestartWindow = 3;  // clock units after the window start

float DepthOf(const Depth& depth) {
    if (!depth.swings) return depth.offset;
    return static_cast<float>(-static_cast<double>(sceneState.depthSwing) / kDepthDivisor - depth.k + depth.offset);
}

void RotateAbout(double angle, Axis axis) {
    const auto a = static_cast<GLfloat>(angle);
    switch (axis) {
        case Axis::X: glRotatef(a, 1, 0, 0); break;
        case Axis::Y: glRotatef(a, 0, 1, 0); break;
        case Axis::Z: glRotatef(a, 0, 0, 1); break;
    }
}

void Apply(const Op& op) {
    switch (op.kind) {
        case Op::Translate: glTranslatef(op.x, op.y, DepthOf(op.z)); break;
        case Op::Rotate: RotateAbout(op.amount, op.axis); break;
        case Op::Spin: RotateAbout(sceneState.spinAngle * op.amount, op.axis); break;
    }
}

void Apply(std::span<const Op> ops) {
    for (const Op& op : ops) Apply(op);
}

void Apply(const Bind& bind) {
    switch (bind.kind) {
        case Bind::None: break;
        case Bind::Plain: glBindTexture(GL_TEXTURE_2D, *bind.a); break;
        case Bind::Pair: BindSchemeTexture(*bind.a, *bind.b); break;
    }
}

void DrawPiece(const Piece& piece, float clock) {
    glPushMatrix();
    Apply(piece.hinge);
    if (piece.tilted) Apply(piece.tilt);
    if (piece.turnFrom < clock && clock < piece.turnTo) {
        RotateAbout(sceneState.spinAngle * piece.spinFactor, piece.axis);
        RotateAbout(piece.offset, piece.axis);
        BindSchemeTexture(tex6, tex6);
    } else if (clock > piece.turnTo) {
        RotateAbout(piece.rest, piece.axis);
        Apply(piece.restBind);
    }
    for (const Quad* quad : piece.quads) TexturedQuad(*quad);
    glPopMatrix();
}

void DrawFinished(const DeviceScene& scene) {
    glPushMatrix();
    Apply(scene.finished);
    for (const QuadStep& step : scene.finishedQuads) {
        Apply(step.bind);
        TexturedQuad(*step.quad);
    }
    glPopMatrix();
}

void DrawAssembly(const DeviceScene& scene, float clock) {
    glPushMatrix();
    Apply(scene.opening);
    if (clock < scene.windowStart + kSpinRestartWindow) sceneState.spinAngle = kSpinRestart;
    if (scene.windowStart < clock && clock < scene.assemblyEnd) {
        Apply(scene.floorBind);
        TexturedQuad(*scene.floor);
        glPopMatrix();
        for (const Piece& piece : scene.pieces) {
            if (clock > piece.shownAfter) DrawPiece(piece, clock);
        }
    } else {
        glPopMatrix();
    }
    if (clock > scene.assemblyEnd) DrawFinished(scene);
}

}  // namespace

void DrawDeviceScene(const DeviceScene& scene) {
    sceneState.lightingMode = 1;
    const float clock = sceneState.tourClock;
    if (!scene.sceneTurn.empty()) {
        glPushMatrix();
        Apply(scene.sceneTurn);
    }
    if (scene.assembles) DrawAssembly(scene, clock);
    else DrawFinished(scene);
    if (!scene.sceneTurn.empty()) glPopMatrix();
}

void DrawDoubleFacedPlate(const Bind& bind, const Quad& front, const Quad& back, Axis flip) {
    Apply(bind);
    TexturedQuad(front);
    RotateAbout(180, flip);
    Apply(bind);
    TexturedQuad(back);
}
