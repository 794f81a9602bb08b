// A fixture for decoder tests through ReadDibImage: a fresh platform whose boxes are recorded, a
// private temporary folder for the files, and a read that also checks the call left nothing of
// the file open or mapped behind.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include "image/dib_file.h"
#include "tests/support/dib_bytes.h"
#include "tests/support/box_record.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/mman.h>

#include "measure/process_figures.h"
#endif

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

// A copy of the bytes that ends where an unreadable page begins (on Linux), so a read past
// their end crashes the test instead of going unnoticed.
class GuardedBytes {
  public:
    explicit GuardedBytes(const Bytes& bytes) : copy_(bytes) {
#ifndef _WIN32
        const std::size_t page = 4096 * 16;
        size_ = (bytes.size() + page - 1) / page * page + page;
        void* base = mmap(nullptr, size_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (base == MAP_FAILED || mprotect(static_cast<std::uint8_t*>(base) + size_ - page, page, PROT_NONE) != 0)
            return;
        base_ = static_cast<std::uint8_t*>(base);
        data_ = std::copy(bytes.begin(), bytes.end(), base_ + size_ - page - bytes.size()) - bytes.size();
#endif
    }
    ~GuardedBytes() {
#ifndef _WIN32
        if (base_ != nullptr) munmap(base_, size_);
#endif
    }
    const std::uint8_t* data() const { return data_ != nullptr ? data_ : copy_.data(); }

  private:
    Bytes copy_;
    std::uint8_t* base_ = nullptr;
    std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
};

class DibFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        box_record::Reset();
        showDibErrors = true;
        dir_ = (std::filesystem::temp_directory_path() / ("dib_test_" + std::to_string(std::random_device{}())))
                   .string();
        ASSERT_TRUE(std::filesystem::create_directory(dir_));
    }
    void TearDown() override {
        std::error_code error;
        std::filesystem::remove_all(dir_, error);
        showDibErrors = true;
    }

    std::string Write(const Bytes& bytes, const std::string& name = "picture.bmp") {
        std::string path = dir_ + "/" + name;
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        return path;
    }

    ImagePtr Read(const std::string& path) {
        const int before = OpenFiles();
        ImagePtr image(ReadDibImage(path.c_str()));
        EXPECT_EQ(OpenFiles(), before) << "a file stayed open";
        EXPECT_FALSE(InUse(path)) << "the file stayed open or mapped";
        return image;
    }

    std::string dir_;

  private:
#ifdef _WIN32
    static int OpenFiles() {
        DWORD count = 0;
        GetProcessHandleCount(GetCurrentProcess(), &count);
        return static_cast<int>(count);
    }
    // A file still open or mapped anywhere cannot be opened for exclusive use.
    static bool InUse(const std::string& path) {
        HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
        return file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_SHARING_VIOLATION;
    }
#else
    static int OpenFiles() { return process_figures::OpenDescriptors(); }
    static bool InUse(const std::string& path) {
        std::ifstream maps("/proc/self/maps");
        for (std::string line; std::getline(maps, line);)
            if (line.find(path) != std::string::npos) return true;
        return false;
    }
#endif
};

}  // namespace dib_test
