// The GL side of the platform layer on the headless backend: pixel formats, contexts that
// really render fixed-function GL, frames presented with the push buttons over them, and
// drawables and contexts released in the order the program asks.
#include "tests/headless/platform_fixture.h"

#include <GL/gl.h>

#include <cstdlib>

namespace platform_test {
namespace {

class Gl : public PlatformTest {
  protected:
    void SetUp() override {
        PlatformTest::SetUp();
        window = CreateMain(160, 120);
        ShowWindow(window, SW_SHOW);
        dc = GetDC(window);
    }

    HWND window = nullptr;
    HDC dc = nullptr;
};

// Within one step of 0xRRGGBBAA per channel, as colour conversion may round.
::testing::AssertionResult Near(std::uint32_t got, std::uint32_t want) {
    for (int shift = 0; shift < 32; shift += 8) {
        int a = (got >> shift) & 0xFF;
        int b = (want >> shift) & 0xFF;
        if (std::abs(a - b) > 1) return ::testing::AssertionFailure() << std::hex << "0x" << got << " is not 0x" << want;
    }
    return ::testing::AssertionSuccess();
}

TEST_F(Gl, OneRgbaFormatForWindowDrawing) {
    PIXELFORMATDESCRIPTOR pfd = RgbaRequest();
    EXPECT_EQ(ChoosePixelFormat(dc, &pfd), 1);
    PIXELFORMATDESCRIPTOR indexed = pfd;
    indexed.iPixelType = PFD_TYPE_COLORINDEX;
    EXPECT_EQ(ChoosePixelFormat(dc, &indexed), 0);
    PIXELFORMATDESCRIPTOR bitmap = pfd;
    bitmap.dwFlags = PFD_DRAW_TO_BITMAP | PFD_SUPPORT_OPENGL;
    EXPECT_EQ(ChoosePixelFormat(dc, &bitmap), 0);

    EXPECT_EQ(wglCreateContext(dc), nullptr) << "context before a pixel format";
    EXPECT_FALSE(SetPixelFormat(dc, 2, &pfd)) << "no second format exists";
    ASSERT_TRUE(SetPixelFormat(dc, 1, &pfd));
    EXPECT_TRUE(SetPixelFormat(dc, 1, &pfd)) << "the same format again";
    EXPECT_FALSE(SetPixelFormat(dc, 2, &pfd)) << "a window takes one format for its life";
    EXPECT_EQ(headless::LiveSurfaces(), 1);
}

TEST_F(Gl, ContextRendersFixedFunctionGl) {
    ASSERT_NE(StartGl(window), nullptr);
    ASSERT_TRUE(headless::ContextCurrent());
    glClearColor(0.25f, 0.5f, 0.75f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    // The top half green, in immediate mode as the program draws.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glBegin(GL_QUADS);
    glColor3f(0, 1, 0);
    glVertex2f(-1, 0), glVertex2f(1, 0), glVertex2f(1, 1), glVertex2f(-1, 1);
    glEnd();

    headless::Frame frame = headless::ReadPixels();
    ASSERT_EQ(frame.width, 160);
    ASSERT_EQ(frame.height, 120);
    EXPECT_TRUE(Near(frame.At(5, 5), 0x00FF00FF)) << "rows are top first";
    EXPECT_TRUE(Near(frame.At(150, 110), 0x4080BFFF));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(Gl, PresentDrawsTheButtonsAndRunsTheFrameHook) {
    AddButton(window, 1000, 100, 10, 40, 20);
    AddButton(window, 1001, 100, 40, 0, 20);  // zero width: never drawn
    ASSERT_NE(StartGl(window), nullptr);
    std::vector<headless::Frame> frames;
    headless::OnFrame([&](int frameNo) {
        EXPECT_EQ(frameNo, static_cast<int>(frames.size()) + 1);
        frames.push_back(headless::ReadPixels());
    });
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    ASSERT_TRUE(SwapBuffers(dc));
    headless::PointerDown(120, 20);
    headless::Deliver();
    Pump();
    glClear(GL_COLOR_BUFFER_BIT);
    ASSERT_TRUE(SwapBuffers(dc));

    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(headless::FrameCount(), 2);
    const headless::Frame& up = frames[0];
    std::uint32_t border = up.At(100, 10);
    std::uint32_t face = up.At(120, 20);
    EXPECT_TRUE(Near(border, up.At(139, 29))) << "border all round";
    EXPECT_TRUE(Near(up.At(99, 10), 0x000000FF)) << "drawn outside the button";
    EXPECT_TRUE(Near(up.At(140, 29), 0x000000FF));
    EXPECT_TRUE(Near(up.At(101, 45), 0x000000FF)) << "a zero-width button was drawn";
    EXPECT_FALSE(Near(face, 0x000000FF)) << "no face drawn";
    EXPECT_FALSE(Near(face, border)) << "face and border alike";
    std::uint32_t pressedFace = frames[1].At(120, 20);
    EXPECT_FALSE(Near(pressedFace, face)) << "held button looks the same";
    EXPECT_TRUE(Near(frames[1].At(100, 10), border));
}

TEST_F(Gl, ButtonOverlayLeavesTheProgramsGlStateAlone) {
    AddButton(window, 1000, 10, 10, 40, 20);
    ASSERT_NE(StartGl(window), nullptr);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_LIGHTING);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-2, 2, -2, 2, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0.5f, 0, 0);
    glViewport(5, 5, 50, 50);
    glColor4f(0.1f, 0.2f, 0.3f, 0.4f);
    GLfloat projectionBefore[16], modelviewBefore[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projectionBefore);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelviewBefore);

    ASSERT_TRUE(SwapBuffers(dc));

    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], 5);
    EXPECT_EQ(viewport[2], 50);
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[2], 0.3f);
    GLfloat projection[16], modelview[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    for (int i = 0; i < 16; ++i) {
        EXPECT_FLOAT_EQ(projection[i], projectionBefore[i]) << i;
        EXPECT_FLOAT_EQ(modelview[i], modelviewBefore[i]) << i;
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(Gl, PresentNeedsTheWindowsContextCurrent) {
    EXPECT_FALSE(SwapBuffers(dc)) << "no pixel format, no context";
    HGLRC context = StartGl(window);
    ASSERT_NE(context, nullptr);
    ASSERT_TRUE(wglMakeCurrent(nullptr, nullptr));
    EXPECT_FALSE(headless::ContextCurrent());
    EXPECT_FALSE(SwapBuffers(dc));
    EXPECT_TRUE(headless::ReadPixels().rgba.empty());
    EXPECT_EQ(headless::FrameCount(), 0);
    ASSERT_TRUE(wglMakeCurrent(dc, context));
    EXPECT_TRUE(SwapBuffers(dc));
    EXPECT_EQ(headless::FrameCount(), 1);
}

TEST_F(Gl, DrawableFollowsTheClientSize) {
    ASSERT_NE(StartGl(window), nullptr);
    headless::Resize(200, 100);
    headless::Deliver();
    auto sizes = Only(WM_SIZE);
    ASSERT_FALSE(sizes.empty());
    EXPECT_EQ(sizes.back().lParam, MAKELPARAM(200, 100));
    ASSERT_TRUE(headless::ContextCurrent()) << "context lost on resize";
    glViewport(0, 0, 200, 100);
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    headless::Frame frame = headless::ReadPixels();
    EXPECT_EQ(frame.width, 200);
    EXPECT_EQ(frame.height, 100);
    EXPECT_TRUE(Near(frame.At(199, 99), 0xFF0000FF));
    EXPECT_TRUE(SwapBuffers(dc));
}

TEST_F(Gl, ShutdownReleasesInTheOrderAsked) {
    HGLRC context = StartGl(window);
    ASSERT_NE(context, nullptr);
    EXPECT_EQ(headless::LiveContexts(), 1);
    EXPECT_FALSE(wglDeleteContext(reinterpret_cast<HGLRC>(std::uintptr_t{0xBAD0}))) << "unknown context";

    ASSERT_TRUE(wglMakeCurrent(nullptr, nullptr));
    ASSERT_TRUE(wglDeleteContext(context));
    EXPECT_FALSE(wglDeleteContext(context)) << "deleted twice";
    EXPECT_EQ(ReleaseDC(window, dc), 1);
    ASSERT_TRUE(DestroyWindow(window));
    EXPECT_TRUE(UnregisterClassA(kClass, GetModuleHandleA(nullptr)));
    EXPECT_EQ(headless::LiveContexts(), 0);
    EXPECT_EQ(headless::LiveSurfaces(), 0);

    std::vector<std::string> released;
    for (const std::string& name : headless::CallNames()) {
        if (name != "DefWindowProcA") released.push_back(name);
    }
    released.erase(released.begin(), released.end() - 6);
    EXPECT_EQ(released, (std::vector<std::string>{"wglMakeCurrent(NULL)", "wglDeleteContext", "wglDeleteContext",
                                                  "ReleaseDC", "DestroyWindow", "UnregisterClassA"}));
}

TEST_F(Gl, DeletingTheCurrentContextReleasesIt) {
    HGLRC context = StartGl(window);
    ASSERT_NE(context, nullptr);
    ASSERT_TRUE(wglDeleteContext(context));
    EXPECT_FALSE(headless::ContextCurrent());
    EXPECT_EQ(headless::LiveContexts(), 0);
    EXPECT_FALSE(wglMakeCurrent(dc, context));
}

TEST_F(Gl, RefusedGlCallsFail) {
    PIXELFORMATDESCRIPTOR pfd = RgbaRequest();
    headless::FailCall(platform::Call::SetPixelFormat);
    EXPECT_FALSE(SetPixelFormat(dc, 1, &pfd));
    EXPECT_EQ(headless::LiveSurfaces(), 0);
    headless::FailCall(platform::Call::CreateContext);
    headless::FailCall(platform::Call::MakeCurrent);
    headless::FailCall(platform::Call::SwapBuffers);
    ASSERT_TRUE(SetPixelFormat(dc, 1, &pfd));
    EXPECT_EQ(wglCreateContext(dc), nullptr);
    HGLRC context = wglCreateContext(dc);
    ASSERT_NE(context, nullptr);
    EXPECT_FALSE(wglMakeCurrent(dc, context));
    EXPECT_FALSE(headless::ContextCurrent());
    ASSERT_TRUE(wglMakeCurrent(dc, context));
    EXPECT_FALSE(SwapBuffers(dc));
    EXPECT_EQ(headless::FrameCount(), 0);
    EXPECT_TRUE(SwapBuffers(dc));
}

}  // namespace
}  // namespace platform_test
