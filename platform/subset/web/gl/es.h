// The WebGL / OpenGL ES 2 calls the layer draws with, as es::Clear(...), es::DrawArrays(...).
// In the browser they are emscripten's direct WebGL bindings (emscripten_glClear, ...), since the
// plain names glClear, glEnable ... are the layer's own there. Natively (the layer's tests) they
// are the current context's entry points, fetched by es::Load() through eglGetProcAddress, so
// they never resolve to the GL 1.1 names a test program may define itself.
#pragma once

#define GL11_ES_CALLS(X)                                                                                          \
    X(ActiveTexture) X(AttachShader) X(BindAttribLocation) X(BindBuffer) X(BindTexture) X(BufferData) X(Clear)    \
    X(ClearColor) X(ClearDepthf) X(CompileShader) X(CreateProgram) X(CreateShader) X(DeleteBuffers)               \
    X(DeleteProgram) X(DeleteShader) X(DeleteTextures) X(DepthFunc) X(Disable)                                   \
    X(DrawArrays) X(Enable) X(EnableVertexAttribArray) X(GenBuffers) X(GenTextures) X(GetProgramInfoLog)          \
    X(GetProgramiv) X(GetShaderInfoLog) X(GetShaderiv) X(GetUniformLocation) X(LinkProgram) X(PixelStorei)        \
    X(ShaderSource) X(TexImage2D) X(TexParameteri) X(Uniform1i) X(UseProgram) X(VertexAttribPointer) X(Viewport)

#ifdef __EMSCRIPTEN__
#include <webgl/webgl1.h>

namespace es {
#define GL11_ES_BIND(name) inline constexpr auto name = &emscripten_gl##name;
GL11_ES_CALLS(GL11_ES_BIND)
#undef GL11_ES_BIND
inline bool Load() { return true; }
}  // namespace es

#else
#include <EGL/egl.h>
#include <GLES2/gl2.h>  // the types and numbers; the functions are reached through the pointers below

namespace es {
#define GL11_ES_POINTER(name) inline decltype(&::gl##name) name = nullptr;
GL11_ES_CALLS(GL11_ES_POINTER)
#undef GL11_ES_POINTER
// Fetches every entry point; false when one is missing.
inline bool Load() {
    bool all = true;
#define GL11_ES_FETCH(name)                                                              \
    name = reinterpret_cast<decltype(name)>(eglGetProcAddress("gl" #name));             \
    all = all && name != nullptr;
    GL11_ES_CALLS(GL11_ES_FETCH)
#undef GL11_ES_FETCH
    return all;
}
}  // namespace es
#endif
