// Label font lookup (fontconfig) and label rendering (SDL2_ttf).
#include "platform/subset/sdl/sdl_text.h"

#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <cstdio>

namespace platform::sdl {

std::optional<FontFile> FindLabelFontFile() {
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (!config) return std::nullopt;
    std::optional<FontFile> found;
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("sans-serif"));
    if (pattern) {
        FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>("ru"));
        FcConfigSubstitute(config, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result = FcResultNoMatch;
        if (FcPattern* match = FcFontMatch(config, pattern, &result)) {
            FcChar8* file = nullptr;
            int index = 0;
            if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file) {
                FcPatternGetInteger(match, FC_INDEX, 0, &index);
                found = FontFile{reinterpret_cast<const char*>(file), index};
            }
            FcPatternDestroy(match);
        }
        FcPatternDestroy(pattern);
    }
    FcConfigDestroy(config);
    return found;
}

LabelFont::~LabelFont() {
    if (font_) TTF_CloseFont(font_);
    if (ttfStarted_) TTF_Quit();
}

bool LabelFont::Open() {
    if (tried_) return font_ != nullptr;
    tried_ = true;
    const std::optional<FontFile> file = FindLabelFontFile();
    if (!file) {
        std::fprintf(stderr, "showcase: no sans-serif font found; buttons are drawn without labels\n");
        return false;
    }
    if (TTF_Init() != 0) {
        std::fprintf(stderr, "showcase: cannot start the font renderer: %s\n", TTF_GetError());
        return false;
    }
    ttfStarted_ = true;
    font_ = TTF_OpenFontIndex(file->path.c_str(), kLabelPixelSize, file->index);
    if (!font_) {
        std::fprintf(stderr, "showcase: cannot open font %s: %s\n", file->path.c_str(), TTF_GetError());
        return false;
    }
    return true;
}

LabelBitmap LabelFont::Render(const std::string& utf8) {
    LabelBitmap bitmap;
    if (utf8.empty() || !Open()) return bitmap;
    SDL_Surface* rendered = TTF_RenderUTF8_Blended(font_, utf8.c_str(), SDL_Color{0, 0, 0, 255});
    if (!rendered) return bitmap;
    // Blended text is ARGB8888 whatever the platform; the alpha channel is the ink.
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(rendered);
    if (!argb) return bitmap;
    SDL_LockSurface(argb);
    bitmap.width = argb->w;
    bitmap.height = argb->h;
    bitmap.coverage.resize(static_cast<size_t>(argb->w) * static_cast<size_t>(argb->h));
    for (int y = 0; y < argb->h; ++y) {
        const auto* row = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(argb->pixels) + y * argb->pitch);
        for (int x = 0; x < argb->w; ++x)
            bitmap.coverage[static_cast<size_t>(y) * argb->w + x] = static_cast<std::uint8_t>(row[x] >> 24);
    }
    SDL_UnlockSurface(argb);
    SDL_FreeSurface(argb);
    return bitmap;
}

}  // namespace platform::sdl
