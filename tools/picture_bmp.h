// Writing a picture as the viewer's textures expect it: a 24-bit bitmap (14-byte file header,
// 40-byte info header, bottom-up rows padded to four bytes), laid out so that the quad showing
// it puts the design upright on screen.
//
// TexturedQuad runs the texture's first coordinate (along a stored row) from vertex 1 to
// vertex 2 and its second (from the first stored row to the last) from vertex 1 to vertex 4.
// On screen, vertex 1 -> 2 is the quad's "up" or "down" and vertex 1 -> 4 its "right" or "left",
// so a design of W x H pixels (x right, y down) is written as a file H pixels wide and W rows
// high: transposed, and flipped along either axis as the quad's vertex order asks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/picture_canvas.h"

namespace pictures {

// Where a quad's vertex order sends the texture's two coordinates on screen.
struct Placement {
    bool firstRunsUp;      // vertex 1 -> 2 runs up the screen (else down)
    bool secondRunsRight;  // vertex 1 -> 4 runs to the right (else to the left)
};
inline constexpr Placement kUpright{true, true};      // v1 lower left, v2 upper left, v4 lower right
inline constexpr Placement kMirrored{true, false};    // v1 lower right, v2 upper right, v4 lower left
inline constexpr Placement kUpsideDown{false, true};  // v1 upper left, v2 lower left, v4 upper right

// One 8-bit channel from a canvas value, clamped and rounded.
uint8_t ToByte(float value);

// The complete bitmap file for a design as a quad with that placement shows it.
std::vector<uint8_t> EncodeBitmap(const Canvas& design, Placement placement);

// Writes bytes to a file; false (with errno set by the stream) when it cannot.
bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace pictures
