// A render window on the headless backend with the test pictures loaded as textures, and one
// recorded frame at a time.
#pragma once

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/viewer.h"
#include "app/viewer_globals.h"
#include "image/texture_set.h"
#include "platform/subset/headless/headless.h"
#include "scene/scene_state.h"
#include "scenes/frame.h"
#include "tests/gl/gl_recorder.h"
#include "tests/support/test_pictures.h"

namespace gltest {

// The picture behind a texture, for readable failures and records ("tex4a"); "texture n" otherwise.
inline std::string NameOf(GLuint texture) {
    for (const TextureFile& file : kTextureFiles) {
        if (*file.texture == texture) return "tex" + std::string(file.name).substr(0, std::strlen(file.name) - 4);
    }
    return "texture " + std::to_string(texture);
}

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
