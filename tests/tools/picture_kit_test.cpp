// The bitmap bytes the generator writes and where a design's corners land in them. (What the
// designs draw is checked as a whole against the committed pictures.)
#include <gtest/gtest.h>

#include "tests/tools/le_bytes.h"

#include "tools/picture_bmp.h"
#include "tools/picture_canvas.h"

namespace pictures {
namespace {

TEST(BitmapEncoding, HeadersAndPaddedRowsOfATransposedDesign) {
    const Canvas design(3, 5, 3, 5);  // 3 across, 5 up: written 5 wide and 3 high
    const std::vector<uint8_t> b = EncodeBitmap(design, kUpright);
    const uint32_t rowBytes = 16;  // 5 x 3 bytes padded to a multiple of 4
    ASSERT_EQ(b.size(), 54u + rowBytes * 3);
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(U32(b, 2), b.size());
    EXPECT_EQ(U32(b, 6), 0u);
    EXPECT_EQ(U32(b, 10), 54u);
    EXPECT_EQ(U32(b, 14), 40u);
    EXPECT_EQ(U32(b, 18), 5u);
    EXPECT_EQ(U32(b, 22), 3u);
    EXPECT_EQ(U16(b, 26), 1u);
    EXPECT_EQ(U16(b, 28), 24u);
    EXPECT_EQ(U32(b, 30), 0u);
    EXPECT_EQ(U32(b, 34), rowBytes * 3);
    EXPECT_EQ(U32(b, 38), 2835u);
    EXPECT_EQ(U32(b, 42), 2835u);
    EXPECT_EQ(U32(b, 46), 0u);
    EXPECT_EQ(U32(b, 50), 0u);
    for (int row = 0; row < 3; ++row) EXPECT_EQ(b[54 + row * rowBytes + 15], 0) << "padding of row " << row;
}

// TexturedQuad: the first coordinate (along a stored row) runs vertex 1 -> 2, the second
// (stored row by stored row) vertex 1 -> 4. The design's top-left pixel must sit where the
// quad puts the top-left corner of the screen.
TEST(BitmapEncoding, TopLeftOfTheDesignGoesToTheQuadsTopLeft) {
    Canvas design(2, 3, 2, 3);
    design.At(0, 0) = {1, 0, 0};
    const auto pixel = [](const std::vector<uint8_t>& b, int column, int storedRow) {
        const size_t at = 54 + storedRow * 12 + column * 3;  // 3 wide: 9 bytes padded to 12
        return std::array<int, 3>{b[at + 2], b[at + 1], b[at]};
    };
    const std::array<int, 3> red{255, 0, 0};
    // Upright: up is the far end of the first coordinate, left the first stored row.
    EXPECT_EQ(pixel(EncodeBitmap(design, kUpright), 2, 0), red);
    // Mirrored: vertex 1 -> 4 runs to the left, so the left edge is the last stored row.
    EXPECT_EQ(pixel(EncodeBitmap(design, kMirrored), 2, 1), red);
    // Upside down: vertex 1 -> 2 runs down, so the top is the first column.
    EXPECT_EQ(pixel(EncodeBitmap(design, kUpsideDown), 0, 0), red);
}

}  // namespace
}  // namespace pictures
