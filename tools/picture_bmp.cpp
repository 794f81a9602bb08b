// Bitmap layout: "BM", file size, two reserved words, pixel offset 54; then the info header
// (size 40, width, positive height, 1 plane, 24 bits, no compression, image size, 72 dpi, no
// colour table); then rows of blue-green-red triplets, the first stored row first.
#include "tools/picture_bmp.h"

#include <algorithm>
#include <cmath>
#include <fstream>

namespace pictures {

namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr int32_t kPixelsPerMetre = 2835;  // 72 dpi

void Put16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

}  // namespace

uint8_t ToByte(float value) {
    return static_cast<uint8_t>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f));
}

std::vector<uint8_t> EncodeBitmap(const Canvas& design, Placement placement) {
    const int fileWidth = design.Height();  // along the first coordinate
    const int fileHeight = design.Width();  // along the second coordinate
    const uint32_t rowBytes = (static_cast<uint32_t>(fileWidth) * 3 + 3) & ~3u;
    const uint32_t imageBytes = rowBytes * static_cast<uint32_t>(fileHeight);
    const uint32_t offset = kFileHeaderSize + kInfoHeaderSize;

    std::vector<uint8_t> out;
    out.reserve(offset + imageBytes);
    out.push_back('B');
    out.push_back('M');
    Put32(out, offset + imageBytes);
    Put16(out, 0);
    Put16(out, 0);
    Put32(out, offset);

    Put32(out, kInfoHeaderSize);
    Put32(out, static_cast<uint32_t>(fileWidth));
    Put32(out, static_cast<uint32_t>(fileHeight));
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, 0);
    Put32(out, imageBytes);
    Put32(out, kPixelsPerMetre);
    Put32(out, kPixelsPerMetre);
    Put32(out, 0);
    Put32(out, 0);

    for (int row = 0; row < fileHeight; ++row) {
        // Stored row `row` lies at this column of the design...
        const int x = placement.secondRunsRight ? row : design.Width() - 1 - row;
        for (int column = 0; column < fileWidth; ++column) {
            // ...and stored column `column` at this design row (design rows count downwards).
            const int y = placement.firstRunsUp ? design.Height() - 1 - column : column;
            const Rgb& p = design.At(x, y);
            out.push_back(ToByte(p.b));
            out.push_back(ToByte(p.g));
            out.push_back(ToByte(p.r));
        }
        for (uint32_t pad = static_cast<uint32_t>(fileWidth) * 3; pad < rowBytes; ++pad) out.push_back(0);
    }
    return out;
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) return false;
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file.flush());
}

}  // namespace pictures
