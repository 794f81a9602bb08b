// Records the GL calls the program makes while recording is on, and forwards every call to Mesa.
// The test executable defines the GL entry points itself, so the program's calls reach these
// definitions first; each looks up the real function once with dlsym(RTLD_NEXT).
#pragma once

#include <GL/gl.h>

#include <string>
#include <vector>

namespace glrec {

struct Call {
    std::string name;          // "glTranslatef", ...
    std::vector<double> args;  // numeric arguments in order; a light's four values; the new texture names
    std::vector<unsigned char> pixels;  // glTexImage2D's image
};

void Start();  // clears what was recorded and records from now on
void Stop();
const std::vector<Call>& Calls();

}  // namespace glrec
