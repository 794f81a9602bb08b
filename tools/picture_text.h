// Text for the pictures: a Cyrillic-capable sans-serif family found through fontconfig and
// rendered with SDL2_ttf onto a canvas, sized and placed in the canvas's units.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <utility>

#include "tools/picture_canvas.h"

typedef struct _TTF_Font TTF_Font;

namespace pictures {

enum class Weight { Regular, Bold };
enum class Align { Left, Centre, Right };

struct TextStyle {
    Weight weight = Weight::Regular;
    float size = 1;  // the font's pixel size, in canvas units (capitals are about 0.73 of it)
    Paint paint = Solid({1, 1, 1});
    float opacity = 1;
};

class Fonts {
public:
    Fonts() = default;
    Fonts(const Fonts&) = delete;
    Fonts& operator=(const Fonts&) = delete;
    ~Fonts();

    // Finds the regular and bold faces and starts the renderer; false with a message in
    // Error() when either is missing.
    bool Open();
    const std::string& Error() const { return error_; }
    // The font file in use for a weight, for messages.
    const std::string& FileOf(Weight weight) const;

    // Width of a line in units on a canvas with the given pixels per unit.
    float Measure(std::string_view utf8, const TextStyle& style, float pixelsPerUnit);
    // The largest size up to maxSize at which the line fits in maxWidth units.
    float FitSize(std::string_view utf8, Weight weight, float maxSize, float maxWidth, float pixelsPerUnit);

    // Draws one line; `anchor` is the middle of its capitals at the left end, centre or right
    // end of the line, as `align` says.
    void Draw(Canvas& canvas, std::string_view utf8, Point anchor, Align align, const TextStyle& style);

private:
    TTF_Font* Face(Weight weight, int pixelSize);

    bool started_ = false;
    std::string regularFile_, boldFile_, error_;
    std::map<std::pair<Weight, int>, TTF_Font*> faces_;
};

}  // namespace pictures
