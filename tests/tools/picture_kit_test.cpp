// The generator's building blocks: the bitmap bytes and where a design's corners land in them,
// the resampler's weights, shape coverage and clipping, the grain, and text placement.
#include <gtest/gtest.h>

#include "tests/tools/le_bytes.h"

#include <cmath>
#include <cstring>

#include "tools/picture_bmp.h"
#include "tools/picture_canvas.h"
#include "tools/picture_text.h"

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

TEST(BitmapEncoding, ChannelsAreRoundedAndClamped) {
    EXPECT_EQ(ToByte(-0.5f), 0);
    EXPECT_EQ(ToByte(0.5f), 128);
    EXPECT_EQ(ToByte(100 / 255.0f), 100);
    EXPECT_EQ(ToByte(1.7f), 255);
}

TEST(Resample, WeightsSumToOneAndAreasDoNotBleed) {
    Canvas flat(7, 5, 7, 5);
    FillAll(flat, Solid({0.2f, 0.4f, 0.6f}));
    const Canvas smaller = Resample(flat, 4, 2);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 4; ++x) {
            EXPECT_NEAR(smaller.At(x, y).g, 0.4f, 1e-5f) << x << "," << y;
        }
    }

    Canvas halves(4, 1, 4, 1);
    halves.At(2, 0) = halves.At(3, 0) = {1, 1, 1};
    const Canvas two = Resample(halves, 2, 1);
    EXPECT_FLOAT_EQ(two.At(0, 0).r, 0);
    EXPECT_FLOAT_EQ(two.At(1, 0).r, 1);

    Canvas spike(3, 1, 3, 1);
    spike.At(1, 0) = {1, 1, 1};
    const Canvas shared = Resample(spike, 2, 1);  // each output covers 1.5 inputs, half the spike
    EXPECT_NEAR(shared.At(0, 0).r, 1 / 3.0f, 1e-5f);
    EXPECT_NEAR(shared.At(1, 0).r, 1 / 3.0f, 1e-5f);

    Canvas ramp(2, 1, 2, 1);
    ramp.At(1, 0) = {1, 1, 1};
    const Canvas stretched = Resample(ramp, 4, 1);
    EXPECT_FLOAT_EQ(stretched.At(0, 0).r, 0);
    EXPECT_FLOAT_EQ(stretched.At(3, 0).r, 1);
    EXPECT_LT(stretched.At(1, 0).r, stretched.At(2, 0).r);
}

TEST(Shapes, CoverageEdgesWindingAndClip) {
    Canvas c(40, 40, 4, 4);  // 10 pixels per unit
    FillRoundRect(c, {1, 1, 3, 3}, 0.2f, Solid({1, 1, 1}));
    EXPECT_FLOAT_EQ(c.At(20, 20).r, 1);
    EXPECT_FLOAT_EQ(c.At(5, 20).r, 0);
    const float edge = c.At(10, 10).r;  // inside the rounded corner's cut
    EXPECT_LT(edge, 1);

    Canvas clockwise(40, 40, 4, 4), counter(40, 40, 4, 4);
    const std::array<Point, 3> a{{{0.5f, 0.5f}, {3.5f, 0.5f}, {2, 3.5f}}};
    const std::array<Point, 3> b{{{2, 3.5f}, {3.5f, 0.5f}, {0.5f, 0.5f}}};
    FillPolygon(clockwise, a, Solid({1, 1, 1}));
    FillPolygon(counter, b, Solid({1, 1, 1}));
    float covered = 0;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 40; ++x) {
            EXPECT_NEAR(clockwise.At(x, y).r, counter.At(x, y).r, 1e-4f);
            covered += clockwise.At(x, y).r;
        }
    }
    EXPECT_NEAR(covered / 100, 4.5f, 0.1f);  // the triangle's area in square units

    Canvas clipped(40, 40, 4, 4);
    clipped.SetClip({0, 0, 2, 4});
    FillAll(clipped, Solid({1, 1, 1}));
    EXPECT_FLOAT_EQ(clipped.At(19, 5).r, 1);
    EXPECT_FLOAT_EQ(clipped.At(20, 5).r, 0);
}

TEST(Grain, FixedPerSeedAndCentred) {
    Canvas a(32, 32, 1, 1), b(32, 32, 1, 1), other(32, 32, 1, 1);
    AddGrain(a, 0.1f, 7);
    AddGrain(b, 0.1f, 7);
    AddGrain(other, 0.1f, 8);
    float sum = 0;
    int differing = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            EXPECT_EQ(a.At(x, y).r, b.At(x, y).r);
            EXPECT_LE(std::abs(a.At(x, y).r), 0.1f);
            differing += a.At(x, y).r != other.At(x, y).r;
            sum += a.At(x, y).r;
        }
    }
    EXPECT_GT(differing, 900);
    EXPECT_NEAR(sum / 1024, 0, 0.01f);
}

// Bounds of the lit pixels of a canvas, in units.
Box InkBounds(const Canvas& c) {
    Box box{1e9f, 1e9f, -1e9f, -1e9f};
    for (int y = 0; y < c.Height(); ++y) {
        for (int x = 0; x < c.Width(); ++x) {
            if (c.At(x, y).r < 0.5f) continue;
            box = {std::min(box.x0, x / c.Scale()), std::min(box.y0, y / c.Scale()),
                   std::max(box.x1, (x + 1) / c.Scale()), std::max(box.y1, (y + 1) / c.Scale())};
        }
    }
    return box;
}

TEST(Text, CapitalsSitOnTheAnchorAndLinesFit) {
    Fonts fonts;
    ASSERT_TRUE(fonts.Open()) << fonts.Error();
    const TextStyle style{Weight::Bold, 3, Solid({1, 1, 1})};

    Canvas centred(300, 100, 30, 10);
    fonts.Draw(centred, "ЗОРНА", {15, 5}, Align::Centre, style);
    const Box ink = InkBounds(centred);
    EXPECT_NEAR(ink.Centre().x, 15, 0.3f);
    EXPECT_NEAR(ink.Centre().y, 5, 0.3f);
    EXPECT_NEAR(ink.Height(), 3 * 0.73f, 0.3f);

    Canvas left(300, 100, 30, 10), right(300, 100, 30, 10);
    fonts.Draw(left, "ЗОРНА", {4, 5}, Align::Left, style);
    fonts.Draw(right, "ЗОРНА", {26, 5}, Align::Right, style);
    EXPECT_NEAR(InkBounds(left).x0, 4, 0.4f);
    EXPECT_NEAR(InkBounds(right).x1, 26, 0.4f);

    const char* line = "Анимация 3D устройств Zelvo";
    const float size = fonts.FitSize(line, Weight::Bold, 3, 20, 10);
    EXPECT_LT(size, 3);
    EXPECT_LE(fonts.Measure(line, {Weight::Bold, size}, 10), 20);
    EXPECT_GT(fonts.Measure(line, {Weight::Bold, size}, 10), 18);
}

}  // namespace
}  // namespace pictures
