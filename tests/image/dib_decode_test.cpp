// The decoder on hand-built files: every depth under both header kinds, files with and without
// the file header, colour tables, odd widths, top-down, RLE and bit-field pixels, each checked
// against pixels worked out by hand; then every failure with the exact text of its box.
#include "image/dib_decode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>

#include "tests/image/dib_fixture.h"

namespace dib_test {
namespace {

// Blue-green-red entries with easily told apart red-green-blue output.
const Bgr kP0{0x10, 0x20, 0x30}, kP1{0x40, 0x50, 0x60}, kP2{0x70, 0x80, 0x90}, kP3{0xA0, 0xB0, 0xC0};
// The same entries as picture bytes, and black.
const Bytes kC0{0x30, 0x20, 0x10}, kC1{0x60, 0x50, 0x40}, kC2{0x90, 0x80, 0x70}, kC3{0xC0, 0xB0, 0xA0}, kBk{0, 0, 0};

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

std::vector<Bgr> Table(std::size_t entries) {
    std::vector<Bgr> table{kP0, kP1, kP2, kP3};
    for (std::size_t i = 4; i < entries; ++i) table.push_back({std::uint8_t(i), std::uint8_t(i), std::uint8_t(i)});
    table.resize(entries);
    return table;
}

// Entry i is blue i, green i ^ 0x55, red 255 - i.
std::vector<Bgr> Ramp(std::size_t entries) {
    std::vector<Bgr> table;
    for (std::size_t i = 0; i < entries; ++i)
        table.push_back({std::uint8_t(i), std::uint8_t(i ^ 0x55), std::uint8_t(255 - i)});
    return table;
}

Bytes Cut(Bytes bytes, std::size_t size) {
    bytes.resize(size);
    return bytes;
}

Bytes WithOffset(Bytes bytes, std::uint32_t offset) {
    Bytes field;
    Put32(field, offset);
    std::copy(field.begin(), field.end(), bytes.begin() + 10);
    return bytes;
}

struct DecodeCase {
    const char* name;
    Bytes file;
    std::int32_t width;
    std::int32_t height;
    Bytes rgb;
};

void PrintTo(const DecodeCase& c, std::ostream* out) { *out << c.name; }

const DibParts kTwoRows24{.width = 1, .height = 2, .pixels = Rows({{1, 2, 3}, {4, 5, 6}})};

const Bytes kRow32{1, 2, 3, 0xFF, 4, 5, 6, 0xEE, 7, 8, 9, 0xDD, 10, 11, 12, 0xCC, 13, 14, 15, 0xBB};
const Bytes kRgb15{3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10, 15, 14, 13};
// Indices 0, 1, 19, 20, 255 through Ramp(256); with only 20 entries the last two are black.
const Bytes kRamp256{0xFF, 0x55, 0x00, 0xFE, 0x54, 0x01, 0xEC, 0x46, 0x13, 0xEB, 0x41, 0x14, 0x00, 0xAA, 0xFF};
const Bytes kRamp20{0xFF, 0x55, 0x00, 0xFE, 0x54, 0x01, 0xEC, 0x46, 0x13, 0, 0, 0, 0, 0, 0};

// clang-format off
const DecodeCase kDecodeCases[] = {
    {"1bpp info, width 3",
     BuildDib({.width = 3, .height = 2, .bitCount = 1, .table = Table(2), .pixels = Rows({{0xBF}, {0x40}})}),
     3, 2, Join({kC1, kC0, kC1, kC0, kC1, kC0})},
    {"4bpp info, width 5",
     BuildDib({.width = 5, .bitCount = 4, .table = Table(16), .pixels = Rows({{0x01, 0x23, 0x1F}})}),
     5, 1, Join({kC0, kC1, kC2, kC3, kC1})},
    {"4bpp core without file header",
     BuildDib({.headerSize = 12, .fileHeader = false, .width = 5, .bitCount = 4, .table = Table(16),
               .pixels = Rows({{0x01, 0x23, 0x1F}})}),
     5, 1, Join({kC0, kC1, kC2, kC3, kC1})},
    {"8bpp info, colours used 0 takes 256 entries",
     BuildDib({.fileHeader = false, .width = 5, .bitCount = 8, .table = Ramp(256),
               .pixels = Rows({{0, 1, 19, 20, 255}})}),
     5, 1, kRamp256},
    {"8bpp info, colours used 20: index 20 and up are black",
     BuildDib({.fileHeader = false, .width = 5, .bitCount = 8, .colorsUsed = 20, .table = Ramp(20),
               .pixels = Rows({{0, 1, 19, 20, 255}})}),
     5, 1, kRamp20},
    {"8bpp core, 256 three-byte entries",
     BuildDib({.headerSize = 12, .fileHeader = false, .width = 5, .bitCount = 8, .table = Ramp(256),
               .pixels = Rows({{0, 1, 19, 20, 255}})}),
     5, 1, kRamp256},
    {"16bpp info, 5-5-5 widened, top bit ignored",
     BuildDib({.width = 3, .height = 2, .bitCount = 16,
               .pixels = Rows({{0xFF, 0x7F, 0x1F, 0x00, 0xE0, 0x83}, {0x21, 0x04, 0x94, 0x52, 0x00, 0x7C}})}),
     3, 2, {0xFF, 0xFF, 0xFF, 0x00, 0x00, 0xFF, 0x00, 0xFF, 0x00,
            0x08, 0x08, 0x08, 0xA5, 0xA5, 0xA5, 0xFF, 0x00, 0x00}},
    {"24bpp info, width 1", BuildDib(kTwoRows24), 1, 2, {3, 2, 1, 6, 5, 4}},
    {"24bpp core, width 5, without file header",
     BuildDib({.headerSize = 12, .fileHeader = false, .width = 5,
               .pixels = Rows({{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}})}),
     5, 1, kRgb15},
    {"24bpp at a later pixel-data offset",
     BuildDib({.width = 2, .gap = 7, .pixels = Rows({{1, 2, 3, 4, 5, 6}})}),
     2, 1, {3, 2, 1, 6, 5, 4}},
    {"24bpp without the last row's padding",
     Cut(BuildDib({.width = 2, .height = 2, .pixels = Rows({{1, 2, 3, 4, 5, 6}, {7, 8, 9, 10, 11, 12}})}), 54 + 14),
     2, 2, {3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10}},
    {"24bpp top-down gives its bottom-up twin",
     BuildDib({.width = 1, .height = -2, .pixels = Rows({{4, 5, 6}, {1, 2, 3}})}),
     1, 2, {3, 2, 1, 6, 5, 4}},
    {"32bpp info, width 5, fourth byte dropped",
     BuildDib({.width = 5, .bitCount = 32, .pixels = kRow32}), 5, 1, kRgb15},
    {"RLE8: runs, absolute run, clipping, end of line, delta",
     BuildDib({.width = 5, .height = 3, .bitCount = 8, .compression = 1, .colorsUsed = 4, .table = Table(4),
               .pixels = {2, 1, 0, 3, 2, 3, 0, 0, 0, 0, 0, 2, 2, 1, 5, 2, 0, 1}}),
     5, 3, Join({kC1, kC1, kC2, kC3, kC0, kBk, kBk, kBk, kBk, kBk, kBk, kBk, kC2, kC2, kC2})},
    {"RLE4: alternating run, odd absolute run with its pad byte",
     BuildDib({.width = 5, .height = 2, .bitCount = 4, .compression = 2, .colorsUsed = 4, .table = Table(4),
               .pixels = {5, 0x12, 0, 0, 0, 5, 0x32, 0x10, 0x30, 0, 0, 1}}),
     5, 2, Join({kC1, kC2, kC1, kC2, kC1, kC3, kC2, kC1, kC0, kC3})},
    {"16bpp 5-6-5 bit fields without file header",
     BuildDib({.fileHeader = false, .width = 3, .bitCount = 16, .compression = 3, .masks = {0xF800, 0x07E0, 0x001F},
               .pixels = Rows({{0x00, 0xF8, 0xE0, 0x07, 0x10, 0x84}})}),
     3, 1, {0xFF, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x84, 0x82, 0x84}},
    {"32bpp bit fields with the usual masks",
     BuildDib({.width = 5, .bitCount = 32, .compression = 3, .masks = {0xFF0000, 0xFF00, 0xFF}, .pixels = kRow32}),
     5, 1, kRgb15},
    {"32bpp 10-10-10 bit fields",
     BuildDib({.width = 2, .bitCount = 32, .compression = 3, .masks = {0x3FF00000, 0x000FFC00, 0x000003FF},
               .pixels = {0x00, 0x00, 0xF0, 0x3F, 0x01, 0x04, 0x08, 0x00}}),
     2, 1, {0xFF, 0x00, 0x00, 0x00, 0x80, 0x00}},
};
// clang-format on

class DecodeTable : public DibFileTest, public ::testing::WithParamInterface<DecodeCase> {};

TEST_P(DecodeTable, GivesHandWorkedPixels) {
    const DecodeCase& c = GetParam();
    ImagePtr image = Read(Write(c.file));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, c.width);
    EXPECT_EQ(image->height, c.height);
    EXPECT_EQ(Pixels(*image), c.rgb);
    EXPECT_TRUE(box_record::Boxes().empty());
}

INSTANTIATE_TEST_SUITE_P(Files, DecodeTable, ::testing::ValuesIn(kDecodeCases));

struct FailCase {
    const char* name;
    Bytes file;
    DibFailure failure;
};

void PrintTo(const FailCase& c, std::ostream* out) { *out << c.name; }

const DibParts kPicture8{.width = 2, .bitCount = 8, .table = Table(256), .pixels = {0, 1, 0, 0}};
const DibParts kMasked32{.bitCount = 32, .compression = 3, .masks = {0xFF0000, 0xFF00, 0xFF}, .pixels = {1, 2, 3, 4}};
const DibParts kRle8{
    .width = 4, .height = 2, .bitCount = 8, .compression = 1, .table = Table(256), .pixels = {4, 1, 0, 0, 4, 2, 0, 1}};

// clang-format off
const FailCase kFailCases[] = {
    {"108-byte header", BuildDib({.headerSize = 108, .pixels = {1, 2, 3, 0}}), DibFailure::UnknownFormat},
    {"not a bitmap", {'h', 'e', 'l', 'l', 'o', ',', ' ', 'w', 'o', 'r', 'l', 'd'}, DibFailure::UnknownFormat},
    {"only \"BM\"", {'B', 'M'}, DibFailure::UnknownFormat},
    {"file header only", Cut(BuildDib(kTwoRows24), 14), DibFailure::UnknownFormat},
    {"info header cut short", Cut(BuildDib(kTwoRows24), 14 + 39), DibFailure::UnknownFormat},
    {"core header cut short", Cut(BuildDib({.headerSize = 12, .fileHeader = false}), 11), DibFailure::UnknownFormat},
    {"pixel data cut short", Cut(BuildDib(kTwoRows24), 54 + 4 + 2), DibFailure::ConversionError},
    {"pixel offset past the end", WithOffset(BuildDib(kTwoRows24), 4096), DibFailure::ConversionError},
    {"pixel offset beyond 2 GiB", WithOffset(BuildDib(kTwoRows24), 0x80000010), DibFailure::ConversionError},
    // The offset points inside the file, so only the cut table or masks stop the decoding.
    {"colour table cut off", WithOffset(Cut(BuildDib(kPicture8), 54 + 4 * 100), 54), DibFailure::ConversionError},
    {"masks cut off", WithOffset(Cut(BuildDib(kMasked32), 54 + 8), 54), DibFailure::ConversionError},
    {"width 0", BuildDib({.width = 0, .pixels = {1, 2, 3, 0}}), DibFailure::OutOfMemory},
    {"negative width", BuildDib({.width = -1, .pixels = {1, 2, 3, 0}}), DibFailure::OutOfMemory},
    {"height 0", BuildDib({.height = 0, .pixels = {1, 2, 3, 0}}), DibFailure::OutOfMemory},
    {"sizes whose byte counts overflow", BuildDib({.width = INT_MAX, .height = INT_MAX}), DibFailure::OutOfMemory},
    {"most negative height", BuildDib({.height = INT_MIN}), DibFailure::OutOfMemory},
    {"16385 pixels wide", BuildDib({.width = 16385}), DibFailure::OutOfMemory},
    {"8193 x 8193 pixels", BuildDib({.width = 8193, .height = 8193}), DibFailure::OutOfMemory},
    {"16384 x 4097 pixels: one row past the pixel cap", BuildDib({.width = 16384, .height = 4097}),
     DibFailure::OutOfMemory},
    {"core height is unsigned: 65535 rows",
     BuildDib({.headerSize = 12, .width = 1, .height = -1, .pixels = {1, 2, 3, 0}}), DibFailure::OutOfMemory},
    {"2 bits per pixel", BuildDib({.bitCount = 2, .table = Table(4), .pixels = {0, 0, 0, 0}}),
     DibFailure::ConversionError},
    {"JPEG compression", BuildDib({.compression = 4, .pixels = {1, 2, 3, 0}}), DibFailure::ConversionError},
    {"RLE8 at 4 bits per pixel", BuildDib({.bitCount = 4, .compression = 1, .table = Table(16), .pixels = {0, 1}}),
     DibFailure::ConversionError},
    {"top-down RLE8",
     BuildDib({.width = 4, .height = -2, .bitCount = 8, .compression = 1, .table = Table(256), .pixels = {0, 1}}),
     DibFailure::ConversionError},
    {"RLE stream ends before the picture", Cut(BuildDib(kRle8), BuildDib(kRle8).size() - 4),
     DibFailure::ConversionError},
    {"RLE absolute run cut short",
     BuildDib({.width = 4, .bitCount = 8, .compression = 1, .table = Table(256), .pixels = {0, 4, 1, 2}}),
     DibFailure::ConversionError},
    {"bit-field mask with a gap",
     BuildDib({.bitCount = 32, .compression = 3, .masks = {0xF0F000, 0xFF00, 0xFF}, .pixels = {1, 2, 3, 4}}),
     DibFailure::ConversionError},
    {"bit fields at 24 bits",
     BuildDib({.compression = 3, .masks = {0xFF0000, 0xFF00, 0xFF}, .pixels = {1, 2, 3, 0}}),
     DibFailure::ConversionError},
    {"the header kind is checked before the sizes", BuildDib({.headerSize = 108, .width = 0}),
     DibFailure::UnknownFormat},
    {"the sizes are checked before the pixel data",
     Cut(BuildDib({.width = 0, .bitCount = 8, .table = Table(256)}), 60), DibFailure::OutOfMemory},
};
// clang-format on

class FailTable : public DibFileTest, public ::testing::WithParamInterface<FailCase> {};

TEST_P(FailTable, ShowsItsBoxAndGivesNull) {
    const FailCase& c = GetParam();
    EXPECT_EQ(Read(Write(c.file)), nullptr);
    ASSERT_EQ(box_record::Boxes().size(), 1u);
    const box_record::Box& box = box_record::Boxes()[0];
    EXPECT_EQ(box.text, DibFailureText(c.failure));
    EXPECT_EQ(box.caption, "Error");
    EXPECT_EQ(box.type, MB_OK);
    EXPECT_EQ(DecodeDib(GuardedBytes(c.file).data(), c.file.size(), nullptr).failure, c.failure);
}

INSTANTIATE_TEST_SUITE_P(Files, FailTable, ::testing::ValuesIn(kFailCases));

TEST(DibFailureTexts, AreTheBoxTexts) {
    EXPECT_STREQ(DibFailureText(DibFailure::OutOfMemory), "Out of memory.");
    EXPECT_STREQ(DibFailureText(DibFailure::UnknownFormat), "Unknown DIB file format.");
    EXPECT_STREQ(DibFailureText(DibFailure::ConversionError), "Image file conversion error.");
}

// Rows wide enough that only a few fit in the converter's working memory at a time: each row is
// a single colour (8 bits: index r; 16 bits: r in every 5-bit channel), so every output row must
// be exactly its own colour, in order, both ways up.
TEST(WideRows, KeepTheirPlaceAcrossThePicture) {
    constexpr std::int32_t kWidth = 3000, kHeight = 7;
    for (std::uint16_t bitCount : {8, 16}) {
        for (std::int32_t height : {kHeight, -kHeight}) {
            SCOPED_TRACE(testing::Message() << bitCount << " bits, height " << height);
            DibParts parts{
                .width = kWidth, .height = height, .bitCount = bitCount, .table = Ramp(bitCount == 8 ? 256 : 0)};
            Bytes expected;
            for (std::int32_t row = 0; row < kHeight; ++row) {
                std::uint8_t stored = std::uint8_t(height > 0 ? row : kHeight - 1 - row);
                for (std::int32_t x = 0; x < kWidth; ++x) {
                    if (bitCount == 8) {
                        parts.pixels.push_back(stored);
                    } else {
                        parts.pixels.push_back(std::uint8_t(stored * 0x21));
                        parts.pixels.push_back(std::uint8_t(stored * 0x0421 >> 8));
                    }
                    std::uint8_t r = std::uint8_t(255 - row), g = std::uint8_t(row ^ 0x55), b = std::uint8_t(row);
                    std::uint8_t grey = std::uint8_t(row << 3 | row >> 2);
                    if (bitCount == 8)
                        expected.insert(expected.end(), {r, g, b});
                    else
                        expected.insert(expected.end(), {grey, grey, grey});
                }
            }
            Bytes file = BuildDib(parts);
            ImagePtr image(DecodeDib(file.data(), file.size(), nullptr).image);
            ASSERT_NE(image, nullptr);
            EXPECT_EQ(Pixels(*image), expected);
        }
    }
}

// The widest row, and 16384 x 4096: the whole pixel cap (the fuzz build lowers the cap; this
// build has the real one). An RLE file that ends at once leaves every pixel black.
TEST(SizeCap, PicturesAtTheCapAreAccepted) {
    for (std::int32_t height : {1, 4096}) {
        Bytes file = BuildDib(
            {.width = 16384, .height = height, .bitCount = 8, .compression = 1, .table = Table(256), .pixels = {0, 1}});
        ImagePtr image(DecodeDib(file.data(), file.size(), nullptr).image);
        ASSERT_NE(image, nullptr) << height;
        EXPECT_EQ(image->width, 16384);
        EXPECT_EQ(image->height, height);
        const unsigned char* pixels = image->pixels;
        std::size_t bytes = std::size_t(16384) * height * 3;
        EXPECT_TRUE(std::all_of(pixels, pixels + bytes, [](unsigned char b) { return b == 0; }));
    }
}

}  // namespace
}  // namespace dib_test
