// Records the GL calls the program makes while recording is on, and forwards every call to Mesa.
// The test executable defines the GL entry points itself, so the program's calls reach these
// definitions first; each looks up the real function once with dlsym(RTLD_NEXT).
#pragma once

#include <GL/gl.h>

#include <array>
#include <string>
#include <vector>

namespace glrec {

using Matrix = std::array<float, 16>;  // column-major, as GL gives it

struct Call {
    std::string name;          // "glTranslatef", ...
    std::vector<double> args;  // numeric arguments in order
    // For glBegin and glCallList: the modelview matrix and the 2D texture bound at that moment.
    Matrix modelview{};
    GLuint texture = 0;
};

// A quad drawn between glBegin(GL_QUADS) and glEnd: the texture bound at that moment, the
// modelview matrix it was drawn under, its four vertices with their texture coordinates, and
// the normal given inside the pair.
struct Quad {
    GLuint texture = 0;
    Matrix modelview{};
    std::array<std::array<float, 3>, 4> vertices{};
    std::array<std::array<float, 2>, 4> texCoords{};
    std::array<float, 3> normal{};
    int vertexCount = 0;  // glVertex3f calls inside the pair
};

void Start();  // clears what was recorded and records from now on
void Stop();
const std::vector<Call>& Calls();
const std::vector<Quad>& Quads();
// The names of the recorded calls, in order.
std::vector<std::string> Names();

}  // namespace glrec
