#include "tests/support/test_pictures.h"

#include <unistd.h>

#include <fstream>
#include <stdexcept>

#include "tests/support/dib_bytes.h"

namespace testpics {

void WriteBmp(const std::filesystem::path& path, int width, int height,
              const std::function<Rgb(int x, int row)>& pixel) {
    dib_test::Bytes rows;
    for (int row = 0; row < height; ++row) {
        for (int x = 0; x < width; ++x) {
            const Rgb c = pixel(x, row);
            rows.insert(rows.end(), {c.b, c.g, c.r});
        }
        rows.resize((rows.size() + 3) / 4 * 4, 0);
    }
    const dib_test::Bytes out = dib_test::BuildDib({.width = width, .height = height, .pixels = rows});
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    if (!file) throw std::runtime_error("cannot write " + path.string());
}

const std::array<std::string, 19>& PictureNames() {
    static const std::array<std::string, 19> names = {"1",  "2",  "3",  "4",  "5",  "6",  "10",
                                                      "8",  "11", "12", "13", "14", "15", "16",
                                                      "17", "18", "11a", "4a", "1a"};
    return names;
}

Rgb FlatColour(const std::string& name) {
    // Spread the names over clearly different colours; the index keeps them unique.
    const auto& names = PictureNames();
    int index = 0;
    for (int i = 0; i < static_cast<int>(names.size()); ++i) {
        if (names[i] == name) index = i;
    }
    static const Rgb kColours[19] = {
        {200, 40, 40},  {40, 200, 40},  {40, 40, 200},  {200, 200, 40}, {200, 40, 200}, {40, 200, 200},
        {120, 60, 20},  {20, 120, 60},  {240, 120, 0},  {0, 120, 240},  {120, 0, 240},  {240, 0, 120},
        {0, 240, 120},  {120, 240, 0},  {250, 250, 250}, {60, 60, 60},  {0, 250, 0},    {250, 0, 0},
        {0, 0, 250},
    };
    return kColours[index];
}

PictureFolder::PictureFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "showcase-pictures-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    root_ = pattern;
    std::filesystem::create_directory(root_ / "picture");
    for (const std::string& name : PictureNames()) {
        Rgb colour = FlatColour(name);
        WriteBmp(PicturePath(name), 16, 16, [colour](int, int) { return colour; });
    }
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(root_);
}

PictureFolder::~PictureFolder() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
    std::filesystem::remove_all(root_, ignored);
}

std::filesystem::path PictureFolder::PicturePath(const std::string& name) const {
    return root_ / "picture" / (name + ".bmp");
}

}  // namespace testpics
