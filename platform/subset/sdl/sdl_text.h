// Button-label text: the font found through fontconfig and labels rendered by SDL2_ttf into
// plain coverage bitmaps, ready for upload as GL textures.
#pragma once

#include <optional>
#include <string>

#include "platform/subset/button_overlay.h"

struct _TTF_Font;

namespace platform::sdl {

// Pixel size of button labels, near the size of the classic dialog font.
constexpr int kLabelPixelSize = 12;

struct FontFile {
    std::string path;
    int index = 0;  // face within a collection file
};
// The sans-serif face fontconfig picks for Russian text.
std::optional<FontFile> FindLabelFontFile();

using core::LabelBitmap;

// The label font, opened on first use; rendering gives an empty bitmap when no font can be
// opened (the buttons are then drawn without labels).
class LabelFont {
public:
    LabelFont() = default;
    LabelFont(const LabelFont&) = delete;
    LabelFont& operator=(const LabelFont&) = delete;
    ~LabelFont();
    LabelBitmap Render(const std::string& utf8);

private:
    bool Open();
    bool tried_ = false;
    bool ttfStarted_ = false;
    _TTF_Font* font_ = nullptr;
};

}  // namespace platform::sdl
