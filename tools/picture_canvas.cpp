// Shapes are drawn from signed distances (negative inside) evaluated at pixel centres, which
// gives one-pixel anti-aliasing at any size; designs are drawn larger than the texture and
// area-averaged down, so the written pictures are smooth without a separate filter.
#include "tools/picture_canvas.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace pictures {

Rgb Mix(Rgb a, Rgb b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Rgb Shade(Rgb c, float amount) {
    return amount >= 0 ? Mix(c, Rgb{1, 1, 1}, amount) : Mix(c, Rgb{0, 0, 0}, -amount);
}

Box BoxAround(Point centre, float width, float height) {
    return {centre.x - width / 2, centre.y - height / 2, centre.x + width / 2, centre.y + height / 2};
}

Paint Solid(Rgb colour) {
    return [colour](Point) { return colour; };
}

Paint LinearGradient(Point from, Rgb atFrom, Point to, Rgb atTo) {
    const float dx = to.x - from.x, dy = to.y - from.y;
    const float lengthSquared = std::max(dx * dx + dy * dy, 1e-12f);
    return [=](Point p) {
        const float t = ((p.x - from.x) * dx + (p.y - from.y) * dy) / lengthSquared;
        return Mix(atFrom, atTo, std::clamp(t, 0.0f, 1.0f));
    };
}

Paint VerticalGradient(const Box& box, Rgb top, Rgb bottom) {
    return LinearGradient({box.x0, box.y0}, top, {box.x0, box.y1}, bottom);
}

Paint RadialGradient(Point centre, float radius, Rgb inner, Rgb outer) {
    return [=](Point p) {
        const float t = std::hypot(p.x - centre.x, p.y - centre.y) / radius;
        return Mix(inner, outer, std::clamp(t, 0.0f, 1.0f));
    };
}

Canvas::Canvas(int widthPx, int heightPx, float unitsWide, float unitsHigh)
    : width_(widthPx),
      height_(heightPx),
      unitsWide_(unitsWide),
      unitsHigh_(unitsHigh),
      clip_{0, 0, unitsWide, unitsHigh},
      pixels_(static_cast<size_t>(widthPx) * heightPx) {}

void Canvas::Blend(const Box& area, const std::function<float(Point)>& coverage, const Paint& paint,
                   float opacity) {
    const float sx = width_ / unitsWide_, sy = height_ / unitsHigh_;
    const Box box{std::max(area.x0, clip_.x0), std::max(area.y0, clip_.y0), std::min(area.x1, clip_.x1),
                  std::min(area.y1, clip_.y1)};
    const int px0 = std::max(0, static_cast<int>(std::lround(box.x0 * sx)));
    const int py0 = std::max(0, static_cast<int>(std::lround(box.y0 * sy)));
    const int px1 = std::min(width_, static_cast<int>(std::lround(box.x1 * sx)));
    const int py1 = std::min(height_, static_cast<int>(std::lround(box.y1 * sy)));
    for (int y = py0; y < py1; ++y) {
        for (int x = px0; x < px1; ++x) {
            const Point p{(x + 0.5f) / sx, (y + 0.5f) / sy};
            const float alpha = coverage(p) * opacity;
            if (alpha <= 0) continue;
            Rgb& pixel = At(x, y);
            pixel = Mix(pixel, paint(p), std::min(alpha, 1.0f));
        }
    }
}

namespace {

// Coverage of a pixel centre at signed distance d: a one-pixel ramp, or a smooth ramp over
// `feather` units centred on the edge.
float EdgeCoverage(float d, float pixelsPerUnit, float feather) {
    if (feather <= 0) return std::clamp(0.5f - d * pixelsPerUnit, 0.0f, 1.0f);
    const float t = std::clamp(0.5f - d / feather, 0.0f, 1.0f);
    return t * t * (3 - 2 * t);
}

float RoundRectDistance(Point p, const Box& box, float radius) {
    const Point c = box.Centre();
    const float qx = std::abs(p.x - c.x) - (box.Width() / 2 - radius);
    const float qy = std::abs(p.y - c.y) - (box.Height() / 2 - radius);
    const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
    return outside + std::min(std::max(qx, qy), 0.0f) - radius;
}

float SegmentDistance(Point p, Point a, Point b) {
    const float dx = b.x - a.x, dy = b.y - a.y;
    const float lengthSquared = dx * dx + dy * dy;
    float t = 0;
    if (lengthSquared > 0) t = std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / lengthSquared, 0.0f, 1.0f);
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

Box Grow(const Box& box, float d) {
    return box.Inset(-d);
}

}  // namespace

void FillAll(Canvas& canvas, const Paint& paint, float opacity) {
    canvas.Blend(
        canvas.Bounds(), [](Point) { return 1.0f; }, paint, opacity);
}

void FillRoundRect(Canvas& canvas, const Box& box, float radius, const Paint& paint, float opacity,
                   float feather) {
    const float scale = canvas.Scale();
    const float r = std::min({radius, box.Width() / 2, box.Height() / 2});
    canvas.Blend(
        Grow(box, feather + 1 / scale),
        [&](Point p) { return EdgeCoverage(RoundRectDistance(p, box, r), scale, feather); }, paint, opacity);
}

void StrokeRoundRect(Canvas& canvas, const Box& box, float radius, float lineWidth, const Paint& paint,
                     float opacity) {
    const float scale = canvas.Scale();
    const float r = std::min({radius, box.Width() / 2, box.Height() / 2});
    canvas.Blend(
        Grow(box, lineWidth + 1 / scale),
        [&](Point p) {
            return EdgeCoverage(std::abs(RoundRectDistance(p, box, r)) - lineWidth / 2, scale, 0);
        },
        paint, opacity);
}

void FillCircle(Canvas& canvas, Point centre, float radius, const Paint& paint, float opacity,
                float feather) {
    const float scale = canvas.Scale();
    canvas.Blend(
        Grow(BoxAround(centre, 2 * radius, 2 * radius), feather + 1 / scale),
        [&](Point p) {
            return EdgeCoverage(std::hypot(p.x - centre.x, p.y - centre.y) - radius, scale, feather);
        },
        paint, opacity);
}

void StrokeCircle(Canvas& canvas, Point centre, float radius, float lineWidth, const Paint& paint,
                  float opacity) {
    const float scale = canvas.Scale();
    canvas.Blend(
        Grow(BoxAround(centre, 2 * radius, 2 * radius), lineWidth + 1 / scale),
        [&](Point p) {
            const float d = std::abs(std::hypot(p.x - centre.x, p.y - centre.y) - radius);
            return EdgeCoverage(d - lineWidth / 2, scale, 0);
        },
        paint, opacity);
}

void FillPolygon(Canvas& canvas, std::span<const Point> corners, const Paint& paint, float opacity) {
    if (corners.size() < 3) return;
    float area = 0;
    Box bounds{std::numeric_limits<float>::max(), std::numeric_limits<float>::max(),
               std::numeric_limits<float>::lowest(), std::numeric_limits<float>::lowest()};
    for (size_t i = 0; i < corners.size(); ++i) {
        const Point a = corners[i], b = corners[(i + 1) % corners.size()];
        area += a.x * b.y - b.x * a.y;
        bounds = {std::min(bounds.x0, a.x), std::min(bounds.y0, a.y), std::max(bounds.x1, a.x),
                  std::max(bounds.y1, a.y)};
    }
    const float winding = area > 0 ? 1.0f : -1.0f;
    const float scale = canvas.Scale();
    canvas.Blend(
        Grow(bounds, 1 / scale),
        [&](Point p) {
            // Largest signed distance to the edge lines: exact along edges, slightly sharp at
            // corners, which is all a convex icon needs.
            float d = std::numeric_limits<float>::lowest();
            for (size_t i = 0; i < corners.size(); ++i) {
                const Point a = corners[i], b = corners[(i + 1) % corners.size()];
                const float ex = b.x - a.x, ey = b.y - a.y;
                const float length = std::max(std::hypot(ex, ey), 1e-9f);
                d = std::max(d, winding * ((p.x - a.x) * ey - (p.y - a.y) * ex) / length);
            }
            return EdgeCoverage(d, scale, 0);
        },
        paint, opacity);
}

void StrokePath(Canvas& canvas, std::span<const Point> points, float lineWidth, const Paint& paint,
                float opacity) {
    if (points.empty()) return;
    Box bounds{points[0].x, points[0].y, points[0].x, points[0].y};
    for (const Point& p : points) {
        bounds = {std::min(bounds.x0, p.x), std::min(bounds.y0, p.y), std::max(bounds.x1, p.x),
                  std::max(bounds.y1, p.y)};
    }
    const float scale = canvas.Scale();
    canvas.Blend(
        Grow(bounds, lineWidth / 2 + 1 / scale),
        [&](Point p) {
            float d = std::hypot(p.x - points[0].x, p.y - points[0].y);
            for (size_t i = 1; i < points.size(); ++i) {
                d = std::min(d, SegmentDistance(p, points[i - 1], points[i]));
            }
            return EdgeCoverage(d - lineWidth / 2, scale, 0);
        },
        paint, opacity);
}

void RaisedKey(Canvas& canvas, const Box& box, float radius, Rgb colour, float depth) {
    const float size = std::min(box.Width(), box.Height());
    FillRoundRect(canvas, box.Offset(0, size * 0.07f * depth), radius, Solid({0, 0, 0}), 0.35f * depth,
                  size * 0.14f);
    FillRoundRect(canvas, box, radius, VerticalGradient(box, Shade(colour, 0.16f), Shade(colour, -0.14f)));
    StrokeRoundRect(canvas, box.Inset(size * 0.03f), std::max(radius - size * 0.03f, 0.0f), size * 0.035f,
                    Solid(Shade(colour, 0.5f)), 0.35f);
}

namespace {

// A small integer hash with good avalanche, so neighbouring pixels get unrelated values.
uint32_t Hash(uint32_t x) {
    x ^= x >> 16;
    x *= 0x7FEB352Du;
    x ^= x >> 15;
    x *= 0x846CA68Bu;
    x ^= x >> 16;
    return x;
}

}  // namespace

void AddGrain(Canvas& canvas, float amount, uint32_t seed) {
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            const uint32_t h =
                Hash(seed ^ Hash(static_cast<uint32_t>(y) * 65537u + static_cast<uint32_t>(x)));
            const float n = ((h & 0xFFFF) / 65535.0f * 2 - 1) * amount;
            Rgb& p = canvas.At(x, y);
            p = {p.r + n, p.g + n, p.b + n};
        }
    }
}

namespace {

struct Tap {
    int index;
    float weight;
};

// For each output pixel along one axis, the source pixels it covers and their shares: the
// overlap of the output pixel's span with each source pixel (a box filter), or, when the axis
// is stretched, a linear blend of the two nearest source pixels.
std::vector<std::vector<Tap>> AxisTaps(int sourceSize, int targetSize) {
    std::vector<std::vector<Tap>> taps(targetSize);
    const double ratio = static_cast<double>(sourceSize) / targetSize;
    for (int t = 0; t < targetSize; ++t) {
        if (ratio <= 1) {
            const double centre = (t + 0.5) * ratio - 0.5;
            const int i0 = std::clamp(static_cast<int>(std::floor(centre)), 0, sourceSize - 1);
            const int i1 = std::min(i0 + 1, sourceSize - 1);
            const float f = static_cast<float>(std::clamp(centre - i0, 0.0, 1.0));
            taps[t] = {{i0, 1 - f}, {i1, f}};
            continue;
        }
        const double begin = t * ratio, end = (t + 1) * ratio;
        for (int i = static_cast<int>(begin); i < end && i < sourceSize; ++i) {
            const double overlap = std::min<double>(end, i + 1) - std::max<double>(begin, i);
            if (overlap > 0) taps[t].push_back({i, static_cast<float>(overlap / ratio)});
        }
    }
    return taps;
}

}  // namespace

Canvas Resample(const Canvas& source, int widthPx, int heightPx) {
    const auto columns = AxisTaps(source.Width(), widthPx);
    const auto rows = AxisTaps(source.Height(), heightPx);
    Canvas across(widthPx, source.Height(), source.UnitsWide(), source.UnitsHigh());
    for (int y = 0; y < source.Height(); ++y) {
        for (int x = 0; x < widthPx; ++x) {
            Rgb sum;
            for (const Tap& tap : columns[x]) {
                const Rgb& s = source.At(tap.index, y);
                sum = {sum.r + s.r * tap.weight, sum.g + s.g * tap.weight, sum.b + s.b * tap.weight};
            }
            across.At(x, y) = sum;
        }
    }
    Canvas result(widthPx, heightPx, source.UnitsWide(), source.UnitsHigh());
    for (int y = 0; y < heightPx; ++y) {
        for (int x = 0; x < widthPx; ++x) {
            Rgb sum;
            for (const Tap& tap : rows[y]) {
                const Rgb& s = across.At(x, tap.index);
                sum = {sum.r + s.r * tap.weight, sum.g + s.g * tap.weight, sum.b + s.b * tap.weight};
            }
            result.At(x, y) = sum;
        }
    }
    return result;
}

}  // namespace pictures
