// A render window on the headless backend with the test pictures loaded as textures, one
// recorded frame at a time, and pixels matched to the pictures.
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
