// The quad primitive, the scheme binder and the shared panel shapes. The shapes share the
// half-width 6.25 and the edge lines y -3.3 / z -0.5, y 3.3 / z -3.25 and y -5.3 / z 7.25; each
// front shape has a twin 0.1 further back or 0.05 lower that gives the panel its thickness.
#include "scene/shapes.h"

#include "scene/scene_state.h"

void TexturedQuad(const Quad& quad) {
    glBegin(GL_QUADS);
    glNormal3f(0, 1, 0);
    glTexCoord2f(0, 0);
    glVertex3f(quad.v[0].x, quad.v[0].y, quad.v[0].z);
    glTexCoord2f(1, 0);
    glVertex3f(quad.v[1].x, quad.v[1].y, quad.v[1].z);
    glTexCoord2f(1, 1);
    glVertex3f(quad.v[2].x, quad.v[2].y, quad.v[2].z);
    glTexCoord2f(0, 1);
    glVertex3f(quad.v[3].x, quad.v[3].y, quad.v[3].z);
    glEnd();
}

void BindSchemeTexture(GLuint a, GLuint b) {
    if (sceneState.colorScheme == 1) glBindTexture(GL_TEXTURE_2D, a);
    if (sceneState.colorScheme == 2) glBindTexture(GL_TEXTURE_2D, b);
}

// clang-format off
//                                   vertex 1                vertex 2               vertex 3               vertex 4
const Quad PanelFloor         = {{{-6.25f, -3.3f, -0.5f},  {-6.25f, -5.3f, 7.25f},  {6.25f, -5.3f, 7.25f},  {6.25f, -3.3f, -0.5f}}};
const Quad PanelFloorBack     = {{{-6.25f, -3.35f, -0.5f}, {-6.25f, -5.35f, 7.25f}, {6.25f, -5.35f, 7.25f}, {6.25f, -3.35f, -0.5f}}};
const Quad PanelFlap          = {{{-6.25f, 0, 0},          {-6.25f, 6.6f, -3.25f},  {6.25f, 6.6f, -3.25f},  {6.25f, 0, 0}}};
const Quad PanelFlapRight     = {{{5.75f, 0, 0},           {5.75f, 6.6f, -3.25f},   {18.25f, 6.6f, -3.25f}, {18.25f, 0, 0}}};
const Quad PanelFront         = {{{-6.25f, -3.3f, -0.5f},  {-6.25f, 3.3f, -3.25f},  {6.25f, 3.3f, -3.25f},  {6.25f, -3.3f, -0.5f}}};
const Quad PanelSlope         = {{{-6.25f, -3.3f, -0.6f},  {-6.25f, 3.3f, -3.35f},  {6.25f, 3.3f, -3.35f},  {6.25f, -3.3f, -0.6f}}};
const Quad PanelFrontLeft     = {{{-12.25f, -3.3f, -0.5f}, {-12.25f, 3.3f, -3.25f}, {0.25f, 3.3f, -3.25f},  {0.25f, -3.3f, -0.5f}}};
const Quad PanelSlopeLeft     = {{{-12.25f, -3.3f, -0.6f}, {-12.25f, 3.3f, -3.35f}, {0.25f, 3.3f, -3.35f},  {0.25f, -3.3f, -0.6f}}};
const Quad PanelTop           = {{{-6.25f, 9.4f, -0.5f},   {-6.25f, 3.3f, -3.25f},  {6.25f, 3.3f, -3.25f},  {6.25f, 9.4f, -0.5f}}};
const Quad PanelTopBack       = {{{-6.25f, 9.4f, -0.6f},   {-6.25f, 3.3f, -3.35f},  {6.25f, 3.3f, -3.35f},  {6.25f, 9.4f, -0.6f}}};
const Quad PanelWingLeft      = {{{-6.25f, -3.3f, -0.5f},  {-6.25f, -5.3f, 7.25f},  {-16.75f, -3.3f, 7.25f}, {-16.75f, -1.3f, -0.5f}}};
const Quad PanelWingLeftBack  = {{{-6.25f, -3.35f, -0.5f}, {-6.25f, -5.35f, 7.25f}, {-16.75f, -3.35f, 7.25f}, {-16.75f, -1.35f, -0.5f}}};
const Quad PanelWingRight     = {{{17.5f, -1.3f, -0.5f},   {17.5f, -3.3f, 7.25f},   {6.25f, -5.3f, 7.25f},  {6.25f, -3.3f, -0.5f}}};
const Quad PanelWingRightBack = {{{17.5f, -1.35f, -0.5f},  {17.5f, -3.35f, 7.25f},  {6.25f, -5.35f, 7.25f}, {6.25f, -3.35f, -0.5f}}};
const Quad PanelFlatLeft      = {{{-11.25f, 0, -0.5f},     {-11.25f, 0, 7.25f},     {-0.25f, 0, 7.25f},     {-0.25f, 0, -0.5f}}};
const Quad PanelFlatRight     = {{{0.25f, 0, -0.5f},       {0.25f, 0, 7.25f},       {11.25f, 0, 7.25f},     {11.25f, 0, -0.5f}}};
// clang-format on
