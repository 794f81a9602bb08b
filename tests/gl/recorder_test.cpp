// The recorder itself: it sees the program's calls with their arguments and the state at each
// quad, and it passes every call on, so Mesa still draws what was recorded.
#include "scene/shapes.h"
#include "tests/gl/gl_fixture.h"

namespace gltest {
namespace {

using RecorderTest = GlFrame;

TEST_F(RecorderTest, RecordsAQuadWithItsStateAndMesaStillDrawsIt) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glTranslatef(0, 0, -5);
    glBindTexture(GL_TEXTURE_2D, tex4a);
    const ::Quad square{{{-1, -1, 0}, {-1, 1, 0}, {1, 1, 0}, {1, -1, 0}}};

    glrec::Start();
    TexturedQuad(square);
    glrec::Stop();
    glTranslatef(0, 0, -1);  // not recorded: recording is off
    glLoadIdentity();

    // TexturedQuad's whole sequence, with every argument.
    const std::vector<std::pair<std::string, std::vector<double>>> expected = {
        {"glBegin", {GL_QUADS}},      {"glNormal3f", {0, 1, 0}}, {"glTexCoord2f", {0, 0}},
        {"glVertex3f", {-1, -1, 0}},  {"glTexCoord2f", {1, 0}},  {"glVertex3f", {-1, 1, 0}},
        {"glTexCoord2f", {1, 1}},     {"glVertex3f", {1, 1, 0}}, {"glTexCoord2f", {0, 1}},
        {"glVertex3f", {1, -1, 0}},   {"glEnd", {}},
    };
    ASSERT_EQ(glrec::Calls().size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(glrec::Calls()[i].name, expected[i].first) << "call " << i;
        EXPECT_EQ(glrec::Calls()[i].args, expected[i].second) << "call " << i;
    }
    ASSERT_EQ(glrec::Quads().size(), 1u);
    const glrec::Quad& quad = glrec::Quads()[0];
    EXPECT_EQ(quad.texture, tex4a);
    EXPECT_TRUE(Near(quad.modelview, Compose({T(0, 0, -5)}))) << Show(quad.modelview);
    EXPECT_EQ(quad.vertexCount, 4);
    EXPECT_EQ(quad.vertices[2], (std::array<float, 3>{1, 1, 0}));
    EXPECT_EQ(quad.texCoords[3], (std::array<float, 2>{0, 1}));

    // The view's centre sits 50 pixels right of and above the window's (the viewport overhangs
    // by 100): the square covers it, the far corner stays clear.
    const headless::Frame frame = headless::ReadPixels();
    ASSERT_EQ(frame.width, kWidth);
    ASSERT_EQ(frame.height, kHeight);
    const std::uint32_t centre = frame.At(kWidth / 2 + 50, kHeight / 2 - 50);
    EXPECT_LT(ColourAngle(centre, testpics::FlatColour("4a")), 5) << Hex(centre);
    EXPECT_EQ(frame.At(5, kHeight - 5) & 0xFFFFFF00u, 0u) << Hex(frame.At(5, kHeight - 5));
}

TEST_F(RecorderTest, RecordsNothingWhileOffAndClearsOnStart) {
    glrec::Start();
    glPushMatrix();
    glPopMatrix();
    glrec::Stop();
    EXPECT_EQ(glrec::Names(), (std::vector<std::string>{"glPushMatrix", "glPopMatrix"}));

    glPushMatrix();
    glPopMatrix();
    EXPECT_EQ(glrec::Calls().size(), 2u);

    glrec::Start();
    glrec::Stop();
    EXPECT_TRUE(glrec::Calls().empty());
}

}  // namespace
}  // namespace gltest
