// Font lookup asks fontconfig for "DejaVu Sans" with Russian coverage, so the pictures come out
// the same wherever that family is installed; another Cyrillic sans-serif stands in for it on a
// machine without it.
#include "tools/picture_text.h"

#include <SDL.h>
#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>

namespace pictures {

namespace {

constexpr float kCapHeight = 0.73f;  // capital height of the family, as a share of pixel size

std::string FindFontFile(const char* pattern) {
    std::string found;
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (!config) return found;
    if (FcPattern* query = FcNameParse(reinterpret_cast<const FcChar8*>(pattern))) {
        FcConfigSubstitute(config, query, FcMatchPattern);
        FcDefaultSubstitute(query);
        FcResult result = FcResultNoMatch;
        if (FcPattern* match = FcFontMatch(config, query, &result)) {
            FcChar8* file = nullptr;
            if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file) {
                found = reinterpret_cast<const char*>(file);
            }
            FcPatternDestroy(match);
        }
        FcPatternDestroy(query);
    }
    FcConfigDestroy(config);
    return found;
}

}  // namespace

Fonts::~Fonts() {
    for (auto& [key, face] : faces_) TTF_CloseFont(face);
    if (started_) TTF_Quit();
}

bool Fonts::Open() {
    regularFile_ = FindFontFile("DejaVu Sans:lang=ru:weight=regular");
    boldFile_ = FindFontFile("DejaVu Sans:lang=ru:weight=bold");
    if (regularFile_.empty() || boldFile_.empty()) {
        error_ = "no Cyrillic sans-serif font found through fontconfig";
        return false;
    }
    if (TTF_Init() != 0) {
        error_ = std::string("cannot start the font renderer: ") + TTF_GetError();
        return false;
    }
    started_ = true;
    if (!Face(Weight::Regular, 16) || !Face(Weight::Bold, 16)) return false;
    return true;
}

const std::string& Fonts::FileOf(Weight weight) const {
    return weight == Weight::Bold ? boldFile_ : regularFile_;
}

TTF_Font* Fonts::Face(Weight weight, int pixelSize) {
    pixelSize = std::max(pixelSize, 1);
    const auto key = std::make_pair(weight, pixelSize);
    if (auto it = faces_.find(key); it != faces_.end()) return it->second;
    TTF_Font* face = TTF_OpenFont(FileOf(weight).c_str(), pixelSize);
    if (!face) {
        error_ = "cannot open " + FileOf(weight) + ": " + TTF_GetError();
        return nullptr;
    }
    faces_[key] = face;
    return face;
}

float Fonts::Measure(std::string_view utf8, const TextStyle& style, float pixelsPerUnit) {
    TTF_Font* face = Face(style.weight, static_cast<int>(std::lround(style.size * pixelsPerUnit)));
    int width = 0, height = 0;
    if (!face || TTF_SizeUTF8(face, std::string(utf8).c_str(), &width, &height) != 0) return 0;
    return width / pixelsPerUnit;
}

float Fonts::FitSize(std::string_view utf8, Weight weight, float maxSize, float maxWidth,
                     float pixelsPerUnit) {
    float size = maxSize;
    while (size * pixelsPerUnit > 4 && Measure(utf8, TextStyle{weight, size}, pixelsPerUnit) > maxWidth) {
        size *= 0.97f;
    }
    return size;
}

void Fonts::Draw(Canvas& canvas, std::string_view utf8, Point anchor, Align align, const TextStyle& style) {
    const float scale = canvas.Scale();
    const int pixelSize = static_cast<int>(std::lround(style.size * scale));
    TTF_Font* face = Face(style.weight, pixelSize);
    if (!face || utf8.empty()) return;
    SDL_Surface* rendered =
        TTF_RenderUTF8_Blended(face, std::string(utf8).c_str(), SDL_Color{255, 255, 255, 255});
    if (!rendered) return;
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(rendered);
    if (!argb) return;

    float left = anchor.x * scale;
    if (align == Align::Centre) left -= argb->w / 2.0f;
    if (align == Align::Right) left -= argb->w;
    const float baseline = anchor.y * scale + kCapHeight * pixelSize / 2;
    const int x0 = static_cast<int>(std::lround(left));
    const int y0 = static_cast<int>(std::lround(baseline)) - TTF_FontAscent(face);

    SDL_LockSurface(argb);
    const auto coverage = [&](Point p) {
        const int x = static_cast<int>(std::floor(p.x * scale)) - x0;
        const int y = static_cast<int>(std::floor(p.y * scale)) - y0;
        if (x < 0 || y < 0 || x >= argb->w || y >= argb->h) return 0.0f;
        const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(argb->pixels) +
                                                            static_cast<size_t>(y) * argb->pitch);
        return (row[x] >> 24) / 255.0f;
    };
    const Box area{x0 / scale, y0 / scale, (x0 + argb->w) / scale, (y0 + argb->h) / scale};
    canvas.Blend(area, coverage, style.paint, style.opacity);
    SDL_UnlockSurface(argb);
    SDL_FreeSurface(argb);
}

}  // namespace pictures
