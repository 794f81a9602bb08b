// The icon is drawn on a 16 x 16 unit canvas. A second canvas holds its silhouette (white on
// black) and becomes the alpha channel, so the colour canvas can paint the tile's gradient over
// the whole square and edge pixels keep the tile's colour instead of fading to black.
#include "tools/picture_icon.h"

#include <array>
#include <stb/stb_image_write.h>

#include "tools/picture_bmp.h"
#include "tools/picture_canvas.h"

namespace pictures {

namespace {

constexpr float kUnits = 16;
constexpr Rgb kWhite{1, 1, 1};
constexpr Rgb kBlack{0, 0, 0};
constexpr int kSizes[] = {48, 128, 256};
constexpr int kWindowsSizes[] = {16, 24, 32, 48, 64, 256};
constexpr WebIcon kWebIcons[] = {
    {"web-192.png", 192, false},
    {"web-512.png", 512, false},
    {"web-maskable-512.png", 512, true},
    {"apple-touch-icon.png", 180, true},
};

// The tile: the backdrop's blue with its glow and faint rings.
const Box kTile{0.75f, 0.75f, 15.25f, 15.25f};
constexpr float kTileRadius = 3.2f;

// Full bleed, without the tile's rim: the home screen draws its own edge.
void DrawTile(Canvas& c, bool fullBleed) {
    FillAll(c, VerticalGradient(fullBleed ? Box{0, 0, kUnits, kUnits} : kTile, Hex(0x3A7BD0), Hex(0x122850)));
    const Point glow{8, 8.6f};
    FillCircle(c, glow, 6.5f, Solid(Hex(0x5C9CE8)), 0.55f, 5);
    for (int i = 1; i <= 4; ++i) StrokeCircle(c, glow, 1.9f * i, 0.08f, Solid(Hex(0xB8DAFF)), 0.14f);
    if (!fullBleed) StrokeRoundRect(c, kTile.Inset(0.12f), kTileRadius - 0.12f, 0.2f, Solid(kWhite), 0.18f);
}

// A landscape hand-held in graphite: display in the middle, a direction pad on the left, four
// action buttons on the right, as on the show's faces.
void DrawHandheld(Canvas& c) {
    const Box body{1.9f, 4.9f, 14.1f, 11.5f};
    FillRoundRect(c, body.Offset(0, 0.45f), 1.9f, Solid(kBlack), 0.45f, 0.7f);
    FillRoundRect(c, body, 1.9f, VerticalGradient(body, Hex(0x717886), Hex(0x353941)));
    StrokeRoundRect(c, body.Inset(0.06f), 1.85f, 0.12f, Solid(Hex(0xB6C0CE)), 0.5f);

    const Box bezel{4.9f, 5.6f, 11.1f, 10.8f};
    FillRoundRect(c, bezel, 0.5f, Solid(Hex(0x0E1014)));
    const Box screen = bezel.Inset(0.32f);
    FillRoundRect(c, screen, 0.2f, VerticalGradient(screen, Hex(0x2F86F0), Hex(0x123A78)));
    // A sun over two hills on the display, readable at 48 pixels as "a picture on a screen",
    // and a faint reflection down its left side.
    c.SetClip(screen);
    FillCircle(c, {screen.x1 - 1.3f, screen.y0 + 1.2f}, 0.55f, Solid(Hex(0xFFC043)));
    FillCircle(c, {screen.x0 + 1.6f, screen.y1 + 2.2f}, 3.3f, Solid(Hex(0x2FB35A)));
    FillCircle(c, {screen.x1 - 0.6f, screen.y1 + 2.6f}, 3.0f, Solid(Hex(0x23894A)));
    FillRoundRect(c, {screen.x0, screen.y0, screen.x0 + 1.6f, screen.y1}, 0, Solid(kWhite), 0.08f);
    c.ClearClip();

    const Point pad{3.4f, 8.2f};
    const float arm = 0.62f, reach = 2.1f;
    FillCircle(c, pad, 1.3f, Solid(kBlack), 0.25f, 0.2f);
    FillRoundRect(c, BoxAround(pad, reach, arm), 0.15f, Solid(Hex(0x24272D)));
    FillRoundRect(c, BoxAround(pad, arm, reach), 0.15f, Solid(Hex(0x24272D)));

    const Point buttons{12.6f, 8.2f};
    const std::array<std::pair<Point, uint32_t>, 4> keys{{
        {{buttons.x, buttons.y - 0.72f}, 0x2F86F0},
        {{buttons.x - 0.72f, buttons.y}, 0x2FB35A},
        {{buttons.x + 0.72f, buttons.y}, 0xE04848},
        {{buttons.x, buttons.y + 0.72f}, 0xFFC043},
    }};
    for (const auto& [at, colour] : keys) FillCircle(c, at, 0.4f, Solid(Hex(colour)));
}

void AppendBytes(void* context, void* data, int size) {
    auto* out = static_cast<std::vector<uint8_t>*>(context);
    const auto* bytes = static_cast<const uint8_t*>(data);
    out->insert(out->end(), bytes, bytes + size);
}

}  // namespace

std::span<const int> IconSizes() {
    return kSizes;
}

std::span<const WebIcon> WebIcons() {
    return kWebIcons;
}

std::vector<uint8_t> EncodeIcon(int size, bool fullBleed) {
    // Drawn at twice the density and area-averaged, as the pictures are.
    Canvas colour(2 * size, 2 * size, kUnits, kUnits);
    DrawTile(colour, fullBleed);
    DrawHandheld(colour);
    Canvas mask(2 * size, 2 * size, kUnits, kUnits);
    if (fullBleed) FillAll(mask, Solid(kWhite));
    else FillRoundRect(mask, kTile, kTileRadius, Solid(kWhite));

    const Canvas rgb = Resample(colour, size, size), alpha = Resample(mask, size, size);
    std::vector<uint8_t> pixels;
    pixels.reserve(static_cast<size_t>(size) * size * 4);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const Rgb& p = rgb.At(x, y);
            pixels.insert(pixels.end(), {ToByte(p.r), ToByte(p.g), ToByte(p.b), ToByte(alpha.At(x, y).r)});
        }
    }
    std::vector<uint8_t> png;
    if (!stbi_write_png_to_func(AppendBytes, &png, size, size, 4, pixels.data(), size * 4)) png.clear();
    return png;
}

std::span<const int> WindowsIconSizes() {
    return kWindowsSizes;
}

std::vector<uint8_t> EncodeWindowsIcon() {
    // An icon directory (reserved 0, type 1, count), one 16-byte entry per image, then the images.
    std::vector<std::vector<uint8_t>> images;
    for (const int size : kWindowsSizes) {
        images.push_back(EncodeIcon(size));
        if (images.back().empty()) return {};
    }
    std::vector<uint8_t> ico;
    const auto put16 = [&ico](uint32_t v) { ico.insert(ico.end(), {uint8_t(v), uint8_t(v >> 8)}); };
    const auto put32 = [&](uint32_t v) { put16(v & 0xFFFF), put16(v >> 16); };
    put16(0), put16(1), put16(static_cast<uint32_t>(images.size()));
    uint32_t offset = 6 + 16 * static_cast<uint32_t>(images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        const auto side = static_cast<uint8_t>(kWindowsSizes[i] % 256);  // 0 stands for 256
        ico.insert(ico.end(), {side, side, 0, 0});  // no palette
        put16(1), put16(32);                         // planes, bits per pixel
        put32(static_cast<uint32_t>(images[i].size())), put32(offset);
        offset += static_cast<uint32_t>(images[i].size());
    }
    for (const auto& image : images) ico.insert(ico.end(), image.begin(), image.end());
    return ico;
}

}  // namespace pictures
