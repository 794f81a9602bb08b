// A fixture for decoder tests through ReadDibImage: a fresh headless platform (its boxes are
// recorded), a private temporary directory for the files, and a read that also checks the
// call left no descriptor open and no mapping of the file behind.
#pragma once

#include <dirent.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "image/dib.h"
#include "platform/headless/headless.h"
#include "tests/image/dib_bytes.h"

namespace dib_test {

struct FreeImage {
    void operator()(RgbImage* image) const {
        std::free(image->pixels);
        std::free(image);
    }
};
using ImagePtr = std::unique_ptr<RgbImage, FreeImage>;

inline Bytes Pixels(const RgbImage& image) {
    return Bytes(image.pixels, image.pixels + std::size_t(image.width) * image.height * 3);
}

class DibFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        headless::Reset();
        showDibErrors = true;
        char pattern[] = "/tmp/dib_test_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override {
        if (DIR* dir = opendir(dir_.c_str())) {
            while (dirent* entry = readdir(dir)) {
                if (entry->d_name[0] != '.') unlink((dir_ + "/" + entry->d_name).c_str());
            }
            closedir(dir);
        }
        rmdir(dir_.c_str());
        showDibErrors = true;
    }

    std::string Write(const Bytes& bytes, const std::string& name = "picture.bmp") {
        std::string path = dir_ + "/" + name;
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        return path;
    }

    ImagePtr Read(const std::string& path) {
        int before = OpenDescriptors();
        ImagePtr image(ReadDibImage(path.c_str()));
        EXPECT_EQ(OpenDescriptors(), before) << "a descriptor stayed open";
        EXPECT_FALSE(IsMapped(path)) << "the file stayed mapped";
        return image;
    }

    std::string dir_;

  private:
    static int OpenDescriptors() {
        int count = 0;
        if (DIR* dir = opendir("/proc/self/fd")) {
            while (readdir(dir) != nullptr) ++count;
            closedir(dir);
        }
        return count;
    }
    static bool IsMapped(const std::string& path) {
        std::ifstream maps("/proc/self/maps");
        for (std::string line; std::getline(maps, line);)
            if (line.find(path) != std::string::npos) return true;
        return false;
    }
};

}  // namespace dib_test
