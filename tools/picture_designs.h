// The nineteen pictures of the show: for each, the file it is written to, the on-screen size of
// the quad it is designed for, its texture size, how the quad lays it on screen, and the
// routine that draws it.
#pragma once

#include <span>

#include "tools/picture_bmp.h"
#include "tools/picture_canvas.h"
#include "tools/picture_text.h"

namespace pictures {

struct PictureDesign {
    const char* file;            // name under picture/
    float unitsWide, unitsHigh;  // extent of the quad on screen, in model units
    int pixelsWide, pixelsHigh;  // texture size as seen on screen; the file is pixelsHigh wide
    Placement placement;         // how the quad's vertex order lays the picture on screen
    float grain;                 // texel grain added after resampling
    void (*draw)(Canvas& canvas, Fonts& fonts);
    const char* shows;           // one line for the generator's listing
};

// All nineteen, in the viewer's load order.
std::span<const PictureDesign> PictureDesigns();

// Draws a design at twice its texture's density and area-averages it to the texture size, in
// on-screen orientation (x right, y down).
Canvas RenderDesign(const PictureDesign& design, Fonts& fonts);

}  // namespace pictures
