// The drawing surface of the picture generator: an RGB canvas measured in the units of the quad
// a picture lands on (x to the right, y downwards from the top-left corner, as the picture is
// seen on screen), filled shapes with anti-aliased edges, gradients, and a box-filter resampler
// that brings a design down to the texture's power-of-two size.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace pictures {

struct Rgb {
    float r = 0, g = 0, b = 0;
};

// 0xRRGGBB as a colour.
constexpr Rgb Hex(uint32_t rgb) {
    return {((rgb >> 16) & 0xFF) / 255.0f, ((rgb >> 8) & 0xFF) / 255.0f, (rgb & 0xFF) / 255.0f};
}
Rgb Mix(Rgb a, Rgb b, float t);
// Moves a colour towards white (amount > 0) or black (amount < 0).
Rgb Shade(Rgb c, float amount);

struct Point {
    float x = 0, y = 0;
};

struct Box {
    float x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    float Width() const { return x1 - x0; }
    float Height() const { return y1 - y0; }
    Point Centre() const { return {(x0 + x1) / 2, (y0 + y1) / 2}; }
    Box Inset(float d) const { return {x0 + d, y0 + d, x1 - d, y1 - d}; }
    Box Offset(float dx, float dy) const { return {x0 + dx, y0 + dy, x1 + dx, y1 + dy}; }
};
// A box of the given size around a centre.
Box BoxAround(Point centre, float width, float height);

// The colour of a shape at a point.
using Paint = std::function<Rgb(Point)>;
Paint Solid(Rgb colour);
Paint LinearGradient(Point from, Rgb atFrom, Point to, Rgb atTo);
Paint VerticalGradient(const Box& box, Rgb top, Rgb bottom);
Paint RadialGradient(Point centre, float radius, Rgb inner, Rgb outer);

class Canvas {
public:
    // A canvas of widthPx x heightPx pixels covering unitsWide x unitsHigh units.
    Canvas(int widthPx, int heightPx, float unitsWide, float unitsHigh);

    int Width() const { return width_; }
    int Height() const { return height_; }
    float UnitsWide() const { return unitsWide_; }
    float UnitsHigh() const { return unitsHigh_; }
    // Pixels per unit; the same along both axes for a canvas that is drawn on.
    float Scale() const { return width_ / unitsWide_; }
    Box Bounds() const { return {0, 0, unitsWide_, unitsHigh_}; }

    // Drawing stays inside the clip box (the whole canvas unless set).
    void SetClip(const Box& box) { clip_ = box; }
    void ClearClip() { clip_ = Bounds(); }

    Rgb& At(int x, int y) { return pixels_[static_cast<size_t>(y) * width_ + x]; }
    const Rgb& At(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }

    // Blends the paint over every pixel inside `area` and the clip box with the coverage that
    // `coverage` gives for the pixel centre (0 outside, 1 inside), scaled by opacity.
    void Blend(const Box& area, const std::function<float(Point)>& coverage, const Paint& paint,
               float opacity);

private:
    int width_, height_;
    float unitsWide_, unitsHigh_;
    Box clip_;
    std::vector<Rgb> pixels_;
};

// Every shape takes a paint and an opacity; edges are anti-aliased over one pixel, or blurred
// over `feather` units where a shape takes one.
void FillAll(Canvas& canvas, const Paint& paint, float opacity = 1);
void FillRoundRect(Canvas& canvas, const Box& box, float radius, const Paint& paint, float opacity = 1,
                   float feather = 0);
void StrokeRoundRect(Canvas& canvas, const Box& box, float radius, float lineWidth, const Paint& paint,
                     float opacity = 1);
void FillCircle(Canvas& canvas, Point centre, float radius, const Paint& paint, float opacity = 1,
                float feather = 0);
void StrokeCircle(Canvas& canvas, Point centre, float radius, float lineWidth, const Paint& paint,
                  float opacity = 1);
// A convex polygon, corners in either winding.
void FillPolygon(Canvas& canvas, std::span<const Point> corners, const Paint& paint, float opacity = 1);
// A line of the given width with round ends and joints through the points.
void StrokePath(Canvas& canvas, std::span<const Point> points, float lineWidth, const Paint& paint,
                float opacity = 1);

// A raised key or button: a soft shadow, a body lit from above and a thin light rim.
void RaisedKey(Canvas& canvas, const Box& box, float radius, Rgb colour, float depth = 1);

// Adds a fixed pseudo-random grain of +-amount to every channel (the same for a given seed on
// every run), which also breaks up banding in slow gradients.
void AddGrain(Canvas& canvas, float amount, uint32_t seed);

// Area-averages (or stretches) the canvas to a new pixel size over the same units.
Canvas Resample(const Canvas& source, int widthPx, int heightPx);

}  // namespace pictures
