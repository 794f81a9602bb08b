// ReadDibImage around the core, and LoadPicture around it: what is read at all, the text and
// owner of the boxes, the switch that silences them.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <string>

#include "image/texture_set.h"
#include "tests/image/dib_fixture.h"

namespace dib_test {
namespace {

class ReadDibImageTest : public DibFileTest {};

const Bytes kPicture = BuildDib({.width = 1, .pixels = {1, 2, 3, 0}});

// Only a regular file (or a link to one) is read, by the decoder and by LoadPicture alike, and
// opening never waits: a FIFO without a writer would hold an ordinary open for ever. Each of
// the others names the file in a box; LoadPicture passes over a name that leads nowhere
// without one.
TEST_F(ReadDibImageTest, OnlyRegularFilesAreReadAndNoneNameTheFile) {
    const std::string link = dir_ + "/link.bmp";
    ASSERT_EQ(symlink(Write(kPicture).c_str(), link.c_str()), 0);
    std::string pipe = dir_ + "/pipe.bmp";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    const std::string socketPath = dir_ + "/socket.bmp";
    sockaddr_un address{.sun_family = AF_UNIX, .sun_path = {}};
    socketPath.copy(address.sun_path, sizeof address.sun_path - 1);
    const int listener = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    close(listener);
    const std::string missing = dir_ + "/missing.bmp";
    for (const std::string& path : {Write({}, "empty.bmp"), missing, dir_, pipe, socketPath,
                                    std::string("/dev/zero"), link}) {
        SCOPED_TRACE(path);
        headless::Reset();
        const bool good = path == link;
        EXPECT_EQ(Read(path) != nullptr, good);
        EXPECT_EQ(ImagePtr(LoadPicture(path.c_str())) != nullptr, good);
        const std::size_t boxes = good ? 0 : path == missing ? 1 : 2;
        ASSERT_EQ(headless::Boxes().size(), boxes);
        for (const headless::Box& box : headless::Boxes()) {
            EXPECT_EQ(box.text, "Failed to open DIB file " + path + ".\n");
            EXPECT_EQ(box.caption, "Error");
            EXPECT_EQ(box.type, MB_OK);
        }
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
