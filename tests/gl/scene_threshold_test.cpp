// What each device scene draws at its exact thresholds and inside each phase: which pieces,
// under which matrix, showing which texture under either colour scheme. The expectations are
// worked out by hand: depthSwing -19 makes Z54 -44 and Z64 -54, and the spin
// counter stands at 20 (10 where the scene restarts it).
#include <algorithm>

#include "tests/gl/gl_fixture.h"

namespace gltest {
namespace {

using enum Axis;
using V3 = std::array<float, 3>;

struct Shape {
    V3 v[4];
};
// clang-format off
const Shape kFloor       {{{-6.25f, -3.3f, -0.5f}, {-6.25f, -5.3f, 7.25f}, {6.25f, -5.3f, 7.25f}, {6.25f, -3.3f, -0.5f}}};
const Shape kFlap        {{{-6.25f, 0, 0}, {-6.25f, 6.6f, -3.25f}, {6.25f, 6.6f, -3.25f}, {6.25f, 0, 0}}};
const Shape kFlapRight   {{{5.75f, 0, 0}, {5.75f, 6.6f, -3.25f}, {18.25f, 6.6f, -3.25f}, {18.25f, 0, 0}}};
const Shape kFront       {{{-6.25f, -3.3f, -0.5f}, {-6.25f, 3.3f, -3.25f}, {6.25f, 3.3f, -3.25f}, {6.25f, -3.3f, -0.5f}}};
const Shape kFrontLeft   {{{-12.25f, -3.3f, -0.5f}, {-12.25f, 3.3f, -3.25f}, {0.25f, 3.3f, -3.25f}, {0.25f, -3.3f, -0.5f}}};
const Shape kFlatLeft    {{{-11.25f, 0, -0.5f}, {-11.25f, 0, 7.25f}, {-0.25f, 0, 7.25f}, {-0.25f, 0, -0.5f}}};
const Shape kFlatRight   {{{0.25f, 0, -0.5f}, {0.25f, 0, 7.25f}, {11.25f, 0, 7.25f}, {11.25f, 0, -0.5f}}};
const Shape kCentre2     {{{-5.25f, -3.3f, -0.5f}, {-5.25f, 3.3f, -0.5f}, {5.25f, 3.3f, -0.5f}, {5.25f, -3.3f, -0.5f}}};
const Shape kWingRight4  {{{0, 0.5f, 0}, {0, 7.2f, 0}, {12, 7.2f, 0}, {12, 0.5f, 0}}};
const Shape kWingLeft4   {{{0, 0.5f, 0}, {0, 7.2f, 0}, {-12, 7.2f, 0}, {-12, 0.5f, 0}}};
const Shape kFixedHalf6  {{{-0.25f, -3.3f, -0.5f}, {-0.25f, -5.3f, 7.25f}, {12.25f, -5.3f, 7.25f}, {12.25f, -3.3f, -0.5f}}};
const Shape kTurningHalf6{{{0, 0, 0}, {0, 0, 7}, {12.5f, 0, 7}, {12.5f, 0, 0}}};
const Shape kLip7        {{{0.25f, 0, -0.5f}, {0.25f, -4, 1.45f}, {11.25f, -4, 1.45f}, {11.25f, 0, -0.5f}}};
const Shape kCentre9     {{{-10.5f, -6.6f, -0.5f}, {-10.5f, 6.6f, -0.5f}, {10.5f, 6.6f, -0.5f}, {10.5f, -6.6f, -0.5f}}};
const Shape kSide13      {{{0, 0, 0}, {0, 7.4f, 0}, {-12, 7.4f, 0}, {-12, 0, 0}}};
const Shape kHalfFace13  {{{-0.25f, -3.3f, -0.5f}, {-0.25f, 3.3f, -3.25f}, {12.25f, 3.3f, -3.25f}, {12.25f, -3.3f, -0.5f}}};
// clang-format on

// The texture a quad shows under scheme 1 and under scheme 2.
struct Tex {
    GLuint* a;
    GLuint* b;
};
const Tex t1_1a{&tex1, &tex1a}, t1_14{&tex1, &tex14}, t2_4a{&tex2, &tex4a}, t2_15{&tex2, &tex15},
    t4_4a{&tex4, &tex4a}, t4_15{&tex4, &tex15}, t17_18{&tex17, &tex18}, t6{&tex6, &tex6};

struct Piece {
    const char* what;
    Tex tex;
    const Shape* shape;  // null: only texture and matrix are checked
    std::vector<Op> ops;
};

struct Case {
    int scene;
    float clock;
    std::vector<Piece> pieces;  // in drawing order, after the backdrop
};

void PrintTo(const Case& c, std::ostream* os) { *os << "scene " << c.scene << " at tourClock " << c.clock; }

std::vector<Op> Then(std::vector<Op> first, const std::vector<Op>& more) {
    first.insert(first.end(), more.begin(), more.end());
    return first;
}

// A finished device: every quad under one matrix, the first one's shape checked.
std::vector<Piece> Device(const std::vector<Op>& ops, std::initializer_list<Tex> textures, const Shape* first) {
    std::vector<Piece> pieces;
    for (const Tex& tex : textures) pieces.push_back({"finished device", tex, pieces.empty() ? first : nullptr, ops});
    return pieces;
}

std::vector<Piece> operator+(std::vector<Piece> a, const std::vector<Piece>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::vector<Case> SceneCases1To5() {
    // Scene 1.
    const Piece floor1{"floor", t1_1a, &kFloor, {T(0, -3, -44)}};
    const Piece lower1Turning{"lower flap turning", t6, &kFlap, {T(0, -6.5, -44), R(-18, X), R(136, X)}};
    const Piece lower1Bare{"lower flap, translate only", t1_1a, &kFlap, {T(0, -6.5, -44)}};
    const Piece lower1Rest{"lower flap at rest", t4_4a, &kFlap, {T(0, -6.5, -44), R(-340, X)}};
    const Piece upper1Turning{"upper flap turning", t6, &kFlap, {T(0, 0.7, -44), R(-36, X), R(246, X)}};
    const Piece upper1Bare{"upper flap, translate only", t4_4a, &kFlap, {T(0, 0.7, -44)}};
    const Piece upper1Rest{"upper flap at rest", t4_4a, &kFlap, {T(0, 0.7, -44), R(-290, X)}};

    // Scene 3: scene 1 inside a scene-wide turn, with its own pairs.
    const std::vector<Op> side{T(-2, -1, 0), R(90, Z)};
    const Piece floor3{"floor", t1_14, &kFloor, Then(side, {T(0, -3, -44)})};
    const Piece lower3Turning{"lower flap turning", t6, &kFlap, Then(side, {T(0, -6.5, -44), R(-18, X), R(136, X)})};
    const Piece lower3Bare{"lower flap, translate only", t1_14, &kFlap, Then(side, {T(0, -6.5, -44)})};
    const Piece lower3Rest{"lower flap at rest", t4_15, &kFlap, Then(side, {T(0, -6.5, -44), R(-340, X)})};
    const Piece upper3Turning{"upper flap turning", t6, &kFlap, Then(side, {T(0, 0.7, -44), R(-36, X), R(246, X)})};
    const Piece upper3Bare{"upper flap, translate only", t4_15, &kFlap, Then(side, {T(0, 0.7, -44)})};
    const Piece upper3Rest{"upper flap at rest", t4_15, &kFlap, Then(side, {T(0, 0.7, -44), R(-290, X)})};

    // Scene 4; its wings hinge 1.5 nearer (Z54 + 1.5 = -42.5).
    const Piece floor4{"floor", t1_1a, &kFloor, {T(0, -3, -44)}};
    const Piece lower4Turning{"lower flap turning", t6, &kFlap, {T(0, -6.5, -44), R(-36, X), R(136, X)}};
    const Piece lower4Bare{"lower flap, translate only", t1_1a, &kFlap, {T(0, -6.5, -44)}};
    const Piece lower4Rest{"lower flap at rest", t4_4a, &kFlap, {T(0, -6.5, -44), R(-340, X)}};
    const Piece upper4Turning{"upper flap turning", t6, &kFlap, {T(0, 0.7, -44), R(-36, X), R(246, X)}};
    const Piece upper4Bare{"upper flap, translate only", t4_4a, &kFlap, {T(0, 0.7, -44)}};
    const Piece upper4Rest{"upper flap at rest", t4_4a, &kFlap, {T(0, 0.7, -44), R(-290, X)}};
    const Piece right4Turning{"right wing turning", t6, &kWingRight4,
                              {T(6, 0.2, -42.5), R(40, X), R(40, Y), R(10, Y)}};
    const Piece right4Bare{"right wing, translate and tilt only", t4_4a, &kWingRight4, {T(6, 0.2, -42.5), R(40, X)}};
    const Piece right4Rest{"right wing at rest", t4_15, &kWingRight4, {T(6, 0.2, -42.5), R(40, X), R(-20, Y)}};
    const Piece left4Turning{"left wing turning", t6, &kWingLeft4, {T(-6, 0.2, -42.5), R(40, X), R(-40, Y), R(140, Y)}};
    const Piece left4Bare{"left wing, translate and tilt only", t4_15, &kWingLeft4, {T(-6, 0.2, -42.5), R(40, X)}};
    const Piece left4Rest{"left wing at rest", t4_15, &kWingLeft4, {T(-6, 0.2, -42.5), R(40, X), R(20, Y)}};

    // Scene 5.
    const Piece floor5{"floor", t1_14, &kFloor, {T(0, -3, -44)}};
    const Piece lower5Turning{"lower flap turning", t6, &kFlap, {T(0, -6.5, -44), R(-36, X), R(136, X)}};
    const Piece lower5Bare{"lower flap, translate only", t1_14, &kFlap, {T(0, -6.5, -44)}};
    const Piece lower5Rest{"lower flap at rest", t4_15, &kFlap, {T(0, -6.5, -44), R(-340, X)}};
    const Piece left5Turning{"left plate turning", t6, &kFlatLeft, {T(-6, -6.5, -44), R(14, X), R(36, Z), R(-340, Z)}};
    const Piece left5Bare{"left plate, translate and tilt only", t4_15, &kFlatLeft, {T(-6, -6.5, -44), R(14, X)}};
    const Piece left5Rest{"left plate at rest", t4_15, &kFlatLeft, {T(-6, -6.5, -44), R(14, X), R(-20, Z)}};
    const Piece right5Turning{"right plate turning", t6, &kFlatRight,
                              {T(6, -6.5, -44), R(14, X), R(-52, Z), R(550, Z)}};
    const Piece right5Bare{"right plate, translate and tilt only", t4_15, &kFlatRight, {T(6, -6.5, -44), R(14, X)}};
    const Piece right5Rest{"right plate at rest", t4_15, &kFlatRight, {T(6, -6.5, -44), R(14, X), R(20, Z)}};

    return {
        {1, 2000, {}},
        {1, 2001.92f, {floor1, lower1Turning}},
        {1, 2100, {floor1, lower1Bare}},
        {1, 2150, {floor1, lower1Rest, upper1Turning}},
        {1, 2200, {floor1, lower1Rest, upper1Bare}},
        {1, 2400, {floor1, lower1Rest, upper1Rest}},
        {1, 2600, {}},
        {1, 3000, Device({T(0, -3, -44), R(20, Y)}, {t4_4a, t2_4a, t1_1a, t6, t6, t6}, &kFront)},

        {2, 4000, Device({T(-4, -2, -54), R(20, Y), R(90, Z)}, {t4_15, t4_15, t1_14, t6, t6, t6}, &kCentre2)},
        {2, 5000, Device({T(-4, -2, -54), R(20, Y), R(90, Z)}, {t4_15, t4_15, t1_14, t6, t6, t6}, &kCentre2)},

        {3, 6000, {}},
        {3, 6001.92f, {floor3, lower3Turning}},
        {3, 6100, {floor3, lower3Bare}},
        {3, 6150, {floor3, lower3Rest, upper3Turning}},
        {3, 6200, {floor3, lower3Rest, upper3Bare}},
        {3, 6400, {floor3, lower3Rest, upper3Rest}},
        {3, 6600, {}},
        {3, 7000, Device(Then(side, {T(0, -3, -44), R(20, X)}), {t4_15, t2_15, t1_14, t6, t6, t6}, &kFront)},

        {4, 8000, {}},
        {4, 8050, {floor4, lower4Turning}},
        {4, 8100, {floor4, lower4Bare}},
        {4, 8150, {floor4, lower4Rest, upper4Turning}},
        {4, 8200, {floor4, lower4Rest, upper4Bare}},
        {4, 8300, {floor4, lower4Rest, upper4Rest, right4Turning}},
        {4, 8400, {floor4, lower4Rest, upper4Rest, right4Bare}},
        {4, 8500, {floor4, lower4Rest, upper4Rest, right4Rest, left4Turning}},
        {4, 8600, {floor4, lower4Rest, upper4Rest, right4Rest, left4Bare}},
        {4, 8800, {floor4, lower4Rest, upper4Rest, right4Rest, left4Rest}},
        {4, 9000, {}},
        {4, 10000,
         Device({T(-4, -3, -44), R(20, Y)}, {t4_15, t2_4a, t2_4a, t4_15, t1_1a, t6, t6, t6, t6, t6}, &kFront)},

        {5, 11000, {}},
        {5, 11050, {floor5, lower5Turning}},
        {5, 11100, {floor5, lower5Bare}},
        {5, 11150, {floor5, lower5Rest}},
        {5, 11200, {floor5, lower5Rest}},
        {5, 11300, {floor5, lower5Rest, left5Turning}},
        {5, 11400, {floor5, lower5Rest, left5Bare}},
        {5, 11450, {floor5, lower5Rest, left5Rest, right5Turning}},
        {5, 11500, {floor5, lower5Rest, left5Rest, right5Bare}},
        {5, 11800, {floor5, lower5Rest, left5Rest, right5Rest}},
        {5, 12000, {}},
        {5, 13000, Device({T(-4, -3, -44), R(20, Y)}, {t4_15, t1_14, t4_15, t4_15, t6, t6, t6, t6}, &kFront)},
    };
}

std::vector<Case> SceneCases6To9() {
    // Scene 6: the floor half turns over about its z-running edge, then the flap pair swings.
    const Piece fixed6{"fixed floor half", t1_14, &kFixedHalf6, {T(0, -3, -44)}};
    const Piece half6Turning{"turning floor half turning", t6, &kTurningHalf6,
                             {T(-0.2, -6.5, -44), R(17, X), R(34, Z), R(0, Z)}};
    const Piece half6Bare{"turning floor half, translate and tilt only", t1_14, &kTurningHalf6,
                          {T(-0.2, -6.5, -44), R(17, X)}};
    const Piece half6Rest{"turning floor half at rest", t1_14, &kTurningHalf6,
                          {T(-0.2, -6.5, -44), R(17, X), R(180, Z)}};
    const std::vector<Piece> pair6Turning{
        {"flap pair turning", t6, &kFlap, {T(-6, -6.5, -44), R(-44, X), R(216, X)}},
        {"flap pair turning, right", t6, &kFlapRight, {T(-6, -6.5, -44), R(-44, X), R(216, X)}}};
    const std::vector<Piece> pair6Bare{{"flap pair, translate only", t1_14, &kFlap, {T(-6, -6.5, -44)}},
                                       {"flap pair, translate only, right", t1_14, &kFlapRight, {T(-6, -6.5, -44)}}};
    const std::vector<Piece> pair6Rest{
        {"flap pair at rest", t4_15, &kFlap, {T(-6, -6.5, -44), R(-340, X)}},
        {"flap pair at rest, right", t4_15, &kFlapRight, {T(-6, -6.5, -44), R(-340, X)}}};

    // Scene 7; its front lip hinges 12 nearer (Z54 + 12 = -32).
    const Piece floor7{"floor", t1_14, &kFloor, {T(0, -3, -44)}};
    const Piece lower7Turning{"lower flap turning", t6, &kFlap, {T(0, -6.5, -44), R(-36, X), R(136, X)}};
    const Piece lower7Bare{"lower flap, translate only", t1_14, &kFlap, {T(0, -6.5, -44)}};
    const Piece lower7Rest{"lower flap at rest", t4_15, &kFlap, {T(0, -6.5, -44), R(-340, X)}};
    const Piece upper7Turning{"upper flap turning", t6, &kFlap, {T(0, 0.7, -44), R(-36, X), R(246, X)}};
    const Piece upper7Bare{"upper flap, translate only", t4_15, &kFlap, {T(0, 0.7, -44)}};
    const Piece upper7Rest{"upper flap at rest", t4_15, &kFlap, {T(0, 0.7, -44), R(-290, X)}};
    const Piece left7Turning{"left plate turning", t6, &kFlatLeft, {T(-6, -6.5, -44), R(14, X), R(36, Z), R(-340, Z)}};
    const Piece left7Bare{"left plate, translate and tilt only", t4_15, &kFlatLeft, {T(-6, -6.5, -44), R(14, X)}};
    const Piece left7Rest{"left plate at rest", t4_15, &kFlatLeft, {T(-6, -6.5, -44), R(14, X), R(-20, Z)}};
    const Piece right7Turning{"right plate turning", t6, &kFlatRight,
                              {T(6, -6.5, -44), R(14, X), R(-52, Z), R(550, Z)}};
    const Piece right7Bare{"right plate, translate and tilt only", t4_15, &kFlatRight, {T(6, -6.5, -44), R(14, X)}};
    const Piece right7Rest{"right plate at rest", t4_15, &kFlatRight, {T(6, -6.5, -44), R(14, X), R(20, Z)}};
    const Piece lip7Turning{"front lip turning", t6, &kLip7, {T(-6, -7, -32), R(82, X), R(40, X)}};
    const Piece lip7Bare{"front lip, translate only", t4_15, &kLip7, {T(-6, -7, -32)}};
    const Piece lip7Rest{"front lip at rest", t1_14, &kLip7, {T(-6, -7, -32), R(0, X)}};
    const std::vector<Piece> flaps7{floor7, lower7Rest, upper7Rest};

    const auto device8 = Device({T(-4, -3, -44), R(20, Y)},
                                {t4_15, t2_15, t1_1a, t1_1a, t2_15, t2_15, t6, t6, t6, t6, t6, t6,  //
                                 t1_1a, t1_1a, t6, t6},
                                &kFront);
    const auto device9 = Device({T(-4, 0, -54), R(20, Y)},
                                {t4_15, t2_15, t4_15, t1_14, t1_14, t1_14, t6, t6, t6, t6, t6, t6}, &kCentre9);
    return {
        {6, 14000, {}},
        {6, 14001.92f, {fixed6, half6Turning}},
        {6, 14100, {fixed6, half6Bare}},
        {6, 14150, std::vector<Piece>{fixed6, half6Rest} + pair6Turning},
        {6, 14200, std::vector<Piece>{fixed6, half6Rest} + pair6Bare},
        {6, 14400, std::vector<Piece>{fixed6, half6Rest} + pair6Rest},
        {6, 14600, {}},
        {6, 15000, Device({T(-1, -2, -44), R(20, Y)}, {t4_15, t4_15, t1_14, t1_14, t6, t6, t6, t6}, &kFrontLeft)},

        {7, 17000, {}},
        {7, 17050, {floor7, lower7Turning}},
        {7, 17100, {floor7, lower7Bare}},
        {7, 17150, {floor7, lower7Rest, upper7Turning}},
        {7, 17200, {floor7, lower7Rest, upper7Bare}},
        {7, 17300, flaps7 + std::vector<Piece>{left7Turning}},
        {7, 17400, flaps7 + std::vector<Piece>{left7Bare}},
        {7, 17450, flaps7 + std::vector<Piece>{left7Rest, right7Turning}},
        {7, 17500, flaps7 + std::vector<Piece>{left7Rest, right7Bare}},
        {7, 17550, flaps7 + std::vector<Piece>{left7Rest, right7Rest, lip7Turning}},
        {7, 17600, flaps7 + std::vector<Piece>{left7Rest, right7Rest, lip7Bare}},
        {7, 17800, flaps7 + std::vector<Piece>{left7Rest, right7Rest, lip7Rest}},
        {7, 18000, {}},
        {7, 19000,
         Device({T(-4, -3, -44), R(20, Y)}, {t4_15, t2_15, t1_14, t1_14, t2_15, t2_15, t6, t6, t6, t6, t6, t6},
                &kFront)},

        {8, 20000, device8},
        {8, 22999, device8},
        {9, 23000, device9},
        {9, 25999, device9},
    };
}

std::vector<Case> SceneCases10To13() {
    // Scene 10: its own pictures tex17/tex18 on every resting piece.
    const Piece floor10{"floor", t1_14, &kFloor, {T(0, -3, -44)}};
    const Piece flap10Turning{"flap turning", t6, &kFlap, {T(0, -6.5, -44), R(-36, X), R(136, X)}};
    const Piece flap10Bare{"flap, translate only", t1_14, &kFlap, {T(0, -6.5, -44)}};
    const Piece flap10Rest{"flap at rest", t17_18, &kFlap, {T(0, -6.5, -44), R(-340, X)}};
    const Piece left10Turning{"left plate turning", t6, &kFlatLeft, {T(-6, -6.5, -44), R(14, X), R(36, Z), R(-340, Z)}};
    const Piece left10Bare{"left plate, translate and tilt only", t17_18, &kFlatLeft, {T(-6, -6.5, -44), R(14, X)}};
    const Piece left10Rest{"left plate at rest", t17_18, &kFlatLeft, {T(-6, -6.5, -44), R(14, X), R(-20, Z)}};
    const Piece right10Turning{"right plate turning", t6, &kFlatRight,
                               {T(6, -6.5, -44), R(14, X), R(-52, Z), R(550, Z)}};
    const Piece right10Bare{"right plate, translate and tilt only", t17_18, &kFlatRight, {T(6, -6.5, -44), R(14, X)}};
    const Piece right10Rest{"right plate at rest", t17_18, &kFlatRight, {T(6, -6.5, -44), R(14, X), R(20, Z)}};

    // Scene 11: the assembly sits in a frame tilted 40 about X at Z54 - 4; the plates hinge at
    // Z54 - 0.5 - 4 in a frame tilted 54 about X.
    const Piece floor11{"floor", t1_1a, &kFloor, {T(0, 1, -48), R(40, X)}};
    const Piece left11Turning{"left plate turning", t6, &kFlatLeft,
                              {T(-5.5, -1.5, -48.5), R(54, X), R(68, Z), R(-200, Z)}};
    const Piece left11Bare{"left plate, translate and tilt only", t1_1a, &kFlatLeft, {T(-5.5, -1.5, -48.5), R(54, X)}};
    const Piece left11Rest{"left plate at rest", t4_15, &kFlatLeft, {T(-5.5, -1.5, -48.5), R(54, X), R(-20, Z)}};
    const Piece right11Turning{"right plate turning", t6, &kFlatRight,
                               {T(5.5, -1.5, -48.5), R(54, X), R(-68, Z), R(250, Z)}};
    const Piece right11Bare{"right plate, translate and tilt only", t4_15, &kFlatRight,
                            {T(5.5, -1.5, -48.5), R(54, X)}};
    const Piece right11Rest{"right plate at rest", t4_15, &kFlatRight, {T(5.5, -1.5, -48.5), R(54, X), R(-40, Z)}};

    // Scene 12: the double flap is two quads under one bind.
    const Piece floor12{"floor", t1_14, &kFloor, {T(0, -3, -44)}};
    auto doubleFlap = [](const char* what, Tex tex, const std::vector<Op>& ops) {
        return std::vector<Piece>{{what, tex, &kFlap, ops}, {what, tex, &kFlapRight, ops}};
    };

    // Scene 13: the assembly at Z54 - 9 = -53, the finished device back at Z54.
    const Piece floor13{"floor", t1_14, &kFloor, {T(0, -3, -53)}};
    const auto flap13Rest = doubleFlap("double flap at rest", t4_15, {T(-6, -6.5, -53), R(-340, X)});
    const Piece left13Turning{"left side panel turning", t6, &kSide13, {T(-12, -6.5, -53), R(-52, Y), R(-110, Y)}};
    const Piece left13Bare{"left side panel, translate only", t4_15, &kSide13, {T(-12, -6.5, -53)}};
    const Piece left13Rest{"left side panel at rest", t4_15, &kSide13, {T(-12, -6.5, -53), R(-340, Y)}};
    const Piece right13Turning{"right side panel turning", t6, &kSide13, {T(12, -6.5, -53), R(58, Y), R(140, Y)}};
    const Piece right13Bare{"right side panel, translate only", t4_15, &kSide13, {T(12, -6.5, -53)}};
    const Piece right13Rest{"right side panel at rest", t4_15, &kSide13, {T(12, -6.5, -53), R(-220, Y)}};
    const std::vector<Piece> base13 = std::vector<Piece>{floor13} + flap13Rest;

    return {
        {10, 26000, {}},
        {10, 26050, {floor10, flap10Turning}},
        {10, 26100, {floor10, flap10Bare}},
        {10, 26200, {floor10, flap10Rest}},
        {10, 26300, {floor10, flap10Rest, left10Turning}},
        {10, 26400, {floor10, flap10Rest, left10Bare}},
        {10, 26450, {floor10, flap10Rest, left10Rest, right10Turning}},
        {10, 26500, {floor10, flap10Rest, left10Rest, right10Bare}},
        {10, 26800, {floor10, flap10Rest, left10Rest, right10Rest}},
        {10, 27000, {}},
        {10, 28000, Device({T(-4, -3, -44), R(20, Y)}, {t17_18, t1_14, t17_18, t17_18, t6, t6, t6, t6}, &kFront)},

        {11, 29000, {}},
        {11, 29050, {floor11, left11Turning}},
        {11, 29100, {floor11, left11Bare}},
        {11, 29150, {floor11, left11Rest, right11Turning}},
        {11, 29200, {floor11, left11Rest, right11Bare}},
        {11, 29400, {floor11, left11Rest, right11Rest}},
        {11, 29600, {}},
        {11, 30000,
         Device({T(-1, -2, -44), R(20, Y), R(180, Z), R(40, X)}, {t1_14, t4_15, t4_15, t6, t6, t6}, &kFront)},

        {12, 32000, {}},
        {12, 32050,
         std::vector<Piece>{floor12} + doubleFlap("double flap turning", t6, {T(-6, -6.5, -44), R(-36, X), R(136, X)})},
        {12, 32100, std::vector<Piece>{floor12} + doubleFlap("double flap, translate only", t1_14, {T(-6, -6.5, -44)})},
        {12, 32150,
         std::vector<Piece>{floor12} + doubleFlap("double flap at rest", t4_15, {T(-6, -6.5, -44), R(-340, X)})},
        {12, 32200, {}},
        {12, 33000, Device({T(-1, -2, -44), R(20, Y)}, {t4_15, t4_15, t1_14, t6, t6, t6}, &kFrontLeft)},

        {13, 35000, {}},
        {13, 35050,
         std::vector<Piece>{floor13} + doubleFlap("double flap turning", t6, {T(-6, -6.5, -53), R(-36, X), R(136, X)})},
        {13, 35100, std::vector<Piece>{floor13} + doubleFlap("double flap, translate only", t1_14, {T(-6, -6.5, -53)})},
        {13, 35150, base13 + std::vector<Piece>{left13Turning}},
        {13, 35200, base13 + std::vector<Piece>{left13Bare}},
        {13, 35250, base13 + std::vector<Piece>{left13Rest, right13Turning}},
        {13, 35300, base13 + std::vector<Piece>{left13Rest, right13Bare}},
        {13, 35400, base13 + std::vector<Piece>{left13Rest, right13Rest}},
        {13, 35600, {}},
        {13, 36000,
         Device({T(-1, -3, -44), R(20, Y)}, {t4_15, t4_15, t4_15, t4_15, t1_14, t6, t6, t6, t6, t6}, &kHalfFace13)},
    };
}

std::vector<Case> AllCases() {
    std::vector<Case> all = SceneCases1To5();
    for (auto more : {SceneCases6To9(), SceneCases10To13()}) all.insert(all.end(), more.begin(), more.end());
    return all;
}

class SceneAtClock : public GlFrame, public ::testing::WithParamInterface<Case> {};

TEST_P(SceneAtClock, DrawsThesePiecesWithTheseMatricesAndTextures) {
    const Case& c = GetParam();
    for (int scheme : {1, 2}) {
        SCOPED_TRACE("scheme " + std::to_string(scheme));
        sceneState.colorScheme = scheme;
        sceneState.captionMode = 2;
        sceneState.spinAngle = 20;
        Record(c.scene, c.clock);

        const std::vector<glrec::Quad>& quads = glrec::Quads();
        ASSERT_GE(quads.size(), 1u);
        EXPECT_EQ(quads[0].vertices[0], (V3{-54.5f, -46.6f, -0.5f})) << "the backdrop comes first";
        ASSERT_EQ(quads.size() - 1, c.pieces.size()) << "quads of the scene";
        for (std::size_t i = 0; i < c.pieces.size(); ++i) {
            const Piece& piece = c.pieces[i];
            const glrec::Quad& quad = quads[i + 1];
            SCOPED_TRACE("quad " + std::to_string(i + 1) + " of the scene: " + piece.what);
            EXPECT_EQ(NameOf(quad.texture), NameOf(scheme == 1 ? *piece.tex.a : *piece.tex.b));
            EXPECT_TRUE(Near(quad.modelview, Compose(piece.ops)))
                << "drawn under" << Show(quad.modelview) << "\nexpected" << Show(Compose(piece.ops));
            if (piece.shape != nullptr) {
                for (int v = 0; v < 4; ++v) EXPECT_EQ(quad.vertices[v], piece.shape->v[v]) << "vertex " << v + 1;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Thresholds, SceneAtClock, ::testing::ValuesIn(AllCases()), [](const auto& info) {
    char clock[32];
    const float value = info.param.clock;
    if (value == static_cast<float>(static_cast<int>(value))) std::snprintf(clock, sizeof clock, "%d", int(value));
    else std::snprintf(clock, sizeof clock, "%d_%02d", int(value), int((value - int(value)) * 100 + 0.5f));
    return "Scene" + std::to_string(info.param.scene) + "At" + clock;
});

// ---- The spin restart ----

// With tourSpeed 0 the advance leaves the counter as the scene left it.
TEST_F(GlFrame, SpinRestartsAtTenOnlyBelowTheWindowStartPlusThree) {
    struct Row {
        int scene;
        float clock;
        bool restarts;
    };
    const Row rows[] = {
        {1, 2000, true},       {1, 2002.99f, true},   {1, 2003, false},     {2, 4000, false},
        {3, 6002.99f, true},   {3, 6003, false},      {4, 8002.99f, true},  {4, 8003, false},
        {5, 11002.99f, true},  {5, 11003, false},     {6, 14002.99f, true}, {6, 14003, false},
        {7, 17002.99f, true},  {7, 17003, false},     {8, 20000, false},    {9, 23000, false},
        {10, 26002.99f, true}, {10, 26003, false},    {11, 29000, true},    {11, 29002.99f, true},
        {11, 29003, false},    {12, 32002.99f, true}, {12, 32003, false},   {13, 35002.99f, true},
        {13, 35003, false},    {13, 2000, true},      {14, 0, false},       {23, 1400, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE("scene " + std::to_string(row.scene) + " at " + std::to_string(row.clock));
        sceneState.tourSpeed = 0;
        sceneState.spinAngle = 55;
        Record(row.scene, row.clock);
        EXPECT_FLOAT_EQ(sceneState.spinAngle, row.restarts ? 10.0f : 55.0f);
        EXPECT_EQ(sceneState.lightingMode, 1);
    }
}

// ---- A scheme that is neither 1 nor 2 ----

// Pairs then bind nothing, tex6/tex6 included, so their quads show what was bound before; the
// plain tex6 binds of the back faces still bind.
TEST_F(GlFrame, WithASchemeOtherThanOneOrTwoPairsBindNothingButPlainBindsStill) {
    sceneState.colorScheme = 3;
    sceneState.captionMode = 1;
    sceneState.spinAngle = 20;

    glBindTexture(GL_TEXTURE_2D, tex5);
    Record(1, 2050);  // floor, lower flap turning with tex6/tex6
    ASSERT_EQ(glrec::Quads().size(), 5u);
    for (const glrec::Quad& quad : glrec::Quads()) EXPECT_EQ(NameOf(quad.texture), "tex5");

    glBindTexture(GL_TEXTURE_2D, tex5);
    Record(1, 3000);  // finished device: three pairs, then three plain tex6
    ASSERT_EQ(glrec::Quads().size(), 9u);
    const char* expected[] = {"tex5", "tex5", "tex5", "tex5", "tex5", "tex5", "tex6", "tex6", "tex6"};
    for (std::size_t i = 0; i < 9; ++i) EXPECT_EQ(NameOf(glrec::Quads()[i].texture), expected[i]) << "quad " << i;
}

}  // namespace
}  // namespace gltest
