// The thirteen devices. Each scene reads in the order it plays: the opening transform and floor of
// the assembly, the moving pieces in drawing order, then the finished device's transform and
// quads. Depths written Zk(k, d) follow the depth oscillator: -depthSwing / 1.9 - k + d.
#include "scenes/device_tables.h"

#include <iterator>

#include "image/texture_set.h"

namespace {

using enum Axis;

constexpr Bind T1_1a = Pair(&tex1, &tex1a);
constexpr Bind T1_14 = Pair(&tex1, &tex14);
constexpr Bind T2_4a = Pair(&tex2, &tex4a);
constexpr Bind T2_15 = Pair(&tex2, &tex15);
constexpr Bind T4_4a = Pair(&tex4, &tex4a);
constexpr Bind T4_15 = Pair(&tex4, &tex15);
constexpr Bind T17_18 = Pair(&tex17, &tex18);
constexpr Bind T6 = Plain(&tex6);
constexpr Bind Same = NoBind();

constexpr const Quad* kFlap[] = {&PanelFlap};
constexpr const Quad* kFlapPair[] = {&PanelFlap, &PanelFlapRight};
constexpr const Quad* kFlatLeft[] = {&PanelFlatLeft};
constexpr const Quad* kFlatRight[] = {&PanelFlatRight};

// Shapes that only one or two devices use.
// clang-format off
const Quad kUnderside1        {{{-6.25f, -3.4f, -0.5f}, {-6.25f, -5.4f, 7.25f}, {6.25f, -5.4f, 7.25f}, {6.25f, -3.4f, -0.5f}}};
const Quad kLip               {{{-6.25f, -9.3f, 9.5f},  {-6.25f, -5.3f, 7.25f}, {6.25f, -5.3f, 7.25f}, {6.25f, -9.3f, 9.5f}}};
const Quad kLipBack           {{{-6.25f, -9.35f, 9.5f}, {-6.25f, -5.35f, 7.25f}, {6.25f, -5.35f, 7.25f}, {6.25f, -9.35f, 9.5f}}};
const Quad kHalfFaceRight     {{{11.75f, -3.3f, -0.5f}, {11.75f, 3.3f, -3.25f}, {0.25f, 3.3f, -3.25f}, {0.25f, -3.3f, -0.5f}}};
const Quad kHalfFaceRightBack {{{11.75f, -3.3f, -0.6f}, {11.75f, 3.3f, -3.35f}, {0.25f, 3.3f, -3.35f}, {0.25f, -3.3f, -0.6f}}};
// clang-format on

// Scene 1: floor, lower and upper flap, then the finished device turning about Y.
const Op kOpening54[] = {Move(0, -3, Zk(54))};
const Piece kScene1Pieces[] = {
    // shown  hinge                      tilt          turning        axis spin  offset rest  rest bind quads
    {2000, Move(0, -6.5f, Zk(54)), false, {}, 2000, 2100, X, -1.8, 136, -340, T4_4a, kFlap},
    {2100, Move(0, 0.7f, Zk(54)), false, {}, 2100, 2200, X, -1.8, 246, -290, T4_4a, kFlap},
};
const Op kScene1Finished[] = {Move(0, -3, Zk(54)), Spin(1, Y)};
const QuadStep kScene1Quads[] = {
    {T4_4a, &PanelFront}, {T2_4a, &PanelTop}, {T1_1a, &PanelFloor},
    {T6, &PanelSlope},    {T6, &PanelTopBack}, {T6, &kUnderside1},
};

// Scene 2: three panels stood on end, turning for the whole window.
const Op kScene2Finished[] = {Move(-4, -2, Zk(64)), Spin(1, Y), Turn(90, Z)};
// clang-format off
const Quad kScene2Shapes[] = {
    {{{-5.25f, -3.3f, -0.5f}, {-5.25f, 3.3f, -0.5f}, {5.25f, 3.3f, -0.5f},    {5.25f, -3.3f, -0.5f}}},
    {{{12.75f, -3.3f, 4.25f}, {12.75f, 3.3f, 4.25f}, {5.25f, 3.3f, -0.5f},    {5.25f, -3.3f, -0.5f}}},
    {{{-5.25f, -3.3f, -0.5f}, {-5.25f, 3.3f, -0.5f}, {-12.75f, 3.3f, 4.25f},  {-12.75f, -3.3f, 4.25f}}},
    {{{-5.25f, -3.3f, -0.6f}, {-5.25f, 3.3f, -0.6f}, {5.25f, 3.3f, -0.6f},    {5.25f, -3.3f, -0.6f}}},
    {{{12.75f, -3.3f, 4.2f},  {12.75f, 3.3f, 4.2f},  {5.25f, 3.3f, -0.6f},    {5.25f, -3.3f, -0.6f}}},
    {{{-5.25f, -3.3f, -0.6f}, {-5.25f, 3.3f, -0.6f}, {-12.75f, 3.3f, 4.2f},   {-12.75f, -3.3f, 4.2f}}},
};
// clang-format on
const QuadStep kScene2Quads[] = {
    {T4_15, &kScene2Shapes[0]}, {T4_15, &kScene2Shapes[1]}, {T1_14, &kScene2Shapes[2]},
    {T6, &kScene2Shapes[3]},    {T6, &kScene2Shapes[4]},    {T6, &kScene2Shapes[5]},
};

// Scene 3: scene 1 laid on its side; the finished device turns about the model's X axis.
const Op kScene3Turn[] = {Move(-2, -1, Fixed(0)), Turn(90, Z)};
const Piece kScene3Pieces[] = {
    {6000, Move(0, -6.5f, Zk(54)), false, {}, 6000, 6100, X, -1.8, 136, -340, T4_15, kFlap},
    {6100, Move(0, 0.7f, Zk(54)), false, {}, 6100, 6200, X, -1.8, 246, -290, T4_15, kFlap},
};
const Op kScene3Finished[] = {Move(0, -3, Zk(54)), Spin(1, X)};
const QuadStep kScene3Quads[] = {
    {T4_15, &PanelFront}, {T2_15, &PanelTop},    {T1_14, &PanelFloor},
    {T6, &PanelSlope},    {T6, &PanelTopBack},   {T6, &kUnderside1},
};

// Scene 4: floor, two flaps, then two wings beside the upper flap folding towards the viewer.
const Quad kScene4WingRight{{{0, 0.5f, 0}, {0, 7.2f, 0}, {12, 7.2f, 0}, {12, 0.5f, 0}}};
const Quad kScene4WingLeft{{{0, 0.5f, 0}, {0, 7.2f, 0}, {-12, 7.2f, 0}, {-12, 0.5f, 0}}};
constexpr const Quad* kScene4WingRightQuads[] = {&kScene4WingRight};
constexpr const Quad* kScene4WingLeftQuads[] = {&kScene4WingLeft};
const Piece kScene4Pieces[] = {
    {8000, Move(0, -6.5f, Zk(54)), false, {}, 8000, 8100, X, -1.8, 136, -340, T4_4a, kFlap},
    {8100, Move(0, 0.7f, Zk(54)), false, {}, 8100, 8200, X, -1.8, 246, -290, T4_4a, kFlap},
    {8200, Move(6, 0.2f, Zk(54, 1.5f)), true, Turn(40, X), 8200, 8400, Y, 2, 10, -20, T4_15, kScene4WingRightQuads},
    {8400, Move(-6, 0.2f, Zk(54, 1.5f)), true, Turn(40, X), 8400, 8600, Y, -2, 140, 20, T4_15, kScene4WingLeftQuads},
};
const Op kFinished54[] = {Move(-4, -3, Zk(54)), Spin(1, Y)};
// clang-format off
const Quad kScene4Shapes[] = {
    {{{17.75f, 8.9f, 2.25f},  {17.75f, 2.8f, -0.75f},  {6.25f, 3.3f, -3.25f},   {6.25f, 9.4f, -0.5f}}},
    {{{-6.25f, 9.4f, -0.5f},  {-6.25f, 3.3f, -3.25f},  {-17.75f, 2.8f, -1.25f}, {-17.75f, 8.9f, 1.5f}}},
    {{{-6.25f, -3.3f, -0.6f}, {-6.25f, 3.3f, -3.3f},   {6.25f, 3.3f, -3.3f},    {6.25f, -3.3f, -0.6f}}},
    {{{-6.25f, 9.4f, -0.6f},  {-6.25f, 3.3f, -3.3f},   {6.25f, 3.3f, -3.3f},    {6.25f, 9.4f, -0.6f}}},
    {{{17.75f, 8.8f, 2.15f},  {17.75f, 2.65f, -0.85f}, {6.25f, 3.25f, -3.3f},   {6.25f, 9.4f, -0.6f}}},
    {{{-6.25f, 9.4f, -0.6f},  {-6.25f, 3.3f, -3.3f},   {-17.75f, 2.8f, -1.3f},  {-17.75f, 8.9f, 1.4f}}},
};
// clang-format on
const QuadStep kScene4Quads[] = {
    {T4_15, &PanelFront},       {T2_4a, &PanelTop},         {T2_4a, &kScene4Shapes[0]}, {T4_15, &kScene4Shapes[1]},
    {T1_1a, &PanelFloor},       {T6, &kScene4Shapes[2]},    {T6, &kScene4Shapes[3]},    {T6, &kScene4Shapes[4]},
    {T6, &kScene4Shapes[5]},    {T6, &PanelFloorBack},
};

// Scene 5: floor, lower flap, then two flat side plates that widen the floor.
const Piece kScene5Pieces[] = {
    {11000, Move(0, -6.5f, Zk(54)), false, {}, 11000, 11100, X, -1.8, 136, -340, T4_15, kFlap},
    {11200, Move(-6, -6.5f, Zk(54)), true, Turn(14, X), 11200, 11400, Z, 1.8, -340, -20, T4_15, kFlatLeft},
    {11400, Move(6, -6.5f, Zk(54)), true, Turn(14, X), 11400, 11500, Z, -2.6, 550, 20, T4_15, kFlatRight},
};
const QuadStep kScene5Quads[] = {
    {T4_15, &PanelFront}, {T1_14, &PanelFloor},     {T4_15, &PanelWingRight},     {T4_15, &PanelWingLeft},
    {T6, &PanelSlope},    {T6, &PanelFloorBack},    {T6, &PanelWingRightBack},    {T6, &PanelWingLeftBack},
};

// Scene 6: two halves side by side; one floor half turns over like the page of a book.
const Quad kScene6FixedHalf{{{-0.25f, -3.3f, -0.5f}, {-0.25f, -5.3f, 7.25f}, {12.25f, -5.3f, 7.25f}, {12.25f, -3.3f, -0.5f}}};
const Quad kScene6TurningHalf{{{0, 0, 0}, {0, 0, 7}, {12.5f, 0, 7}, {12.5f, 0, 0}}};
constexpr const Quad* kScene6TurningHalfQuads[] = {&kScene6TurningHalf};
const Piece kScene6Pieces[] = {
    {14000, Move(-0.2f, -6.5f, Zk(54)), true, Turn(17, X), 14000, 14100, Z, 3.4, 0, 180, T1_14, kScene6TurningHalfQuads},
    {14100, Move(-6, -6.5f, Zk(54)), false, {}, 14100, 14200, X, -2.2, 216, -340, T4_15, kFlapPair},
};
const Op kFinishedHalves[] = {Move(-1, -2, Zk(54)), Spin(1, Y)};
// clang-format off
const Quad kScene6Shapes[] = {
    {{{0.25f, -3.3f, -0.5f},    {0.25f, -6.7f, 4.75f},    {11.75f, -6.7f, 4.75f},  {11.75f, -3.3f, -0.5f}}},
    {{{-12.25f, -3.3f, -0.5f},  {-12.25f, -6.7f, 4.75f},  {0.25f, -6.7f, 4.75f},   {0.25f, -3.3f, -0.5f}}},
    {{{0.25f, -3.35f, -0.5f},   {0.25f, -6.75f, 4.75f},   {11.75f, -6.75f, 4.75f}, {11.75f, -3.35f, -0.5f}}},
    {{{-12.25f, -3.35f, -0.5f}, {-12.25f, -6.75f, 4.75f}, {0.25f, -6.75f, 4.75f},  {0.25f, -3.35f, -0.5f}}},
};
// clang-format on
const QuadStep kScene6Quads[] = {
    {T4_15, &PanelFrontLeft}, {T4_15, &kHalfFaceRight},    {T1_14, &kScene6Shapes[0]}, {Same, &kScene6Shapes[1]},
    {T6, &PanelSlopeLeft},    {T6, &kHalfFaceRightBack},   {T6, &kScene6Shapes[2]},    {Same, &kScene6Shapes[3]},
};

// Scene 7: floor, two flaps, two flat side plates and a front lip.
const Quad kScene7FrontLip{{{0.25f, 0, -0.5f}, {0.25f, -4, 1.45f}, {11.25f, -4, 1.45f}, {11.25f, 0, -0.5f}}};
constexpr const Quad* kScene7FrontLipQuads[] = {&kScene7FrontLip};
const Piece kScene7Pieces[] = {
    {17000, Move(0, -6.5f, Zk(54)), false, {}, 17000, 17100, X, -1.8, 136, -340, T4_15, kFlap},
    {17100, Move(0, 0.7f, Zk(54)), false, {}, 17100, 17200, X, -1.8, 246, -290, T4_15, kFlap},
    {17200, Move(-6, -6.5f, Zk(54)), true, Turn(14, X), 17200, 17400, Z, 1.8, -340, -20, T4_15, kFlatLeft},
    {17400, Move(6, -6.5f, Zk(54)), true, Turn(14, X), 17400, 17500, Z, -2.6, 550, 20, T4_15, kFlatRight},
    {17500, Move(-6, -7, Zk(54, 12)), false, {}, 17500, 17600, X, 4.1, 40, 0, T1_14, kScene7FrontLipQuads},
};
const QuadStep kScene7Quads[] = {
    {T4_15, &PanelFront}, {T2_15, &PanelTop},     {T1_14, &PanelFloor},      {T1_14, &kLip},
    {T2_15, &PanelWingRight}, {T2_15, &PanelWingLeft}, {T6, &PanelSlope},    {T6, &PanelTopBack},
    {T6, &PanelFloorBack},    {T6, &kLipBack},     {T6, &PanelWingRightBack}, {T6, &PanelWingLeftBack},
};

// Scene 8: the finished device of scene 7 with lips on the wings, turning for the whole window.
// clang-format off
const Quad kScene8Shapes[] = {
    {{{17.5f, -5.3f, 9.5f},   {17.5f, -3.3f, 7.25f},   {6.25f, -5.3f, 7.25f},    {6.25f, -7.3f, 9.5f}}},
    {{{-6.25f, -7.3f, 9.5f},  {-6.25f, -5.3f, 7.25f},  {-16.75f, -3.3f, 7.25f},  {-16.75f, -5.3f, 9.5f}}},
    {{{17.5f, -5.35f, 9.5f},  {17.5f, -3.35f, 7.25f},  {6.25f, -5.35f, 7.25f},   {6.25f, -7.35f, 9.5f}}},
    {{{-6.25f, -7.35f, 9.5f}, {-6.25f, -5.35f, 7.25f}, {-16.75f, -3.35f, 7.25f}, {-16.75f, -5.35f, 9.5f}}},
};
// clang-format on
const QuadStep kScene8Quads[] = {
    {T4_15, &PanelFront},        {T2_15, &PanelTop},         {T1_1a, &PanelFloor},       {T1_1a, &kLip},
    {T2_15, &PanelWingRight},    {T2_15, &PanelWingLeft},    {T6, &PanelSlope},          {T6, &PanelTopBack},
    {T6, &PanelFloorBack},       {T6, &kLipBack},            {T6, &PanelWingRightBack},  {T6, &PanelWingLeftBack},
    {T1_1a, &kScene8Shapes[0]},  {T1_1a, &kScene8Shapes[1]}, {T6, &kScene8Shapes[2]},    {T6, &kScene8Shapes[3]},
};

// Scene 9: a wide three-panel device with strips below, turning for the whole window.
const Op kScene9Finished[] = {Move(-4, 0, Zk(64)), Spin(1, Y)};
// clang-format off
const Quad kScene9Shapes[] = {
    {{{-10.5f, -6.6f, -0.5f}, {-10.5f, 6.6f, -0.5f},  {10.5f, 6.6f, -0.5f},   {10.5f, -6.6f, -0.5f}}},
    {{{25.5f, -6.6f, 8.5f},   {25.5f, 6.6f, 8.5f},    {10.5f, 6.6f, -0.5f},   {10.5f, -6.6f, -0.5f}}},
    {{{-10.5f, -6.6f, -0.5f}, {-10.5f, 6.6f, -0.5f},  {-25.5f, 6.6f, 8.5f},   {-25.5f, -6.6f, 8.5f}}},
    {{{-10.5f, -6.6f, -0.5f}, {-10.5f, -13.6f, 0.5f}, {10.5f, -13.6f, 0.5f},  {10.5f, -6.6f, -0.5f}}},
    {{{25.5f, -6.6f, 8.5f},   {25.5f, -8.4f, 10.5f},  {10.5f, -8.4f, 1.5f},   {10.5f, -6.6f, -0.5f}}},
    {{{-10.5f, -6.6f, -0.5f}, {-10.5f, -8.4f, 1.5f},  {-25.5f, -8.4f, 10.5f}, {-25.5f, -6.6f, 8.5f}}},
    {{{-10.5f, -6.6f, -0.6f}, {-10.5f, 6.6f, -0.6f},  {10.5f, 6.6f, -0.6f},   {10.5f, -6.6f, -0.6f}}},
    {{{25.5f, -6.6f, 8.3f},   {25.5f, 6.6f, 8.3f},    {10.5f, 6.6f, -0.6f},   {10.5f, -6.6f, -0.6f}}},
    {{{-10.5f, -6.6f, -0.6f}, {-10.5f, 6.6f, -0.6f},  {-25.5f, 6.6f, 8.3f},   {-25.5f, -6.6f, 8.3f}}},
    {{{-10.5f, -6.6f, -0.7f}, {-10.5f, -13.6f, 0.3f}, {10.5f, -13.6f, 0.3f},  {10.5f, -6.6f, -0.7f}}},
    {{{25.5f, -6.6f, 8.3f},   {25.5f, -8.4f, 10.3f},  {10.5f, -8.4f, 1.4f},   {10.5f, -6.6f, -0.6f}}},
    {{{-10.5f, -6.6f, -0.6f}, {-10.5f, -8.4f, 1.4f},  {-25.5f, -8.4f, 10.3f}, {-25.5f, -6.6f, 8.3f}}},
};
// clang-format on
const QuadStep kScene9Quads[] = {
    {T4_15, &kScene9Shapes[0]}, {T2_15, &kScene9Shapes[1]}, {T4_15, &kScene9Shapes[2]}, {T1_14, &kScene9Shapes[3]},
    {T1_14, &kScene9Shapes[4]}, {T1_14, &kScene9Shapes[5]}, {T6, &kScene9Shapes[6]},    {T6, &kScene9Shapes[7]},
    {T6, &kScene9Shapes[8]},    {T6, &kScene9Shapes[9]},    {T6, &kScene9Shapes[10]},   {T6, &kScene9Shapes[11]},
};

// Scene 10: floor, flap and two flat plates in device 10's own pictures.
const Piece kScene10Pieces[] = {
    {26000, Move(0, -6.5f, Zk(54)), false, {}, 26000, 26100, X, -1.8, 136, -340, T17_18, kFlap},
    {26200, Move(-6, -6.5f, Zk(54)), true, Turn(14, X), 26200, 26400, Z, 1.8, -340, -20, T17_18, kFlatLeft},
    {26400, Move(6, -6.5f, Zk(54)), true, Turn(14, X), 26400, 26500, Z, -2.6, 550, 20, T17_18, kFlatRight},
};
const QuadStep kScene10Quads[] = {
    {T17_18, &PanelFront}, {T1_14, &PanelFloor},     {T17_18, &PanelWingRight},    {T17_18, &PanelWingLeft},
    {T6, &PanelSlope},     {T6, &PanelFloorBack},    {T6, &PanelWingRightBack},    {T6, &PanelWingLeftBack},
};

// Scene 11: two plates in a tilted frame, then a winged device shown upside down.
const Op kScene11Opening[] = {Move(0, 1, Zk(54, -4)), Turn(40, X)};
const Piece kScene11Pieces[] = {
    {29000, Move(-5.5f, -1.5f, Zk(54, -4.5f)), true, Turn(54, X), 29000, 29100, Z, 3.4, -200, -20, T4_15, kFlatLeft},
    {29100, Move(5.5f, -1.5f, Zk(54, -4.5f)), true, Turn(54, X), 29100, 29200, Z, -3.4, 250, -40, T4_15, kFlatRight},
};
const Op kScene11Finished[] = {Move(-1, -2, Zk(54)), Spin(1, Y), Turn(180, Z), Turn(40, X)};
// clang-format off
const Quad kScene11Shapes[] = {
    {{{17.75f, -1.5f, 4.5f},  {17.75f, 5.1f, 1.75f},  {6.25f, 3.3f, -3.25f},   {6.25f, -3.3f, -0.5f}}},
    {{{-6.25f, -3.3f, -0.5f}, {-6.25f, 3.3f, -3.25f}, {-17.75f, 1.5f, -8.25f}, {-17.75f, -5.1f, -5.5f}}},
    {{{17.75f, -1.5f, 4.4f},  {17.75f, 5.1f, 1.65f},  {6.25f, 3.3f, -3.35f},   {6.25f, -3.3f, -0.6f}}},
    {{{-6.25f, -3.3f, -0.6f}, {-6.25f, 3.3f, -3.35f}, {-17.75f, 1.5f, -8.35f}, {-17.75f, -5.1f, -5.6f}}},
};
// clang-format on
const QuadStep kScene11Quads[] = {
    {T1_14, &PanelFront}, {T4_15, &kScene11Shapes[0]}, {T4_15, &kScene11Shapes[1]},
    {T6, &PanelSlope},    {T6, &kScene11Shapes[2]},    {T6, &kScene11Shapes[3]},
};

// Scene 12: a double flap, then a split-face device.
const Piece kScene12Pieces[] = {
    {32000, Move(-6, -6.5f, Zk(54)), false, {}, 32000, 32100, X, -1.8, 136, -340, T4_15, kFlapPair},
};
const Quad kScene12Floor{{{-6.25f, -3.3f, -0.5f}, {-6.25f, -6.7f, 4.75f}, {6.25f, -6.7f, 4.75f}, {6.25f, -3.3f, -0.5f}}};
const Quad kScene12FloorBack{{{-6.25f, -3.35f, -0.5f}, {-6.25f, -6.75f, 4.75f}, {6.25f, -6.75f, 4.75f}, {6.25f, -3.35f, -0.5f}}};
const QuadStep kScene12Quads[] = {
    {T4_15, &PanelFrontLeft}, {T4_15, &kHalfFaceRight},     {T1_14, &kScene12Floor},
    {T6, &PanelSlopeLeft},    {T6, &kHalfFaceRightBack},    {T6, &kScene12FloorBack},
};

// Scene 13: a double flap and two side panels, then a wide winged device, nearer than its assembly.
const Op kScene13Opening[] = {Move(0, -3, Zk(54, -9))};
const Quad kScene13SidePanel{{{0, 0, 0}, {0, 7.4f, 0}, {-12, 7.4f, 0}, {-12, 0, 0}}};
constexpr const Quad* kScene13SidePanelQuads[] = {&kScene13SidePanel};
const Piece kScene13Pieces[] = {
    {35000, Move(-6, -6.5f, Zk(54, -9)), false, {}, 35000, 35100, X, -1.8, 136, -340, T4_15, kFlapPair},
    {35100, Move(-12, -6.5f, Zk(54, -9)), false, {}, 35100, 35200, Y, -2.6, -110, -340, T4_15, kScene13SidePanelQuads},
    {35200, Move(12, -6.5f, Zk(54, -9)), false, {}, 35200, 35300, Y, 2.9, 140, -220, T4_15, kScene13SidePanelQuads},
};
const Op kScene13Finished[] = {Move(-1, -3, Zk(54)), Spin(1, Y)};
// clang-format off
const Quad kScene13Shapes[] = {
    {{{-0.25f, -3.3f, -0.5f},  {-0.25f, 3.3f, -3.25f},  {12.25f, 3.3f, -3.25f},  {12.25f, -3.3f, -0.5f}}},
    {{{23.75f, -1.8f, 3.5f},   {23.75f, 4.8f, 0.75f},   {12.25f, 3.3f, -3.25f},  {12.25f, -3.3f, -0.5f}}},
    {{{-12.25f, -3.3f, -0.5f}, {-12.25f, 3.3f, -3.25f}, {-23.75f, 4.8f, 0.75f},  {-23.75f, -1.8f, 3.5f}}},
    {{{-0.25f, -3.3f, -0.6f},  {-0.25f, 3.3f, -3.35f},  {12.25f, 3.3f, -3.35f},  {12.25f, -3.3f, -0.6f}}},
    {{{23.75f, -1.8f, 3.4f},   {23.75f, 4.8f, 0.65f},   {12.25f, 3.3f, -3.35f},  {12.25f, -3.3f, -0.6f}}},
    {{{-12.25f, -3.3f, -0.6f}, {-12.25f, 3.3f, -3.35f}, {-23.75f, 4.8f, 0.65f},  {-23.75f, -1.8f, 3.4f}}},
};
// clang-format on
const QuadStep kScene13Quads[] = {
    {T4_15, &kScene13Shapes[0]}, {T4_15, &PanelFrontLeft},   {T4_15, &kScene13Shapes[1]}, {T4_15, &kScene13Shapes[2]},
    {T1_14, &PanelFloor},        {T6, &kScene13Shapes[3]},   {T6, &PanelSlopeLeft},       {T6, &kScene13Shapes[4]},
    {T6, &kScene13Shapes[5]},    {T6, &PanelFloorBack},
};

const DeviceScene kDeviceScenes[] = {
    // n  assembles start  scene turn   opening          end    floor bind  floor      pieces          finished          quads
    {1, true, 2000, {}, kOpening54, 2600, T1_1a, &PanelFloor, kScene1Pieces, kScene1Finished, kScene1Quads},
    {2, false, 4000, {}, {}, 0, Same, nullptr, {}, kScene2Finished, kScene2Quads},
    {3, true, 6000, kScene3Turn, kOpening54, 6600, T1_14, &PanelFloor, kScene3Pieces, kScene3Finished, kScene3Quads},
    {4, true, 8000, {}, kOpening54, 9000, T1_1a, &PanelFloor, kScene4Pieces, kFinished54, kScene4Quads},
    {5, true, 11000, {}, kOpening54, 12000, T1_14, &PanelFloor, kScene5Pieces, kFinished54, kScene5Quads},
    {6, true, 14000, {}, kOpening54, 14600, T1_14, &kScene6FixedHalf, kScene6Pieces, kFinishedHalves, kScene6Quads},
    {7, true, 17000, {}, kOpening54, 18000, T1_14, &PanelFloor, kScene7Pieces, kFinished54, kScene7Quads},
    {8, false, 20000, {}, {}, 0, Same, nullptr, {}, kFinished54, kScene8Quads},
    {9, false, 23000, {}, {}, 0, Same, nullptr, {}, kScene9Finished, kScene9Quads},
    {10, true, 26000, {}, kOpening54, 27000, T1_14, &PanelFloor, kScene10Pieces, kFinished54, kScene10Quads},
    {11, true, 29000, {}, kScene11Opening, 29600, T1_1a, &PanelFloor, kScene11Pieces, kScene11Finished, kScene11Quads},
    {12, true, 32000, {}, kOpening54, 32200, T1_14, &PanelFloor, kScene12Pieces, kFinishedHalves, kScene12Quads},
    {13, true, 35000, {}, kScene13Opening, 35600, T1_14, &PanelFloor, kScene13Pieces, kScene13Finished, kScene13Quads},
};
static_assert(std::size(kDeviceScenes) == 13);

}  // namespace

std::span<const DeviceScene> DeviceScenes() { return kDeviceScenes; }
