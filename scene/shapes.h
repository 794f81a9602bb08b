// The one quad primitive, the colour-scheme texture binder and the panel shapes that recur
// across the devices. Shapes are constant data; scenes place them with their own transforms.
#pragma once

#include <GL/gl.h>

struct Vertex {
    float x;
    float y;
    float z;
};

// Four vertices in drawing order: vertex 1 gets texture coordinate (0, 0), vertex 2 (1, 0),
// vertex 3 (1, 1), vertex 4 (0, 1), so a picture's rows run from vertex 1 towards vertex 2.
struct Quad {
    Vertex v[4];
};

// Draws one quad with the texture bound at that moment.
void TexturedQuad(const Quad& quad);

// Binds a under colour scheme 1 and b under colour scheme 2; any other scheme binds nothing.
void BindSchemeTexture(GLuint a, GLuint b);

extern const Quad PanelFloor;
extern const Quad PanelFloorBack;
extern const Quad PanelFlap;
extern const Quad PanelFlapRight;
extern const Quad PanelFront;
extern const Quad PanelSlope;
extern const Quad PanelFrontLeft;
extern const Quad PanelSlopeLeft;
extern const Quad PanelTop;
extern const Quad PanelTopBack;
extern const Quad PanelWingLeft;
extern const Quad PanelWingLeftBack;
extern const Quad PanelWingRight;
extern const Quad PanelWingRightBack;
extern const Quad PanelFlatLeft;
extern const Quad PanelFlatRight;
