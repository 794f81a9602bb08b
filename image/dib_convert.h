// The converter that turns the source description and pixel data of a bitmap into a 24-bit DIB
// section (what the platform's SetDIBits yields on Windows), and the swap of section rows to the
// packed red-green-blue rows of an RgbImage.
#pragma once

#include <cstddef>
#include <cstdint>

// The 40-byte info header, as the source description holds it.
struct DibInfoHeader {
    std::uint32_t size;
    std::int32_t width;
    std::int32_t height;  // negative for a top-down picture
    std::uint16_t planes;
    std::uint16_t bitCount;
    std::uint32_t compression;
    std::uint32_t sizeImage;
    std::int32_t xPelsPerMeter;
    std::int32_t yPelsPerMeter;
    std::uint32_t clrUsed;
    std::uint32_t clrImportant;
};
static_assert(sizeof(DibInfoHeader) == 40);

struct DibColor {
    std::uint8_t blue;
    std::uint8_t green;
    std::uint8_t red;
    std::uint8_t reserved;
};
static_assert(sizeof(DibColor) == 4);

inline constexpr std::uint32_t kBiRgb = 0;
inline constexpr std::uint32_t kBiRle8 = 1;
inline constexpr std::uint32_t kBiRle4 = 2;
inline constexpr std::uint32_t kBiBitfields = 3;

// Everything the converter reads.
struct DibSource {
    const DibInfoHeader* header;
    const DibColor* colors;     // the colour table that was built
    std::uint32_t colorCount;   // its entries; an index past them gives black
    std::uint32_t masks[3];     // red, green, blue bit fields (BI_BITFIELDS only)
    const unsigned char* bits;  // the pixel data, null when its address lies outside the file
    std::size_t bitsSize;       // bytes from `bits` to the end of the file
};

// The 24-bit section, or a band of consecutive rows of it: `rows` rows of `width` blue-green-red
// pixels, each padded with width mod 4 bytes, rows in the source's order.
struct DibSection {
    unsigned char* bits;
    std::int32_t width;
    std::int32_t rows;
    std::size_t stride;
};

inline std::size_t SectionStride(std::int32_t width) { return std::size_t(width) * 3 + std::size_t(width) % 4; }

// A contiguous run of bits in a pixel value.
struct DibBitField {
    std::uint32_t mask;
    int shift;
    int width;  // 0: the channel is always 0
};

// Where the rows an uncompressed source converts to go.
enum class DibRowTarget {
    Section,  // section rows, made a band at a time and swapped band by band
    Picture,  // the swapped section rows are written directly: palette sources fold the swap
              // into the palette (red and blue exchanged in each entry), plain 32-bit sources
              // take their pixel bytes in reverse order
    InPlace,  // 24 bits per pixel: the source rows already have the section's layout
};

// How the rows of an uncompressed source are converted. Rows are independent of each other, so
// the section never has to exist whole.
struct DibRowPlan {
    void (*convert)(const unsigned char* in, unsigned char* out, std::int32_t width, const DibRowPlan& plan);
    DibRowTarget target;
    const unsigned char* bits;
    std::size_t fileStride;  // rows are padded to 4 bytes in the file
    DibColor palette[256];   // palette sources: the colour table, black past its end, with
                             // red and blue exchanged (Picture target)
    DibBitField fields[3];   // red, green, blue
};

inline bool IsCompressed(const DibInfoHeader& header) {
    return header.compression == kBiRle8 || header.compression == kBiRle4;
}

// Plans an uncompressed (BI_RGB or BI_BITFIELDS) source of width x rows pixels. False when it
// cannot be converted: an unsupported depth or compression, bit-field masks with gaps, or pixel
// data that runs past the end of the file (the last row's padding may be missing).
bool PlanRows(const DibSource& source, std::int32_t width, std::int32_t rows, DibRowPlan& plan);

inline const unsigned char* SourceRow(const DibRowPlan& plan, std::int32_t row) {
    return plan.bits + plan.fileStride * std::size_t(row);
}

// Section target: fills the band with section rows firstRow .. firstRow + band.rows - 1.
void ConvertRows(const DibRowPlan& plan, std::int32_t firstRow, const DibSection& band);

// Decodes an RLE8 or RLE4 source into the whole section, which starts zeroed so skipped pixels
// stay black. False for a top-down source, a depth that does not match the compression, or a
// stream that runs out before its end.
bool DecodeRle(const DibSource& source, const DibSection& section);

// One section row (blue, green, red) as a packed red-green-blue row.
void SwapRow(const unsigned char* sectionRow, unsigned char* rgbRow, std::int32_t width);
