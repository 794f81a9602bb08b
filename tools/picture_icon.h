// The application icon for desktop menus and the Windows exe: a hand-held device on the show's blue, drawn with the
// same canvas as the pictures, on a rounded tile whose outside is transparent, written as PNG.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace pictures {

// The square sizes the icon is written at, in pixels; the file for size N is "N.png".
std::span<const int> IconSizes();

// The PNG file of the icon at `size` x `size` pixels, RGBA; empty when encoding fails. Full
// bleed: the backdrop fills the whole square, opaque, for home screens that cut their own shape
// out of it (a maskable web app icon keeps the device inside the middle circle of 80% of its
// width, which this drawing does; Apple's touch icon must be opaque).
std::vector<uint8_t> EncodeIcon(int size, bool fullBleed = false);

// The icons of the show as a web app: the file, its size, full bleed or the rounded tile.
struct WebIcon {
    const char* file;
    int size;
    bool fullBleed;
};
std::span<const WebIcon> WebIcons();

// The Windows icon file (showcase.ico) for the program's exe: the icon at the sizes Explorer,
// the taskbar and the Start menu ask for, 16 to 256 pixels, each entry a PNG image (read by
// Windows Vista and later). Empty when encoding fails.
std::span<const int> WindowsIconSizes();
std::vector<uint8_t> EncodeWindowsIcon();

}  // namespace pictures
