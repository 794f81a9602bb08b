// Pixels of rendered frames with the flat-colour test pictures: the picture a face, a floor and
// the backdrop show is the member of its pair that the colour scheme selects, and the splash
// shows its picture and both plates. Lighting scales colours, so pixels are matched to the
// picture whose colour points the same way (see ColourAngle).
#include "tests/app/viewer_fixture.h"
#include "tests/gl/gl_fixture.h"

namespace gltest {
namespace {

// Every picture with a colour of its own direction (the two greys, 17 and 18, differ only in
// brightness and are left out).
std::initializer_list<const char*> kColoured = {"1",  "2",  "3",  "4",  "5",  "6",  "10", "8",  "11",
                                                "12", "13", "14", "15", "16", "11a", "4a", "1a"};

constexpr double kSameColour = 12;  // degrees

void ExpectPicture(const headless::Frame& frame, int x, int y, const char* picture, const std::string& what) {
    const std::uint32_t pixel = frame.At(x, y);
    SCOPED_TRACE(what + " at (" + std::to_string(x) + ", " + std::to_string(y) + "), pixel " + Hex(pixel));
    EXPECT_EQ(NearestPicture(pixel, kColoured), picture);
    EXPECT_LT(ColourAngle(pixel, testpics::FlatColour(picture)), kSameColour);
    EXPECT_GT((pixel >> 24 & 0xFF) + (pixel >> 16 & 0xFF) + (pixel >> 8 & 0xFF), 60u) << "lit, not black";
}

// Scene 1's finished device turned to face the viewer (spinAngle 0) at depth Z54 = -44, in the
// 640 x 480 window whose view centre is at (370, 190): the face's centre (0, -3, -45.9) lands
// on row 236, the floor's centre (0, -7.3, -40.6) on row 316; the backdrop fills the rest.
TEST_F(GlFrame, FaceFloorAndBackdropShowThePictureTheSchemeSelects) {
    struct Row {
        int scheme;
        const char* face;
        const char* floor;
        const char* backdrop;
    };
    const Row rows[] = {
        {1, "4", "1", "11"},
        {2, "4a", "1a", "11a"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE("scheme " + std::to_string(row.scheme));
        sceneState.colorScheme = row.scheme;
        sceneState.captionMode = 2;
        sceneState.spinAngle = 0;
        Record(1, 3000);
        SwapBuffers(deviceContext);
        const headless::Frame frame = headless::ReadPixels();
        ASSERT_EQ(frame.width, kWidth);
        ExpectPicture(frame, 370, 236, row.face, "face");
        ExpectPicture(frame, 370, 316, row.floor, "floor");
        ExpectPicture(frame, 620, 20, row.backdrop, "backdrop, top right");
        ExpectPicture(frame, 620, 460, row.backdrop, "backdrop, bottom right");
        ExpectPicture(frame, 250, 100, row.backdrop, "backdrop, left of the device");
    }
}

// The whole program's first frame is the splash. The 800 x 600 view centre is 50 pixels right
// of and above the window's; at frame 1 sweepAngle is 24900, so the upper plate stands at 6
// degrees and the lower one at 156 degrees about Y, both facing the viewer enough to be seen:
// the upper plate's centre (0, 2, -20) lands 84 rows above the view centre, the lower plate's
// (0, -4, -19) 178 rows below it. The picture behind them fills the view where the backdrop
// would hang in other scenes.
class SplashPixels : public ViewerRun {};

TEST_F(SplashPixels, FirstFrameShowsTheSplashPictureAndBothPlates) {
    atFrame[1] = [] {
        const headless::Frame frame = headless::ReadPixels();
        ASSERT_GT(frame.width, 0);
        const int centreX = frame.width / 2 + 50;
        const int centreY = frame.height / 2 - 50;
        ExpectPicture(frame, centreX, centreY - 84, "10", "upper plate");
        ExpectPicture(frame, centreX, centreY + 178, "8", "lower plate");
        ExpectPicture(frame, frame.width - 20, 20, "13", "splash picture, top right");
        ExpectPicture(frame, frame.width - 20, frame.height - 20, "13", "splash picture, bottom right");
        ExpectPicture(frame, centreX + 250, centreY, "13", "splash picture right of the upper plate");
        headless::CloseRequest();
    };
    EXPECT_EQ(Run(), 0);
}

}  // namespace
}  // namespace gltest
