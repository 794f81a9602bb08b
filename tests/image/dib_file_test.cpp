// ReadDibImage around the core: files that cannot be mapped, the text and owner of the boxes,
// the switch that silences them.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "tests/image/dib_fixture.h"

namespace dib_test {
namespace {

class ReadDibImageTest : public DibFileTest {};

const Bytes kPicture = BuildDib({.width = 1, .pixels = {1, 2, 3, 0}});

TEST_F(ReadDibImageTest, FilesThatCannotBeMappedNameTheFile) {
    std::string empty = Write({}, "empty.bmp");
    std::string missing = dir_ + "/missing.bmp";
    std::string pipe = dir_ + "/pipe.bmp";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    for (const std::string& path : {empty, missing, dir_, pipe}) {
        SCOPED_TRACE(path);
        headless::Reset();
        EXPECT_EQ(Read(path), nullptr);
        ASSERT_EQ(headless::Boxes().size(), 1u);
        EXPECT_EQ(headless::Boxes()[0].text, "Failed to open DIB file " + path + ".\n");
        EXPECT_EQ(headless::Boxes()[0].caption, "Error");
        EXPECT_EQ(headless::Boxes()[0].type, MB_OK);
    }
}

TEST_F(ReadDibImageTest, ALongNameIsCutToTheBuffer) {
    std::string path = dir_ + "/" + std::string(240, 'n') + ".bmp";
    EXPECT_EQ(Read(path), nullptr);
    ASSERT_EQ(headless::Boxes().size(), 1u);
    std::string expected = "Failed to open DIB file " + path;
    EXPECT_EQ(headless::Boxes()[0].textBytes, expected.substr(0, 255));
}

TEST_F(ReadDibImageTest, NoBoxWhileErrorsAreSilenced) {
    showDibErrors = false;
    EXPECT_EQ(Read(dir_ + "/missing.bmp"), nullptr);
    EXPECT_EQ(Read(Write({'B', 'M'})), nullptr);
    EXPECT_TRUE(headless::Boxes().empty());
    ImagePtr image = Read(Write(kPicture));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(Pixels(*image), (Bytes{3, 2, 1}));
}

}  // namespace
}  // namespace dib_test
