// The GL stream of whole frames in every scene and phase, under both colour schemes, with the
// caption plate shown and hidden. Each frame keeps to the form every frame has (the calls a
// frame may make, pushes and pops balanced, every quad drawn the one way), and its calls and
// arguments, with textures by picture name, must hash to the digest recorded for that scene and
// clock in frame_digests.txt. The digests were recorded when the frames matched expectations
// worked out by hand for every piece; after a deliberate change to what a scene draws, look at
// the frames (the failure prints them) and record the digests again with
// SHOWCASE_RECORD_DIGESTS=1 build/tests/gl/gl_tests --gtest_filter='FrameStream*'.
#include <cinttypes>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "tests/gl/gl_fixture.h"

namespace gltest {
namespace {

const std::set<std::string> kFrameCalls = {
    "glClear",  "glLoadIdentity", "glEnable",   "glPushMatrix", "glPopMatrix", "glTranslatef", "glRotatef",
    "glBindTexture", "glBegin",   "glNormal3f", "glTexCoord2f", "glVertex3f",  "glEnd",        "glCallList",
};

// Checks one recorded frame against the form every frame keeps to.
void ExpectWellFormedFrame(int sceneMode) {
    const std::vector<glrec::Call>& calls = glrec::Calls();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[0].name, "glClear");
    EXPECT_EQ(calls[1].name, "glLoadIdentity");
    int depth = 0;
    std::vector<double> lists;
    for (std::size_t i = 0; i < calls.size(); ++i) {
        const glrec::Call& call = calls[i];
        EXPECT_TRUE(kFrameCalls.contains(call.name)) << "call " << i << ": " << call.name;
        if (call.name == "glCallList") lists.push_back(call.args[0]);
        if (call.name == "glPushMatrix") ++depth;
        if (call.name == "glPopMatrix") {
            ASSERT_GE(--depth, 0) << "pop without a push at call " << i;
        }
        if (call.name != "glBegin") continue;
        // A quad: exactly this sequence.
        static const std::vector<std::pair<std::string, std::vector<double>>> kQuad = {
            {"glNormal3f", {0, 1, 0}}, {"glTexCoord2f", {0, 0}}, {"glVertex3f", {}}, {"glTexCoord2f", {1, 0}},
            {"glVertex3f", {}},        {"glTexCoord2f", {1, 1}}, {"glVertex3f", {}}, {"glTexCoord2f", {0, 1}},
            {"glVertex3f", {}},        {"glEnd", {}},
        };
        ASSERT_LE(i + kQuad.size(), calls.size() - 1) << "quad at call " << i << " cut short";
        for (std::size_t k = 0; k < kQuad.size(); ++k) {
            const glrec::Call& part = calls[i + 1 + k];
            ASSERT_EQ(part.name, kQuad[k].first) << "quad at call " << i << ", part " << k;
            if (!kQuad[k].second.empty()) {
                EXPECT_EQ(part.args, kQuad[k].second);
            }
        }
        i += kQuad.size();
    }
    EXPECT_EQ(depth, 0) << "pushes left open";
    const std::vector<double> expectedLists = sceneMode == kSplashScene      ? std::vector<double>{66}
                                              : sceneMode == kAutoStartScene ? std::vector<double>{67}
                                                                             : std::vector<double>{};
    EXPECT_EQ(lists, expectedLists);
    GLint stack = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &stack);
    EXPECT_EQ(stack, 1);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// The recorded frame as text: one call a line, textures by picture name.
std::string FrameText() {
    std::ostringstream text;
    for (const glrec::Call& call : glrec::Calls()) {
        text << call.name;
        for (std::size_t i = 0; i < call.args.size(); ++i) {
            char arg[32];
            std::snprintf(arg, sizeof arg, " %.3f", call.args[i]);
            if (call.name == "glBindTexture" && i == 1) text << ' ' << NameOf(GLuint(call.args[i]));
            else text << arg;
        }
        text << '\n';
    }
    return text.str();
}

std::uint64_t Fnv1a(const std::string& text) {
    std::uint64_t hash = 1469598103934665603u;
    for (unsigned char c : text) hash = (hash ^ c) * 1099511628211u;
    return hash;
}

// Each scene's window start, the first steps after it, the spin restart bound, every piece's
// thresholds, a clock inside every phase, the end of the assembly and one after it.
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
    {kAutoStartScene, {0, 1000, 1999}},
    {kSplashScene, {1400, 1999}},
};

TEST_F(GlFrame, FrameStreamOfEveryPhaseKeepsItsFormAndItsRecordedDigest) {
    std::map<std::string, std::string> recorded;  // "scene clock" -> digest
    std::ifstream in(FRAME_DIGESTS);
    for (std::string scene, clock, digest; in >> scene >> clock >> digest;) recorded[scene + " " + clock] = digest;
    const bool record = std::getenv("SHOWCASE_RECORD_DIGESTS") != nullptr;
    std::ostringstream out;
    while (glGetError() != GL_NO_ERROR) {
    }
    for (const SceneClocks& scene : kSceneClocks) {
        for (float clock : scene.clocks) {
            char key[32];
            std::snprintf(key, sizeof key, "%d %.2f", scene.scene, clock);
            SCOPED_TRACE(std::string("scene, clock: ") + key);
            std::string frames;
            for (int scheme : {1, 2}) {
                for (int caption : {1, 2}) {
                    sceneState.colorScheme = scheme;
                    sceneState.captionMode = caption;
                    sceneState.spinAngle = 20;
                    sceneState.sweepAngle = 100;
                    Record(scene.scene, clock);
                    ExpectWellFormedFrame(scene.scene);
                    frames += "scheme " + std::to_string(scheme) + ", caption " + std::to_string(caption) + ":\n" +
                              FrameText();
                }
            }
            char digest[20];
            std::snprintf(digest, sizeof digest, "%016" PRIx64, Fnv1a(frames));
            out << key << ' ' << digest << '\n';
            if (!record) {
                EXPECT_EQ(recorded[key], digest) << "the frames now drawn:\n" << frames;
            }
        }
    }
    if (record) std::ofstream(FRAME_DIGESTS) << out.str();
}

}  // namespace
}  // namespace gltest
