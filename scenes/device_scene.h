// The device scenes as data: the vocabulary of the tables (transforms, pieces and quads) and the
// one routine that walks them, the only place issuing the GL calls of a device scene; and the
// double-faced plate the other scenes share.
#pragma once

#include <GL/gl.h>

#include <span>

#include "scene/shapes.h"

enum class Axis { X, Y, Z };

// A depth: an absolute z, or one that follows the depth oscillator (Zk plus an offset, where Zk
// is -depthSwing / 1.9 - k).
struct Depth {
    bool swings;
    float k;
    float offset;
};
constexpr Depth Fixed(float z) { return {false, 0, z}; }
constexpr Depth Zk(float k, float offset = 0) { return {true, k, offset}; }

// One matrix operation: a translate, a fixed rotation, or a rotation by spinAngle x factor.
// Angles and spin factors are kept in double: a product with spinAngle is formed in double and
// handed to GL as a float.
struct Op {
    enum Kind { Translate, Rotate, Spin } kind;
    double amount;  // the angle, or the spin factor
    Axis axis;
    float x;
    float y;
    Depth z;
};
constexpr Op Move(float x, float y, Depth z) { return {Op::Translate, 0, Axis::X, x, y, z}; }
constexpr Op Turn(double angle, Axis axis) { return {Op::Rotate, angle, axis, 0, 0, Fixed(0)}; }
constexpr Op Spin(double factor, Axis axis) { return {Op::Spin, factor, axis, 0, 0, Fixed(0)}; }

// A texture bind: none (the quad shows what was bound last), a plain bind, or a scheme pair.
struct Bind {
    enum Kind { None, Plain, Pair } kind;
    GLuint* a;
    GLuint* b;
};
constexpr Bind NoBind() { return {Bind::None, nullptr, nullptr}; }
constexpr Bind Plain(GLuint* texture) { return {Bind::Plain, texture, nullptr}; }
constexpr Bind Pair(GLuint* a, GLuint* b) { return {Bind::Pair, a, b}; }

struct QuadStep {
    Bind bind;
    const Quad* quad;
};

// A moving piece of an assembly. It is drawn while the clock is above `shownAfter` (every frame
// of the assembly when that is the window start). Inside its turning interval it turns by
// spinAngle x spinFactor and then by `offset` about `axis` and shows tex6; above the interval
// it rests at `rest` with `restBind`. On an exact interval bound it gets neither branch.
struct Piece {
    float shownAfter;
    Op hinge;          // translate to the hinge point
    bool tilted;       // a fixed tilt after the hinge translate
    Op tilt;
    float turnFrom;
    float turnTo;
    Axis axis;
    double spinFactor;
    double offset;
    double rest;
    Bind restBind;
    std::span<const Quad* const> quads;  // the later ones have no bind of their own
};

struct DeviceScene {
    int number;
    bool assembles;            // false: the finished device turns for the whole window
    float windowStart;         // spinAngle restarts at 10 while the clock is below this plus 3
    std::span<const Op> sceneTurn;  // scene-wide transform around everything, may be empty
    std::span<const Op> opening;    // transform of the assembly and its floor
    float assemblyEnd;
    Bind floorBind;
    const Quad* floor;
    std::span<const Piece> pieces;
    std::span<const Op> finished;   // transform of the finished device
    std::span<const QuadStep> finishedQuads;
};

// Draws one device scene for the current state (including its writes to the state).
void DrawDeviceScene(const DeviceScene& scene);

// A plate seen from both sides (the caption, the splash's two plates): binds and draws the
// front, turns half a turn about `flip`, binds again and draws the back.
void DrawDoubleFacedPlate(const Bind& bind, const Quad& front, const Quad& back, Axis flip);
