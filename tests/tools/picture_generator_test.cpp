// The generator as the README runs it: the nineteen files the viewer loads, the same bytes on
// every run, and the committed pictures matching what the generator makes now.
#include <gtest/gtest.h>

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

namespace {

namespace fs = std::filesystem;

// The names the texture set loads, in its order.
const std::vector<std::string> kNames{"1.bmp",  "2.bmp",  "3.bmp",   "4.bmp",  "5.bmp",  "6.bmp",  "10.bmp",
                                      "8.bmp",  "11.bmp", "12.bmp",  "13.bmp", "14.bmp", "15.bmp", "16.bmp",
                                      "17.bmp", "18.bmp", "11a.bmp", "4a.bmp", "1a.bmp"};

std::vector<uint8_t> ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
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
        firstStatus_ = RunGenerator((root_ / "first").string());
    }
    static void TearDownTestSuite() { fs::remove_all(root_); }

    static inline fs::path root_;
    static inline int firstStatus_ = -1;
};

TEST_F(GeneratorTest, TwoRunsGiveTheSameBytes) {
    ASSERT_EQ(firstStatus_, 0);
    fs::create_directories(root_ / "second");
    ASSERT_EQ(RunGenerator((root_ / "second").string()), 0);
    for (const std::string& name : kNames) {
        EXPECT_TRUE(ReadAll(root_ / "first" / name) == ReadAll(root_ / "second" / name)) << name;
    }
}

// The committed pictures are what the generator makes: same sizes, and pixels equal but for
// the edges of glyphs, which another FreeType release may shade a little differently: few
// bytes far off, and a small mean difference, which any change of colour over an area exceeds.
// The committed pictures were checked by eye and against the quads that show them, so they are
// the reference for the headers and sizes as well.
TEST_F(GeneratorTest, WritesTheNineteenCommittedPictures) {
    ASSERT_EQ(firstStatus_, 0);
    std::set<std::string> written;
    for (const auto& entry : fs::directory_iterator(root_ / "first")) written.insert(entry.path().filename());
    EXPECT_EQ(written, std::set<std::string>(kNames.begin(), kNames.end()));
    for (const std::string& name : kNames) {
        SCOPED_TRACE(name);
        const std::vector<uint8_t> fresh = ReadAll(root_ / "first" / name);
        const std::vector<uint8_t> committed = ReadAll(fs::path(PICTURE_SOURCE_DIR) / name);
        ASSERT_EQ(committed.size(), fresh.size()) << "regenerate picture/ with the pictures target";
        ASSERT_TRUE(std::equal(fresh.begin(), fresh.begin() + 54, committed.begin()));
        size_t farOff = 0;
        double total = 0;
        for (size_t i = 54; i < fresh.size(); ++i) {
            const int d = std::abs(fresh[i] - committed[i]);
            farOff += d > 24;
            total += d;
        }
        EXPECT_LE(farOff, (fresh.size() - 54) / 1000) << "regenerate picture/ with the pictures target";
        EXPECT_LE(total / (fresh.size() - 54), 0.5) << "regenerate picture/ with the pictures target";
    }
}

TEST_F(GeneratorTest, FailsWithoutADirectoryOrWhenItCannotWrite) {
    EXPECT_EQ(RunGenerator(""), 2);
    EXPECT_EQ(RunGenerator((root_ / "missing" / "deeper").string()), 1);
}

}  // namespace
