// The generator as the README runs it: the nineteen files the viewer loads, the same bytes on
// every run, and the committed pictures and application icons matching what it makes now.
#include <gtest/gtest.h>
#include <stb/stb_image.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "tests/tools/le_bytes.h"
#include "tools/picture_bmp.h"
#include "tools/picture_canvas.h"

namespace {

namespace fs = std::filesystem;

// The names the texture set loads, in its order.
const std::vector<std::string> kNames{"1.bmp",  "2.bmp",  "3.bmp",   "4.bmp",  "5.bmp",  "6.bmp",  "10.bmp",
                                      "8.bmp",  "11.bmp", "12.bmp",  "13.bmp", "14.bmp", "15.bmp", "16.bmp",
                                      "17.bmp", "18.bmp", "11a.bmp", "4a.bmp", "1a.bmp"};

const std::vector<std::string> kIcons{"48.png", "128.png", "256.png", "web-192.png", "web-512.png", "web-maskable-512.png",
                                      "apple-touch-icon.png"};

std::vector<uint8_t> ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// What to compare of a picture or icon: a bitmap's 54 header bytes, then its rows as stored; a
// PNG's width and height, then its RGBA pixels (the compressed bytes may change with the
// encoder's release). Empty when the file is missing or does not decode.
std::vector<uint8_t> HeaderAndPixels(const fs::path& path) {
    std::vector<uint8_t> bytes = ReadAll(path);
    if (path.extension() != ".png") return bytes;
    int width = 0, height = 0, channels = 0;
    stbi_uc* rgba = stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &width, &height,
                                          &channels, 4);
    if (!rgba) return {};
    std::vector<uint8_t> out(54, 0);
    out[0] = static_cast<uint8_t>(width), out[1] = static_cast<uint8_t>(width >> 8);
    out[2] = static_cast<uint8_t>(height), out[3] = static_cast<uint8_t>(height >> 8);
    out.insert(out.end(), rgba, rgba + static_cast<size_t>(width) * height * 4);
    stbi_image_free(rgba);
    return out;
}

int RunGenerator(const std::string& arguments) {
    const int status =
        std::system((std::string(PICTURE_GENERATOR) + " " + arguments + " >/dev/null 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class GeneratorTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        root_ = fs::temp_directory_path() / ("picture_generator_test_" + std::to_string(::getpid()));
        fs::create_directories(root_ / "first");
        fs::create_directories(root_ / "icons");
        firstStatus_ = RunGenerator((root_ / "first").string() + " " + (root_ / "icons").string());
    }
    static void TearDownTestSuite() { fs::remove_all(root_); }

    static inline fs::path root_;
    static inline int firstStatus_ = -1;
};

TEST_F(GeneratorTest, TwoRunsGiveTheSameBytes) {
    ASSERT_EQ(firstStatus_, 0);
    fs::create_directories(root_ / "second");
    ASSERT_EQ(RunGenerator((root_ / "second").string()), 0);
    for (const std::string& name : kNames)
        EXPECT_TRUE(ReadAll(root_ / "first" / name) == ReadAll(root_ / "second" / name)) << name;
}

// The committed pictures and icons are what the generator makes: same sizes, and pixels equal
// but for the edges of glyphs, which another FreeType release may shade a little differently:
// few bytes far off, and a small mean difference, which any change of colour over an area
// exceeds. The committed pictures were checked by eye and against the quads that show them, so
// they are the reference for the headers and sizes as well.
TEST_F(GeneratorTest, WritesTheNineteenCommittedPicturesAndTheIcons) {
    ASSERT_EQ(firstStatus_, 0);
    std::set<std::string> written;
    for (const auto& entry : fs::directory_iterator(root_ / "first")) written.insert(entry.path().filename());
    EXPECT_EQ(written, std::set<std::string>(kNames.begin(), kNames.end()));
    std::vector<std::pair<fs::path, fs::path>> files;
    for (const std::string& name : kNames)
        files.emplace_back(root_ / "first" / name, fs::path(PICTURE_SOURCE_DIR) / name);
    for (const std::string& name : kIcons) files.emplace_back(root_ / "icons" / name, fs::path(ICON_SOURCE_DIR) / name);
    for (const auto& [made, committedPath] : files) {
        SCOPED_TRACE(committedPath.string());
        const std::vector<uint8_t> fresh = HeaderAndPixels(made);
        const std::vector<uint8_t> committed = HeaderAndPixels(committedPath);
        ASSERT_GT(fresh.size(), 54u);
        ASSERT_EQ(committed.size(), fresh.size()) << "regenerate with the pictures target";
        ASSERT_TRUE(std::equal(fresh.begin(), fresh.begin() + 54, committed.begin()));
        size_t farOff = 0;
        double total = 0;
        for (size_t i = 54; i < fresh.size(); ++i) {
            const int d = std::abs(fresh[i] - committed[i]);
            farOff += d > 24;
            total += d;
        }
        EXPECT_LE(farOff, (fresh.size() - 54) / 1000) << "regenerate with the pictures target";
        EXPECT_LE(total / (fresh.size() - 54), 0.5) << "regenerate with the pictures target";
    }
}

// The Windows icon, as made and as committed: an icon directory whose every entry is a PNG of
// the size the entry names, 16 to 256 pixels, lying inside the file.
TEST_F(GeneratorTest, TheWindowsIconHoldsEachSizeAsAPicture) {
    for (const fs::path& path : {root_ / "icons" / "showcase.ico", fs::path(ICON_SOURCE_DIR) / "showcase.ico"}) {
        SCOPED_TRACE(path.string());
        const std::vector<uint8_t> ico = ReadAll(path);
        ASSERT_GE(ico.size(), 6u);
        ASSERT_EQ(U16(ico, 0), 0u);
        ASSERT_EQ(U16(ico, 2), 1u);
        std::vector<int> sizes;
        for (uint32_t i = 0, n = U16(ico, 4); i < n; ++i) {
            const size_t entry = 6 + 16 * i;
            ASSERT_LE(entry + 16, ico.size());
            const int side = ico[entry] == 0 ? 256 : ico[entry];
            const uint32_t length = U32(ico, entry + 8), offset = U32(ico, entry + 12);
            ASSERT_LE(uint64_t(offset) + length, ico.size());
            int width = 0, height = 0, channels = 0;
            stbi_uc* rgba = stbi_load_from_memory(ico.data() + offset, int(length), &width, &height, &channels, 4);
            ASSERT_NE(rgba, nullptr) << "entry " << i;
            stbi_image_free(rgba);
            EXPECT_EQ(width, side);
            EXPECT_EQ(height, side);
            sizes.push_back(side);
        }
        EXPECT_EQ(sizes, (std::vector<int>{16, 24, 32, 48, 64, 256}));
    }
}

// Every committed picture is a multiple of four pixels wide: the padding of other widths is
// checked here, on a design 3 across and 5 up, written 5 wide and 3 high.
TEST(BitmapEncoding, RowsOfOtherWidthsArePaddedToFourBytes) {
    const std::vector<uint8_t> b = pictures::EncodeBitmap(pictures::Canvas(3, 5, 3, 5), pictures::kUpright);
    const uint32_t rowBytes = 16;  // 5 x 3 bytes padded to a multiple of 4
    ASSERT_EQ(b.size(), 54u + rowBytes * 3);
    EXPECT_EQ(U32(b, 2), b.size());
    EXPECT_EQ((std::vector<uint32_t>{U32(b, 18), U32(b, 22), U32(b, 34)}), (std::vector<uint32_t>{5, 3, rowBytes * 3}));
    for (int row = 0; row < 3; ++row) EXPECT_EQ(b[54 + row * rowBytes + 15], 0) << "padding of row " << row;
}

TEST_F(GeneratorTest, FailsWithoutADirectoryOrWhenItCannotWrite) {
    EXPECT_EQ(RunGenerator(""), 2);
    EXPECT_EQ(RunGenerator((root_ / "missing" / "deeper").string()), 1);
}

}  // namespace
