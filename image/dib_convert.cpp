// The 24-bit converter: uncompressed 1-, 4-, 8-, 16-, 24- and 32-bit rows, RLE8 and RLE4
// streams, and 16- and 32-bit bit-field pixels, written as blue-green-red section rows, or as
// those rows already swapped to red-green-blue where the swap costs nothing extra (palette and
// plain 32-bit rows). Every read is checked against the end of the pixel data; every colour
// index is looked up in a 256-entry palette whose entries past the file's table are black.
#include "image/dib_convert.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <utility>

namespace {

using RowConverter = void (*)(const unsigned char* in, unsigned char* out, std::int32_t width, const DibRowPlan& plan);

inline void PutColor(unsigned char* out, DibColor color) {
    out[0] = color.blue;
    out[1] = color.green;
    out[2] = color.red;
}

// Writes all four bytes of the entry; the fourth is overwritten by the following pixel, so the
// last pixel of a row uses PutColor instead.
inline void PutColorAndSpare(unsigned char* out, DibColor color) { std::memcpy(out, &color, 4); }

// Fewer than 8 bits are repeated down to the lowest bit (so a full 5-bit channel gives 255);
// more than 8 keep their top 8.
inline std::uint8_t Widen(std::uint32_t value, int width) {
    if (width >= 8) return static_cast<std::uint8_t>(value >> (width - 8));
    if (width == 0) return 0;
    std::uint32_t widened = value << (8 - width);
    for (int shift = width; shift < 8; shift += width) widened |= widened >> shift;
    return static_cast<std::uint8_t>(widened);
}

inline std::uint8_t Extract(const DibBitField& field, std::uint32_t pixel) {
    return Widen((pixel & field.mask) >> field.shift, field.width);
}

inline void PutFields(unsigned char* out, const DibRowPlan& plan, std::uint32_t pixel) {
    out[0] = Extract(plan.fields[2], pixel);
    out[1] = Extract(plan.fields[1], pixel);
    out[2] = Extract(plan.fields[0], pixel);
}

bool MakeField(std::uint32_t mask, DibBitField& field) {
    if (mask == 0) {
        field = {0, 0, 0};
        return true;
    }
    int shift = std::countr_zero(mask);
    std::uint32_t run = mask >> shift;
    if ((run & (run + 1)) != 0) return false;  // a mask with gaps
    field = {mask, shift, std::popcount(run)};
    return true;
}

// Palette rows: index i of the row is IndexAt(in, i).
template <std::uint8_t (*IndexAt)(const unsigned char*, std::int32_t)>
void IndexedRow(const unsigned char* in, unsigned char* out, std::int32_t width, const DibRowPlan& plan) {
    std::int32_t x = 0;
    for (; x < width - 1; ++x, out += 3) PutColorAndSpare(out, plan.palette[IndexAt(in, x)]);
    PutColor(out, plan.palette[IndexAt(in, x)]);
}

inline std::uint8_t Index1(const unsigned char* in, std::int32_t x) { return (in[x >> 3] >> (7 - (x & 7))) & 1; }
inline std::uint8_t Index4(const unsigned char* in, std::int32_t x) { return (in[x >> 1] >> ((x & 1) ? 0 : 4)) & 15; }
inline std::uint8_t Index8(const unsigned char* in, std::int32_t x) { return in[x]; }

void Row16(const unsigned char* in, unsigned char* out, std::int32_t width, const DibRowPlan& plan) {
    for (std::int32_t x = 0; x < width; ++x, in += 2, out += 3) PutFields(out, plan, in[0] | std::uint32_t(in[1]) << 8);
}

// Picture rows straight from 32-bit pixels: the section would keep bytes 0, 1, 2 of each pixel
// and the swap reverse them, so bytes 2, 1, 0 are written.
void Row32ToPicture(const unsigned char* in, unsigned char* out, std::int32_t width, const DibRowPlan&) {
    std::int32_t x = 0;
    if constexpr (std::endian::native == std::endian::little) {
        // Four pixels b g r x as four words in, three words out: r0 g0 b0 r1 | g1 b1 r2 g2 | b2 r3 g3 b3.
        for (; x + 4 <= width; x += 4, in += 16, out += 12) {
            std::uint32_t p[4];
            std::memcpy(p, in, 16);
            std::uint32_t first = (p[0] >> 16 & 0xFF) | (p[0] & 0xFF00) | (p[0] & 0xFF) << 16 | (p[1] & 0xFF0000) << 8;
            std::uint32_t second = (p[1] >> 8 & 0xFF) | (p[1] & 0xFF) << 8 | (p[2] & 0xFF0000) | (p[2] & 0xFF00) << 16;
            std::uint32_t third = (p[2] & 0xFF) | (p[3] >> 8 & 0xFF00) | (p[3] & 0xFF00) << 8 | (p[3] & 0xFF) << 24;
            std::memcpy(out, &first, 4);
            std::memcpy(out + 4, &second, 4);
            std::memcpy(out + 8, &third, 4);
        }
    }
    for (; x < width; ++x, in += 4, out += 3) {
        out[0] = in[2];
        out[1] = in[1];
        out[2] = in[0];
    }
}

void Row32Fields(const unsigned char* in, unsigned char* out, std::int32_t width, const DibRowPlan& plan) {
    for (std::int32_t x = 0; x < width; ++x, in += 4, out += 3)
        PutFields(out, plan,
                  in[0] | std::uint32_t(in[1]) << 8 | std::uint32_t(in[2]) << 16 | std::uint32_t(in[3]) << 24);
}

void BuildPalette(const DibSource& source, DibColor (&palette)[256]) {
    std::uint32_t count = std::min<std::uint32_t>(source.colorCount, 256);
    std::copy_n(source.colors, count, palette);
    std::fill(palette + count, palette + 256, DibColor{0, 0, 0, 0});
}

void ChoosePaletteRows(const DibSource& source, RowConverter convert, DibRowPlan& plan) {
    plan.convert = convert;
    plan.target = DibRowTarget::Picture;
    BuildPalette(source, plan.palette);
    for (DibColor& entry : plan.palette) std::swap(entry.blue, entry.red);
}

void ChoosePictureRows(RowConverter convert, DibRowPlan& plan) {
    plan.convert = convert;
    plan.target = DibRowTarget::Picture;
}

// The row converter for an uncompressed source; false when there is none.
bool ChooseConverter(const DibSource& source, DibRowPlan& plan) {
    const DibInfoHeader& header = *source.header;
    plan.convert = nullptr;
    plan.target = DibRowTarget::Section;
    if (header.compression == kBiRgb) {
        // 16-bit pixels are 5-5-5 with the top bit unused.
        MakeField(0x7C00, plan.fields[0]);
        MakeField(0x03E0, plan.fields[1]);
        MakeField(0x001F, plan.fields[2]);
        switch (header.bitCount) {
            case 1: ChoosePaletteRows(source, IndexedRow<Index1>, plan); return true;
            case 4: ChoosePaletteRows(source, IndexedRow<Index4>, plan); return true;
            case 8: ChoosePaletteRows(source, IndexedRow<Index8>, plan); return true;
            case 16: plan.convert = Row16; return true;
            case 24: plan.target = DibRowTarget::InPlace; return true;
            case 32: ChoosePictureRows(Row32ToPicture, plan); return true;
            default: return false;
        }
    }
    if (header.compression != kBiBitfields || (header.bitCount != 16 && header.bitCount != 32)) return false;
    for (int channel = 0; channel < 3; ++channel)
        if (!MakeField(source.masks[channel], plan.fields[channel])) return false;
    if (header.bitCount == 32 && source.masks[0] == 0xFF0000 && source.masks[1] == 0xFF00 && source.masks[2] == 0xFF)
        ChoosePictureRows(Row32ToPicture, plan);
    else
        plan.convert = header.bitCount == 16 ? Row16 : Row32Fields;
    return true;
}

// The bytes of a compressed stream; a read past its end fails.
class StreamReader {
  public:
    StreamReader(const unsigned char* data, std::size_t size) : next_(data), end_(data + size) {}
    bool Read(std::uint8_t& byte) {
        if (next_ == end_) return false;
        byte = *next_++;
        return true;
    }

  private:
    const unsigned char* next_;
    const unsigned char* end_;
};

}  // namespace

bool PlanRows(const DibSource& source, std::int32_t width, std::int32_t rows, DibRowPlan& plan) {
    if (!ChooseConverter(source, plan)) return false;
    std::size_t bitsPerRow = std::size_t(width) * source.header->bitCount;
    plan.fileStride = (bitsPerRow + 31) / 32 * 4;
    std::size_t needed = plan.fileStride * std::size_t(rows - 1) + (bitsPerRow + 7) / 8;
    if (source.bits == nullptr || needed > source.bitsSize) return false;
    plan.bits = source.bits;
    return true;
}

void ConvertRows(const DibRowPlan& plan, std::int32_t firstRow, const DibSection& band) {
    for (std::int32_t row = 0; row < band.rows; ++row)
        plan.convert(SourceRow(plan, firstRow + row), band.bits + band.stride * std::size_t(row), band.width, plan);
}

// RLE8 and RLE4: runs of one index (RLE4: two nibble indices taking turns), absolute runs
// padded to a 16-bit boundary, end of line, end of picture and position deltas. Pixels past the
// right edge are dropped; the stream ends at end of picture or once it passes the top row, and
// may run to the end of the file whatever the image-size field says (writers often leave it 0).
bool DecodeRle(const DibSource& source, const DibSection& section) {
    const DibInfoHeader& header = *source.header;
    bool fourBit = header.compression == kBiRle4;
    if (header.bitCount != (fourBit ? 4 : 8) || header.height < 0 || source.bits == nullptr) return false;
    DibColor palette[256];
    BuildPalette(source, palette);
    StreamReader in(source.bits, source.bitsSize);
    std::int32_t x = 0;
    std::int32_t y = 0;
    auto put = [&](std::int32_t at, std::uint8_t index) {
        if (at < section.width)
            PutColor(section.bits + section.stride * std::size_t(y) + 3 * std::size_t(at), palette[index]);
    };
    auto advance = [&](std::int32_t count) { x = std::min(x + count, section.width); };

    while (y < section.rows) {
        std::uint8_t count;
        std::uint8_t value;
        if (!in.Read(count) || !in.Read(value)) return false;
        if (count != 0) {
            // Only the pixels left of the right edge are visited, so a long stream of runs
            // past it costs no more than reading it.
            std::int32_t visible = std::min<std::int32_t>(count, section.width - x);
            for (std::int32_t i = 0; i < visible; ++i)
                put(x + i, fourBit ? ((i & 1) ? value & 15 : value >> 4) : value);
            advance(count);
            continue;
        }
        if (value == 0) {  // end of line
            x = 0;
            ++y;
        } else if (value == 1) {  // end of picture
            return true;
        } else if (value == 2) {  // delta: right, then up
            std::uint8_t dx;
            std::uint8_t dy;
            if (!in.Read(dx) || !in.Read(dy)) return false;
            advance(dx);
            y += dy;
        } else {  // absolute run of `value` indices
            std::uint8_t byte = 0;
            for (std::int32_t i = 0; i < value; ++i) {
                if ((!fourBit || (i & 1) == 0) && !in.Read(byte)) return false;
                put(x + i, fourBit ? ((i & 1) ? byte & 15 : byte >> 4) : byte);
            }
            std::int32_t bytes = fourBit ? (value + 1) / 2 : value;
            if ((bytes & 1) != 0 && !in.Read(byte)) return false;
            advance(value);
        }
    }
    return true;
}

void SwapRow(const unsigned char* in, unsigned char* out, std::int32_t width) {
    std::int32_t x = 0;
    if constexpr (std::endian::native == std::endian::little) {
        // Four pixels at a time as three 32-bit words: b0 g0 r0 b1 | g1 r1 b2 g2 | r2 b3 g3 r3.
        for (; x + 4 <= width; x += 4, in += 12, out += 12) {
            std::uint32_t a, b, c;
            std::memcpy(&a, in, 4);
            std::memcpy(&b, in + 4, 4);
            std::memcpy(&c, in + 8, 4);
            std::uint32_t first = (a >> 16 & 0xFF) | (a & 0xFF00) | (a & 0xFF) << 16 | (b >> 8 & 0xFF) << 24;
            std::uint32_t second = (b & 0xFF) | (a >> 24) << 8 | (c & 0xFF) << 16 | (b & 0xFF000000);
            std::uint32_t third = (b >> 16 & 0xFF) | (c >> 24) << 8 | (c & 0xFF0000) | (c >> 8 & 0xFF) << 24;
            std::memcpy(out, &first, 4);
            std::memcpy(out + 4, &second, 4);
            std::memcpy(out + 8, &third, 4);
        }
    }
    for (; x < width; ++x, in += 3, out += 3) {
        out[0] = in[2];
        out[1] = in[1];
        out[2] = in[0];
    }
}
