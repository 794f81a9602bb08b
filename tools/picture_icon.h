// The application icon for desktop menus: a hand-held device on the show's blue, drawn with the
// same canvas as the pictures, on a rounded tile whose outside is transparent, written as PNG.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace pictures {

// The square sizes the icon is written at, in pixels; the file for size N is "N.png".
std::span<const int> IconSizes();

// The PNG file of the icon at `size` x `size` pixels, RGBA; empty when encoding fails.
std::vector<uint8_t> EncodeIcon(int size);

}  // namespace pictures
