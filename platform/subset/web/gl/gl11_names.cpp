// The C names of the GL 1.1 and GLU calls the show makes, each handing its arguments to the
// layer (gl11.h). Linked into the web program only: there these definitions take the place of
// the browser's own GL names, which have no fixed-function GL. Made while no context is
// current, a call does nothing, as the desktop's GL ignores it.
#include <GL/gl.h>
#include <GL/glu.h>

#include "platform/subset/web/gl/gl11.h"

extern "C" {

void glBegin(GLenum mode) { if (gl11::Current()) gl11::Begin(mode); }
void glEnd() { if (gl11::Current()) gl11::End(); }
void glNormal3f(GLfloat x, GLfloat y, GLfloat z) { if (gl11::Current()) gl11::Normal3f(x, y, z); }
void glTexCoord2f(GLfloat s, GLfloat t) { if (gl11::Current()) gl11::TexCoord2f(s, t); }
void glVertex3f(GLfloat x, GLfloat y, GLfloat z) { if (gl11::Current()) gl11::Vertex3f(x, y, z); }
void glCallList(GLuint list) { if (gl11::Current()) gl11::CallList(list); }

void glMatrixMode(GLenum mode) { if (gl11::Current()) gl11::MatrixMode(mode); }
void glLoadIdentity() { if (gl11::Current()) gl11::LoadIdentity(); }
void glPushMatrix() { if (gl11::Current()) gl11::PushMatrix(); }
void glPopMatrix() { if (gl11::Current()) gl11::PopMatrix(); }
void glTranslatef(GLfloat x, GLfloat y, GLfloat z) { if (gl11::Current()) gl11::Translatef(x, y, z); }
void glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) { if (gl11::Current()) gl11::Rotatef(angle, x, y, z); }
void gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
    if (gl11::Current()) gl11::Perspective(fovy, aspect, zNear, zFar);
}
void glViewport(GLint x, GLint y, GLsizei width, GLsizei height) { if (gl11::Current()) gl11::Viewport(x, y, width, height); }

void glEnable(GLenum cap) { if (gl11::Current()) gl11::Enable(cap); }
void glDisable(GLenum cap) { if (gl11::Current()) gl11::Disable(cap); }
void glShadeModel(GLenum mode) { if (gl11::Current()) gl11::ShadeModel(mode); }
void glHint(GLenum target, GLenum mode) { if (gl11::Current()) gl11::Hint(target, mode); }
void glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a) { if (gl11::Current()) gl11::ClearColor(r, g, b, a); }
void glClearDepth(GLclampd depth) { if (gl11::Current()) gl11::ClearDepth(depth); }
void glClear(GLbitfield mask) { if (gl11::Current()) gl11::Clear(mask); }
void glDepthFunc(GLenum func) { if (gl11::Current()) gl11::DepthFunc(func); }
void glLightfv(GLenum light, GLenum pname, const GLfloat* params) { if (gl11::Current()) gl11::Lightfv(light, pname, params); }

void glPixelStorei(GLenum pname, GLint param) { if (gl11::Current()) gl11::PixelStorei(pname, param); }
void glGenTextures(GLsizei n, GLuint* textures) { if (gl11::Current()) gl11::GenTextures(n, textures); }
void glBindTexture(GLenum target, GLuint texture) { if (gl11::Current()) gl11::BindTexture(target, texture); }
void glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height, GLint border,
                  GLenum format, GLenum type, const GLvoid* pixels) {
    if (gl11::Current()) gl11::TexImage2D(target, level, internalFormat, width, height, border, format, type, pixels);
}
void glTexParameteri(GLenum target, GLenum pname, GLint param) { if (gl11::Current()) gl11::TexParameteri(target, pname, param); }

}  // extern "C"
