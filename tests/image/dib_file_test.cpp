// ReadDibImage around the core, and LoadPicture around it: what is read at all, the text and
// owner of the boxes, the switch that silences them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#endif

#include "image/texture_set.h"
#include "tests/image/dib_fixture.h"

namespace dib_test {
namespace {

class ReadDibImageTest : public DibFileTest {};

const Bytes kPicture = BuildDib({.width = 1, .pixels = {1, 2, 3, 0}});

#ifdef _WIN32
// A folder's names on Windows hold files and folders only.
std::vector<std::string> NonFiles(const std::string&) { return {}; }
std::string GoodPicture(const std::string& picture) { return picture; }
#else
// Names that are not files: a FIFO without a writer (an ordinary open would wait for it for
// ever), a socket and a device.
std::vector<std::string> NonFiles(const std::string& dir) {
    const std::string pipe = dir + "/pipe.bmp", socketPath = dir + "/socket.bmp";
    if (mkfifo(pipe.c_str(), 0600) != 0) ADD_FAILURE() << "mkfifo";
    sockaddr_un address{.sun_family = AF_UNIX, .sun_path = {}};
    socketPath.copy(address.sun_path, sizeof address.sun_path - 1);
    const int listener = socket(AF_UNIX, SOCK_STREAM, 0);
    if (bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) ADD_FAILURE() << "bind";
    close(listener);
    return {pipe, socketPath, "/dev/zero"};
}
// A link to the picture, which is read like the picture.
std::string GoodPicture(const std::string& picture) {
    const std::string link = picture + ".link.bmp";
    if (symlink(picture.c_str(), link.c_str()) != 0) ADD_FAILURE() << "symlink";
    return link;
}
#endif

// Only a regular file (or a link to one) is read, by the decoder and by LoadPicture alike, and
// opening never waits. Each of the others names the file in a box; LoadPicture passes over a
// name that leads nowhere without one.
TEST_F(ReadDibImageTest, OnlyRegularFilesAreReadAndNoneNameTheFile) {
    const std::string good = GoodPicture(Write(kPicture));
    const std::string missing = dir_ + "/missing.bmp";
    std::vector<std::string> paths{Write({}, "empty.bmp"), missing, dir_, good};
    for (const std::string& path : NonFiles(dir_)) paths.push_back(path);
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        box_record::Reset();
        EXPECT_EQ(Read(path) != nullptr, path == good);
        EXPECT_EQ(ImagePtr(LoadPicture(path.c_str())) != nullptr, path == good);
        const std::size_t boxes = path == good ? 0 : path == missing ? 1 : 2;
        ASSERT_EQ(box_record::Boxes().size(), boxes);
        for (const box_record::Box& box : box_record::Boxes()) {
            EXPECT_EQ(box.text, "Failed to open DIB file " + path + ".\n");
            EXPECT_EQ(box.caption, "Error");
            EXPECT_EQ(box.type, MB_OK);
        }
    }
}

TEST_F(ReadDibImageTest, ALongNameIsCutToTheBuffer) {
    std::string path = dir_ + "/" + std::string(240, 'n') + ".bmp";
    EXPECT_EQ(Read(path), nullptr);
    ASSERT_EQ(box_record::Boxes().size(), 1u);
    std::string expected = "Failed to open DIB file " + path;
    EXPECT_EQ(box_record::Boxes()[0].textBytes, expected.substr(0, 255));
}

TEST_F(ReadDibImageTest, NoBoxWhileErrorsAreSilenced) {
    showDibErrors = false;
    EXPECT_EQ(Read(dir_ + "/missing.bmp"), nullptr);
    EXPECT_EQ(Read(Write({'B', 'M'})), nullptr);
    EXPECT_TRUE(box_record::Boxes().empty());
    ImagePtr image = Read(Write(kPicture));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(Pixels(*image), (Bytes{3, 2, 1}));
}

}  // namespace
}  // namespace dib_test
