// The web program's GL 1.1 layer against the desktop's GL. A row is a real frame of the show
// with the real pictures (the last row, two quads of the show's form placed to probe how the
// desktop splits them): its GL calls from the window's set-up to the frame's last quad are
// recorded as the desktop's GL draws them, replayed through the layer over OpenGL ES 2 on the
// same Mesa (surfaceless EGL), and the two frames compared over the whole view.
//
// Measure: the pixels whose red, green or blue differs from the desktop's by a level or more.
// Tolerance: 0.05% of the view (153 of 640 x 480). Both sides rasterise on the same renderer;
// what may differ is float rounding where the two compute in another order, which moves only a
// pixel whose colour, depth or texel sits on an edge (measured: at most 8 a frame). A light 0.2%
// off moves about 100,000 pixels, a quad split along the other diagonal over 1,000 in a frame.
#include <EGL/egl.h>

#include <algorithm>
#include <cstdio>
#include <map>

#include "platform/subset/web/gl/gl11.h"
#include "scene/shapes.h"
#include "tests/gl/gl_fixture.h"

namespace gltest {
namespace {

// The layer's calls by GL name, fed from a recorded call; texture names mapped from the
// desktop's to the layer's.
void Replay(const glrec::Call& call, std::map<unsigned, unsigned>& names) {
    const std::vector<double>& a = call.args;
    const auto u = [&a](std::size_t i) { return static_cast<unsigned>(a[i]); };
    const auto f = [&a](std::size_t i) { return static_cast<float>(a[i]); };
    const std::string& n = call.name;
    if (n == "glBegin") gl11::Begin(u(0));
    else if (n == "glEnd") gl11::End();
    else if (n == "glNormal3f") gl11::Normal3f(f(0), f(1), f(2));
    else if (n == "glTexCoord2f") gl11::TexCoord2f(f(0), f(1));
    else if (n == "glVertex3f") gl11::Vertex3f(f(0), f(1), f(2));
    else if (n == "glCallList") gl11::CallList(u(0));
    else if (n == "glMatrixMode") gl11::MatrixMode(u(0));
    else if (n == "glLoadIdentity") gl11::LoadIdentity();
    else if (n == "glPushMatrix") gl11::PushMatrix();
    else if (n == "glPopMatrix") gl11::PopMatrix();
    else if (n == "glTranslatef") gl11::Translatef(f(0), f(1), f(2));
    else if (n == "glRotatef") gl11::Rotatef(f(0), f(1), f(2), f(3));
    else if (n == "gluPerspective") gl11::Perspective(a[0], a[1], a[2], a[3]);
    else if (n == "glViewport") gl11::Viewport(int(a[0]), int(a[1]), int(a[2]), int(a[3]));
    else if (n == "glEnable") gl11::Enable(u(0));
    else if (n == "glDisable") gl11::Disable(u(0));
    else if (n == "glShadeModel") gl11::ShadeModel(u(0));
    else if (n == "glHint") gl11::Hint(u(0), u(1));
    else if (n == "glClearColor") gl11::ClearColor(f(0), f(1), f(2), f(3));
    else if (n == "glClearDepth") gl11::ClearDepth(a[0]);
    else if (n == "glClear") gl11::Clear(u(0));
    else if (n == "glDepthFunc") gl11::DepthFunc(u(0));
    else if (n == "glLightfv") {
        const float v[4] = {f(2), f(3), f(4), f(5)};
        gl11::Lightfv(u(0), u(1), v);
    } else if (n == "glPixelStorei") gl11::PixelStorei(u(0), int(a[1]));
    else if (n == "glGenTextures") {
        for (std::size_t i = 1; i < a.size(); ++i) gl11::GenTextures(1, &names[u(i)]);
    } else if (n == "glBindTexture") gl11::BindTexture(u(0), u(1) == 0 ? 0 : names.at(u(1)));
    else if (n == "glTexImage2D") {
        gl11::TexImage2D(u(0), int(a[1]), int(a[2]), int(a[3]), int(a[4]), int(a[5]), u(6), u(7), call.pixels.data());
    } else if (n == "glTexParameteri") gl11::TexParameteri(u(0), u(1), int(a[2]));
    else ADD_FAILURE() << "the show called " << n << ", which the layer lacks";
}

// An OpenGL ES 2 pbuffer context of width x height, RGBA8 as the desktop's: without the alpha,
// a 10-bit config comes first, and reading it back as bytes rounds a quarter of the pixels a
// level away.
struct EsContext {
    EGLDisplay display = eglGetCurrentDisplay();
    EGLSurface surface = EGL_NO_SURFACE;
    EGLContext context = EGL_NO_CONTEXT;
    EsContext(int width, int height) {
        const EGLint wanted[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_ES2_BIT,
                                 EGL_RED_SIZE, 8, EGL_GREEN_SIZE, 8, EGL_BLUE_SIZE, 8, EGL_ALPHA_SIZE, 8,
                                 EGL_DEPTH_SIZE, 24, EGL_NONE};
        EGLConfig config = nullptr;
        EGLint found = 0;
        if (!eglChooseConfig(display, wanted, &config, 1, &found) || found != 1) return;
        const EGLint size[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
        const EGLint version[] = {EGL_CONTEXT_CLIENT_VERSION, 2, EGL_NONE};
        surface = eglCreatePbufferSurface(display, config, size);
        eglBindAPI(EGL_OPENGL_ES_API);
        context = eglCreateContext(display, config, EGL_NO_CONTEXT, version);
    }
    ~EsContext() {
        eglDestroyContext(display, context);
        eglDestroySurface(display, surface);
    }
    bool MakeCurrent() { return context != EGL_NO_CONTEXT && eglMakeCurrent(display, surface, surface, context); }
};

std::vector<unsigned char> ReadPixels(int width, int height) {
    std::vector<unsigned char> pixels(std::size_t(width) * height * 4);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

// What the layer drew of the recorded calls: the frame itself; the frame as Restore draws it
// again in a new context after the first one's objects were forgotten (a lost context given
// back); and the frame's calls drawn once more in that context, minus the texture set-up (the
// next frame after a restore).
struct LayerFrames {
    std::vector<unsigned char> drawn, restored, next;
};

LayerFrames DrawThroughLayer(int width, int height) {
    EGLDisplay display = eglGetCurrentDisplay();
    EGLContext desktop = eglGetCurrentContext();
    EGLSurface draw = eglGetCurrentSurface(EGL_DRAW), read = eglGetCurrentSurface(EGL_READ);
    LayerFrames frames;
    {
        EsContext first(width, height), second(width, height);
        std::map<unsigned, unsigned> names;
        if (first.MakeCurrent() && gl11::Initialise()) {
            for (const glrec::Call& call : glrec::Calls()) Replay(call, names);
            gl11::EndFrame();
            frames.drawn = ReadPixels(width, height);
            gl11::ForgetObjects();
        }
        if (second.MakeCurrent() && gl11::Restore()) {
            frames.restored = ReadPixels(width, height);
            for (const glrec::Call& call : glrec::Calls()) {
                if (call.name != "glGenTextures" && call.name != "glTexImage2D" && call.name != "glTexParameteri")
                    Replay(call, names);
            }
            gl11::EndFrame();
            frames.next = ReadPixels(width, height);
        }
        if (frames.next.empty()) ADD_FAILURE() << "no OpenGL ES 2 context for the layer";
        eglBindAPI(EGL_OPENGL_API);
        eglMakeCurrent(display, draw, read, desktop);
    }
    return frames;
}

void ShowFrame() { RenderFrame(); }

// Two quads drawn one after the other with no state change between, the second beyond the
// view: the desktop's GL splits both along v1-v3 (the first alone, along v0-v2; split so here,
// about 57,000 pixels differ).
void QuadsOfOneDrawAcrossTheEdge() {
    static const Quad kInView{{{-3, -2, 0}, {-3, 2, 0}, {3, 2, 0}, {3, -2, 0}}};
    static const Quad kBeyondTheEdge{{{30, -3, 0}, {30, 3, 0}, {40, 3, 0}, {40, -3, 0}}};
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glTranslatef(0, 0, -12);
    glRotatef(40, 1, 0, 0);
    glRotatef(60, 0, 0, 1);
    TexturedQuad(kInView);
    TexturedQuad(kBeyondTheEdge);
}

struct FrameRow {
    const char* what;
    int scene;
    float clock;
    int scheme, caption;
    double spin, sweep;
    void (*draw)() = ShowFrame;  // the show's frame unless a row draws its own
};

const FrameRow kFrames[] = {
    {"the splash", kSplashScene, 1400, 1, 1, 20, 100},
    {"the start scene", kAutoStartScene, 1000, 1, 1, 20, 100},
    {"an assembly half done", 4, 8300, 1, 1, 20, 100},
    {"an assembly, other scheme, no caption", 7, 17450, 2, 2, 75, 260},
    {"a finished device turning", 1, 3000, 1, 1, 200, 33},
    {"a finished device, other scheme", 10, 28000, 2, 1, 130, 310},
    {"a late scene", 13, 37999, 1, 1, 300, 170},
    {"quads of one draw across the view's edge", 1, 3000, 1, 1, 0, 0, QuadsOfOneDrawAcrossTheEdge},
};

TEST_F(GlFrame, LayerDrawsRealFramesAsTheDesktopGl) {
    SetPictureFolder(PICTURE_DIR);
    for (const FrameRow& row : kFrames) {
        SCOPED_TRACE(row.what);
        glrec::Start();
        ReshapeScene(kWidth, kHeight);
        ASSERT_EQ(SetupScene(), 1);
        sceneState.warmupPhase = 2;
        sceneState.lightingMode = 1;
        sceneState.colorScheme = row.scheme;
        sceneState.captionMode = row.caption;
        sceneState.spinAngle = row.spin;
        sceneState.sweepAngle = row.sweep;
        sceneState.depthSwing = kDepthSwing;
        sceneState.sceneMode = row.scene;
        sceneState.tourClock = row.clock;
        row.draw();
        glrec::Stop();
        std::vector<unsigned char> desktop(std::size_t(kWidth) * kHeight * 4);
        glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, desktop.data());
        const LayerFrames frames = DrawThroughLayer(kWidth, kHeight);
        const std::vector<unsigned char>& layer = frames.drawn;
        ASSERT_EQ(layer.size(), desktop.size());
        EXPECT_TRUE(frames.restored == layer) << "the frame Restore draws again differs";
        EXPECT_TRUE(frames.next == layer) << "the next frame in the restored context differs";

        int differing = 0, worst = 0;
        for (std::size_t p = 0; p < std::size_t(kWidth) * kHeight; ++p) {
            int most = 0;
            for (int c = 0; c < 3; ++c) most = std::max(most, std::abs(desktop[p * 4 + c] - layer[p * 4 + c]));
            worst = std::max(worst, most);
            differing += most > 0;
        }
        std::printf("%-40s %6d pixels differ, by at most %d levels\n", row.what, differing, worst);
        EXPECT_LE(differing, kWidth * kHeight / 2000);
    }
    SetPictureFolder(nullptr);
}

// A call outside what the show makes stops a debug build with its name and argument, before
// anything reaches a context (none is current here) and instead of drawing something else.
TEST(Gl11Layer, CallsOutsideWhatTheShowMakesStopADebugBuild) {
#ifdef NDEBUG
    GTEST_SKIP() << "a release build says so on stderr and goes on";
#else
    const float white[4] = {1, 1, 1, 1};
    EXPECT_DEATH(gl11::Enable(0x0B60), "glEnable\\(0x0b60\\)");                     // GL_FOG
    EXPECT_DEATH(gl11::Begin(0x0004), "glBegin\\(0x0004\\)");                       // GL_TRIANGLES
    EXPECT_DEATH(gl11::Lightfv(0x4001, 0x1202, white), "glLightfv\\(0x1202\\)");    // GL_SPECULAR
    EXPECT_DEATH(gl11::MatrixMode(0x1702), "glMatrixMode\\(0x1702\\)");             // GL_TEXTURE
#endif
}

}  // namespace
}  // namespace gltest
