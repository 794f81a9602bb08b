// The push-button overlay of every backend of the subset: classic bevelled buttons with their
// labels, drawn with GL 1.1 over the program's frame just before it is presented, leaving the
// program's GL state as it was. A backend brings only its label rasteriser.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/subset/core.h"

namespace platform::core {

// Ink coverage per pixel (0 none, 255 full), rows from the top.
struct LabelBitmap {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> coverage;
};
// Renders a label's UTF-8 text; an empty bitmap draws no label, and no rasteriser no labels.
using LabelRasteriser = LabelBitmap (*)(const std::string& utf8);

// A label uploaded into one GL context (GL 1.1: the texture has power-of-two sides).
struct LabelTexture {
    unsigned int name = 0;  // 0: the label has no ink (or no font)
    int width = 0;
    int height = 0;
    int textureWidth = 0;
    int textureHeight = 0;
};
// Per context, keyed by the label's Windows-1251 text. The textures die with their context.
using LabelCache = std::unordered_map<std::string, LabelTexture>;

// Draws the buttons into the current context's back buffer, whose client area is
// clientWidth x clientHeight pixels with button coordinates measured from its top-left corner.
void DrawButtons(const std::vector<const WindowRecord*>& buttons, int clientWidth, int clientHeight,
                 LabelCache& labels, LabelRasteriser rasterise);

}  // namespace platform::core
