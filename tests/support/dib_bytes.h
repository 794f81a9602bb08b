// Bitmap files put together byte by byte for the decoder tests and the tests' picture folders: a
// file header (optional), a 12-byte, 40-byte or other-sized header, masks, a colour table, a gap
// and the pixel data, each written exactly as the test gives it.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace dib_test {

using Bytes = std::vector<std::uint8_t>;

struct Bgr {
    std::uint8_t blue, green, red;
};

struct DibParts {
    std::uint32_t headerSize = 40;  // 12 writes a core header; any other size an info header padded with zeros
    bool fileHeader = true;
    std::int32_t width = 1;
    std::int32_t height = 1;
    std::uint16_t bitCount = 24;
    std::uint32_t compression = 0;
    std::uint32_t colorsUsed = 0;
    std::vector<std::uint32_t> masks{};  // right behind the header
    std::vector<Bgr> table{};            // 3-byte entries behind a core header, else 4-byte
    std::uint32_t gap = 0;               // bytes between the table and the pixels (the offset skips them)
    Bytes pixels{};                      // the pixel data as stored
};

inline void Put16(Bytes& out, std::uint32_t value) {
    out.push_back(value & 0xFF);
    out.push_back((value >> 8) & 0xFF);
}
inline void Put32(Bytes& out, std::uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

inline Bytes BuildDib(const DibParts& parts) {
    bool core = parts.headerSize == 12;
    std::size_t entrySize = core ? 3 : 4;
    std::uint32_t pixelOffset = (parts.fileHeader ? 14 : 0) + parts.headerSize + 4 * std::uint32_t(parts.masks.size()) +
                                std::uint32_t(entrySize * parts.table.size()) + parts.gap;
    Bytes out;
    if (parts.fileHeader) {
        out = {'B', 'M'};
        Put32(out, pixelOffset + std::uint32_t(parts.pixels.size()));
        Put32(out, 0);
        Put32(out, pixelOffset);
    }
    std::size_t headerStart = out.size();
    Put32(out, parts.headerSize);
    if (core) {
        Put16(out, std::uint32_t(parts.width));
        Put16(out, std::uint32_t(parts.height));
        Put16(out, 1);
        Put16(out, parts.bitCount);
    } else {
        Put32(out, std::uint32_t(parts.width));
        Put32(out, std::uint32_t(parts.height));
        Put16(out, 1);
        Put16(out, parts.bitCount);
        Put32(out, parts.compression);
        Put32(out, 0);
        Put32(out, 2835);
        Put32(out, 2835);
        Put32(out, parts.colorsUsed);
        Put32(out, 0);
        out.resize(headerStart + parts.headerSize, 0);
    }
    for (std::uint32_t mask : parts.masks) Put32(out, mask);
    for (const Bgr& entry : parts.table) {
        out.insert(out.end(), {entry.blue, entry.green, entry.red});
        if (!core) out.push_back(0);
    }
    out.resize(out.size() + parts.gap, 0xEE);
    out.insert(out.end(), parts.pixels.begin(), parts.pixels.end());
    return out;
}

// Pixel rows in file order, each padded with zeros to a multiple of 4 bytes.
inline Bytes Rows(std::initializer_list<Bytes> rows) {
    Bytes out;
    for (const Bytes& row : rows) {
        out.insert(out.end(), row.begin(), row.end());
        out.resize((out.size() + 3) / 4 * 4, 0);
    }
    return out;
}

}  // namespace dib_test
