// The recording definitions of the GL entry points the program uses, and of the calls WebGL
// also has that a frame must not make, so a stray one shows up in the record. A stray call
// WebGL lacks (glColor3f, glTranslated, ...) needs no recording: the page's link refuses it.
#include "tests/gl/gl_recorder.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>

namespace glrec {
namespace {

struct State {
    bool on = false;
    std::vector<Call> calls;
};

State& S() {
    static State state;
    return state;
}

template <typename F>
F Real(const char* name) {
    void* symbol = dlsym(RTLD_NEXT, name);
    if (symbol == nullptr) {
        std::fprintf(stderr, "GL recorder: no real %s\n", name);
        std::abort();
    }
    return reinterpret_cast<F>(symbol);
}

template <typename... A>
std::vector<double> Args(A... a) {
    return {static_cast<double>(a)...};
}

void Note(const char* name, std::vector<double> args) {
    if (S().on) S().calls.push_back(Call{name, std::move(args), {}});
}

}  // namespace

void Start() {
    S().calls.clear();
    S().on = true;
}
void Stop() { S().on = false; }
const std::vector<Call>& Calls() { return S().calls; }

}  // namespace glrec

using glrec::Args;
using glrec::Note;
using glrec::Real;

// Notes a call with its numeric arguments (pointers are left out), then forwards it.
#define FORWARD(ret, name, params, forwarded, ...)            \
    extern "C" ret name params {                              \
        static auto real = Real<ret(*) params>(#name);        \
        Note(#name, Args(__VA_ARGS__));                       \
        return real forwarded;                                \
    }

// Matrices.
FORWARD(void, glPushMatrix, (), ())
FORWARD(void, glPopMatrix, (), ())
FORWARD(void, glLoadIdentity, (), ())
FORWARD(void, glMatrixMode, (GLenum mode), (mode), mode)
FORWARD(void, glTranslatef, (GLfloat x, GLfloat y, GLfloat z), (x, y, z), x, y, z)
FORWARD(void, glRotatef, (GLfloat a, GLfloat x, GLfloat y, GLfloat z), (a, x, y, z), a, x, y, z)
FORWARD(void, glMultMatrixd, (const GLdouble* m), (m))
// GLU's perspective as one call: the matrix it multiplies by is not recorded again.
extern "C" void gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
    // The program's only GLU call lands here, so the linker may have left GLU out: load it.
    static auto real = (dlopen("libGLU.so.1", RTLD_NOW | RTLD_GLOBAL),
                        Real<void (*)(GLdouble, GLdouble, GLdouble, GLdouble)>("gluPerspective"));
    Note("gluPerspective", Args(fovy, aspect, zNear, zFar));
    const bool on = glrec::S().on;
    glrec::S().on = false;
    real(fovy, aspect, zNear, zFar);
    glrec::S().on = on;
}
FORWARD(void, glViewport, (GLint x, GLint y, GLsizei w, GLsizei h), (x, y, w, h), x, y, w, h)

// Frame and fixed-function state.
FORWARD(void, glClear, (GLbitfield mask), (mask), mask)
FORWARD(void, glClearColor, (GLclampf r, GLclampf g, GLclampf b, GLclampf a), (r, g, b, a), r, g, b, a)
FORWARD(void, glClearDepth, (GLclampd d), (d), d)
FORWARD(void, glEnable, (GLenum cap), (cap), cap)
FORWARD(void, glDisable, (GLenum cap), (cap), cap)
FORWARD(void, glShadeModel, (GLenum m), (m), m)
FORWARD(void, glDepthFunc, (GLenum f), (f), f)
FORWARD(void, glDepthMask, (GLboolean m), (m), m)
FORWARD(void, glHint, (GLenum t, GLenum m), (t, m), t, m)
FORWARD(void, glBlendFunc, (GLenum s, GLenum d), (s, d), s, d)
FORWARD(void, glCullFace, (GLenum m), (m), m)
FORWARD(void, glFrontFace, (GLenum m), (m), m)
FORWARD(void, glLightfv, (GLenum l, GLenum p, const GLfloat* v), (l, p, v), l, p, v[0], v[1], v[2], v[3])

// Textures: the names made and the image given are kept, for replaying the stream.
extern "C" void glGenTextures(GLsizei n, GLuint* names) {
    static auto real = Real<void (*)(GLsizei, GLuint*)>("glGenTextures");
    real(n, names);
    std::vector<double> args{double(n)};
    args.insert(args.end(), names, names + n);
    Note("glGenTextures", std::move(args));
}
extern "C" void glTexImage2D(GLenum t, GLint l, GLint f, GLsizei w, GLsizei h, GLint b, GLenum pf, GLenum ty,
                             const GLvoid* p) {
    static auto real = Real<void (*)(GLenum, GLint, GLint, GLsizei, GLsizei, GLint, GLenum, GLenum, const GLvoid*)>(
        "glTexImage2D");
    Note("glTexImage2D", Args(t, l, f, w, h, b, pf, ty));
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    if (glrec::S().on && pf == GL_RGB && ty == GL_UNSIGNED_BYTE && p != nullptr) {
        const auto* bytes = static_cast<const unsigned char*>(p);
        glrec::S().calls.back().pixels.assign(bytes, bytes + std::size_t(h) * ((w * 3 + alignment - 1) / alignment * alignment));
    }
    real(t, l, f, w, h, b, pf, ty, p);
}
FORWARD(void, glPixelStorei, (GLenum p, GLint v), (p, v), p, v)
FORWARD(void, glDeleteTextures, (GLsizei n, const GLuint* names), (n, names), n)
FORWARD(void, glBindTexture, (GLenum target, GLuint texture), (target, texture), target, texture)
FORWARD(void, glTexParameteri, (GLenum t, GLenum p, GLint v), (t, p, v), t, p, v)

// Other ways of drawing.
FORWARD(void, glDrawArrays, (GLenum m, GLint f, GLsizei c), (m, f, c), m, f, c)
FORWARD(void, glDrawElements, (GLenum m, GLsizei c, GLenum t, const GLvoid* i), (m, c, t, i), m, c, t)

// The calls a quad is made of.
FORWARD(void, glCallList, (GLuint list), (list), list)
FORWARD(void, glBegin, (GLenum mode), (mode), mode)
FORWARD(void, glEnd, (), ())
FORWARD(void, glNormal3f, (GLfloat x, GLfloat y, GLfloat z), (x, y, z), x, y, z)
FORWARD(void, glTexCoord2f, (GLfloat s, GLfloat t), (s, t), s, t)
FORWARD(void, glVertex3f, (GLfloat x, GLfloat y, GLfloat z), (x, y, z), x, y, z)
