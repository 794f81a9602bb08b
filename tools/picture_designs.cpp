// The pictures themselves. Each is drawn in the units of the quad it lands on, as it should look
// on screen; scheme 1 is graphite and blue, scheme 2 pearl white and orange. Device pictures
// fill their quad edge to edge (the quad is the panel), with a darker rim so that neighbouring
// panels stay apart, and keep fine detail at four texels or more so that it survives the
// nearest-texel filtering of the viewer.
#include "tools/picture_designs.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>

namespace pictures {

namespace {

constexpr Rgb kWhite{1, 1, 1};
constexpr Rgb kBlack{0, 0, 0};

void Polygon(Canvas& c, std::initializer_list<Point> corners, const Paint& paint, float opacity = 1) {
    FillPolygon(c, std::span<const Point>(corners.begin(), corners.size()), paint, opacity);
}

void Path(Canvas& c, std::initializer_list<Point> points, float width, const Paint& paint,
          float opacity = 1) {
    StrokePath(c, std::span<const Point>(points.begin(), points.size()), width, paint, opacity);
}

void Text(Canvas& c, Fonts& f, const char* utf8, Point anchor, Align align, Weight weight, float size,
          Rgb colour, float opacity = 1) {
    f.Draw(c, utf8, anchor, align, TextStyle{weight, size, Solid(colour), opacity});
}

// ---------------------------------------------------------------------------------------------
// Device colourways

struct Palette {
    Rgb bodyTop, bodyBottom;      // the shell, lit from above
    Rgb rim;                      // moulded edge of the panel
    Rgb bezel;                    // glass around a display
    Rgb screenTop, screenBottom;  // display background
    Rgb ink, inkDim;              // display text
    Rgb accent, accentDeep;       // highlights on the display and the shell
    Rgb key, keyInk, keyInkDim;   // keys and their labels
    Rgb button, buttonInk;        // the round action buttons
    Rgb call, end;                // green and red keys
    Rgb logo;                     // the maker's name on the shell
};

// Scheme 1: graphite shell, navy display, blue accents.
constexpr Palette kGraphite{
    .bodyTop = Hex(0x646B77),
    .bodyBottom = Hex(0x3E434C),
    .rim = Hex(0x24272D),
    .bezel = Hex(0x0E1014),
    .screenTop = Hex(0x14305A),
    .screenBottom = Hex(0x0A1830),
    .ink = Hex(0xEAF3FF),
    .inkDim = Hex(0x8FB4E0),
    .accent = Hex(0x2F86F0),
    .accentDeep = Hex(0x1B56A8),
    .key = Hex(0x4A505A),
    .keyInk = Hex(0xF3F5F8),
    .keyInkDim = Hex(0x9DBEE6),
    .button = Hex(0x2F86F0),
    .buttonInk = Hex(0xFFFFFF),
    .call = Hex(0x2FB35A),
    .end = Hex(0xE04848),
    .logo = Hex(0xC9D6E6),
};

// Scheme 2: pearl shell, cream display, orange accents.
constexpr Palette kPearl{
    .bodyTop = Hex(0xFBF9F6),
    .bodyBottom = Hex(0xE0DAD1),
    .rim = Hex(0xB4AA9C),
    .bezel = Hex(0x2A2522),
    .screenTop = Hex(0xFFF8EE),
    .screenBottom = Hex(0xFBE6CF),
    .ink = Hex(0x3A2A1E),
    .inkDim = Hex(0x9C7A5C),
    .accent = Hex(0xF28A1E),
    .accentDeep = Hex(0xC4610A),
    .key = Hex(0xF6F3EE),
    .keyInk = Hex(0x3B342E),
    .keyInkDim = Hex(0xE07B16),
    .button = Hex(0xF28A1E),
    .buttonInk = Hex(0xFFFFFF),
    .call = Hex(0x3DB36A),
    .end = Hex(0xE55B3C),
    .logo = Hex(0xD9791A),
};

// Scheme 2, second shell: orange body with cream keys, the same display as kPearl.
constexpr Palette kCoral{
    .bodyTop = Hex(0xFFA44C),
    .bodyBottom = Hex(0xE2700F),
    .rim = Hex(0xA44C08),
    .bezel = Hex(0x2A2522),
    .screenTop = Hex(0xFFF8EE),
    .screenBottom = Hex(0xFBE6CF),
    .ink = Hex(0x3A2A1E),
    .inkDim = Hex(0x9C7A5C),
    .accent = Hex(0xF28A1E),
    .accentDeep = Hex(0xC4610A),
    .key = Hex(0xFFF3E4),
    .keyInk = Hex(0x7A3A06),
    .keyInkDim = Hex(0xC4610A),
    .button = Hex(0xFFF3E4),
    .buttonInk = Hex(0xD0670C),
    .call = Hex(0x3DB36A),
    .end = Hex(0xE55B3C),
    .logo = Hex(0xFFFFFF),
};

// ---------------------------------------------------------------------------------------------
// Shell, glass and controls

void DrawShell(Canvas& c, const Palette& p) {
    const Box all = c.Bounds();
    FillAll(c, VerticalGradient(all, p.bodyTop, p.bodyBottom));
    StrokeRoundRect(c, all.Inset(0.07f), 0.3f, 0.14f, Solid(p.rim), 0.85f);
    FillRoundRect(c, {0.35f, 0.2f, all.x1 - 0.35f, 0.27f}, 0.03f, Solid(kWhite), 0.22f);
}

// A recessed display: shadow, bezel glass and the screen inside it, which it returns.
Box DrawDisplayGlass(Canvas& c, const Box& bezel, float radius, const Palette& p) {
    FillRoundRect(c, bezel.Offset(0, 0.06f), radius, Solid(kBlack), 0.35f, 0.2f);
    FillRoundRect(c, bezel, radius, Solid(p.bezel));
    StrokeRoundRect(c, bezel.Inset(0.02f), radius, 0.05f, Solid(Shade(p.bezel, 0.35f)), 0.7f);
    const Box screen = bezel.Inset(0.2f);
    FillRoundRect(c, screen, radius * 0.4f, VerticalGradient(screen, p.screenTop, p.screenBottom));
    return screen;
}

// A faint diagonal reflection across a screen.
void GlassSheen(Canvas& c, const Box& s) {
    const float w = s.Width();
    Polygon(c, {{s.x0, s.y0}, {s.x0 + w * 0.42f, s.y0}, {s.x0 + w * 0.18f, s.y1}, {s.x0, s.y1}},
            Solid(kWhite), 0.05f);
}

void Triangle(Canvas& c, Point tip, float size, float angleDegrees, Rgb colour) {
    const float a = angleDegrees * 3.14159265f / 180;
    const Point dir{std::cos(a), std::sin(a)}, side{-dir.y, dir.x};
    const Point base{tip.x - dir.x * size, tip.y - dir.y * size};
    Polygon(c,
            {tip,
             {base.x + side.x * size * 0.6f, base.y + side.y * size * 0.6f},
             {base.x - side.x * size * 0.6f, base.y - side.y * size * 0.6f}},
            Solid(colour));
}

// A cross-shaped direction pad in a round recess, with arrow marks.
void DirectionPad(Canvas& c, Point centre, float size, const Palette& p) {
    const float arm = size * 0.32f;
    const Box across = BoxAround(centre, size, arm), upright = BoxAround(centre, arm, size);
    FillCircle(c, centre, size * 0.62f, Solid(Shade(p.bodyBottom, -0.25f)), 0.45f, 0.15f);
    FillRoundRect(c, across.Offset(0, 0.12f), 0.12f, Solid(kBlack), 0.35f, 0.25f);
    FillRoundRect(c, upright.Offset(0, 0.12f), 0.12f, Solid(kBlack), 0.35f, 0.25f);
    const Paint body = VerticalGradient(upright, Shade(p.key, 0.18f), Shade(p.key, -0.15f));
    FillRoundRect(c, across, 0.12f, body);
    FillRoundRect(c, upright, 0.12f, body);
    const float reach = size * 0.44f, mark = size * 0.09f;
    Triangle(c, {centre.x, centre.y - reach}, mark, -90, p.keyInkDim);
    Triangle(c, {centre.x, centre.y + reach}, mark, 90, p.keyInkDim);
    Triangle(c, {centre.x - reach, centre.y}, mark, 180, p.keyInkDim);
    Triangle(c, {centre.x + reach, centre.y}, mark, 0, p.keyInkDim);
    FillCircle(c, centre, arm * 0.28f, Solid(Shade(p.key, -0.25f)));
}

void RoundButton(Canvas& c, Point centre, float radius, Rgb colour) {
    RaisedKey(c, BoxAround(centre, 2 * radius, 2 * radius), radius, colour);
}

// Four lettered action buttons in a diamond.
void ActionButtons(Canvas& c, Fonts& f, Point centre, const Palette& p) {
    const float d = 0.78f, r = 0.4f;
    const std::array<std::pair<Point, const char*>, 4> buttons{{
        {{centre.x, centre.y - d}, "А"},
        {{centre.x - d, centre.y}, "Б"},
        {{centre.x + d, centre.y}, "В"},
        {{centre.x, centre.y + d}, "Г"},
    }};
    FillCircle(c, centre, 1.35f, Solid(Shade(p.bodyBottom, -0.25f)), 0.35f, 0.2f);
    for (const auto& [at, label] : buttons) {
        RoundButton(c, at, r, p.button);
        Text(c, f, label, {at.x, at.y - 0.01f}, Align::Centre, Weight::Bold, 0.42f, p.buttonInk);
    }
}

void Speaker(Canvas& c, Point topLeft, int slots, float length, Rgb colour) {
    for (int i = 0; i < slots; ++i) {
        const float y = topLeft.y + i * 0.24f;
        FillRoundRect(c, {topLeft.x, y, topLeft.x + length, y + 0.11f}, 0.055f, Solid(colour));
    }
}

// ---------------------------------------------------------------------------------------------
// Display icons, each drawn inside a box in one colour

void IconEnvelope(Canvas& c, const Box& b, Rgb ink) {
    const Box e = b.Inset(b.Width() * 0.24f);
    const Box body{e.x0, e.y0 + e.Height() * 0.12f, e.x1, e.y1 - e.Height() * 0.12f};
    const float w = b.Width() * 0.06f;
    StrokeRoundRect(c, body, w, w, Solid(ink));
    Path(c, {{body.x0 + w, body.y0 + w}, {body.Centre().x, body.Centre().y + w}, {body.x1 - w, body.y0 + w}},
         w, Solid(ink));
}

void IconCamera(Canvas& c, const Box& b, Rgb ink, Rgb tile) {
    const Box e = b.Inset(b.Width() * 0.22f);
    const Box body{e.x0, e.y0 + e.Height() * 0.22f, e.x1, e.y1 - e.Height() * 0.05f};
    FillRoundRect(
        c, {e.x0 + e.Width() * 0.3f, e.y0 + e.Height() * 0.08f, e.x1 - e.Width() * 0.3f, body.y0 + 0.05f},
        0.04f, Solid(ink));
    FillRoundRect(c, body, b.Width() * 0.08f, Solid(ink));
    FillCircle(c, body.Centre(), body.Height() * 0.32f, Solid(tile));
    FillCircle(c, body.Centre(), body.Height() * 0.18f, Solid(ink));
}

void IconNote(Canvas& c, const Box& b, Rgb ink) {
    const float s = b.Width();
    const Point head{b.x0 + s * 0.4f, b.y0 + s * 0.68f};
    FillCircle(c, head, s * 0.12f, Solid(ink));
    const float stemX = head.x + s * 0.1f;
    Path(c, {{stemX, head.y}, {stemX, b.y0 + s * 0.24f}, {stemX + s * 0.22f, b.y0 + s * 0.34f}}, s * 0.07f,
         Solid(ink));
}

void IconBubble(Canvas& c, const Box& b, Rgb ink) {
    const float s = b.Width();
    const Box body{b.x0 + s * 0.22f, b.y0 + s * 0.25f, b.x1 - s * 0.22f, b.y1 - s * 0.35f};
    FillRoundRect(c, body, s * 0.12f, Solid(ink));
    Polygon(c,
            {{body.x0 + s * 0.12f, body.y1 - 0.01f},
             {body.x0 + s * 0.34f, body.y1 - 0.01f},
             {body.x0 + s * 0.08f, body.y1 + s * 0.15f}},
            Solid(ink));
}

void IconSun(Canvas& c, Point centre, float radius, Rgb colour) {
    FillCircle(c, centre, radius * 1.8f, Solid(colour), 0.18f, radius);
    for (int i = 0; i < 8; ++i) {
        const float a = i * 3.14159265f / 4;
        Path(c,
             {{centre.x + std::cos(a) * radius * 1.35f, centre.y + std::sin(a) * radius * 1.35f},
              {centre.x + std::cos(a) * radius * 1.75f, centre.y + std::sin(a) * radius * 1.75f}},
             radius * 0.22f, Solid(colour));
    }
    FillCircle(c, centre, radius, Solid(colour));
}

// The four application icons (mail, messages, camera, music), each on its own tile colour.
std::array<Rgb, 4> AppColours(const Palette& p) {
    return {p.accent, p.call, Hex(0xF5A623), Hex(0x8E5BE8)};
}

void AppIcon(Canvas& c, const Box& b, int which, Rgb tile) {
    if (which == 0) IconEnvelope(c, b, kWhite);
    if (which == 1) IconBubble(c, b, kWhite);
    if (which == 2) IconCamera(c, b, kWhite, tile);
    if (which == 3) IconNote(c, b, kWhite);
}

void StatusBar(Canvas& c, Fonts& f, const Box& s, Rgb ink, const char* time) {
    const float y = s.y0 + 0.3f;
    for (int i = 0; i < 4; ++i) {
        const float h = 0.09f + 0.06f * i, x = s.x0 + 0.3f + i * 0.13f;
        FillRoundRect(c, {x, y + 0.12f - h, x + 0.08f, y + 0.12f}, 0.02f, Solid(ink), i < 3 ? 1 : 0.35f);
    }
    const Box battery{s.x1 - 0.8f, y - 0.1f, s.x1 - 0.34f, y + 0.13f};
    StrokeRoundRect(c, battery, 0.04f, 0.045f, Solid(ink));
    FillRoundRect(c, {battery.x1 + 0.01f, y - 0.04f, battery.x1 + 0.06f, y + 0.07f}, 0.015f, Solid(ink));
    FillRoundRect(c, {battery.x0 + 0.07f, battery.y0 + 0.07f, battery.x0 + 0.3f, battery.y1 - 0.07f}, 0.015f,
                  Solid(ink));
    if (time) Text(c, f, time, {battery.x0 - 0.18f, y + 0.01f}, Align::Right, Weight::Bold, 0.3f, ink);
}

// ---------------------------------------------------------------------------------------------
// Screens

// Home screen: clock, date, weather and a row of application tiles above two soft-key labels.
void HomeScreen(Canvas& c, Fonts& f, const Box& s, const Palette& p) {
    StatusBar(c, f, s, p.ink, nullptr);
    const float x = s.x0 + 0.4f;
    Text(c, f, "10:42", {x, s.y0 + 1.3f}, Align::Left, Weight::Bold, 1.3f, p.ink);
    Text(c, f, "пн, 14 ноября", {x + 0.05f, s.y0 + 2.25f}, Align::Left, Weight::Regular, 0.4f, p.inkDim);
    IconSun(c, {s.x1 - 0.85f, s.y0 + 1.1f}, 0.28f, Hex(0xFFC043));
    Text(c, f, "+5°", {s.x1 - 0.85f, s.y0 + 2.0f}, Align::Centre, Weight::Bold, 0.45f, p.ink);

    const float tile = 1.05f, gap = (s.Width() - 0.8f - 4 * tile) / 3, top = s.y0 + 2.7f;
    const std::array<Rgb, 4> tiles = AppColours(p);
    for (int i = 0; i < 4; ++i) {
        const Box b{x + i * (tile + gap), top, x + i * (tile + gap) + tile, top + tile};
        FillRoundRect(c, b.Offset(0, 0.05f), 0.25f, Solid(kBlack), 0.25f, 0.1f);
        FillRoundRect(c, b, 0.25f, VerticalGradient(b, Shade(tiles[i], 0.15f), Shade(tiles[i], -0.1f)));
        AppIcon(c, b, i, tiles[i]);
    }
    FillRoundRect(c, {s.x0 + 0.25f, s.y1 - 0.66f, s.x1 - 0.25f, s.y1 - 0.63f}, 0.01f, Solid(p.inkDim), 0.5f);
    Text(c, f, "Меню", {s.x0 + 0.4f, s.y1 - 0.33f}, Align::Left, Weight::Bold, 0.32f, p.ink);
    Text(c, f, "Назад", {s.x1 - 0.4f, s.y1 - 0.33f}, Align::Right, Weight::Bold, 0.32f, p.ink);
    FillCircle(c, {s.Centre().x, s.y1 - 0.33f}, 0.1f, Solid(p.accent));
}

// Music player: cover, title, progress and transport controls.
void PlayerScreen(Canvas& c, Fonts& f, const Box& s, const Palette& p) {
    StatusBar(c, f, s, p.ink, "10:42");
    const Box cover{s.x0 + 0.35f, s.y0 + 0.65f, s.x0 + 2.65f, s.y0 + 2.95f};
    FillRoundRect(c, cover.Offset(0, 0.06f), 0.2f, Solid(kBlack), 0.25f, 0.12f);
    FillRoundRect(c, cover, 0.2f,
                  LinearGradient({cover.x0, cover.y0}, p.accent, {cover.x1, cover.y1}, Hex(0xD94C7A)));
    for (int i = 1; i <= 4; ++i) StrokeCircle(c, cover.Centre(), 0.22f * i, 0.05f, Solid(kWhite), 0.3f);
    FillCircle(c, cover.Centre(), 0.12f, Solid(kWhite), 0.9f);

    const float x = cover.x1 + 0.35f;
    const char* title = "Летний вечер";
    const float titleSize = f.FitSize(title, Weight::Bold, 0.44f, s.x1 - 0.3f - x, c.Scale());
    Text(c, f, title, {x, s.y0 + 1.05f}, Align::Left, Weight::Bold, titleSize, p.ink);
    Text(c, f, "Оркестр Zelvo", {x, s.y0 + 1.62f}, Align::Left, Weight::Regular, 0.34f, p.inkDim);
    const std::array<float, 7> bars{0.35f, 0.6f, 0.45f, 0.7f, 0.3f, 0.55f, 0.4f};
    for (size_t i = 0; i < bars.size(); ++i) {
        const float bx = x + i * 0.22f;
        FillRoundRect(c, {bx, s.y0 + 2.85f - bars[i], bx + 0.13f, s.y0 + 2.85f}, 0.03f, Solid(p.accent));
    }

    const float line = s.y0 + 3.4f, from = s.x0 + 0.4f, to = s.x1 - 0.4f, at = from + (to - from) * 0.36f;
    FillRoundRect(c, {from, line - 0.04f, to, line + 0.04f}, 0.04f, Solid(p.inkDim), 0.4f);
    FillRoundRect(c, {from, line - 0.04f, at, line + 0.04f}, 0.04f, Solid(p.accent));
    FillCircle(c, {at, line}, 0.13f, Solid(p.accentDeep));
    Text(c, f, "1:24", {from, line + 0.36f}, Align::Left, Weight::Regular, 0.28f, p.inkDim);
    Text(c, f, "3:58", {to, line + 0.36f}, Align::Right, Weight::Regular, 0.28f, p.inkDim);

    const float cy = s.y1 - 0.62f, cx = s.Centre().x;
    FillCircle(c, {cx, cy}, 0.46f, Solid(p.accent));
    FillRoundRect(c, BoxAround({cx - 0.12f, cy}, 0.1f, 0.36f), 0.03f, Solid(kWhite));
    FillRoundRect(c, BoxAround({cx + 0.12f, cy}, 0.1f, 0.36f), 0.03f, Solid(kWhite));
    for (int side = -1; side <= 1; side += 2) {
        const float bx = cx + side * 1.5f;
        Triangle(c, {bx + side * 0.2f, cy}, 0.26f, side > 0 ? 0.0f : 180.0f, p.ink);
        Triangle(c, {bx, cy}, 0.26f, side > 0 ? 0.0f : 180.0f, p.ink);
        FillRoundRect(c, BoxAround({bx + side * 0.27f, cy}, 0.06f, 0.32f), 0.02f, Solid(p.ink));
    }
}

// ---------------------------------------------------------------------------------------------
// Faces: a landscape hand-held with the display between a direction pad and action buttons

using ScreenContent = void (*)(Canvas&, Fonts&, const Box&, const Palette&);

void DrawHandheldFace(Canvas& c, Fonts& f, const Palette& p, ScreenContent content) {
    DrawShell(c, p);
    const float w = c.UnitsWide(), h = c.UnitsHigh();
    const Box screen = DrawDisplayGlass(c, {3.0f, 0.5f, w - 3.0f, h - 1.2f}, 0.35f, p);
    c.SetClip(screen);
    content(c, f, screen, p);
    GlassSheen(c, screen);
    c.ClearClip();

    DirectionPad(c, {1.55f, 3.35f}, 2.1f, p);
    ActionButtons(c, f, {w - 1.55f, 3.35f}, p);
    FillCircle(c, {0.75f, 0.75f}, 0.3f, Solid(p.accent), 0.35f, 0.3f);
    FillCircle(c, {0.75f, 0.75f}, 0.1f, Solid(Shade(p.accent, 0.3f)));
    Speaker(c, {w - 2.25f, 0.55f}, 3, 1.3f, Shade(p.bodyBottom, -0.45f));
    Text(c, f, "Zelvo", {w / 2, h - 0.6f}, Align::Centre, Weight::Bold, 0.55f, p.logo);
    RaisedKey(c, BoxAround({w / 2 - 2.3f, h - 0.6f}, 1.05f, 0.32f), 0.16f, p.key);
    RaisedKey(c, BoxAround({w / 2 + 2.3f, h - 0.6f}, 1.05f, 0.32f), 0.16f, p.key);
}

void DrawFace(Canvas& c, Fonts& f) {
    DrawHandheldFace(c, f, kGraphite, HomeScreen);
}
void DrawFaceScheme2(Canvas& c, Fonts& f) {
    DrawHandheldFace(c, f, kPearl, HomeScreen);
}
void DrawFaceCoral(Canvas& c, Fonts& f) {
    DrawHandheldFace(c, f, kCoral, PlayerScreen);
}

// ---------------------------------------------------------------------------------------------
// Upper face: earpiece and camera above a wide display with a night landscape wallpaper

void Wallpaper(Canvas& c, Fonts& f, const Box& s, const Palette& p) {
    const float horizon = s.y0 + s.Height() * 0.62f;
    FillRoundRect(c, s, 0, VerticalGradient({s.x0, s.y0, s.x1, horizon}, Hex(0x0F2248), Hex(0x3F78AE)));
    const std::array<Point, 9> stars{{{0.18f, 0.2f},
                                      {0.31f, 0.12f},
                                      {0.44f, 0.27f},
                                      {0.52f, 0.1f},
                                      {0.63f, 0.22f},
                                      {0.12f, 0.36f},
                                      {0.9f, 0.14f},
                                      {0.38f, 0.4f},
                                      {0.58f, 0.36f}}};
    for (const Point& star : stars) {
        FillCircle(c, {s.x0 + star.x * s.Width(), s.y0 + star.y * s.Height()}, 0.05f, Solid(kWhite), 0.75f);
    }
    const Point moon{s.x1 - 2.4f, s.y0 + 1.3f};
    FillCircle(c, moon, 0.9f, Solid(Hex(0xF6F1D8)), 0.25f, 0.9f);
    FillCircle(c, moon, 0.48f, Solid(Hex(0xF6F1D8)));
    Polygon(c, {{s.x0 + 1.0f, horizon}, {s.x0 + 3.6f, s.y0 + 1.9f}, {s.x0 + 6.4f, horizon}},
            Solid(Hex(0x284F7C)));
    Polygon(c, {{s.x0 + 4.2f, horizon}, {s.x0 + 6.6f, s.y0 + 2.3f}, {s.x0 + 9.4f, horizon}},
            Solid(Hex(0x1F406A)));
    Polygon(c, {{s.x0 + 3.6f, s.y0 + 1.9f}, {s.x0 + 3.95f, s.y0 + 2.25f}, {s.x0 + 3.25f, s.y0 + 2.25f}},
            Solid(kWhite), 0.8f);
    FillRoundRect(c, {s.x0, horizon, s.x1, s.y1}, 0,
                  VerticalGradient({s.x0, horizon, s.x1, s.y1}, Hex(0x1C3C66), Hex(0x0B1830)));
    for (int i = 0; i < 4; ++i) {
        const float y = horizon + 0.25f + i * 0.32f, half = 0.7f - i * 0.12f;
        FillRoundRect(c, {moon.x - half, y, moon.x + half, y + 0.07f}, 0.035f, Solid(Hex(0xF6F1D8)), 0.5f);
    }

    StatusBar(c, f, s, p.ink, "10:42");
    const Box card{s.x0 + 0.35f, s.y0 + 0.65f, s.x0 + 3.0f, s.y0 + 2.05f};
    FillRoundRect(c, card, 0.25f, Solid(kWhite), 0.14f);
    Text(c, f, "+5°", {card.x0 + 0.3f, card.y0 + 0.5f}, Align::Left, Weight::Bold, 0.7f, p.ink);
    Text(c, f, "ясно, ночь", {card.x0 + 0.32f, card.y0 + 1.1f}, Align::Left, Weight::Regular, 0.32f,
         p.inkDim);

    const Box dock{s.x0 + 2.2f, s.y1 - 1.05f, s.x1 - 2.2f, s.y1 - 0.22f};
    FillRoundRect(c, dock, 0.4f, Solid(kWhite), 0.14f);
    const std::array<Rgb, 4> tiles = AppColours(p);
    for (int i = 0; i < 4; ++i) {
        const float step = dock.Width() / 4;
        const Box b = BoxAround({dock.x0 + step * (i + 0.5f), dock.Centre().y}, 0.66f, 0.66f);
        FillRoundRect(c, b, 0.18f, Solid(tiles[i]));
        AppIcon(c, b, i, tiles[i]);
    }
}

void DrawUpperFace(Canvas& c, Fonts& f) {
    const Palette& p = kGraphite;
    DrawShell(c, p);
    const float w = c.UnitsWide(), h = c.UnitsHigh();
    FillRoundRect(c, {w / 2 - 0.9f, 0.3f, w / 2 + 0.9f, 0.46f}, 0.08f, Solid(p.rim));
    FillCircle(c, {w / 2 + 1.4f, 0.38f}, 0.14f, Solid(p.bezel));
    StrokeCircle(c, {w / 2 + 1.4f, 0.38f}, 0.14f, 0.04f, Solid(Shade(p.bodyTop, 0.3f)));
    FillCircle(c, {w / 2 + 1.4f, 0.38f}, 0.05f, Solid(p.accentDeep));
    const Box screen = DrawDisplayGlass(c, {0.8f, 0.72f, w - 0.8f, h - 0.35f}, 0.3f, p);
    c.SetClip(screen);
    Wallpaper(c, f, screen, p);
    GlassSheen(c, screen);
    c.ClearClip();
}

// ---------------------------------------------------------------------------------------------
// Floors: the panel in front of the face, seen from above with its far edge at the top

// A handset laid down, the mark of the end key.
void HandsetDown(Canvas& c, Point centre, float size, Rgb ink) {
    const float w = size * 0.2f;
    Path(c,
         {{centre.x - size * 0.42f, centre.y + w * 0.8f},
          {centre.x - size * 0.3f, centre.y - w * 0.3f},
          {centre.x + size * 0.3f, centre.y - w * 0.3f},
          {centre.x + size * 0.42f, centre.y + w * 0.8f}},
         w, Solid(ink));
    FillRoundRect(c, BoxAround({centre.x - size * 0.4f, centre.y + w}, w * 2.2f, w * 1.2f), w * 0.5f,
                  Solid(ink));
    FillRoundRect(c, BoxAround({centre.x + size * 0.4f, centre.y + w}, w * 2.2f, w * 1.2f), w * 0.5f,
                  Solid(ink));
}

void DrawKeypadFloor(Canvas& c, Fonts& f, const Palette& p) {
    DrawShell(c, p);
    const float w = c.UnitsWide(), h = c.UnitsHigh();

    const Point nav{w / 2, 1.4f};
    FillCircle(c, nav, 1.22f, Solid(Shade(p.bodyBottom, -0.25f)), 0.45f, 0.15f);
    RoundButton(c, nav, 1.0f, p.key);
    Triangle(c, {nav.x, nav.y - 0.82f}, 0.16f, -90, p.keyInkDim);
    Triangle(c, {nav.x, nav.y + 0.82f}, 0.16f, 90, p.keyInkDim);
    Triangle(c, {nav.x - 0.82f, nav.y}, 0.16f, 180, p.keyInkDim);
    Triangle(c, {nav.x + 0.82f, nav.y}, 0.16f, 0, p.keyInkDim);
    RoundButton(c, nav, 0.45f, p.accent);
    Text(c, f, "OK", nav, Align::Centre, Weight::Bold, 0.32f, p.buttonInk);

    const Box leftSoft{0.55f, 0.45f, 4.4f, 1.15f}, rightSoft{w - 4.4f, 0.45f, w - 0.55f, 1.15f};
    RaisedKey(c, leftSoft, 0.3f, p.key);
    RaisedKey(c, rightSoft, 0.3f, p.key);
    FillRoundRect(c, BoxAround(leftSoft.Centre(), 0.9f, 0.1f), 0.05f, Solid(p.keyInkDim));
    FillRoundRect(c, BoxAround(rightSoft.Centre(), 0.9f, 0.1f), 0.05f, Solid(p.keyInkDim));
    const Box call{0.55f, 1.55f, 4.4f, 2.3f}, end{w - 4.4f, 1.55f, w - 0.55f, 2.3f};
    RaisedKey(c, call, 0.3f, p.call);
    RaisedKey(c, end, 0.3f, p.end);
    Text(c, f, "☎", call.Centre(), Align::Centre, Weight::Regular, 0.75f, kWhite);
    HandsetDown(c, end.Centre(), 1.0f, kWhite);

    // clang-format off
    static constexpr std::array<const char*, 12> digits{"1", "2", "3", "4", "5", "6", "7", "8", "9", "*", "0", "#"};
    static constexpr std::array<const char*, 12> letters{
        "",     "АБВГ", "ДЕЖЗ",
        "ИЙКЛ", "МНОП", "РСТУ",
        "ФХЦЧ", "ШЩЪЫ", "ЬЭЮЯ",
        "",     "+",    ""};
    // clang-format on
    const float left = 0.55f, top = 2.75f, gapX = 0.3f, gapY = 0.22f;
    const float keyW = (w - 2 * left - 2 * gapX) / 3, keyH = (h - 0.4f - top - 3 * gapY) / 4;
    for (int i = 0; i < 12; ++i) {
        const float x = left + (i % 3) * (keyW + gapX), y = top + (i / 3) * (keyH + gapY);
        const Box key{x, y, x + keyW, y + keyH};
        RaisedKey(c, key, 0.35f, p.key);
        const float cy = key.Centre().y;
        Text(c, f, digits[i], {key.x0 + 1.05f, cy}, Align::Centre, Weight::Bold, 0.78f, p.keyInk);
        if (*letters[i])
            Text(c, f, letters[i], {key.x0 + 1.65f, cy}, Align::Left, Weight::Regular, 0.4f, p.keyInkDim);
    }
}

void DrawFloor(Canvas& c, Fonts& f) {
    DrawKeypadFloor(c, f, kGraphite);
}
void DrawFloorScheme2(Canvas& c, Fonts& f) {
    DrawKeypadFloor(c, f, kPearl);
}

// Scheme-2 keyboard floor: four rows of Cyrillic keys under a strip with a touch pad.
void DrawKeyboardFloor(Canvas& c, Fonts& f) {
    const Palette& p = kPearl;
    DrawShell(c, p);
    const float w = c.UnitsWide();

    const Box pad = BoxAround({w / 2, 0.98f}, 3.4f, 1.0f);
    FillRoundRect(c, pad.Offset(0, -0.04f), 0.45f, Solid(kBlack), 0.2f, 0.12f);
    FillRoundRect(c, pad, 0.45f,
                  VerticalGradient(pad, Shade(p.bodyBottom, -0.12f), Shade(p.bodyTop, -0.02f)));
    Text(c, f, "Zelvo", pad.Centre(), Align::Centre, Weight::Bold, 0.42f, p.logo, 0.8f);
    const Box yes{0.55f, 0.5f, 3.6f, 1.45f}, no{w - 3.6f, 0.5f, w - 0.55f, 1.45f};
    RaisedKey(c, yes, 0.47f, p.accent);
    RaisedKey(c, no, 0.47f, Shade(p.accent, 0.55f));
    Text(c, f, "Да", yes.Centre(), Align::Centre, Weight::Bold, 0.46f, kWhite);
    Text(c, f, "Нет", no.Centre(), Align::Centre, Weight::Bold, 0.46f, p.keyInk);

    static constexpr std::array<const char*, 11> row1{"Й", "Ц", "У", "К", "Е", "Н", "Г", "Ш", "Щ", "З", "Х"};
    static constexpr std::array<const char*, 11> row2{"Ф", "Ы", "В", "А", "П", "Р", "О", "Л", "Д", "Ж", "Э"};
    static constexpr std::array<const char*, 9> row3{"Я", "Ч", "С", "М", "И", "Т", "Ь", "Б", "Ю"};
    const float left = 0.55f, top = 1.95f, gap = 0.12f, rowGap = 0.18f;
    const float unit = (w - 2 * left - 10 * gap) / 11;
    const float rowH = (c.UnitsHigh() - 0.35f - top - 3 * rowGap) / 4;
    const Rgb modifier = Shade(p.accent, 0.6f);
    const auto key = [&](int row, float column, float span, Rgb colour) {
        const float x = left + column * (unit + gap), y = top + row * (rowH + rowGap);
        const Box b{x, y, x + span * unit + (span - 1) * gap, y + rowH};
        RaisedKey(c, b, 0.2f, colour);
        return b;
    };
    const auto letter = [&](const Box& b, const char* text) {
        Text(c, f, text, b.Centre(), Align::Centre, Weight::Bold, 0.6f, p.keyInk);
    };
    for (int i = 0; i < 11; ++i) letter(key(0, i, 1, p.key), row1[i]);
    for (int i = 0; i < 11; ++i) letter(key(1, i, 1, p.key), row2[i]);
    const Box shift = key(2, 0, 1, modifier);
    const Point s = shift.Centre();
    Polygon(c, {{s.x, s.y - 0.3f}, {s.x + 0.26f, s.y}, {s.x - 0.26f, s.y}}, Solid(p.keyInk));
    FillRoundRect(c, {s.x - 0.1f, s.y - 0.02f, s.x + 0.1f, s.y + 0.26f}, 0.02f, Solid(p.keyInk));
    for (int i = 0; i < 9; ++i) letter(key(2, i + 1, 1, p.key), row3[i]);
    const Box erase = key(2, 10, 1, modifier);
    const Point e = erase.Centre();
    Polygon(c, {{e.x - 0.32f, e.y}, {e.x - 0.12f, e.y - 0.2f}, {e.x - 0.12f, e.y + 0.2f}}, Solid(p.keyInk));
    FillRoundRect(c, {e.x - 0.14f, e.y - 0.2f, e.x + 0.3f, e.y + 0.2f}, 0.04f, Solid(p.keyInk));
    Text(c, f, "123", key(3, 0, 2, modifier).Centre(), Align::Centre, Weight::Bold, 0.46f, p.keyInk);
    letter(key(3, 2, 1, p.key), ",");
    Text(c, f, "пробел", key(3, 3, 5, p.key).Centre(), Align::Centre, Weight::Regular, 0.44f, p.keyInkDim);
    letter(key(3, 8, 1, p.key), ".");
    const Box enter = key(3, 9, 2, p.accent);
    Text(c, f, "Ввод", enter.Centre(), Align::Centre, Weight::Bold, 0.46f, kWhite);
}

// ---------------------------------------------------------------------------------------------
// Backs and turning pieces: plain moulded plastic, the same under both schemes

void DrawPlastic(Canvas& c, Fonts&) {
    const Box all = c.Bounds();
    FillAll(c, VerticalGradient(all, Hex(0x9EA2A9), Hex(0x7F838B)));
    FillAll(c, RadialGradient(all.Centre(), all.Width() * 0.7f, Hex(0xA7ABB2), Hex(0x7F838B)), 0.4f);
    StrokeRoundRect(c, all.Inset(0.1f), 0.2f, 0.14f, Solid(Hex(0x5B5F66)), 0.8f);
    StrokeRoundRect(c, all.Inset(0.2f), 0.15f, 0.05f, Solid(Hex(0xC3C7CD)), 0.35f);
}

// ---------------------------------------------------------------------------------------------
// Device 10's face: a navigator with a map display and a column of round keys

struct MapColours {
    Rgb land, park, water, street, road, route, routeEdge, card, cardInk, cardInkDim;
};

constexpr MapColours kNightMap{Hex(0x1B2633), Hex(0x1E3F34), Hex(0x1C4470), Hex(0x2E3E52), Hex(0x50677F),
                               Hex(0x4FC3FF), Hex(0x17609E), Hex(0x22303F), Hex(0xEAF3FF), Hex(0x8FB4E0)};
constexpr MapColours kDayMap{Hex(0xF2ECDF), Hex(0xCDE6C0), Hex(0xA6D2F2), Hex(0xFFFFFF), Hex(0xFFD49A),
                             Hex(0xF28A1E), Hex(0xB85F0A), Hex(0xFFFFFF), Hex(0x3A2A1E), Hex(0x9C7A5C)};

void MapScreen(Canvas& c, Fonts& f, const Box& s, const MapColours& m, const Palette& p) {
    FillRoundRect(c, s, 0, Solid(m.land));
    FillRoundRect(c, {s.x0 + 0.4f, s.y0 + 3.3f, s.x0 + 3.2f, s.y1 + 1.0f}, 1.0f, Solid(m.park));
    FillCircle(c, {s.x1 - 1.3f, s.y0 + 1.5f}, 1.0f, Solid(m.park));
    const auto column = [&](int j) { return s.x0 + 0.65f + 1.25f * j; };
    const auto row = [&](int i) { return s.y0 + 0.45f + 0.98f * i; };
    for (int j = 0; j < 8; ++j) Path(c, {{column(j), s.y0}, {column(j), s.y1}}, 0.09f, Solid(m.street));
    for (int i = 0; i < 6; ++i) Path(c, {{s.x0, row(i)}, {s.x1, row(i)}}, 0.09f, Solid(m.street));
    Path(c,
         {{s.x0 - 0.5f, s.y0 + 2.6f},
          {s.x0 + 2.4f, s.y0 + 2.95f},
          {s.x0 + 4.6f, s.y0 + 2.45f},
          {s.x0 + 6.8f, s.y0 + 2.9f},
          {s.x1 + 0.5f, s.y0 + 2.4f}},
         0.6f, Solid(m.water));
    Path(c, {{s.x0, s.y1 - 0.3f}, {s.x1, s.y0 + 0.9f}}, 0.24f, Solid(m.road));
    Path(c, {{column(5), s.y0}, {column(5), s.y1}}, 0.24f, Solid(m.road));

    const Point start{column(1), row(5)}, end{column(6), row(1)};
    const std::array<Point, 5> route{
        start, {column(1), row(3)}, {column(4), row(3)}, {column(4), row(1)}, end};
    StrokePath(c, route, 0.36f, Solid(m.routeEdge));
    StrokePath(c, route, 0.22f, Solid(m.route));
    FillCircle(c, start, 0.45f, Solid(m.route), 0.3f);
    Polygon(c, {{start.x, start.y - 0.36f}, {start.x + 0.26f, start.y + 0.26f}, {start.x, start.y + 0.1f}},
            Solid(kWhite));
    Polygon(c, {{start.x, start.y - 0.36f}, {start.x, start.y + 0.1f}, {start.x - 0.26f, start.y + 0.26f}},
            Solid(kWhite));
    const Point pin{end.x, end.y - 0.42f};
    Polygon(c, {{pin.x - 0.2f, pin.y + 0.1f}, {pin.x + 0.2f, pin.y + 0.1f}, {end.x, end.y}}, Solid(p.end));
    FillCircle(c, pin, 0.26f, Solid(p.end));
    FillCircle(c, pin, 0.1f, Solid(kWhite));

    const Box card{s.x0 + 0.25f, s.y0 + 0.25f, s.x0 + 3.55f, s.y0 + 1.5f};
    FillRoundRect(c, card.Offset(0, 0.05f), 0.22f, Solid(kBlack), 0.25f, 0.12f);
    FillRoundRect(c, card, 0.22f, Solid(m.card), 0.95f);
    const float ax = card.x0 + 0.55f, ay = card.y0 + 0.5f;
    Path(c, {{ax, card.y1 - 0.22f}, {ax, ay}, {ax + 0.35f, ay}}, 0.14f, Solid(m.route));
    Triangle(c, {ax + 0.68f, ay}, 0.34f, 0, m.route);
    Text(c, f, "300 м", {card.x0 + 1.45f, card.y0 + 0.45f}, Align::Left, Weight::Bold, 0.5f, m.cardInk);
    Text(c, f, "ул. Садовая", {card.x0 + 1.47f, card.y0 + 0.95f}, Align::Left, Weight::Regular, 0.32f,
         m.cardInkDim);

    const Point compass{s.x1 - 0.6f, s.y1 - 1.25f};
    FillCircle(c, compass, 0.36f, Solid(m.card), 0.95f);
    Polygon(c,
            {{compass.x, compass.y - 0.27f}, {compass.x + 0.11f, compass.y}, {compass.x - 0.11f, compass.y}},
            Solid(p.end));
    Polygon(c,
            {{compass.x, compass.y + 0.27f}, {compass.x - 0.11f, compass.y}, {compass.x + 0.11f, compass.y}},
            Solid(m.cardInkDim));

    const Box bar{s.x0, s.y1 - 0.72f, s.x1, s.y1};
    FillRoundRect(c, bar, 0, Solid(m.card), 0.92f);
    Text(c, f, "12 км", {bar.x0 + 0.35f, bar.Centre().y}, Align::Left, Weight::Bold, 0.38f, m.cardInk);
    Text(c, f, "18 мин", {bar.x0 + 2.0f, bar.Centre().y}, Align::Left, Weight::Bold, 0.38f, m.route);
    Text(c, f, "прибытие 10:58", {bar.x1 - 0.35f, bar.Centre().y}, Align::Right, Weight::Regular, 0.34f,
         m.cardInkDim);
}

void DrawNavigatorFace(Canvas& c, Fonts& f, const Palette& p, const MapColours& m) {
    DrawShell(c, p);
    const float w = c.UnitsWide(), h = c.UnitsHigh();
    const Box screen = DrawDisplayGlass(c, {0.55f, 0.5f, w - 2.65f, h - 0.5f}, 0.35f, p);
    c.SetClip(screen);
    MapScreen(c, f, screen, m, p);
    GlassSheen(c, screen);
    c.ClearClip();

    const float x = w - 1.33f;
    FillCircle(c, {x, 0.85f}, 0.28f, Solid(p.accent), 0.35f, 0.3f);
    FillCircle(c, {x, 0.85f}, 0.09f, Solid(Shade(p.accent, 0.3f)));
    const Paint ink = Solid(p.keyInk);
    for (int i = 0; i < 3; ++i) {
        const Point at{x, 2.05f + i * 1.3f};
        RoundButton(c, at, 0.52f, p.key);
        if (i == 0) {
            for (int line = -1; line <= 1; ++line) {
                Path(c, {{at.x - 0.22f, at.y + line * 0.13f}, {at.x + 0.22f, at.y + line * 0.13f}}, 0.07f,
                     ink);
            }
        }
        if (i == 1) Path(c, {{at.x, at.y - 0.22f}, {at.x, at.y + 0.22f}}, 0.09f, ink);
        if (i >= 1) Path(c, {{at.x - 0.22f, at.y}, {at.x + 0.22f, at.y}}, 0.09f, ink);
    }
    Text(c, f, "Zelvo", {x, h - 0.85f}, Align::Centre, Weight::Bold, 0.46f, p.logo);
}

void DrawNavigator(Canvas& c, Fonts& f) {
    DrawNavigatorFace(c, f, kGraphite, kNightMap);
}
void DrawNavigatorScheme2(Canvas& c, Fonts& f) {
    DrawNavigatorFace(c, f, kPearl, kDayMap);
}

// ---------------------------------------------------------------------------------------------
// Backdrop: a calm gradient with a glow behind the devices, faint rings and the maker's name.
// Its upper part, above both lights, gets ambient light alone, hence the bright colours.

struct BackdropColours {
    Rgb top, bottom, glow, ring, mark;
};

void DrawBackdrop(Canvas& c, Fonts& f, const BackdropColours& k) {
    const Box all = c.Bounds();
    FillAll(c, VerticalGradient(all, k.top, k.bottom));
    const Point centre{54.5f, 39.6f};  // the devices' usual place, model (0, -3)
    FillCircle(c, centre, 34, Solid(k.glow), 0.6f, 56);
    for (int i = 1; i <= 9; ++i)
        StrokeCircle(c, centre, 7.0f * i, 0.3f, Solid(k.ring), 0.1f * (1 - i / 11.0f));
    for (int i = 0; i < 4; ++i) {
        const float x = -10 + i * 26.0f;
        Polygon(c, {{x, 0}, {x + 9, 0}, {x + 39, all.y1}, {x + 30, all.y1}}, Solid(kWhite), 0.025f);
    }
    // Upper left, below the strip that the view's overhang hides at small window sizes.
    Text(c, f, "Zelvo", {23, 22}, Align::Left, Weight::Bold, 6.5f, k.mark, 0.22f);
    Text(c, f, "Зорна GX", {23.5f, 27}, Align::Left, Weight::Regular, 2.3f, k.mark, 0.2f);
}

void DrawBackdrop1(Canvas& c, Fonts& f) {
    DrawBackdrop(c, f, {Hex(0x3766A8), Hex(0x152B52), Hex(0x5C9CE8), Hex(0xB8DAFF), Hex(0xE2EEFF)});
}
void DrawBackdrop2(Canvas& c, Fonts& f) {
    DrawBackdrop(c, f, {Hex(0x6E2A52), Hex(0x2A0F22), Hex(0xE07A38), Hex(0xFFCC99), Hex(0xFFE8D0)});
}

// ---------------------------------------------------------------------------------------------
// Caption plate: one line of text on a bevelled strip

void DrawCaption(Canvas& c, Fonts& f, Rgb top, Rgb bottom, Rgb rim, Rgb ink, Rgb mark) {
    const Box all = c.Bounds();
    const float w = all.Width(), h = all.Height();
    FillAll(c, VerticalGradient(all, top, bottom));
    FillRoundRect(c, {0.06f, 0.035f, w - 0.06f, 0.06f}, 0.01f, Solid(kWhite), 0.3f);
    StrokeRoundRect(c, all.Inset(0.018f), 0.05f, 0.03f, Solid(rim));
    FillCircle(c, {0.2f, h / 2}, 0.065f, Solid(mark));
    FillCircle(c, {w - 0.2f, h / 2}, 0.065f, Solid(mark));
    const char* line = "Zelvo  ·  Зорна GX  ·  анимация 3D устройств";
    const float size = f.FitSize(line, Weight::Bold, 0.27f, w - 1.0f, c.Scale());
    Text(c, f, line, {w / 2, h / 2}, Align::Centre, Weight::Bold, size, ink);
}

void DrawCaption1(Canvas& c, Fonts& f) {
    DrawCaption(c, f, Hex(0x3A8AEE), Hex(0x1A4C9E), Hex(0xA8D2FF), kWhite, Hex(0xCFE6FF));
}
void DrawCaption2(Canvas& c, Fonts& f) {
    DrawCaption(c, f, Hex(0xFFF8EE), Hex(0xF6DDC2), Hex(0xF28A1E), Hex(0x8A3F06), Hex(0xF28A1E));
}

// ---------------------------------------------------------------------------------------------
// Splash picture. The two spinning plates hang in front of its middle (model x -17..17,
// y -26..25 once projected back), so the title runs below them; at 640 x 480 the view shows
// model x -50..36 and y -37..24, which the title keeps inside.

// A flat outline of a device for the splash's side columns.
void DeviceSketch(Canvas& c, const Box& body, bool landscape, Rgb ink) {
    FillRoundRect(c, body, 0.8f, Solid(ink), 0.08f);
    StrokeRoundRect(c, body, 0.8f, 0.25f, Solid(ink), 0.75f);
    if (landscape) {
        const Box screen{body.x0 + body.Width() * 0.27f, body.y0 + 1.0f, body.x1 - body.Width() * 0.27f,
                         body.y1 - 1.0f};
        FillRoundRect(c, screen, 0.3f, Solid(ink), 0.3f);
        FillCircle(c, {body.x0 + body.Width() * 0.13f, body.Centre().y}, body.Height() * 0.16f, Solid(ink),
                   0.5f);
        for (int i = 0; i < 4; ++i) {
            const float a = i * 3.14159265f / 2;
            FillCircle(
                c,
                {body.x1 - body.Width() * 0.13f + std::cos(a) * 0.9f, body.Centre().y + std::sin(a) * 0.9f},
                0.4f, Solid(ink), 0.5f);
        }
        return;
    }
    const Box screen{body.x0 + 1.0f, body.y0 + 1.4f, body.x1 - 1.0f, body.y0 + body.Height() * 0.5f};
    FillRoundRect(c, screen, 0.3f, Solid(ink), 0.3f);
    for (int i = 0; i < 12; ++i) {
        const float kx = body.x0 + body.Width() * (0.28f + 0.22f * (i % 3));
        const float ky = body.y0 + body.Height() * (0.6f + 0.09f * (i / 3));
        FillRoundRect(c, BoxAround({kx, ky}, body.Width() * 0.16f, body.Height() * 0.05f), 0.2f, Solid(ink),
                      0.45f);
    }
}

void DrawSplash(Canvas& c, Fonts& f) {
    const Box all = c.Bounds();
    FillAll(c, VerticalGradient(all, Hex(0x2E5496), Hex(0x0E1B3A)));
    const Point centre{50.5f, 38};
    FillCircle(c, centre, 26, Solid(Hex(0x5A9AE6)), 0.55f, 44);
    for (int i = 1; i <= 7; ++i)
        StrokeCircle(c, centre, 6.5f * i, 0.25f, Solid(Hex(0xBFDcff)), 0.12f * (1 - i / 9.0f));

    const Rgb sketch = Hex(0xD6E8FF);
    DeviceSketch(c, {12, 14, 31, 25}, true, sketch);
    DeviceSketch(c, {16, 30, 27, 53}, false, sketch);
    DeviceSketch(c, {70, 30, 81, 53}, false, sketch);
    DeviceSketch(c, {66, 14, 85, 25}, true, sketch);

    Text(c, f, "Зорна GX - 1 … Зорна GX - 13", {50.5f, 9.5f}, Align::Centre, Weight::Regular, 3.0f,
         Hex(0xCFE3FF));
    const char* title = "Анимация 3D устройств Zelvo";
    const float size = f.FitSize(title, Weight::Bold, 6.0f, 70, c.Scale());
    f.Draw(c, title, {50.6f, 69.9f}, Align::Centre, TextStyle{Weight::Bold, size, Solid(kBlack), 0.45f});
    Text(c, f, title, {50.5f, 69.5f}, Align::Centre, Weight::Bold, size, kWhite);
    FillRoundRect(c, {22, 73.6f, 79, 73.9f}, 0.15f, Solid(Hex(0x8CC0FF)), 0.7f);
    Text(c, f, "ноябрь 2016", {50.5f, 76.0f}, Align::Centre, Weight::Regular, 2.2f, Hex(0xCFE3FF));
}

// ---------------------------------------------------------------------------------------------
// Splash plates: the maker's emblem and the product name

void MetalPlate(Canvas& c, Rgb top, Rgb bottom, Rgb rim) {
    const Box all = c.Bounds();
    FillAll(c, VerticalGradient(all, top, bottom));
    for (int i = 0; i < 14; ++i) {
        const float y = all.Height() * (i + 0.5f) / 14;
        FillRoundRect(c, {0, y, all.x1, y + 0.05f}, 0, Solid(kWhite), 0.06f);
    }
    StrokeRoundRect(c, all.Inset(0.08f), 0.25f, 0.12f, Solid(rim));
    StrokeRoundRect(c, all.Inset(0.2f), 0.2f, 0.04f, Solid(kWhite), 0.45f);
}

void DrawEmblemPlate(Canvas& c, Fonts& f) {
    MetalPlate(c, Hex(0xEEF2F8), Hex(0xAFB9C8), Hex(0x6C7888));
    const Point centre{3.5f, 3.05f};
    FillCircle(c, {centre.x, centre.y + 0.12f}, 2.35f, Solid(kBlack), 0.3f, 0.35f);
    FillCircle(c, centre, 2.35f,
               LinearGradient({centre.x, centre.y - 2.35f}, Hex(0x4A9BFF), {centre.x, centre.y + 2.35f},
                              Hex(0x143C86)));
    StrokeCircle(c, centre, 2.18f, 0.1f, Solid(kWhite), 0.85f);
    StrokeCircle(c, centre, 1.9f, 0.04f, Solid(kWhite), 0.4f);
    Text(c, f, "Z", {centre.x, centre.y}, Align::Centre, Weight::Bold, 3.4f, kWhite);
    Text(c, f, "Zelvo", {3.5f, 6.3f}, Align::Centre, Weight::Bold, 0.95f, Hex(0x1C3A6E));
}

void DrawNamePlate(Canvas& c, Fonts& f) {
    const Box all = c.Bounds();
    FillAll(c, VerticalGradient(all, Hex(0x3A8AEE), Hex(0x153F8C)));
    FillRoundRect(c, {0.3f, 0.22f, all.x1 - 0.3f, 0.3f}, 0.04f, Solid(kWhite), 0.3f);
    StrokeRoundRect(c, all.Inset(0.08f), 0.22f, 0.12f, Solid(Hex(0xA8D2FF)));
    const float size = f.FitSize("Зорна GX", Weight::Bold, 1.3f, 6.0f, c.Scale());
    Text(c, f, "Зорна GX", {3.5f, 1.2f}, Align::Centre, Weight::Bold, size, kWhite);
    Text(c, f, "13 устройств", {3.5f, 2.2f}, Align::Centre, Weight::Regular, 0.55f, Hex(0xCFE6FF));
}

// ---------------------------------------------------------------------------------------------
// Test cards for the two pictures the show loads but never shows

void DrawColourBarsCard(Canvas& c, Fonts& f) {
    static constexpr std::array<uint32_t, 7> bars{0xC0C0C0, 0xC0C000, 0x00C0C0, 0x00C000,
                                                  0xC000C0, 0xC00000, 0x0000C0};
    for (size_t i = 0; i < bars.size(); ++i) {
        const float x = 8.0f * i / bars.size();
        FillRoundRect(c, {x, 0, x + 8.0f / bars.size(), 5.5f}, 0, Solid(Hex(bars[i])));
    }
    for (int i = 0; i < 8; ++i) {
        const float v = i / 7.0f;
        FillRoundRect(c, {i * 1.0f, 5.5f, i + 1.0f, 8}, 0, Solid({v, v, v}));
    }
    StrokeCircle(c, {4, 4}, 3.3f, 0.12f, Solid(kWhite), 0.9f);
    FillRoundRect(c, BoxAround({4, 4}, 2.2f, 2.2f), 0.25f, Solid(kBlack), 0.85f);
    Text(c, f, "3", {4, 4}, Align::Centre, Weight::Bold, 1.9f, kWhite);
}

void DrawCheckerCard(Canvas& c, Fonts& f) {
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            FillRoundRect(c, {float(x), float(y), x + 1.0f, y + 1.0f}, 0,
                          Solid((x + y) % 2 ? Hex(0x3A3F47) : Hex(0xD8DCE2)));
        }
    }
    Path(c, {{4, 0}, {4, 8}}, 0.08f, Solid(Hex(0xE04848)));
    Path(c, {{0, 4}, {8, 4}}, 0.08f, Solid(Hex(0xE04848)));
    StrokeCircle(c, {4, 4}, 3.3f, 0.12f, Solid(Hex(0xF28A1E)));
    FillCircle(c, {4, 4}, 1.2f, Solid(Hex(0x2F86F0)));
    Text(c, f, "5", {4, 4}, Align::Centre, Weight::Bold, 1.6f, kWhite);
}

// ---------------------------------------------------------------------------------------------
// The table. Sizes are the quads' on-screen extents; placements follow each quad's vertex order
// and the turns made before it:
//
// file     quad it is designed for                                  placement    why
// 1, 14,   PanelFloor (floors), 12.5 x 8                            upside down  vertex 1 is the far (upper)
// edge, vertex 2 the near one
//   1a
// 2        PanelTop (upper faces), 12.5 x 6.7                       upside down  vertex 1 is the top edge
// (y 9.4), vertex 2 the crease 4, 15,   PanelFront and the resting PanelFlap, 12.5 x 7.15        upright
// vertex 1 lower left, 2 upper left, 4 lower right
//   4a, 17, 18
// 6        backs and turning pieces, any shape                      upright      plain plastic, reads the
// same every way 3, 5     none (loaded, never bound)                               upright      test cards
// 11, 11a  backdrop, 109 x 83                                       upright      vertex 1 lower left, 2 upper
// left, translate only 13       splash picture, 101 x 81                                 upright      as the
// backdrop 12, 16   caption plate, 5.4 x 0.4                                 mirrored     drawn after a half
// turn about Y, which puts vertex 1
//                                                                                at the lower right; its back
//                                                                                face adds a half turn about
//                                                                                X and shows the same way up
//                                                                                once tumbled round
// 10       upper splash plate, 7 x 7.2                              mirrored     each face is seen from
// behind: the face drawn after a 8        lower splash plate, 7 x 3                                mirrored
// half turn about Y is the nearer one, and the two faces
//                                                                                swap as the plate spins
//
// Pictures shared by quads of other vertex orders (the wings, tex15 on upper faces, tex1 on the
// lips of device 8, tex4a on the upper faces of devices 1 and 4, scenes 2 and 3 laid on their
// side) show mirrored, upside down or sideways there; the placement serves the quads named.

// clang-format off
constexpr PictureDesign kDesigns[] = {
//   file       quad (units)   texture    placement    grain   design                listing
    {"1.bmp",   12.5f, 8.0f,   512, 256,  kUpsideDown, 0.004f, DrawFloor,            "keypad floor, graphite and blue"},
    {"2.bmp",   12.5f, 6.69f,  512, 256,  kUpsideDown, 0.004f, DrawUpperFace,        "upper face with a night landscape, graphite"},
    {"3.bmp",   8, 8,          128, 128,  kUpright,    0,      DrawColourBarsCard,   "colour-bar test card (never shown)"},
    {"4.bmp",   12.5f, 7.15f,  512, 256,  kUpright,    0.004f, DrawFace,             "hand-held face, home screen, graphite"},
    {"5.bmp",   8, 8,          128, 128,  kUpright,    0,      DrawCheckerCard,      "checkerboard test card (never shown)"},
    {"6.bmp",   4, 4,          128, 128,  kUpright,    0.012f, DrawPlastic,          "plain grey plastic with a moulded rim"},
    {"10.bmp",  7, 7.2f,       256, 256,  kMirrored,   0.004f, DrawEmblemPlate,      "upper splash plate, the maker's emblem"},
    {"8.bmp",   7, 3,          256, 128,  kMirrored,   0.004f, DrawNamePlate,        "lower splash plate, the product name"},
    {"11.bmp",  109, 83,       512, 512,  kUpright,    0.006f, DrawBackdrop1,        "backdrop, blue"},
    {"12.bmp",  5.4f, 0.4f,    512, 64,   kMirrored,   0.003f, DrawCaption1,         "caption plate, blue"},
    {"13.bmp",  101, 81,       512, 512,  kUpright,    0.006f, DrawSplash,           "splash picture with the title"},
    {"14.bmp",  12.5f, 8.0f,   512, 256,  kUpsideDown, 0.004f, DrawFloorScheme2,     "keypad floor, pearl and orange"},
    {"15.bmp",  12.5f, 7.15f,  512, 256,  kUpright,    0.004f, DrawFaceScheme2,      "hand-held face, home screen, pearl and orange"},
    {"16.bmp",  5.4f, 0.4f,    512, 64,   kMirrored,   0.003f, DrawCaption2,         "caption plate, cream and orange"},
    {"17.bmp",  12.5f, 7.15f,  512, 256,  kUpright,    0.004f, DrawNavigator,        "navigator face, night map, graphite"},
    {"18.bmp",  12.5f, 7.15f,  512, 256,  kUpright,    0.004f, DrawNavigatorScheme2, "navigator face, day map, pearl and orange"},
    {"11a.bmp", 109, 83,       512, 512,  kUpright,    0.006f, DrawBackdrop2,        "backdrop, plum and copper"},
    {"4a.bmp",  12.5f, 7.15f,  512, 256,  kUpright,    0.004f, DrawFaceCoral,        "hand-held face, music player, orange shell"},
    {"1a.bmp",  12.5f, 8.0f,   512, 256,  kUpsideDown, 0.004f, DrawKeyboardFloor,    "Cyrillic keyboard floor, pearl and orange"},
};
// clang-format on

uint32_t SeedOf(const char* name) {
    uint32_t h = 2166136261u;
    for (; *name; ++name) h = (h ^ static_cast<uint8_t>(*name)) * 16777619u;
    return h;
}

}  // namespace

std::span<const PictureDesign> PictureDesigns() {
    return kDesigns;
}

Canvas RenderDesign(const PictureDesign& design, Fonts& fonts) {
    const float density =
        2 * std::max(design.pixelsWide / design.unitsWide, design.pixelsHigh / design.unitsHigh);
    Canvas canvas(static_cast<int>(std::lround(design.unitsWide * density)),
                  static_cast<int>(std::lround(design.unitsHigh * density)), design.unitsWide,
                  design.unitsHigh);
    design.draw(canvas, fonts);
    Canvas texture = Resample(canvas, design.pixelsWide, design.pixelsHigh);
    if (design.grain > 0) AddGrain(texture, design.grain, SeedOf(design.file));
    return texture;
}

}  // namespace pictures
