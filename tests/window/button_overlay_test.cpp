// The push-button overlay draws into someone else's frame: every GL state the program set
// before SwapBuffers must read the same afterwards, however unusual. Runs the overlay in a real
// GL context on a private Xvfb.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_opengl.h>

#include <cstdlib>

#include "platform/sdl/sdl_buttons.h"
#include "tests/window/x_session.h"

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;

// Everything the overlay changes, as the program can query it.
struct GlSnapshot {
    std::vector<std::pair<std::string, double>> values;

    void Add(const std::string& name, double value) { values.emplace_back(name, value); }
    void Enabled(const char* name, GLenum capability) { Add(name, glIsEnabled(capability)); }
    void Integers(const char* name, GLenum query, int count) {
        GLint v[4] = {};
        glGetIntegerv(query, v);
        for (int i = 0; i < count; ++i) Add(std::string(name) + "[" + std::to_string(i) + "]", v[i]);
    }
    void Floats(const char* name, GLenum query, int count) {
        GLfloat v[16] = {};
        glGetFloatv(query, v);
        for (int i = 0; i < count; ++i) Add(std::string(name) + "[" + std::to_string(i) + "]", v[i]);
    }

    static GlSnapshot Take() {
        GlSnapshot s;
#define ENABLED(cap) s.Enabled(#cap, cap)
        ENABLED(GL_LIGHTING);
        ENABLED(GL_DEPTH_TEST);
        ENABLED(GL_CULL_FACE);
        ENABLED(GL_SCISSOR_TEST);
        ENABLED(GL_FOG);
        ENABLED(GL_ALPHA_TEST);
        ENABLED(GL_COLOR_MATERIAL);
        ENABLED(GL_TEXTURE_2D);
        ENABLED(GL_BLEND);
        ENABLED(GL_STENCIL_TEST);
        ENABLED(GL_TEXTURE_GEN_S);
        ENABLED(GL_CLIP_PLANE0);
        ENABLED(GL_COLOR_LOGIC_OP);
#undef ENABLED
        s.Integers("matrix mode", GL_MATRIX_MODE, 1);
        s.Integers("projection depth", GL_PROJECTION_STACK_DEPTH, 1);
        s.Integers("modelview depth", GL_MODELVIEW_STACK_DEPTH, 1);
        s.Integers("texture depth", GL_TEXTURE_STACK_DEPTH, 1);
        s.Floats("projection", GL_PROJECTION_MATRIX, 16);
        s.Floats("modelview", GL_MODELVIEW_MATRIX, 16);
        s.Floats("texture matrix", GL_TEXTURE_MATRIX, 16);
        s.Integers("viewport", GL_VIEWPORT, 4);
        s.Integers("bound texture", GL_TEXTURE_BINDING_2D, 1);
        s.Integers("blend src", GL_BLEND_SRC, 1);
        s.Integers("blend dst", GL_BLEND_DST, 1);
        s.Floats("colour", GL_CURRENT_COLOR, 4);
        s.Floats("texture coordinate", GL_CURRENT_TEXTURE_COORDS, 4);
        s.Integers("unpack alignment", GL_UNPACK_ALIGNMENT, 1);
        s.Integers("unpack row length", GL_UNPACK_ROW_LENGTH, 1);
        s.Integers("unpack skip rows", GL_UNPACK_SKIP_ROWS, 1);
        s.Integers("polygon mode", GL_POLYGON_MODE, 2);
        s.Integers("shade model", GL_SHADE_MODEL, 1);
        s.Integers("colour mask", GL_COLOR_WRITEMASK, 4);
        GLint envMode = 0;
        glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &envMode);
        s.Add("texture env mode", envMode);
        return s;
    }
};

class ButtonOverlay : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.Start(640, 480));
        setenv("DISPLAY", server.Display().c_str(), 1);
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
        window = SDL_CreateWindow("overlay", 0, 0, kWidth, kHeight, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        ASSERT_NE(window, nullptr) << SDL_GetError();
        context = SDL_GL_CreateContext(window);
        ASSERT_NE(context, nullptr) << SDL_GetError();
    }
    void TearDown() override {
        if (context) SDL_GL_DeleteContext(context);
        if (window) SDL_DestroyWindow(window);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }

    // A frame left in the state a careless program might leave it in.
    void SetUnusualState() {
        glGenTextures(1, &programTexture);
        glBindTexture(GL_TEXTURE_2D, programTexture);
        for (GLenum cap : {GL_LIGHTING, GL_DEPTH_TEST, GL_CULL_FACE, GL_SCISSOR_TEST, GL_FOG, GL_ALPHA_TEST,
                           GL_COLOR_MATERIAL, GL_TEXTURE_2D, GL_BLEND, GL_TEXTURE_GEN_S, GL_CLIP_PLANE0})
            glEnable(cap);
        glBlendFunc(GL_ONE, GL_ONE);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
        glColor4f(0.1f, 0.2f, 0.3f, 0.4f);
        glTexCoord4f(0.5f, 0.25f, 0.0f, 1.0f);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 2);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, 5);
        glPixelStorei(GL_UNPACK_SKIP_ROWS, 3);
        glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
        glShadeModel(GL_SMOOTH);
        glColorMask(GL_TRUE, GL_FALSE, GL_TRUE, GL_TRUE);
        glViewport(10, 20, 100, 50);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glFrustum(-1, 1, -1, 1, 1, 100);
        glPushMatrix();
        glScalef(2, 3, 4);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glTranslatef(1, 2, -5);
        glRotatef(30, 0, 1, 0);
        // A texture matrix stack filled to the top: the overlay cannot push onto it.
        glMatrixMode(GL_TEXTURE);
        GLint maxDepth = 0;
        glGetIntegerv(GL_MAX_TEXTURE_STACK_DEPTH, &maxDepth);
        for (int i = 1; i < maxDepth; ++i) {
            glPushMatrix();
            glScalef(1.5f, 1, 1);
        }
        glMatrixMode(GL_PROJECTION);
    }

    void ClearState() {
        glMatrixMode(GL_TEXTURE);
        GLint depth = 1;
        glGetIntegerv(GL_TEXTURE_STACK_DEPTH, &depth);
        for (; depth > 1; --depth) glPopMatrix();
        glDeleteTextures(1, &programTexture);
    }

    static platform::WindowRecord Button(int x, int y, int width, int height, const char* label, bool pressed) {
        platform::WindowRecord record;
        record.x = x;
        record.y = y;
        record.width = width;
        record.height = height;
        record.text = label;
        record.visible = true;
        record.pressed = pressed;
        return record;
    }

    XvfbServer server;
    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
    GLuint programTexture = 0;
};

TEST_F(ButtonOverlay, LeavesEveryStateItTouchesAsItWas) {
    SetUnusualState();
    const GlSnapshot before = GlSnapshot::Take();
    ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    const platform::WindowRecord raised = Button(0, 3, 160, 25, "Avto", false);
    const platform::WindowRecord pressed = Button(0, 30, 160, 25, "\xD6\xE2\xE5\xF2\xE0", true);  // "Цвета"
    platform::sdl::LabelCache labels;
    platform::sdl::LabelFont font;
    platform::sdl::DrawButtons({&raised, &pressed}, kWidth, kHeight, labels, font);
    // Second frame: labels come from the cache.
    platform::sdl::DrawButtons({&raised, &pressed}, kWidth, kHeight, labels, font);

    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    const GlSnapshot after = GlSnapshot::Take();
    ASSERT_EQ(before.values.size(), after.values.size());
    for (size_t i = 0; i < before.values.size(); ++i)
        EXPECT_EQ(before.values[i].second, after.values[i].second) << before.values[i].first;
    EXPECT_EQ(labels.size(), 2u);

    // Despite the state it found, the overlay drew the face of the first button.
    ClearState();
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    GLubyte pixel[3] = {};
    glReadBuffer(GL_BACK);
    glReadPixels(5, kHeight - 1 - 15, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, pixel);
    EXPECT_EQ(pixel[0], 0xD4);
    EXPECT_EQ(pixel[1], 0xD0);
    EXPECT_EQ(pixel[2], 0xC8);
}

}  // namespace
