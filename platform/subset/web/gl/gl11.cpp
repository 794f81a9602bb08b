// The GL 1.1 layer (see gl11.h). Everything GL 1.1 computes per vertex happens here on the CPU,
// in float and in the order the desktop's GL (Mesa) computes it: the matrices as Mesa builds
// them, the position through projection x modelview, the normal through the modelview's
// inverse-transpose, the lit colour by GL's lighting equation. The GPU gets clip-space
// triangles with a colour and a texture coordinate each, and only interpolates, modulates by
// the texture and tests depth.
#include "platform/subset/web/gl/gl11.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <vector>

#include "platform/subset/web/gl/es.h"

namespace gl11 {
namespace {

// GL 1.1's numbers for what the show passes (the ES header has only those the two share).
enum : unsigned {
    kQuads = 0x0007,
    kModelview = 0x1700,
    kProjection = 0x1701,
    kTexture2D = 0x0DE1,
    kLighting = 0x0B50,
    kLight0 = 0x4000,
    kDepthTest = 0x0B71,
    kSmooth = 0x1D01,
    kPerspectiveCorrectionHint = 0x0C50,
    kAmbient = 0x1200,
    kDiffuse = 0x1201,
    kPosition = 0x1203,
    kColorBufferBit = 0x4000,
    kDepthBufferBit = 0x0100,
    kUnpackAlignment = 0x0CF5,
    kRgb = 0x1907,
    kUnsignedByte = 0x1401,
    kTextureMagFilter = 0x2800,
    kTextureMinFilter = 0x2801,
    kNearest = 0x2600,
    kLinear = 0x2601,
    kNearestMipmapLinear = 0x2702,
    kNever = 0x0200,
    kAlways = 0x0207,
};
constexpr int kLights = 8;

// A call or argument outside what the layer draws: a debug build stops on it; a release build
// says so on stderr (the first time) and the call does nothing.
void Outside(const char* call, unsigned value) {
    static bool said = false;
    if (!said) std::fprintf(stderr, "gl11: %s(0x%04x) is outside what this GL 1.1 layer draws\n", call, value);
    said = true;
#ifndef NDEBUG
    std::abort();
#endif
}

// ---- Matrices: column-major float, built and multiplied as Mesa does ----

struct Matrix {
    float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    bool rigid = true;  // rotations and translations only: the inverse-transpose is the matrix itself
    float operator()(int row, int col) const { return m[col * 4 + row]; }
};

// a x b, each element summed left to right.
Matrix Multiply(const Matrix& a, const Matrix& b) {
    Matrix p;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            p.m[j * 4 + i] = a(i, 0) * b(0, j) + a(i, 1) * b(1, j) + a(i, 2) * b(2, j) + a(i, 3) * b(3, j);
        }
    }
    p.rigid = a.rigid && b.rigid;
    return p;
}

// Row `row` of m applied to (x, y, z, w).
float Dot4(const Matrix& m, int row, float x, float y, float z, float w) {
    return m(row, 0) * x + m(row, 1) * y + m(row, 2) * z + m(row, 3) * w;
}

// The rows of the inverse-transpose of m's upper 3 x 3: m itself when rigid, else its cofactors
// over the determinant.
Matrix NormalMatrix(const Matrix& m) {
    if (m.rigid) return m;
    Matrix n;
    const float det = m(0, 0) * (m(1, 1) * m(2, 2) - m(1, 2) * m(2, 1)) -
                      m(0, 1) * (m(1, 0) * m(2, 2) - m(1, 2) * m(2, 0)) +
                      m(0, 2) * (m(1, 0) * m(2, 1) - m(1, 1) * m(2, 0));
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            const int i1 = (i + 1) % 3, i2 = (i + 2) % 3, j1 = (j + 1) % 3, j2 = (j + 2) % 3;
            n.m[j * 4 + i] = (m(i1, j1) * m(i2, j2) - m(i1, j2) * m(i2, j1)) / det;
        }
    }
    return n;
}

// ---- State ----

// The material, the light model and the current colour keep their initial values: the show
// sets none of them.
constexpr float kMaterialAmbient[4] = {0.2f, 0.2f, 0.2f, 1};
constexpr float kMaterialDiffuse[4] = {0.8f, 0.8f, 0.8f, 1};
constexpr float kModelAmbient[4] = {0.2f, 0.2f, 0.2f, 1};
constexpr float kColour[4] = {1, 1, 1, 1};

struct Light {
    bool on = false;
    float ambient[4] = {0, 0, 0, 1};
    float diffuse[4] = {0, 0, 0, 1};  // light 0: white
    float position[4] = {0, 0, 1, 0};  // in eye coordinates
};

// A texture object by the program's name; the layer keeps its image, so that a context made
// again can be given it once more.
struct Texture {
    unsigned es = 0;  // the object in the current context
    bool hasImage = false;
    unsigned minFilter = kNearestMipmapLinear;
    unsigned magFilter = kLinear;
    int width = 0, height = 0;
    std::vector<unsigned char> pixels;  // RGB rows, tightly packed; empty for an image without data
};

// One vertex as the GPU gets it.
struct Vertex {
    float clip[4];
    float colour[4];
    float st[2];
};

// Consecutive triangles drawn with one texture (the program's name; 0 for the white one).
struct Run {
    unsigned texture;
    int first;
    int count;
};

// What the layer has set in the WebGL / GLES 2 context itself, from the context's defaults.
struct EsState {
    bool viewportSet = false;
    int viewport[4] = {0, 0, 0, 0};
    float clearColour[4] = {0, 0, 0, 0};
    float clearDepth = 1;
    bool depthTest = false;
    unsigned depthFunc = 0x0201;  // GL_LESS
    int unpackAlignment = 4;
};

// A clear, or a run of triangles drawn, with the context's state at that moment.
struct Step {
    EsState es;
    unsigned clear;  // the mask of a clear; 0 for a draw
    Run run;
};

// A frame as the context was given it: its triangles and its steps in order.
struct Frame {
    std::vector<Vertex> vertices;
    std::vector<Step> steps;
};

struct State {
    std::vector<Matrix> modelview{Matrix{}}, projection{Matrix{}};
    bool projectionMode = false;  // the matrix mode: GL_PROJECTION, else GL_MODELVIEW
    bool derivedStale = true;
    Matrix mvp, normalMatrix;

    Light lights[kLights];
    bool lighting = false, texturing = false;
    float normal[3] = {0, 0, 1};
    float st[2] = {0, 0};

    std::map<unsigned, Texture> textures;
    unsigned nextName = 1;
    unsigned bound = 0;
    unsigned white = 0;  // a 1 x 1 white texture in the context: what "no texturing" modulates by

    bool inside = false;  // between Begin and End
    std::size_t begun = 0;  // where in the group this Begin's vertices start
    std::vector<Vertex> group;  // the quads given since the last state change, four vertices each
    unsigned groupTexture = 0;
    Frame frame;              // the frame being drawn; its vertices from `flushed` on are batched
    std::size_t flushed = 0;  // the vertices already drawn
    std::vector<Run> runs;    // the batched runs
    Frame last;               // the frame last ended

    EsState es;
    unsigned program = 0, buffer = 0;
};

bool current = false;  // a context is current (outside State, which each new context resets)

State& S() {
    static State state;
    return state;
}

// The stack of the current matrix mode.
std::vector<Matrix>& Stack() { return S().projectionMode ? S().projection : S().modelview; }

void UpdateDerived() {
    State& s = S();
    if (!s.derivedStale) return;
    s.mvp = Multiply(s.projection.back(), s.modelview.back());
    s.normalMatrix = NormalMatrix(s.modelview.back());
    s.derivedStale = false;
}

// GL's lit colour of a vertex at eye-space position `eye` with eye-space normal n: the scene
// colour (emission + model ambient x material ambient), then for each light on, in order, its
// ambient product and its diffuse product scaled by max(n . L, 0), L the unit vector towards
// the light. No specular term: the material's specular colour stays black. Clamped to [0, 1].
void LitColour(const float eye[3], const float n[3], float out[4]) {
    float c[3];
    for (int k = 0; k < 3; ++k) c[k] = 0 + kModelAmbient[k] * kMaterialAmbient[k];
    for (const Light& light : S().lights) {
        if (!light.on) continue;
        float l[3];
        const float w = light.position[3];
        for (int k = 0; k < 3; ++k) l[k] = w == 0 ? light.position[k] : light.position[k] / w - eye[k];
        const float scale = 1.0f / std::sqrt(l[0] * l[0] + l[1] * l[1] + l[2] * l[2]);
        for (float& v : l) v *= scale;
        const float diffuse = std::max(n[0] * l[0] + n[1] * l[1] + n[2] * l[2], 0.0f);
        for (int k = 0; k < 3; ++k) {
            c[k] = light.ambient[k] * kMaterialAmbient[k] + c[k];
            c[k] = diffuse * (light.diffuse[k] * kMaterialDiffuse[k]) + c[k];
        }
    }
    for (int k = 0; k < 3; ++k) out[k] = std::clamp(c[k], 0.0f, 1.0f);
    out[3] = std::clamp(kMaterialDiffuse[3], 0.0f, 1.0f);
}

// The quads given since the last state change, as triangles. The desktop's GL (Mesa's
// llvmpipe, measured) draws such a group as one draw and splits its quads by one of two rules:
// when no vertex of the group lies outside the clip volume, along v0-v2 as v1 v2 v0 and v0 v2 v3;
// when one does (the group takes the clipping path), along v1-v3 as v0 v1 v3 and v1 v2 v3. The
// triangles' vertex order counts too: it decides how a pixel on a rounding edge rounds.
void EndGroup() {
    State& s = S();
    const std::size_t quads = s.group.size() / 4;
    if (quads == 0) return;
    static const int kOrders[2][6] = {{1, 2, 0, 0, 2, 3}, {0, 1, 3, 1, 2, 3}};
    const bool clipped = std::any_of(s.group.begin(), s.group.end(), [](const Vertex& v) {
        const float* c = v.clip;
        return c[0] > c[3] || -c[0] > c[3] || c[1] > c[3] || -c[1] > c[3] || c[2] > c[3] || -c[2] > c[3];
    });
    std::vector<Vertex>& batch = s.frame.vertices;
    if (s.runs.empty() || s.runs.back().texture != s.groupTexture) {
        s.runs.push_back(Run{s.groupTexture, static_cast<int>(batch.size()), 0});
    }
    for (std::size_t q = 0; q < quads; ++q) {
        for (int i : kOrders[clipped]) batch.push_back(s.group[q * 4 + i]);
    }
    s.runs.back().count += static_cast<int>(quads * 6);
    s.group.clear();
}

void Check(unsigned program, unsigned shader, const char* what) {
    GLint ok = 0;
    char log[512] = "";
    if (shader != 0) es::GetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    else es::GetProgramiv(program, GL_LINK_STATUS, &ok);
    if (ok) return;
    if (shader != 0) es::GetShaderInfoLog(shader, sizeof log, nullptr, log);
    else es::GetProgramInfoLog(program, sizeof log, nullptr, log);
    std::fprintf(stderr, "gl11: the %s failed: %s\n", what, log);
}

unsigned Shader(GLenum type, const char* source) {
    const unsigned shader = es::CreateShader(type);
    es::ShaderSource(shader, 1, &source, nullptr);
    es::CompileShader(shader);
    Check(0, shader, type == GL_VERTEX_SHADER ? "vertex shader" : "fragment shader");
    return shader;
}

const char* const kVertexShader = R"(
attribute vec4 clip;
attribute vec4 colour;
attribute vec2 st;
varying vec4 vColour;
varying vec2 vSt;
void main() {
    gl_Position = clip;
    vColour = colour;
    vSt = st;
})";

// GL_MODULATE, the texel in high precision too (a sampler's default low precision lets a
// renderer round the texel before the product, a level off); GL_REPEAT by the fractional part
// (the texture itself clamps, as WebGL requires
// of any size that is not a power of two).
const char* const kFragmentShader = R"(
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
precision highp sampler2D;
#else
precision mediump float;
#endif
uniform sampler2D picture;
varying vec4 vColour;
varying vec2 vSt;
void main() {
    gl_FragColor = vColour * texture2D(picture, fract(vSt));
})";

// A new texture object's sampling: the layer samples GL_NEAREST with GL_REPEAT done in the shader.
void SetSampling() {
    es::TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    es::TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    es::TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    es::TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
}

// The context's object of a texture by the program's name; 0 is the white texture.
unsigned EsTexture(unsigned name) {
    State& s = S();
    if (name == 0) return s.white;
    auto texture = s.textures.find(name);
    return texture == s.textures.end() ? 0 : texture->second.es;
}

// The layer's shader program, vertex buffer and white texture, made in the current context.
bool MakeObjects() {
    State& s = S();
    const unsigned program = es::CreateProgram();
    const unsigned vertex = Shader(GL_VERTEX_SHADER, kVertexShader);
    const unsigned fragment = Shader(GL_FRAGMENT_SHADER, kFragmentShader);
    es::AttachShader(program, vertex);
    es::AttachShader(program, fragment);
    es::BindAttribLocation(program, 0, "clip");
    es::BindAttribLocation(program, 1, "colour");
    es::BindAttribLocation(program, 2, "st");
    es::LinkProgram(program);
    es::DeleteShader(vertex);  // they go with the program
    es::DeleteShader(fragment);
    GLint linked = 0;
    es::GetProgramiv(program, GL_LINK_STATUS, &linked);
    if (!linked) {
        Check(program, 0, "shader program");
        es::DeleteProgram(program);
        return false;
    }
    s.program = program;
    es::UseProgram(program);
    es::Uniform1i(es::GetUniformLocation(program, "picture"), 0);
    es::GenBuffers(1, &s.buffer);
    es::GenTextures(1, &s.white);
    es::ActiveTexture(GL_TEXTURE0);
    es::BindTexture(GL_TEXTURE_2D, s.white);
    SetSampling();
    const unsigned char white[4] = {255, 255, 255, 255};
    es::TexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, white);
    return true;
}

// Sets everything the layer keeps in the context to `state`.
void Apply(const EsState& state) {
    if (state.viewportSet) es::Viewport(state.viewport[0], state.viewport[1], state.viewport[2], state.viewport[3]);
    es::ClearColor(state.clearColour[0], state.clearColour[1], state.clearColour[2], state.clearColour[3]);
    es::ClearDepthf(state.clearDepth);
    state.depthTest ? es::Enable(GL_DEPTH_TEST) : es::Disable(GL_DEPTH_TEST);
    es::DepthFunc(state.depthFunc);
    es::PixelStorei(GL_UNPACK_ALIGNMENT, state.unpackAlignment);
}

// `count` vertices into the vertex buffer, laid out for the shader program.
void Upload(const Vertex* vertices, std::size_t count) {
    State& s = S();
    es::UseProgram(s.program);
    es::BindBuffer(GL_ARRAY_BUFFER, s.buffer);
    es::BufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(count * sizeof(Vertex)), vertices, GL_STREAM_DRAW);
    const auto at = [](std::size_t offset) { return reinterpret_cast<const void*>(offset); };
    es::VertexAttribPointer(0, 4, GL_FLOAT, GL_FALSE, sizeof(Vertex), at(offsetof(Vertex, clip)));
    es::VertexAttribPointer(1, 4, GL_FLOAT, GL_FALSE, sizeof(Vertex), at(offsetof(Vertex, colour)));
    es::VertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, sizeof(Vertex), at(offsetof(Vertex, st)));
    for (unsigned i = 0; i < 3; ++i) es::EnableVertexAttribArray(i);
}

// The steps of a frame given again, each with the state it had; then the state of now.
void DrawAgain(const Frame& frame) {
    if (frame.steps.empty()) return;
    Upload(frame.vertices.data(), frame.vertices.size());
    for (const Step& step : frame.steps) {
        Apply(step.es);
        if (step.clear != 0) {
            es::Clear(step.clear);
        } else {
            es::BindTexture(GL_TEXTURE_2D, EsTexture(step.run.texture));
            es::DrawArrays(GL_TRIANGLES, step.run.first, step.run.count);
        }
    }
    Apply(S().es);
}

}  // namespace

bool Initialise() {
    State& s = S();
    s = State{};
    s.lights[0].diffuse[0] = s.lights[0].diffuse[1] = s.lights[0].diffuse[2] = 1;
    current = false;
    if (!es::Load()) {
        std::fprintf(stderr, "gl11: the context lacks an OpenGL ES 2 entry point\n");
        return false;
    }
    if (!MakeObjects()) return false;
    current = true;
    return true;
}

bool Current() { return current; }

void SetCurrent(bool on) { current = on; }

void ForgetObjects() {
    State& s = S();
    for (auto& [name, texture] : s.textures) {
        if (texture.es != 0) es::DeleteTextures(1, &texture.es);
        texture.es = 0;
    }
    if (s.white != 0) es::DeleteTextures(1, &s.white);
    if (s.buffer != 0) es::DeleteBuffers(1, &s.buffer);
    if (s.program != 0) es::DeleteProgram(s.program);
    s.white = s.buffer = s.program = 0;
}

bool Restore() {
    State& s = S();
    current = false;
    if (!MakeObjects()) return false;
    es::PixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (auto& [name, texture] : s.textures) {
        es::GenTextures(1, &texture.es);
        es::BindTexture(GL_TEXTURE_2D, texture.es);
        SetSampling();
        if (texture.width > 0 && texture.height > 0) {
            es::TexImage2D(GL_TEXTURE_2D, 0, GL_RGB, texture.width, texture.height, 0, GL_RGB, GL_UNSIGNED_BYTE,
                           texture.pixels.empty() ? nullptr : texture.pixels.data());
        }
    }
    Apply(s.es);
    // What the context showed: the last frame, then what has been drawn of the next one.
    DrawAgain(s.last);
    DrawAgain(s.frame);
    current = true;
    return true;
}

void Flush() {
    State& s = S();
    EndGroup();
    if (s.runs.empty()) return;
    const std::size_t from = s.flushed;
    Upload(s.frame.vertices.data() + from, s.frame.vertices.size() - from);
    for (const Run& run : s.runs) {
        es::BindTexture(GL_TEXTURE_2D, EsTexture(run.texture));
        es::DrawArrays(GL_TRIANGLES, run.first - static_cast<int>(from), run.count);
        s.frame.steps.push_back(Step{s.es, 0, run});
    }
    s.flushed = s.frame.vertices.size();
    s.runs.clear();
}

void EndFrame() {
    State& s = S();
    Flush();
    std::swap(s.last, s.frame);
    s.frame.vertices.clear();
    s.frame.steps.clear();
    s.flushed = 0;
}

// ---- Immediate mode ----

void Begin(unsigned mode) {
    State& s = S();
    if (mode != kQuads || s.inside) return Outside("glBegin", mode);
    s.inside = true;
    UpdateDerived();
    // The texture this primitive modulates by: the bound one when texturing is on and it is
    // complete (an image, no mipmap filter), else none.
    unsigned use = 0;
    auto texture = s.textures.find(s.bound);
    if (s.texturing && texture != s.textures.end() && texture->second.hasImage &&
        texture->second.minFilter == kNearest) {
        if (texture->second.magFilter != kNearest) Outside("glTexParameteri GL_TEXTURE_MAG_FILTER", texture->second.magFilter);
        use = s.bound;
    }
    if (use != s.groupTexture) EndGroup();
    s.groupTexture = use;
    s.begun = s.group.size();
}

void End() {
    State& s = S();
    if (!s.inside) return Outside("glEnd", 0);
    s.inside = false;
    s.group.resize(s.begun + (s.group.size() - s.begun) / 4 * 4);  // an unfinished quad is dropped, as GL drops it
}

void Normal3f(float x, float y, float z) {
    float* n = S().normal;
    n[0] = x, n[1] = y, n[2] = z;
}

void TexCoord2f(float s, float t) {
    S().st[0] = s, S().st[1] = t;
}

void Vertex3f(float x, float y, float z) {
    State& s = S();
    if (!s.inside) return Outside("glVertex3f", 0);
    Vertex v{};
    for (int row = 0; row < 4; ++row) v.clip[row] = Dot4(s.mvp, row, x, y, z, 1);
    if (s.lighting) {
        const Matrix& mv = s.modelview.back();
        const float eye[3] = {Dot4(mv, 0, x, y, z, 1), Dot4(mv, 1, x, y, z, 1), Dot4(mv, 2, x, y, z, 1)};
        float n[3];
        for (int row = 0; row < 3; ++row) n[row] = Dot4(s.normalMatrix, row, s.normal[0], s.normal[1], s.normal[2], 0);
        LitColour(eye, n, v.colour);
    } else {
        std::copy(kColour, kColour + 4, v.colour);
    }
    v.st[0] = s.st[0], v.st[1] = s.st[1];
    s.group.push_back(v);
}

void CallList(unsigned) {
    // No list is ever made here, and GL draws a list that was never made as nothing; the call
    // still ends the group.
    EndGroup();
}

// ---- Matrices ----

void MatrixMode(unsigned mode) {
    State& s = S();
    if (mode != kModelview && mode != kProjection) return Outside("glMatrixMode", mode);
    if ((mode == kProjection) != s.projectionMode) EndGroup();
    s.projectionMode = mode == kProjection;
}

namespace {
// The current matrix times m.
void MultiplyCurrent(const Matrix& m) {
    EndGroup();
    Stack().back() = Multiply(Stack().back(), m);
    S().derivedStale = true;
}
}  // namespace

void LoadIdentity() {
    EndGroup();
    Stack().back() = Matrix{};
    S().derivedStale = true;
}

void PushMatrix() {
    State& s = S();
    if (Stack().size() == (s.projectionMode ? 2u : 32u)) return Outside("glPushMatrix", 0);
    EndGroup();
    Stack().push_back(Stack().back());
}

void PopMatrix() {
    State& s = S();
    if (Stack().size() == 1) return Outside("glPopMatrix", 0);
    EndGroup();
    Stack().pop_back();
    s.derivedStale = true;
}

void Translatef(float x, float y, float z) {
    EndGroup();
    float* m = Stack().back().m;
    m[12] = m[0] * x + m[4] * y + m[8] * z + m[12];
    m[13] = m[1] * x + m[5] * y + m[9] * z + m[13];
    m[14] = m[2] * x + m[6] * y + m[10] * z + m[14];
    m[15] = m[3] * x + m[7] * y + m[11] * z + m[15];
    S().derivedStale = true;
}

// About a coordinate axis the matrix is written out with its sine and cosine; about any other
// axis by the general formula over the normalised axis.
void Rotatef(float angle, float x, float y, float z) {
    const float s = static_cast<float>(std::sin(angle * M_PI / 180.0));
    const float c = static_cast<float>(std::cos(angle * M_PI / 180.0));
    Matrix r;
    auto at = [&r](int row, int col) -> float& { return r.m[col * 4 + row]; };
    const int axis = x != 0 && y == 0 && z == 0 ? 0 : x == 0 && y != 0 && z == 0 ? 1 : x == 0 && y == 0 && z != 0 ? 2 : -1;
    if (axis >= 0) {
        const int a = (axis + 1) % 3, b = (axis + 2) % 3;  // the plane turned: y z, z x or x y
        const float sign = (axis == 0 ? x : axis == 1 ? y : z) < 0 ? -1.0f : 1.0f;
        at(a, a) = c, at(b, b) = c;
        at(a, b) = -sign * s, at(b, a) = sign * s;
    } else {
        const float length = std::sqrt(x * x + y * y + z * z);
        if (length <= 1.0e-4f) return;  // no axis: GL leaves the matrix as it is
        x /= length, y /= length, z /= length;
        const float t = 1 - c;
        const float u[3] = {x, y, z};
        for (int i = 0; i < 3; ++i) {
            for (int j = 0; j < 3; ++j) at(i, j) = u[i] * u[j] * t + (i == j ? c : 0);
        }
        at(0, 1) -= z * s, at(1, 0) += z * s;
        at(0, 2) += y * s, at(2, 0) -= y * s;
        at(1, 2) -= x * s, at(2, 1) += x * s;
    }
    MultiplyCurrent(r);
}

void MultMatrixd(const double* m) {
    Matrix f;
    for (int i = 0; i < 16; ++i) f.m[i] = static_cast<float>(m[i]);
    f.rigid = false;
    MultiplyCurrent(f);
}

// gluPerspective: computed in double, handed on as glMultMatrixd.
void Perspective(double fovy, double aspect, double zNear, double zFar) {
    const double radians = fovy / 2 * M_PI / 180;
    const double deltaZ = zFar - zNear;
    const double sine = std::sin(radians);
    if (deltaZ == 0 || sine == 0 || aspect == 0) return;
    const double cotangent = std::cos(radians) / sine;
    double m[16] = {};
    m[0] = cotangent / aspect;
    m[5] = cotangent;
    m[10] = -(zFar + zNear) / deltaZ;
    m[11] = -1;
    m[14] = -2 * zNear * zFar / deltaZ;
    MultMatrixd(m);
}

void Viewport(int x, int y, int width, int height) {
    Flush();
    EsState& es = S().es;
    es.viewportSet = true;
    es.viewport[0] = x, es.viewport[1] = y, es.viewport[2] = width, es.viewport[3] = height;
    es::Viewport(x, y, width, height);
}

// ---- State ----

namespace {
// A change of state ends the group; setting what is set already does not.
void Set(bool& flag, bool on) {
    if (flag != on) EndGroup();
    flag = on;
}

void SetCap(unsigned cap, bool on, const char* call) {
    State& s = S();
    if (cap == kTexture2D) Set(s.texturing, on);
    else if (cap == kLighting) Set(s.lighting, on);
    else if (cap >= kLight0 && cap < kLight0 + kLights) Set(s.lights[cap - kLight0].on, on);
    else if (cap == kDepthTest) {
        Flush();
        s.es.depthTest = on;
        on ? es::Enable(GL_DEPTH_TEST) : es::Disable(GL_DEPTH_TEST);
    } else {
        Outside(call, cap);
    }
}
}  // namespace

void Enable(unsigned cap) { SetCap(cap, true, "glEnable"); }
void Disable(unsigned cap) { SetCap(cap, false, "glDisable"); }

void ShadeModel(unsigned mode) {
    if (mode != kSmooth) Outside("glShadeModel", mode);
}

void Hint(unsigned target, unsigned) {
    if (target != kPerspectiveCorrectionHint) Outside("glHint", target);
}

void ClearColor(float r, float g, float b, float a) {
    EndGroup();
    float* c = S().es.clearColour;
    c[0] = r, c[1] = g, c[2] = b, c[3] = a;
    es::ClearColor(r, g, b, a);
}

void ClearDepth(double depth) {
    EndGroup();
    S().es.clearDepth = static_cast<float>(depth);
    es::ClearDepthf(static_cast<float>(depth));
}

void Clear(unsigned mask) {
    if ((mask & ~(kColorBufferBit | kDepthBufferBit)) != 0) return Outside("glClear", mask);
    Flush();
    es::Clear(mask);
    S().frame.steps.push_back(Step{S().es, mask, Run{0, 0, 0}});
}

void DepthFunc(unsigned func) {
    if (func < kNever || func > kAlways) return Outside("glDepthFunc", func);
    Flush();
    S().es.depthFunc = func;
    es::DepthFunc(func);
}

void Lightfv(unsigned light, unsigned pname, const float* params) {
    if (light < kLight0 || light >= kLight0 + kLights) return Outside("glLightfv", light);
    EndGroup();
    Light& l = S().lights[light - kLight0];
    if (pname == kAmbient) std::copy(params, params + 4, l.ambient);
    else if (pname == kDiffuse) std::copy(params, params + 4, l.diffuse);
    else if (pname == kPosition) {
        // Stored in eye coordinates: through the modelview matrix of the moment.
        const Matrix& mv = S().modelview.back();
        for (int row = 0; row < 4; ++row) l.position[row] = Dot4(mv, row, params[0], params[1], params[2], params[3]);
    } else {
        Outside("glLightfv", pname);
    }
}

// ---- Textures ----

void PixelStorei(unsigned pname, int param) {
    if (pname != kUnpackAlignment) return Outside("glPixelStorei", pname);
    if (param != 1 && param != 2 && param != 4 && param != 8) return Outside("glPixelStorei", static_cast<unsigned>(param));
    S().es.unpackAlignment = param;
    es::PixelStorei(GL_UNPACK_ALIGNMENT, param);
}

// The program's names are the layer's own, so that they stay when the context's objects are made
// again; each stands for an object of the current context.
void GenTextures(int n, unsigned* textures) {
    State& s = S();
    for (int i = 0; i < n; ++i) {
        Texture texture;
        es::GenTextures(1, &texture.es);
        textures[i] = s.nextName++;
        s.textures[textures[i]] = std::move(texture);
    }
}

void BindTexture(unsigned target, unsigned texture) {
    if (target != kTexture2D) return Outside("glBindTexture", target);
    State& s = S();
    if (texture != s.bound) EndGroup();
    s.bound = texture;
    if (texture == 0) return;  // the default texture: never given an image here
    auto [entry, made] = s.textures.emplace(texture, Texture{});
    if (made) {
        // A name the program chose itself, as GL 1.1 allows: make the object behind it.
        Outside("glBindTexture", texture);
        es::GenTextures(1, &entry->second.es);
    }
}

void TexImage2D(unsigned target, int level, int internalFormat, int width, int height, int border,
                unsigned format, unsigned type, const void* pixels) {
    State& s = S();
    if (target != kTexture2D || s.bound == 0) return Outside("glTexImage2D", target);
    if (level != 0 || border != 0) return Outside("glTexImage2D", level != 0 ? level : border);
    if (internalFormat != 3 && static_cast<unsigned>(internalFormat) != kRgb) return Outside("glTexImage2D", internalFormat);
    if (format != kRgb || type != kUnsignedByte) return Outside("glTexImage2D", format != kRgb ? format : type);
    Flush();  // triangles already given sample the old image
    Texture& texture = s.textures[s.bound];
    es::BindTexture(GL_TEXTURE_2D, texture.es);
    SetSampling();
    es::TexImage2D(GL_TEXTURE_2D, 0, GL_RGB, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels);
    texture.hasImage = width > 0 && height > 0;
    texture.width = std::max(width, 0);
    texture.height = std::max(height, 0);
    // The layer's copy, rows packed: the rows of the program's buffer are padded to the unpack
    // alignment.
    const std::size_t row = std::size_t(texture.width) * 3;
    const std::size_t align = static_cast<std::size_t>(s.es.unpackAlignment);
    const std::size_t stride = (row + align - 1) / align * align;
    texture.pixels.clear();
    if (pixels != nullptr && texture.hasImage) {
        texture.pixels.resize(row * std::size_t(texture.height));
        const auto* from = static_cast<const unsigned char*>(pixels);
        for (int y = 0; y < texture.height; ++y) std::memcpy(&texture.pixels[y * row], from + y * stride, row);
    }
    texture.pixels.shrink_to_fit();
}

void TexParameteri(unsigned target, unsigned pname, int param) {
    State& s = S();
    if (target != kTexture2D || s.bound == 0) return Outside("glTexParameteri", target);
    if (param != static_cast<int>(kNearest)) return Outside("glTexParameteri", param);
    EndGroup();
    if (pname == kTextureMinFilter) s.textures[s.bound].minFilter = kNearest;
    else if (pname == kTextureMagFilter) s.textures[s.bound].magFilter = kNearest;
    else Outside("glTexParameteri", pname);
}

}  // namespace gl11
