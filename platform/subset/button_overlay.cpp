// Push-button overlay. The program's GL state is saved before anything is set, the buttons are
// drawn with fixed-function GL 1.1 in window pixels, and every saved state is put back, so the
// next frame the program draws cannot tell the overlay was there.
#include "platform/subset/button_overlay.h"

#include <GL/gl.h>

#include <algorithm>

namespace platform::core {
namespace {

struct Rgb {
    GLubyte r, g, b;
};
constexpr Rgb kFace{0xD4, 0xD0, 0xC8};
constexpr Rgb kHighlight{0xFF, 0xFF, 0xFF};
constexpr Rgb kLight{0xE8, 0xE6, 0xE1};
constexpr Rgb kShadow{0x80, 0x80, 0x80};
constexpr Rgb kDarkShadow{0x40, 0x40, 0x40};

// The two 1-pixel frames of a button edge, outside first: top-left and bottom-right colours.
struct Bevel {
    Rgb outerTopLeft, outerBottomRight, innerTopLeft, innerBottomRight;
};
constexpr Bevel kRaised{kHighlight, kDarkShadow, kLight, kShadow};
constexpr Bevel kSunken{kShadow, kHighlight, kDarkShadow, kLight};
constexpr int kBevelWidth = 2;
// Labels cached per context before the cache is dropped and rebuilt.
constexpr size_t kMaxCachedLabels = 256;

struct Rect {
    int x, y, width, height;
};

void Fill(const Rect& r, Rgb colour) {
    glColor3ub(colour.r, colour.g, colour.b);
    glRecti(r.x, r.y, r.x + r.width, r.y + r.height);
}

// One frame: the top and left lines leave the far corners to the bottom and right lines.
void Frame(const Rect& r, Rgb topLeft, Rgb bottomRight) {
    Fill({r.x, r.y, r.width - 1, 1}, topLeft);
    Fill({r.x, r.y, 1, r.height - 1}, topLeft);
    Fill({r.x, r.y + r.height - 1, r.width, 1}, bottomRight);
    Fill({r.x + r.width - 1, r.y, 1, r.height}, bottomRight);
}

int NextPowerOfTwo(int v) {
    int p = 1;
    while (p < v) p <<= 1;
    return p;
}

LabelTexture Upload(const LabelBitmap& bitmap) {
    LabelTexture label;
    if (bitmap.width <= 0 || bitmap.height <= 0) return label;
    label.width = bitmap.width;
    label.height = bitmap.height;
    label.textureWidth = NextPowerOfTwo(bitmap.width);
    label.textureHeight = NextPowerOfTwo(bitmap.height);
    std::vector<GLubyte> padded(static_cast<size_t>(label.textureWidth) * label.textureHeight, 0);
    for (int y = 0; y < bitmap.height; ++y)
        std::copy_n(bitmap.coverage.begin() + static_cast<ptrdiff_t>(y) * bitmap.width, bitmap.width,
                    padded.begin() + static_cast<ptrdiff_t>(y) * label.textureWidth);
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_ALPHA, label.textureWidth, label.textureHeight, 0, GL_ALPHA,
                 GL_UNSIGNED_BYTE, padded.data());
    label.name = name;
    return label;
}

const LabelTexture& LabelFor(const std::string& text, LabelCache& labels, LabelRasteriser rasterise) {
    if (auto it = labels.find(text); it != labels.end()) return it->second;
    if (labels.size() >= kMaxCachedLabels) {
        for (const auto& [key, label] : labels)
            if (label.name) glDeleteTextures(1, &label.name);
        labels.clear();
    }
    return labels.emplace(text, Upload(rasterise(Cp1251ToUtf8(text)))).first->second;
}

// The label at (x, y), cut to the clip rectangle: texels map one to one onto pixels.
void DrawLabel(const LabelTexture& label, int x, int y, const Rect& clip) {
    const int left = std::max(x, clip.x);
    const int top = std::max(y, clip.y);
    const int right = std::min(x + label.width, clip.x + clip.width);
    const int bottom = std::min(y + label.height, clip.y + clip.height);
    if (!label.name || left >= right || top >= bottom) return;
    const float s0 = float(left - x) / label.textureWidth, s1 = float(right - x) / label.textureWidth;
    const float t0 = float(top - y) / label.textureHeight, t1 = float(bottom - y) / label.textureHeight;
    glBindTexture(GL_TEXTURE_2D, label.name);
    glEnable(GL_TEXTURE_2D);
    glColor3ub(0, 0, 0);
    glBegin(GL_QUADS);
    glTexCoord2f(s0, t0);
    glVertex2i(left, top);
    glTexCoord2f(s1, t0);
    glVertex2i(right, top);
    glTexCoord2f(s1, t1);
    glVertex2i(right, bottom);
    glTexCoord2f(s0, t1);
    glVertex2i(left, bottom);
    glEnd();
    glDisable(GL_TEXTURE_2D);
}

void DrawButton(const WindowRecord& button, LabelCache& labels, LabelRasteriser rasterise) {
    const Rect outer{button.x, button.y, button.width, button.height};
    const Bevel& bevel = button.pressed ? kSunken : kRaised;
    Frame(outer, bevel.outerTopLeft, bevel.outerBottomRight);
    const Rect inner{outer.x + 1, outer.y + 1, outer.width - 2, outer.height - 2};
    if (inner.width <= 0 || inner.height <= 0) return;
    Frame(inner, bevel.innerTopLeft, bevel.innerBottomRight);
    const Rect face{outer.x + kBevelWidth, outer.y + kBevelWidth, outer.width - 2 * kBevelWidth,
                    outer.height - 2 * kBevelWidth};
    if (face.width <= 0 || face.height <= 0) return;
    Fill(face, kFace);
    if (rasterise == nullptr) return;
    const LabelTexture& label = LabelFor(button.text, labels, rasterise);
    const int shift = button.pressed ? 1 : 0;
    DrawLabel(label, outer.x + (outer.width - label.width) / 2 + shift,
              outer.y + (outer.height - label.height) / 2 + shift, face);
}

// A matrix stack entry saved by push where the stack has room, by value otherwise.
class SavedMatrix {
public:
    SavedMatrix(GLenum mode, GLenum depthQuery, GLenum maxDepthQuery, GLenum matrixQuery) : mode_(mode) {
        GLint depth = 0, maxDepth = 0;
        glGetIntegerv(depthQuery, &depth);
        glGetIntegerv(maxDepthQuery, &maxDepth);
        glMatrixMode(mode_);
        pushed_ = depth < maxDepth;
        if (pushed_)
            glPushMatrix();
        else
            glGetFloatv(matrixQuery, matrix_);
        glLoadIdentity();
    }
    SavedMatrix(const SavedMatrix&) = delete;
    SavedMatrix& operator=(const SavedMatrix&) = delete;
    ~SavedMatrix() {
        glMatrixMode(mode_);
        if (pushed_)
            glPopMatrix();
        else
            glLoadMatrixf(matrix_);
    }

private:
    GLenum mode_;
    bool pushed_ = false;
    GLfloat matrix_[16]{};
};

// The overlay's own fixed-function state, set after everything it changes has been saved.
void SetOverlayState(int clientWidth, int clientHeight) {
    static constexpr GLenum kDisabled[] = {
        GL_LIGHTING,   GL_DEPTH_TEST,   GL_CULL_FACE,     GL_SCISSOR_TEST,  GL_FOG,
        GL_ALPHA_TEST, GL_STENCIL_TEST, GL_COLOR_MATERIAL, GL_TEXTURE_1D,   GL_TEXTURE_2D,
        GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T, GL_TEXTURE_GEN_R, GL_TEXTURE_GEN_Q, GL_COLOR_LOGIC_OP,
        GL_DITHER,     GL_POLYGON_STIPPLE, GL_POLYGON_OFFSET_FILL, GL_CLIP_PLANE0, GL_CLIP_PLANE1,
        GL_CLIP_PLANE2, GL_CLIP_PLANE3, GL_CLIP_PLANE4, GL_CLIP_PLANE5,
    };
    for (GLenum capability : kDisabled) glDisable(capability);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glShadeModel(GL_FLAT);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glViewport(0, 0, clientWidth, clientHeight);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_UNPACK_SWAP_BYTES, GL_FALSE);
    glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
}

}  // namespace

void DrawButtons(const std::vector<const WindowRecord*>& buttons, int clientWidth, int clientHeight,
                 LabelCache& labels, LabelRasteriser rasterise) {
    if (buttons.empty() || clientWidth <= 0 || clientHeight <= 0) return;
    GLint boundTexture = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &boundTexture);
    // Enables, blend function and colour mask, current colour, viewport, matrix mode, polygon
    // mode, shade model, texture environment and bindings, pixel unpacking.
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_CURRENT_BIT | GL_VIEWPORT_BIT | GL_TRANSFORM_BIT |
                 GL_POLYGON_BIT | GL_LIGHTING_BIT | GL_TEXTURE_BIT);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    {
        SavedMatrix texture(GL_TEXTURE, GL_TEXTURE_STACK_DEPTH, GL_MAX_TEXTURE_STACK_DEPTH, GL_TEXTURE_MATRIX);
        SavedMatrix projection(GL_PROJECTION, GL_PROJECTION_STACK_DEPTH, GL_MAX_PROJECTION_STACK_DEPTH,
                               GL_PROJECTION_MATRIX);
        // Window pixels with y growing downwards, as button coordinates are measured.
        glOrtho(0, clientWidth, clientHeight, 0, -1, 1);
        SavedMatrix modelview(GL_MODELVIEW, GL_MODELVIEW_STACK_DEPTH, GL_MAX_MODELVIEW_STACK_DEPTH,
                              GL_MODELVIEW_MATRIX);
        SetOverlayState(clientWidth, clientHeight);
        for (const WindowRecord* button : buttons) DrawButton(*button, labels, rasterise);
    }
    glPopClientAttrib();
    glPopAttrib();
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(boundTexture));
}

}  // namespace platform::core
