// Replays the fuzz target's seed corpus through the decoding core: nothing crashes, a result is
// an image exactly when no failure is named, seeds named ok-* decode and bad-* are refused, and
// ReadDibImage on the same file (through its mapping) gives the same picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "image/dib_decode.h"
#include "tests/image/dib_fixture.h"

namespace dib_test {
namespace {

std::vector<std::string> CorpusFiles() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(DIB_CORPUS_DIR))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

class CorpusReplay : public DibFileTest {};

TEST_F(CorpusReplay, EverySeedDecodesConsistently) {
    std::vector<std::string> names = CorpusFiles();
    ASSERT_GE(names.size(), 20u) << "seed corpus missing from " DIB_CORPUS_DIR;
    showDibErrors = false;
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        std::string path = std::string(DIB_CORPUS_DIR) + "/" + name;
        Bytes file;
        {
            std::ifstream in(path, std::ios::binary);  // closed before the file is read again below
            file.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }

        DibResult result = DecodeDib(file.data(), file.size(), nullptr);
        ImagePtr image(result.image);
        EXPECT_EQ(image != nullptr, result.failure == DibFailure::None);
        if (StartsWith(name, "ok-")) {
            EXPECT_NE(image, nullptr);
        } else if (StartsWith(name, "bad-")) {
            EXPECT_EQ(image, nullptr);
        }

        ImagePtr mapped = Read(path);
        ASSERT_EQ(mapped != nullptr, image != nullptr);
        if (image == nullptr) continue;
        EXPECT_EQ(mapped->width, image->width);
        EXPECT_EQ(mapped->height, image->height);
        EXPECT_EQ(Pixels(*mapped), Pixels(*image));
    }
}

}  // namespace
}  // namespace dib_test
