// The show's OpenGL 1.1 over WebGL (and, for its native tests, over OpenGL ES 2): exactly the
// GL 1.1 and GLU calls app/, scene/, scenes/ and image/ make, drawn as the desktop's GL draws
// them. Matrices, stacks and GL's per-vertex lighting run on the CPU in float, as the desktop's
// GL computes them; a quad becomes the two triangles the desktop's GL splits it into; the
// triangles of a frame collect in one batch, drawn in order with one run per texture at Flush.
//
// gl11_names.cpp gives these calls their C names (glBegin, gluPerspective, ...), so the show's
// sources compile unchanged against <GL/gl.h> and <GL/glu.h>. An argument outside what the show
// passes (a capability it never enables, a light parameter it never sets) stops a debug build
// with the call's name; a release build says so once on stderr and ignores the call.
//
// The context the backend makes for it: depth buffer on, antialias off (the desktop frame has
// no multisampling), alpha off (the clear colour's alpha 0.5 must not show the page through).
#pragma once

namespace gl11 {

// ---- The context it draws into ----

// Makes the layer's shader program, vertex buffer and white texture in the current WebGL or
// GLES 2 context and resets every GL 1.1 state to its initial value. False, with the reason on
// stderr, when the context refuses. Call once per context, before any other call.
bool Initialise();

// Whether the layer's context is current: Initialise and Restore make it current; SetCurrent
// says when the backend makes it current again, or leaves no context current. While none is, the
// C names (gl11_names.cpp) ignore every call, as GL ignores calls made without a current context.
bool Current();
void SetCurrent(bool current);

// The context's objects are gone, or are about to be (a lost WebGL context, a context being
// deleted): their names are given back. The layer's state, the pictures given to it and the last
// frame stay with the layer.
void ForgetObjects();

// Makes the layer's objects again in the current context (the lost one given back, or a new one
// in its place): every picture uploaded again from the layer's own copy, every state as it was,
// and the last frame drawn again. False, with the reason on stderr, when the context refuses.
bool Restore();

// The end of a frame: draws what is batched and keeps the frame for Restore to draw again. The
// backend calls it at every swap.
void EndFrame();

// Draws the triangles batched since the last flush; the layer calls it itself before a clear, a
// viewport, depth or texture image change.
void Flush();

// ---- The GL 1.1 calls, named without the gl prefix; arguments as GL takes them ----

// Immediate mode: GL_QUADS only, with a normal, a texture coordinate and a vertex each.
void Begin(unsigned mode);
void End();
void Normal3f(float x, float y, float z);
void TexCoord2f(float s, float t);
void Vertex3f(float x, float y, float z);

// Display lists: the show calls two it never makes, which GL draws as nothing.
void CallList(unsigned list);

// Matrices: GL_MODELVIEW (32 deep) and GL_PROJECTION (2 deep).
void MatrixMode(unsigned mode);
void LoadIdentity();
void PushMatrix();
void PopMatrix();
void Translatef(float x, float y, float z);
void Rotatef(float angle, float x, float y, float z);
void MultMatrixd(const double* m);
void Perspective(double fovy, double aspect, double zNear, double zFar);  // gluPerspective
void Viewport(int x, int y, int width, int height);

// State: GL_TEXTURE_2D, GL_LIGHTING, GL_LIGHT0..7 and GL_DEPTH_TEST.
void Enable(unsigned cap);
void Disable(unsigned cap);
void ShadeModel(unsigned mode);          // GL_SMOOTH
void Hint(unsigned target, unsigned mode);  // GL_PERSPECTIVE_CORRECTION_HINT: always correct
void ClearColor(float r, float g, float b, float a);
void ClearDepth(double depth);
void Clear(unsigned mask);
void DepthFunc(unsigned func);
void Lightfv(unsigned light, unsigned pname, const float* params);  // GL_AMBIENT, GL_DIFFUSE, GL_POSITION

// Textures: RGB bytes, GL_NEAREST filters, GL_REPEAT wrap (the default), GL_MODULATE.
void PixelStorei(unsigned pname, int param);  // GL_UNPACK_ALIGNMENT
void GenTextures(int n, unsigned* textures);
void BindTexture(unsigned target, unsigned texture);
void TexImage2D(unsigned target, int level, int internalFormat, int width, int height, int border, unsigned format,
                unsigned type, const void* pixels);
void TexParameteri(unsigned target, unsigned pname, int param);

}  // namespace gl11
