// A render window on the headless backend with the test pictures loaded as textures, one
// recorded frame at a time, and the small matrix arithmetic the expectations are written in.
#pragma once

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "app/viewer.h"
#include "image/texture_set.h"
#include "platform/headless/headless.h"
#include "scene/frame.h"
#include "scene/scene_state.h"
#include "tests/gl/gl_recorder.h"
#include "tests/support/test_pictures.h"
#include "tests/support/viewer_globals.h"

namespace gltest {

// ---- Matrices as GL builds them: each operation multiplies on the right. ----

enum class Axis { X, Y, Z };

// One expected matrix operation: a translate, or a rotation in degrees about X, Y or Z.
struct Op {
    bool rotate;
    double x, y, z;  // the translation, or the angle in x
    Axis axis;
};
inline Op T(double x, double y, double z) { return {false, x, y, z, Axis::X}; }
inline Op R(double angle, Axis axis) { return {true, angle, 0, 0, axis}; }

using Matrix = glrec::Matrix;

inline Matrix Identity() {
    Matrix m{};
    m[0] = m[5] = m[10] = m[15] = 1;
    return m;
}

inline Matrix Multiply(const Matrix& a, const Matrix& b) {
    Matrix r{};
    for (int col = 0; col < 4; ++col) {
        for (int row = 0; row < 4; ++row) {
            double sum = 0;
            for (int k = 0; k < 4; ++k) sum += double(a[k * 4 + row]) * b[col * 4 + k];
            r[col * 4 + row] = static_cast<float>(sum);
        }
    }
    return r;
}

inline Matrix OpMatrix(const Op& op) {
    Matrix m = Identity();
    if (!op.rotate) {
        m[12] = static_cast<float>(op.x);
        m[13] = static_cast<float>(op.y);
        m[14] = static_cast<float>(op.z);
        return m;
    }
    const double radians = op.x * M_PI / 180.0;
    const auto c = static_cast<float>(std::cos(radians));
    const auto s = static_cast<float>(std::sin(radians));
    // Column-major: m[col * 4 + row].
    switch (op.axis) {
        case Axis::X: m[5] = c, m[6] = s, m[9] = -s, m[10] = c; break;
        case Axis::Y: m[0] = c, m[2] = -s, m[8] = s, m[10] = c; break;
        case Axis::Z: m[0] = c, m[1] = s, m[4] = -s, m[5] = c; break;
    }
    return m;
}

inline Matrix Compose(const std::vector<Op>& ops) {
    Matrix m = Identity();
    for (const Op& op : ops) m = Multiply(m, OpMatrix(op));
    return m;
}

inline bool Near(const Matrix& a, const Matrix& b, float tolerance = 2e-3f) {
    for (int i = 0; i < 16; ++i) {
        if (std::fabs(a[i] - b[i]) > tolerance) return false;
    }
    return true;
}

inline std::string Show(const Matrix& m) {
    std::string s;
    for (int row = 0; row < 4; ++row) {
        s += "\n  ";
        for (int col = 0; col < 4; ++col) s += std::to_string(m[col * 4 + row]) + " ";
    }
    return s;
}

// ---- Textures by picture name ----

struct Named {
    const char* name;
    GLuint* texture;
};
inline const Named kTextures[] = {
    {"tex1", &tex1},   {"tex2", &tex2},   {"tex3", &tex3},   {"tex4", &tex4},   {"tex5", &tex5},
    {"tex6", &tex6},   {"tex8", &tex8},   {"tex10", &tex10}, {"tex11", &tex11}, {"tex12", &tex12},
    {"tex13", &tex13}, {"tex14", &tex14}, {"tex15", &tex15}, {"tex16", &tex16}, {"tex17", &tex17},
    {"tex18", &tex18}, {"tex1a", &tex1a}, {"tex4a", &tex4a}, {"tex11a", &tex11a},
};
// The picture behind a texture name, for readable failures ("tex4a"); "texture n" otherwise.
inline std::string NameOf(GLuint texture) {
    for (const Named& named : kTextures) {
        if (*named.texture == texture) return named.name;
    }
    return "texture " + std::to_string(texture);
}

// ---- Pixels ----

// The angle in degrees between a pixel's colour and a picture's colour as RGB vectors. Lighting
// scales a texel's channels alike (both lights are white), so the angle stays small on a face
// that shows the picture, whatever its brightness.
inline double ColourAngle(std::uint32_t rgba, testpics::Rgb colour) {
    const double p[3] = {double(rgba >> 24 & 0xFF), double(rgba >> 16 & 0xFF), double(rgba >> 8 & 0xFF)};
    const double c[3] = {double(colour.r), double(colour.g), double(colour.b)};
    double dot = 0, pp = 0, cc = 0;
    for (int i = 0; i < 3; ++i) dot += p[i] * c[i], pp += p[i] * p[i], cc += c[i] * c[i];
    if (pp == 0 || cc == 0) return 180;
    return std::acos(std::min(1.0, dot / std::sqrt(pp * cc))) * 180.0 / M_PI;
}

// Of the named pictures ("4a", "15", ...), the one whose colour is nearest the pixel's.
inline std::string NearestPicture(std::uint32_t rgba, std::initializer_list<const char*> names) {
    std::string best;
    double bestAngle = 1e9;
    for (const char* name : names) {
        const double angle = ColourAngle(rgba, testpics::FlatColour(name));
        if (angle < bestAngle) bestAngle = angle, best = name;
    }
    return best;
}

inline std::string Hex(std::uint32_t rgba) {
    char text[16];
    std::snprintf(text, sizeof text, "%08X", rgba);
    return text;
}

// ---- The fixture ----

// The render window at 640 x 480 over a 640 x 480 screen, with the nineteen flat-colour test
// pictures as textures; the show is past its start-up pause.
class GlFrame : public ::testing::Test {
  protected:
    static constexpr int kWidth = 640;
    static constexpr int kHeight = 480;
    // -depthSwing / 1.9 is then 10, so Z54 is -44 and Z64 is -54.
    static constexpr float kDepthSwing = -19;

    testpics::PictureFolder pictures;

    void SetUp() override {
        headless::Reset();
        headless::SetScreen(kWidth, kHeight, 32);
        ResetViewerGlobals();
        fullscreen = false;
        ASSERT_EQ(OpenRenderWindow(kStartupTitle, kWidth, kHeight, 16, false), 1);
        sceneState.warmupPhase = 2;
        sceneState.lightingMode = 1;
    }

    void TearDown() override {
        glrec::Stop();
        CloseRenderWindow();
        headless::Reset();
    }

    // One frame of the given scene at the given clock and depth -19, recorded.
    void Record(int sceneMode, float clock) {
        sceneState.depthSwing = kDepthSwing;
        sceneState.sceneMode = sceneMode;
        sceneState.tourClock = clock;
        glrec::Start();
        RenderFrame();
        glrec::Stop();
    }
};

}  // namespace gltest
