// The sdl backend through the program's own calls, on a private Xvfb: screen metrics and
// exact-mode changes, and pixel formats that shape the window's real GL framebuffer.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <SDL.h>

#include <cstdlib>
#include <memory>

#include "platform/win32.h"
#include "tests/window/x_session.h"

namespace {

LRESULT TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

PIXELFORMATDESCRIPTOR Request(BYTE colourBits, BYTE alphaBits, BYTE depthBits, BYTE stencilBits) {
    PIXELFORMATDESCRIPTOR request{};
    request.nSize = sizeof request;
    request.nVersion = 1;
    request.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    request.iPixelType = PFD_TYPE_RGBA;
    request.cColorBits = colourBits;
    request.cAlphaBits = alphaBits;
    request.cDepthBits = depthBits;
    request.cStencilBits = stencilBits;
    request.iLayerType = PFD_MAIN_PLANE;
    return request;
}

DEVMODEA Mode(DWORD width, DWORD height, DWORD bits) {
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    mode.dmPelsWidth = width;
    mode.dmPelsHeight = height;
    mode.dmBitsPerPel = bits;
    mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT | DM_BITSPERPEL;
    return mode;
}

// One Xvfb for the whole process: the backend starts SDL video once, on first need.
class SdlBackend : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        server = std::make_unique<XvfbServer>();
        ASSERT_TRUE(server->Start(1024, 768, 24));
        setenv("DISPLAY", server->Display().c_str(), 1);
        unsetenv("WAYLAND_DISPLAY");
    }
    // The backend's display connection goes before its server does.
    static void TearDownTestSuite() {
        SDL_Quit();
        server.reset();
    }

    void SetUp() override {
        instance = GetModuleHandleA(nullptr);
        WNDCLASSA windowClass{};
        windowClass.style = CS_OWNDC;
        windowClass.lpfnWndProc = TestWindowProc;
        windowClass.hInstance = instance;
        windowClass.lpszClassName = "BackendTest";
        ASSERT_NE(RegisterClassA(&windowClass), 0);
    }
    void TearDown() override {
        if (context) {
            wglMakeCurrent(nullptr, nullptr);
            wglDeleteContext(context);
        }
        if (window) DestroyWindow(window);
        UnregisterClassA("BackendTest", instance);
    }

    HWND Create() {
        window = CreateWindowExA(0, "BackendTest", "test", WS_OVERLAPPEDWINDOW, 0, 0, 320, 240, nullptr, nullptr,
                                 instance, nullptr);
        return window;
    }

    static int GlInteger(GLenum query) {
        GLint value = 0;
        glGetIntegerv(query, &value);
        return value;
    }

    static inline std::unique_ptr<XvfbServer> server;
    HINSTANCE instance = nullptr;
    HWND window = nullptr;
    HGLRC context = nullptr;
};

TEST_F(SdlBackend, ScreenSizeAndModeChangesFollowTheDisplaysModes) {
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
    DEVMODEA missing = Mode(640, 480, 16);
    EXPECT_EQ(ChangeDisplaySettingsA(&missing, CDS_FULLSCREEN), DISP_CHANGE_BADMODE);
    DEVMODEA otherDepth = Mode(1024, 768, 16);
    EXPECT_EQ(ChangeDisplaySettingsA(&otherDepth, CDS_FULLSCREEN), DISP_CHANGE_BADMODE);
    DEVMODEA listed = Mode(1024, 768, 24);
    EXPECT_EQ(ChangeDisplaySettingsA(&listed, CDS_FULLSCREEN), DISP_CHANGE_SUCCESSFUL);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
    EXPECT_EQ(ChangeDisplaySettingsA(nullptr, 0), DISP_CHANGE_SUCCESSFUL);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
}

TEST_F(SdlBackend, OnlyRgbaWindowRequestsGetAFormat) {
    ASSERT_NE(Create(), nullptr);
    const HDC dc = GetDC(window);
    PIXELFORMATDESCRIPTOR request = Request(16, 0, 16, 0);
    EXPECT_EQ(ChoosePixelFormat(dc, &request), 1);
    request.iPixelType = PFD_TYPE_COLORINDEX;
    EXPECT_EQ(ChoosePixelFormat(dc, &request), 0);
    request = Request(16, 0, 16, 0);
    request.dwFlags = PFD_DRAW_TO_BITMAP | PFD_SUPPORT_OPENGL;
    EXPECT_EQ(ChoosePixelFormat(dc, &request), 0);
    request = Request(16, 0, 16, 0);
    EXPECT_FALSE(SetPixelFormat(dc, 2, &request));
    EXPECT_TRUE(SetPixelFormat(dc, 1, &request));
}

// The GL visual of an X window is fixed when the window is made, so a request unlike the
// window's first visual has to reach the context that is created afterwards.
TEST_F(SdlBackend, PixelFormatRequestShapesTheContextsFramebuffer) {
    ASSERT_NE(Create(), nullptr);
    const HDC dc = GetDC(window);
    const PIXELFORMATDESCRIPTOR request = Request(32, 8, 24, 8);
    ASSERT_EQ(ChoosePixelFormat(dc, &request), 1);
    ASSERT_TRUE(SetPixelFormat(dc, 1, &request));
    context = wglCreateContext(dc);
    ASSERT_NE(context, nullptr);
    ASSERT_TRUE(wglMakeCurrent(dc, context));
    EXPECT_GE(GlInteger(GL_DEPTH_BITS), 24);
    EXPECT_GE(GlInteger(GL_STENCIL_BITS), 8);
    EXPECT_GE(GlInteger(GL_ALPHA_BITS), 8);
    EXPECT_EQ(GlInteger(GL_DOUBLEBUFFER), GL_TRUE);
    ShowWindow(window, SW_SHOW);
    EXPECT_TRUE(SwapBuffers(dc));
}

}  // namespace
