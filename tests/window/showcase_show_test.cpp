// The show in the real window, seen from outside: the program runs over a picture folder of
// flat, distinct colours, so each part of the frame tells by its hue which picture it shows.
#include <gtest/gtest.h>
#include "tests/support/test_pictures.h"
#include "tests/window/showcase_fixture.h"

namespace {

using namespace showcase_test;
using testpics::FlatColour;

class ShowcaseShow : public ShowcaseWindow {
  protected:
    std::string WorkingDirectory() override { return pictures.Root().string(); }

    // A corner of the view that only the splash picture or the backdrop covers.
    Rgb Corner() { return x.Grab(900, 100, 1, 1).At(900, 100); }

    // Pixels of the area that resemble the picture's colour.
    int CountLike(int left, int top, int width, int height, const std::string& picture) {
        const Capture area = x.Grab(left, top, width, height);
        int count = 0;
        for (const Rgb& pixel : area.pixels) count += Resembles(pixel, FlatColour(picture));
        return count;
    }

    void Click(int id) {
        for (const PanelButton& b : kPanelButtons)
            if (b.id == id)
                Tool({"mousemove", std::to_string(b.x + b.width / 2), std::to_string(b.y + b.height / 2), "click", "1"});
    }

    testpics::PictureFolder pictures;
};

// The tour runs from the splash into device 1 without input; a device button brings its device,
// the colours button switches the backdrop's picture and back.
TEST_F(ShowcaseShow, TourRunsAndTheButtonsSteerIt) {
    EXPECT_TRUE(Resembles(Corner(), FlatColour("13"))) << "the splash picture fills the view first";
    EXPECT_EQ(CountLike(262, 200, 600, 400, "4"), 0) << "no device face in the splash";
    ASSERT_TRUE(WaitFor([&] { return Resembles(Corner(), FlatColour("11")); }))
        << "the backdrop never replaced the splash; output:\n" << app.Output();
    // Device 1 assembles on its floor (picture 1) in the lower middle of the view.
    EXPECT_TRUE(WaitFor([&] { return CountLike(362, 400, 400, 250, "1") > 500; }, 5s));
    // Device 9 has no assembly: its large face (picture 4) shows at once.
    Click(1009);
    EXPECT_TRUE(WaitFor([&] { return CountLike(262, 200, 600, 400, "4") > 2000; }, 5s));
    Click(1204);
    EXPECT_TRUE(WaitFor([&] { return Resembles(Corner(), FlatColour("11a")); }, 5s))
        << "the backdrop kept the first scheme's picture";
    Click(1204);
    EXPECT_TRUE(WaitFor([&] { return Resembles(Corner(), FlatColour("11")); }, 5s));
    PressKey("Escape");
    EXPECT_EQ(ExitStatus(), kEscapeStatus);
}

}  // namespace
