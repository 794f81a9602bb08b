// The GL stream of whole frames: the calls a frame may make, matrix pushes and pops balanced
// with the modelview matrix back at the identity in every scene and phase, every quad drawn
// the one way, the common layers (caption plate and backdrop) and the splash without them, the
// wrap frame, and the first frame after each device button in a running program.
#include <algorithm>
#include <set>

#include "tests/app/viewer_fixture.h"
#include "tests/gl/gl_fixture.h"

namespace gltest {
namespace {

using V3 = std::array<float, 3>;

constexpr V3 kCaptionFrontCorner{-2.7f, -0.2f, 0};
constexpr V3 kCaptionBackCorner{-2.7f, -0.2f, -0.1f};
constexpr V3 kBackdropCorner{-54.5f, -46.6f, -0.5f};

// ---- What a frame may do ----

const std::set<std::string> kFrameCalls = {
    "glClear",  "glLoadIdentity", "glEnable",   "glPushMatrix", "glPopMatrix", "glTranslatef", "glRotatef",
    "glBindTexture", "glBegin",   "glNormal3f", "glTexCoord2f", "glVertex3f",  "glEnd",        "glCallList",
};

// Checks one recorded frame against everything a frame of that scene must keep to.
void ExpectWellFormedFrame(int sceneMode) {
    const std::vector<glrec::Call>& calls = glrec::Calls();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[0].name, "glClear");
    EXPECT_EQ(calls[0].args, (std::vector<double>{GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT}));
    EXPECT_EQ(calls[1].name, "glLoadIdentity");

    int depth = 0;
    int loads = 0;
    std::vector<double> lists;
    for (std::size_t i = 0; i < calls.size(); ++i) {
        const glrec::Call& call = calls[i];
        EXPECT_TRUE(kFrameCalls.contains(call.name)) << "call " << i << ": " << call.name;
        if (call.name == "glEnable") {
            EXPECT_EQ(call.args, (std::vector<double>{GL_LIGHTING})) << "call " << i;
        }
        if (call.name == "glBindTexture") {
            EXPECT_EQ(call.args[0], GL_TEXTURE_2D) << "call " << i;
        }
        if (call.name == "glLoadIdentity") ++loads;
        if (call.name == "glCallList") lists.push_back(call.args[0]);
        if (call.name == "glPushMatrix") ++depth;
        if (call.name == "glPopMatrix") {
            ASSERT_GE(--depth, 0) << "pop without a push at call " << i;
        }
        if (call.name == "glNormal3f" || call.name == "glTexCoord2f" || call.name == "glVertex3f" ||
            call.name == "glEnd") {
            ADD_FAILURE() << call.name << " outside a quad at call " << i;
        }
        if (call.name != "glBegin") continue;

        // A quad: exactly this sequence, one quad per begin/end pair.
        static const std::vector<std::pair<std::string, std::vector<double>>> kQuad = {
            {"glNormal3f", {0, 1, 0}}, {"glTexCoord2f", {0, 0}}, {"glVertex3f", {}}, {"glTexCoord2f", {1, 0}},
            {"glVertex3f", {}},        {"glTexCoord2f", {1, 1}}, {"glVertex3f", {}}, {"glTexCoord2f", {0, 1}},
            {"glVertex3f", {}},        {"glEnd", {}},
        };
        EXPECT_EQ(call.args, (std::vector<double>{GL_QUADS})) << "call " << i;
        ASSERT_LE(i + kQuad.size(), calls.size() - 1) << "quad at call " << i << " cut short";
        for (std::size_t k = 0; k < kQuad.size(); ++k) {
            const glrec::Call& part = calls[i + 1 + k];
            ASSERT_EQ(part.name, kQuad[k].first) << "quad at call " << i << ", part " << k;
            if (!kQuad[k].second.empty() || part.name == "glEnd") {
                EXPECT_EQ(part.args, kQuad[k].second);
            }
        }
        i += kQuad.size();
    }
    EXPECT_EQ(depth, 0) << "pushes left open";
    EXPECT_EQ(loads, 1);
    const std::vector<double> expectedLists = sceneMode == 23 ? std::vector<double>{66}
                                              : sceneMode == 14 ? std::vector<double>{67}
                                                                : std::vector<double>{};
    EXPECT_EQ(lists, expectedLists);

    // What GL itself says after the frame: modelview current, back at the identity, nothing
    // left on its stack, and no call refused (a pop too many is refused).
    Matrix modelview;
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview.data());
    EXPECT_TRUE(Near(modelview, Identity(), 0)) << Show(modelview);
    GLint stack = 0, mode = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &stack);
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(stack, 1);
    EXPECT_EQ(mode, GL_MODELVIEW);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// Clock values of each scene: its window start (the first frame after its button), just above
// it, the spin restart bound, every piece's thresholds, a value inside every phase, the end of
// the assembly and a value after it.
struct SceneClocks {
    int scene;
    std::vector<float> clocks;
};
const SceneClocks kSceneClocks[] = {
    {1, {2000, 2001.92f, 2002.99f, 2003, 2050, 2100, 2150, 2200, 2400, 2600, 3000, 3999}},
    {2, {4000, 4001.92f, 5000, 5999}},
    {3, {6000, 6001.92f, 6003, 6050, 6100, 6150, 6200, 6400, 6600, 7000}},
    {4, {8000, 8001.92f, 8003, 8050, 8100, 8150, 8200, 8300, 8400, 8500, 8600, 8800, 9000, 10000}},
    {5, {11000, 11001.92f, 11050, 11100, 11150, 11200, 11300, 11400, 11450, 11500, 11800, 12000, 13000}},
    {6, {14000, 14001.92f, 14050, 14100, 14150, 14200, 14400, 14600, 15000}},
    {7, {17000, 17001.92f, 17050, 17100, 17150, 17200, 17300, 17400, 17450, 17500, 17550, 17600, 17800, 18000, 19000}},
    {8, {20000, 21000}},
    {9, {23000, 24000}},
    {10, {26000, 26001.92f, 26050, 26100, 26150, 26200, 26300, 26400, 26450, 26500, 26800, 27000, 28000}},
    {11, {29000, 29001.92f, 29050, 29100, 29150, 29200, 29400, 29600, 30000}},
    {12, {32000, 32001.92f, 32050, 32100, 32150, 32200, 33000}},
    {13, {35000, 35001.92f, 35050, 35100, 35150, 35200, 35250, 35300, 35400, 35600, 36000, 37999}},
    {14, {0, 1000, 1999}},
    {23, {1400, 1999}},
};

void PrintTo(const SceneClocks& s, std::ostream* os) { *os << "scene " << s.scene; }

class FrameStream : public GlFrame, public ::testing::WithParamInterface<SceneClocks> {};

TEST_P(FrameStream, EveryPhaseKeepsToTheFrameStream) {
    const SceneClocks& scene = GetParam();
    while (glGetError() != GL_NO_ERROR) {
    }
    for (float clock : scene.clocks) {
        for (int scheme : {1, 2}) {
            for (int caption : {1, 2}) {
                SCOPED_TRACE("tourClock " + std::to_string(clock) + ", scheme " + std::to_string(scheme) +
                             ", caption " + std::to_string(caption));
                sceneState.colorScheme = scheme;
                sceneState.captionMode = caption;
                sceneState.spinAngle = 20;
                Record(scene.scene, clock);
                ExpectWellFormedFrame(scene.scene);
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AllScenes, FrameStream, ::testing::ValuesIn(kSceneClocks),
                         [](const auto& info) { return "Scene" + std::to_string(info.param.scene); });

// ---- Lighting switch ----

long Recorded(const char* name) {
    const std::vector<std::string> names = glrec::Names();
    return std::count(names.begin(), names.end(), std::string(name));
}

TEST_F(GlFrame, FirstFrameOfAShowLeavesLightingToTheSetUp) {
    CloseRenderWindow();
    sceneState = SceneState{};
    ASSERT_EQ(OpenRenderWindow(kStartupTitle, kWidth, kHeight, 16, false), 1);
    ASSERT_EQ(sceneState.lightingMode, 0);

    glrec::Start();
    RenderFrame();
    glrec::Stop();
    EXPECT_EQ(Recorded("glEnable"), 0);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING)) << "lighting is on from the set-up all the same";

    glrec::Start();
    RenderFrame();
    glrec::Stop();
    EXPECT_EQ(Recorded("glEnable"), 1);
}

// ---- Common layers ----

struct Layer {
    const char* what;
    V3 corner;
    GLuint* a;
    GLuint* b;
    std::vector<Op> ops;
};

// With sweepAngle 100 the caption turns by 214 about X; with depthSwing -19 the backdrop sits at
// z -81.
std::vector<Layer> CommonLayers(int captionMode) {
    std::vector<Layer> layers;
    if (captionMode == 1) {
        layers.push_back({"caption front", kCaptionFrontCorner, &tex12, &tex16,
                          {T(0, -5.2, -16), R(214, Axis::X), R(180, Axis::Y)}});
        layers.push_back({"caption back", kCaptionBackCorner, &tex12, &tex16,
                          {T(0, -5.2, -16), R(214, Axis::X), R(180, Axis::Y), R(180, Axis::X)}});
    }
    layers.push_back({"backdrop", kBackdropCorner, &tex11, &tex11a, {T(0, 0, -81)}});
    return layers;
}

TEST_F(GlFrame, CommonLayersComeFirstInEveryScene_TheBackdropEvenWithTheCaptionHidden) {
    for (int scene = 1; scene <= 14; ++scene) {
        for (int caption : {1, 2}) {
            for (int scheme : {1, 2}) {
                SCOPED_TRACE("scene " + std::to_string(scene) + ", caption " + std::to_string(caption) +
                             ", scheme " + std::to_string(scheme));
                sceneState.captionMode = caption;
                sceneState.colorScheme = scheme;
                sceneState.sweepAngle = 100;
                Record(scene, scene == 14 ? 100.0f : 40000.0f);
                const std::vector<Layer> layers = CommonLayers(caption);
                ASSERT_GE(glrec::Quads().size(), layers.size());
                for (std::size_t i = 0; i < layers.size(); ++i) {
                    const glrec::Quad& quad = glrec::Quads()[i];
                    SCOPED_TRACE(layers[i].what);
                    EXPECT_EQ(quad.vertices[0], layers[i].corner);
                    EXPECT_EQ(NameOf(quad.texture), NameOf(scheme == 1 ? *layers[i].a : *layers[i].b));
                    EXPECT_TRUE(Near(quad.modelview, Compose(layers[i].ops))) << Show(quad.modelview);
                }
                for (std::size_t i = layers.size(); i < glrec::Quads().size(); ++i) {
                    EXPECT_NE(glrec::Quads()[i].vertices[0], kBackdropCorner) << "a second backdrop";
                    EXPECT_NE(glrec::Quads()[i].vertices[0], kCaptionFrontCorner) << "a second caption";
                }
            }
        }
    }
}

// ---- Splash and auto-start ----

TEST_F(GlFrame, SplashDrawsItsPictureAndPlatesAndNoCommonLayer) {
    for (auto [caption, scheme] : {std::pair{1, 1}, {1, 2}, {2, 1}, {2, 2}}) {
        SCOPED_TRACE("caption " + std::to_string(caption) + ", scheme " + std::to_string(scheme));
        sceneState.captionMode = caption;
        sceneState.colorScheme = scheme;
        sceneState.sweepAngle = 100;
        Record(23, 1400);
        struct Expected {
            const char* what;
            V3 corner;
            GLuint* texture;
            std::vector<Op> ops;
        };
        const Expected expected[] = {
            {"picture", {-50.5f, -40.5f, -0.5f}, &tex13, {T(0, 0, -90)}},
            {"upper plate, first face", {-3.5f, -3.6f, 0}, &tex10, {T(0, 2, -20), R(154, Axis::Y), R(180, Axis::Y)}},
            {"upper plate, second face", {-3.5f, -3.6f, -0.1f}, &tex10,
             {T(0, 2, -20), R(154, Axis::Y), R(180, Axis::Y), R(180, Axis::Y)}},
            {"lower plate, first face", {-3.5f, -1.5f, 0}, &tex8, {T(0, -4, -19), R(164, Axis::Y)}},
            {"lower plate, second face", {-3.5f, -1.5f, -0.1f}, &tex8,
             {T(0, -4, -19), R(164, Axis::Y), R(180, Axis::Y)}},
        };
        ASSERT_EQ(glrec::Quads().size(), std::size(expected));
        for (std::size_t i = 0; i < std::size(expected); ++i) {
            SCOPED_TRACE(expected[i].what);
            const glrec::Quad& quad = glrec::Quads()[i];
            EXPECT_EQ(quad.vertices[0], expected[i].corner);
            EXPECT_EQ(NameOf(quad.texture), NameOf(*expected[i].texture));
            EXPECT_TRUE(Near(quad.modelview, Compose(expected[i].ops))) << Show(quad.modelview);
        }
        const auto list = std::find_if(glrec::Calls().begin(), glrec::Calls().end(),
                                       [](const glrec::Call& c) { return c.name == "glCallList"; });
        ASSERT_NE(list, glrec::Calls().end());
        EXPECT_EQ(NameOf(list->texture), "tex2");
        EXPECT_TRUE(Near(list->modelview, Compose({T(3.1, -2.5, -9), R(-90, Axis::X), R(147, Axis::Z)})))
            << Show(list->modelview);
    }
}

TEST_F(GlFrame, AutoStartShowsOnlyTheCommonLayersAroundItsEmptyListCall) {
    sceneState.captionMode = 2;
    sceneState.sweepAngle = 100;
    Record(14, 0);
    ASSERT_EQ(glrec::Quads().size(), 1u) << "the backdrop alone";
    EXPECT_EQ(glrec::Quads()[0].vertices[0], kBackdropCorner);
    const auto list = std::find_if(glrec::Calls().begin(), glrec::Calls().end(),
                                   [](const glrec::Call& c) { return c.name == "glCallList"; });
    ASSERT_NE(list, glrec::Calls().end());
    EXPECT_EQ(NameOf(list->texture), "tex1");
    // depthSwing -19 over 6.
    EXPECT_TRUE(Near(list->modelview, Compose({T(0, -0.3, -19.0 / 6), R(-90, Axis::X), R(147, Axis::Z)})))
        << Show(list->modelview);
}

// ---- The wrap ----

TEST_F(GlFrame, WrapFrameRedrawsSceneThirteenAtTheWrappedClockThenSceneOneFollows) {
    sceneState.colorScheme = 1;
    sceneState.captionMode = 2;
    Record(13, 37999);
    ASSERT_EQ(sceneState.tourClock, 2000);
    ASSERT_EQ(sceneState.colorScheme, 2);
    ASSERT_EQ(sceneState.sceneMode, 13);

    sceneState.spinAngle = 55;
    sceneState.depthSwing = kDepthSwing;
    glrec::Start();
    RenderFrame();
    glrec::Stop();
    ASSERT_EQ(glrec::Quads().size(), 1u) << "scene 13 at 2000 draws nothing of its own";
    EXPECT_EQ(NameOf(glrec::Quads()[0].texture), "tex11a") << "the flipped scheme shows at once";
    EXPECT_FLOAT_EQ(sceneState.spinAngle, 10.6f) << "reset to 10 by scene 13, then one step";
    EXPECT_EQ(sceneState.sceneMode, 1);

    sceneState.depthSwing = kDepthSwing;
    glrec::Start();
    RenderFrame();
    glrec::Stop();
    ASSERT_EQ(glrec::Quads().size(), 3u) << "backdrop, floor and turning lower flap";
    EXPECT_EQ(NameOf(glrec::Quads()[1].texture), "tex1a");
    EXPECT_EQ(NameOf(glrec::Quads()[2].texture), "tex6");
    // At 2001.92 scene 1 restarts the spin at 10 before the flap turns with it.
    EXPECT_TRUE(Near(glrec::Quads()[2].modelview, Compose({T(0, -6.5, -44), R(-18, Axis::X), R(136, Axis::X)})))
        << Show(glrec::Quads()[2].modelview);
}

// ---- The first frame after a device button, in the running program ----

// The calls of the frame drawn after the hook that started recording: from its glClear up to the
// buttons the backend draws over it at SwapBuffers (they begin with glPushAttrib).
std::vector<glrec::Call> RenderFrameCalls() {
    const auto& calls = glrec::Calls();
    auto begin = std::find_if(calls.begin(), calls.end(), [](const glrec::Call& c) { return c.name == "glClear"; });
    auto end = std::find_if(begin, calls.end(), [](const glrec::Call& c) { return c.name == "glPushAttrib"; });
    return {begin, end};
}

class DeviceButtons : public ViewerRun {};

TEST_F(DeviceButtons, FirstFrameAfterEachDeviceButtonDrawsNothingOfAnAssemblingScene) {
    struct Button {
        int id;
        int scene;
        float windowStart;
        int sceneQuads;  // drawn on that first frame besides caption and backdrop
    };
    const Button buttons[] = {
        {1000, 1, 2000, 0},   {1001, 2, 4000, 6},   {1002, 3, 6000, 0},   {1003, 4, 8000, 0},
        {1004, 5, 11000, 0},  {1005, 6, 14000, 0},  {1006, 7, 17000, 0},  {1008, 8, 20000, 16},
        {1009, 9, 23000, 12}, {1010, 10, 26000, 0}, {1011, 11, 29000, 0}, {1012, 12, 32000, 0},
        {1013, 13, 35000, 0},
    };
    // A click at one frame's end is handled before the following frame, which is recorded.
    constexpr int kFirstClick = 40;  // past the start-up pause
    for (int i = 0; i < static_cast<int>(std::size(buttons)); ++i) {
        const Button& button = buttons[i];
        const bool last = i + 1 == static_cast<int>(std::size(buttons));
        atFrame[kFirstClick + 2 * i] = [button] {
            sceneState.spinAngle = 55;
            EXPECT_TRUE(headless::Click(button.id));
            glrec::Start();
        };
        atFrame[kFirstClick + 2 * i + 1] = [button, last] {
            glrec::Stop();
            SCOPED_TRACE("device button " + std::to_string(button.scene));
            const std::vector<glrec::Call> frame = RenderFrameCalls();
            const auto quads = std::count_if(frame.begin(), frame.end(),
                                             [](const glrec::Call& c) { return c.name == "glBegin"; });
            EXPECT_EQ(quads, 3 + button.sceneQuads) << "caption plate, backdrop and the scene's own";
            EXPECT_EQ(sceneState.sceneMode, button.scene);
            EXPECT_FLOAT_EQ(sceneState.tourClock, button.windowStart + 1.92f);
            // Assembling scenes restart the spin at 10; the others leave it alone. Then one step.
            EXPECT_FLOAT_EQ(sceneState.spinAngle, button.sceneQuads == 0 ? 10.6f : 55.6f);
            if (last) headless::CloseRequest();
        };
    }
    EXPECT_EQ(Run(), 0);
}

}  // namespace
}  // namespace gltest
