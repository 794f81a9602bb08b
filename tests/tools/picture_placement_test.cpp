// Each picture's placement, checked in GL: a marker design (red top-left, green top-right,
// blue bottom-left, white bottom-right) is written with the placement the generator uses for
// that file, uploaded the way the texture set does it, and drawn through the quads and turns of
// the scene that shows it, with both faces where the scene draws two; the read-back frame must
// show the marker's quarters in their places.
#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "tools/picture_bmp.h"
#include "tools/picture_designs.h"

namespace pictures {
namespace {

constexpr int kWidth = 640, kHeight = 480;

struct Vertex {
    float x, y, z;
};
using Quad = std::array<Vertex, 4>;

// Quads as the scenes list them (vertex 1 to 4).
constexpr Quad kPanelFront{
    {{-6.25f, -3.3f, -0.5f}, {-6.25f, 3.3f, -3.25f}, {6.25f, 3.3f, -3.25f}, {6.25f, -3.3f, -0.5f}}};
constexpr Quad kPanelTop{
    {{-6.25f, 9.4f, -0.5f}, {-6.25f, 3.3f, -3.25f}, {6.25f, 3.3f, -3.25f}, {6.25f, 9.4f, -0.5f}}};
constexpr Quad kPanelFloor{
    {{-6.25f, -3.3f, -0.5f}, {-6.25f, -5.3f, 7.25f}, {6.25f, -5.3f, 7.25f}, {6.25f, -3.3f, -0.5f}}};
constexpr Quad kPanelFlap{{{-6.25f, 0, 0}, {-6.25f, 6.6f, -3.25f}, {6.25f, 6.6f, -3.25f}, {6.25f, 0, 0}}};
constexpr Quad kBackdrop{
    {{-54.5f, -46.6f, -0.5f}, {-54.5f, 36.6f, -0.5f}, {54.5f, 36.6f, -0.5f}, {54.5f, -46.6f, -0.5f}}};
constexpr Quad kSplash{
    {{-50.5f, -40.5f, -0.5f}, {-50.5f, 40.5f, -0.5f}, {50.5f, 40.5f, -0.5f}, {50.5f, -40.5f, -0.5f}}};
constexpr Quad kCaptionFront{{{-2.7f, -0.2f, 0}, {-2.7f, 0.2f, 0}, {2.7f, 0.2f, 0}, {2.7f, -0.2f, 0}}};
constexpr Quad kCaptionBack{
    {{-2.7f, -0.2f, -0.1f}, {-2.7f, 0.2f, -0.1f}, {2.7f, 0.2f, -0.1f}, {2.7f, -0.2f, -0.1f}}};
constexpr Quad kUpperPlate1{{{-3.5f, -3.6f, 0}, {-3.5f, 3.6f, 0}, {3.5f, 3.6f, 0}, {3.5f, -3.6f, 0}}};
constexpr Quad kUpperPlate2{
    {{-3.5f, -3.6f, -0.1f}, {-3.5f, 3.6f, -0.1f}, {3.5f, 3.6f, -0.1f}, {3.5f, -3.6f, -0.1f}}};
constexpr Quad kLowerPlate1{{{-3.5f, -1.5f, 0}, {-3.5f, 1.5f, 0}, {3.5f, 1.5f, 0}, {3.5f, -1.5f, 0}}};
constexpr Quad kLowerPlate2{
    {{-3.5f, -1.5f, -0.1f}, {-3.5f, 1.5f, -0.1f}, {3.5f, 1.5f, -0.1f}, {3.5f, -1.5f, -0.1f}}};

void TexturedQuad(const Quad& q) {
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex3f(q[0].x, q[0].y, q[0].z);
    glTexCoord2f(1, 0);
    glVertex3f(q[1].x, q[1].y, q[1].z);
    glTexCoord2f(1, 1);
    glVertex3f(q[2].x, q[2].y, q[2].z);
    glTexCoord2f(0, 1);
    glVertex3f(q[3].x, q[3].y, q[3].z);
    glEnd();
}

struct Case {
    const char* file;
    const char* view;
    std::function<void()> draw;
};

std::vector<Case> Cases() {
    const auto device = [](const Quad& q) {
        return [q] {
            glTranslatef(0, -3, -40);
            TexturedQuad(q);
        };
    };
    const auto caption = [](float tumble) {
        return [tumble] {
            glTranslatef(0, -5.2f, -16);
            glRotatef(tumble, 1, 0, 0);
            glRotatef(180, 0, 1, 0);
            TexturedQuad(kCaptionFront);
            glRotatef(180, 1, 0, 0);
            TexturedQuad(kCaptionBack);
        };
    };
    const auto upperPlate = [](float turn) {
        return [turn] {
            glTranslatef(0, 2, -20);
            glRotatef(turn, 0, 1, 0);
            glRotatef(180, 0, 1, 0);
            TexturedQuad(kUpperPlate1);
            glRotatef(180, 0, 1, 0);
            TexturedQuad(kUpperPlate2);
        };
    };
    const auto lowerPlate = [](float turn) {
        return [turn] {
            glTranslatef(0, -4, -19);
            glRotatef(turn, 0, 1, 0);
            TexturedQuad(kLowerPlate1);
            glRotatef(180, 0, 1, 0);
            TexturedQuad(kLowerPlate2);
        };
    };
    const auto restingFlap = [] {
        glTranslatef(0, -6.5f, -40);
        glRotatef(-340, 1, 0, 0);
        TexturedQuad(kPanelFlap);
    };
    const auto far = [](const Quad& q, float z) {
        return [q, z] {
            glTranslatef(0, 0, z);
            TexturedQuad(q);
        };
    };
    return {
        {"4.bmp", "face", device(kPanelFront)},
        {"4.bmp", "resting lower flap", restingFlap},
        {"15.bmp", "face", device(kPanelFront)},
        {"4a.bmp", "face", device(kPanelFront)},
        {"17.bmp", "face", device(kPanelFront)},
        {"18.bmp", "face", device(kPanelFront)},
        {"2.bmp", "upper face", device(kPanelTop)},
        {"1.bmp", "floor", device(kPanelFloor)},
        {"14.bmp", "floor", device(kPanelFloor)},
        {"1a.bmp", "floor", device(kPanelFloor)},
        {"11.bmp", "backdrop", far(kBackdrop, -91)},
        {"11a.bmp", "backdrop", far(kBackdrop, -91)},
        {"13.bmp", "splash picture", far(kSplash, -90)},
        {"12.bmp", "caption, front face", caption(0)},
        {"12.bmp", "caption tumbled half round, back face", caption(180)},
        {"16.bmp", "caption, front face", caption(0)},
        {"10.bmp", "upper plate", upperPlate(0)},
        {"10.bmp", "upper plate turned half round", upperPlate(180)},
        {"8.bmp", "lower plate", lowerPlate(0)},
        {"8.bmp", "lower plate turned half round", lowerPlate(180)},
    };
}

const PictureDesign& DesignOf(const std::string& file) {
    for (const PictureDesign& d : PictureDesigns()) {
        if (file == d.file) return d;
    }
    throw std::runtime_error("no design for " + file);
}

constexpr Rgb kTopLeft{1, 0, 0}, kTopRight{0, 1, 0}, kBottomLeft{0, 0, 1}, kBottomRight{1, 1, 1};

Canvas Marker(const PictureDesign& d) {
    Canvas c(d.pixelsWide, d.pixelsHigh, d.unitsWide, d.unitsHigh);
    for (int y = 0; y < c.Height(); ++y) {
        for (int x = 0; x < c.Width(); ++x) {
            const bool right = x >= c.Width() / 2, bottom = y >= c.Height() / 2;
            c.At(x, y) = bottom ? (right ? kBottomRight : kBottomLeft) : (right ? kTopRight : kTopLeft);
        }
    }
    return c;
}

// Uploads bitmap bytes as the texture set does: stored rows in file order, t = 0 first.
void Upload(const std::vector<uint8_t>& bmp) {
    int32_t width, height;
    std::memcpy(&width, bmp.data() + 18, 4);
    std::memcpy(&height, bmp.data() + 22, 4);
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
    std::vector<uint8_t> rgb;
    for (int row = 0; row < height; ++row) {
        const uint8_t* p = bmp.data() + 54 + row * stride;
        for (int x = 0; x < width; ++x) rgb.insert(rgb.end(), {p[x * 3 + 2], p[x * 3 + 1], p[x * 3]});
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, 3, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
}

class PlacementTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        auto getDisplay =
            reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
        if (!getDisplay) return;
        display_ = getDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
        if (display_ == EGL_NO_DISPLAY || !eglInitialize(display_, nullptr, nullptr)) return;
        const EGLint wanted[] = {EGL_SURFACE_TYPE,
                                 EGL_PBUFFER_BIT,
                                 EGL_RENDERABLE_TYPE,
                                 EGL_OPENGL_BIT,
                                 EGL_RED_SIZE,
                                 8,
                                 EGL_GREEN_SIZE,
                                 8,
                                 EGL_BLUE_SIZE,
                                 8,
                                 EGL_DEPTH_SIZE,
                                 16,
                                 EGL_NONE};
        EGLConfig config;
        EGLint found = 0;
        if (!eglChooseConfig(display_, wanted, &config, 1, &found) || found != 1) return;
        const EGLint size[] = {EGL_WIDTH, kWidth, EGL_HEIGHT, kHeight, EGL_NONE};
        surface_ = eglCreatePbufferSurface(display_, config, size);
        eglBindAPI(EGL_OPENGL_API);
        const EGLint compatibility[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                        EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
        context_ = eglCreateContext(display_, config, EGL_NO_CONTEXT, compatibility);
        ready_ = surface_ != EGL_NO_SURFACE && context_ != EGL_NO_CONTEXT &&
                 eglMakeCurrent(display_, surface_, surface_, context_);
    }
    static void TearDownTestSuite() {
        if (display_ == EGL_NO_DISPLAY) return;
        eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        if (context_ != EGL_NO_CONTEXT) eglDestroyContext(display_, context_);
        if (surface_ != EGL_NO_SURFACE) eglDestroySurface(display_, surface_);
        // The display stays initialised for the life of the process, as in the headless backend:
        // terminating it unloads the GL driver, which leaves some of its own blocks behind.
        eglReleaseThread();
    }

    // Draws a case and returns the frame, bottom row first.
    static std::vector<uint8_t> Render(const Case& c) {
        glViewport(0, 0, kWidth, kHeight);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(45, static_cast<double>(kWidth) / kHeight, 0.1, 100);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LEQUAL);
        glEnable(GL_TEXTURE_2D);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
        GLuint texture = 0;
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        const PictureDesign& design = DesignOf(c.file);
        Upload(EncodeBitmap(Marker(design), design.placement));
        c.draw();
        std::vector<uint8_t> frame(kWidth * kHeight * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, kWidth, kHeight, GL_RGB, GL_UNSIGNED_BYTE, frame.data());
        glDeleteTextures(1, &texture);
        return frame;
    }

    static inline EGLDisplay display_ = EGL_NO_DISPLAY;
    static inline EGLSurface surface_ = EGL_NO_SURFACE;
    static inline EGLContext context_ = EGL_NO_CONTEXT;
    static inline bool ready_ = false;
};

TEST_F(PlacementTest, EveryShownPictureAppearsUprightAndUnmirrored) {
    ASSERT_TRUE(ready_) << "no surfaceless EGL context with desktop GL";
    for (const Case& c : Cases()) {
        SCOPED_TRACE(std::string(c.file) + " on the " + c.view);
        const std::vector<uint8_t> frame = Render(c);
        const auto at = [&](int x, int yFromTop) {
            const uint8_t* p = &frame[((kHeight - 1 - yFromTop) * kWidth + x) * 3];
            return Rgb{p[0] / 255.0f, p[1] / 255.0f, p[2] / 255.0f};
        };
        int x0 = kWidth, y0 = kHeight, x1 = -1, y1 = -1;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                const Rgb p = at(x, y);
                if (p.r + p.g + p.b == 0) continue;
                x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
            }
        }
        ASSERT_GE(x1, x0) << "nothing drawn";
        const auto sample = [&](float fx, float fy) {
            return at(x0 + static_cast<int>((x1 - x0) * fx), y0 + static_cast<int>((y1 - y0) * fy));
        };
        const auto same = [](Rgb a, Rgb b) { return a.r == b.r && a.g == b.g && a.b == b.b; };
        EXPECT_TRUE(same(sample(0.3f, 0.3f), kTopLeft)) << "top left";
        EXPECT_TRUE(same(sample(0.7f, 0.3f), kTopRight)) << "top right";
        EXPECT_TRUE(same(sample(0.3f, 0.7f), kBottomLeft)) << "bottom left";
        EXPECT_TRUE(same(sample(0.7f, 0.7f), kBottomRight)) << "bottom right";
    }
}

}  // namespace
}  // namespace pictures
