// Picture folders for tests: 24-bit bitmaps written from a colour or a pixel function, a
// temporary folder holding them, and a scope that makes it the current directory (the program
// reads "picture/" relative to it).
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

namespace testpics {

struct Rgb {
    std::uint8_t r, g, b;
    bool operator==(const Rgb&) const = default;
};

// A bottom-up 24-bit bitmap with the 14-byte file header and the 40-byte info header; pixel(x,
// row) gives the colour of column x in stored row `row` (row 0 is stored first).
void WriteBmp(const std::filesystem::path& path, int width, int height,
              const std::function<Rgb(int x, int row)>& pixel);

// The nineteen picture names of the show ("1", "1a", "4a", ...), in load order.
const std::array<std::string, 19>& PictureNames();

// A flat, distinct colour per picture name; no two names share a colour.
Rgb FlatColour(const std::string& name);

// A fresh temporary folder with picture/<name>.bmp for every name (16 x 16, flat colour), made
// the current directory for the scope's lifetime; removed afterwards.
class PictureFolder {
  public:
    PictureFolder();
    ~PictureFolder();
    PictureFolder(const PictureFolder&) = delete;
    PictureFolder& operator=(const PictureFolder&) = delete;
    std::filesystem::path PicturePath(const std::string& name) const;
    const std::filesystem::path& Root() const { return root_; }

  private:
    std::filesystem::path root_;
    std::filesystem::path previous_;
};

}  // namespace testpics
