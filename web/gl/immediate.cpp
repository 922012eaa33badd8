// glBegin/glEnd gathered into one array for the frame and drawn in runs.
//
// Each vertex is taken to clip space when it arrives, so matrix changes
// between primitives need no draw of their own. At glEnd the primitive is
// cut into what WebGL draws (triangles or lines) with GL's winding kept, and
// appended to the frame's array. A draw sends what was appended since the
// last one: one upload into the same place of one buffer, one drawArrays.
// Nothing here allocates once the arrays have grown, and no vertex crosses
// into JavaScript on its own.
#include "layer.h"

#include <GL/glut.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <vector>

// ---- types -----------------------------------------------------------------

namespace {

struct Vertex {
    float         clip[4];
    unsigned char colour[4];
    float         s, t;
};

enum class Kind { Triangles, Lines };

// Where each attribute is bound in both programs.
enum Attribute : GLuint { kPosition, kColour, kTexCoord };

constexpr std::size_t kFrameVertices = 1 << 18;  // the buffer's size; a frame past it starts it over

constexpr const char* kVertexShader = R"(
attribute vec4 position;
attribute vec4 colour;
attribute vec2 texCoord;
varying vec4 vColour;
varying vec2 vTexCoord;
void main() {
    gl_Position = position;
    vColour = colour;
    vTexCoord = texCoord;
})";

// Texturing modulates the colour, as GL's default texture environment.
constexpr const char* kPlainShader = R"(
precision highp float;
varying vec4 vColour;
varying vec2 vTexCoord;
void main() { gl_FragColor = vColour; })";

constexpr const char* kTexturedShader = R"(
precision highp float;
uniform sampler2D image;
varying vec4 vColour;
varying vec2 vTexCoord;
void main() { gl_FragColor = vColour * texture2D(image, vTexCoord); })";

}  // namespace

// ---- state -----------------------------------------------------------------

static float         colour[4] = {1, 1, 1, 1};
static unsigned char colourBytes[4] = {255, 255, 255, 255};
static float         texS = 0, texT = 0;

static GLenum              mode = GL_TRIANGLES;  // of the primitive being given
static std::vector<Vertex> primitive;            // its vertices so far
static std::vector<Vertex> frame;                // assembled; [drawn, size) not yet drawn
static std::size_t         drawn = 0;
static Kind                frameKind = Kind::Triangles;  // of the vertices not yet drawn

static bool   ready = false;
static GLuint buffer = 0;
static GLuint programs[2] = {};  // plain, textured
static GLuint inUse = 0;

// ---- WebGL objects ---------------------------------------------------------

static GLuint compile(GLenum type, const char* source)
{
    const GLuint shader = emscripten_glCreateShader(type);
    emscripten_glShaderSource(shader, 1, &source, nullptr);
    emscripten_glCompileShader(shader);
    GLint ok = GL_FALSE;
    emscripten_glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        char log[512] = {};
        emscripten_glGetShaderInfoLog(shader, sizeof log, nullptr, log);
        std::fprintf(stderr, "GL shader: %s\n", log);
    }
    return shader;
}

static GLuint link(GLuint vertexShader, const char* fragmentSource)
{
    const GLuint program = emscripten_glCreateProgram();
    emscripten_glAttachShader(program, vertexShader);
    emscripten_glAttachShader(program, compile(GL_FRAGMENT_SHADER, fragmentSource));
    emscripten_glBindAttribLocation(program, kPosition, "position");
    emscripten_glBindAttribLocation(program, kColour, "colour");
    emscripten_glBindAttribLocation(program, kTexCoord, "texCoord");
    emscripten_glLinkProgram(program);
    return program;
}

// The programs, the buffer and the attribute layout, made once.
static void prepare()
{
    ready = true;
    const GLuint vertexShader = compile(GL_VERTEX_SHADER, kVertexShader);
    programs[0] = link(vertexShader, kPlainShader);
    programs[1] = link(vertexShader, kTexturedShader);
    emscripten_glUseProgram(programs[1]);
    emscripten_glUniform1i(emscripten_glGetUniformLocation(programs[1], "image"), 0);
    inUse = programs[1];
    emscripten_glGenBuffers(1, &buffer);
    emscripten_glBindBuffer(GL_ARRAY_BUFFER, buffer);
    emscripten_glBufferData(GL_ARRAY_BUFFER, kFrameVertices * sizeof(Vertex), nullptr, GL_DYNAMIC_DRAW);
    const auto at = [](std::size_t offset) { return reinterpret_cast<const void*>(offset); };
    emscripten_glVertexAttribPointer(kPosition, 4, GL_FLOAT, GL_FALSE, sizeof(Vertex), at(offsetof(Vertex, clip)));
    emscripten_glVertexAttribPointer(kColour, 4, GL_UNSIGNED_BYTE, GL_TRUE, sizeof(Vertex),
                                     at(offsetof(Vertex, colour)));
    emscripten_glVertexAttribPointer(kTexCoord, 2, GL_FLOAT, GL_FALSE, sizeof(Vertex), at(offsetof(Vertex, s)));
    for (GLuint attribute : {kPosition, kColour, kTexCoord})
        emscripten_glEnableVertexAttribArray(attribute);
    frame.reserve(kFrameVertices);
    primitive.reserve(1024);
}

// ---- drawing ---------------------------------------------------------------

void qvFlush()
{
    if (drawn == frame.size())
        return;
    if (!ready)
        prepare();
    const GLuint program = programs[qvEnabled(GL_TEXTURE_2D) ? 1 : 0];
    if (program != inUse) {
        emscripten_glUseProgram(program);
        inUse = program;
    }
    const std::size_t count = frame.size() - drawn;
    emscripten_glBufferSubData(GL_ARRAY_BUFFER, static_cast<long>(drawn * sizeof(Vertex)),
                               static_cast<long>(count * sizeof(Vertex)), &frame[drawn]);
    emscripten_glDrawArrays(frameKind == Kind::Lines ? GL_LINES : GL_TRIANGLES, static_cast<GLint>(drawn),
                            static_cast<GLsizei>(count));
    drawn = frame.size();
}

// The frame is shown when the display callback returns: draw what is left
// and start the array over.
void glutSwapBuffers()
{
    qvFlush();
    frame.clear();
    drawn = 0;
}

// ---- assembly --------------------------------------------------------------

static Kind kindOf(GLenum primitiveMode)
{
    return primitiveMode == GL_LINES || primitiveMode == GL_LINE_STRIP || primitiveMode == GL_LINE_LOOP
               ? Kind::Lines
               : Kind::Triangles;
}

// How many vertices the primitive becomes.
static std::size_t assembledSize(std::size_t n)
{
    switch (mode) {
    case GL_TRIANGLES: return n / 3 * 3;
    case GL_LINES: return n / 2 * 2;
    case GL_LINE_STRIP: return n < 2 ? 0 : (n - 1) * 2;
    case GL_LINE_LOOP: return n < 2 ? 0 : n * 2;
    case GL_QUADS: return n / 4 * 6;
    case GL_QUAD_STRIP: return n < 4 ? 0 : (n - 2) / 2 * 6;
    default: return n < 3 ? 0 : (n - 2) * 3;  // strips, fans, polygons
    }
}

static void put(std::size_t i) { frame.push_back(primitive[i]); }
static void triangle(std::size_t a, std::size_t b, std::size_t c) { put(a), put(b), put(c); }

// Every triangle keeps the winding its primitive gives it, for culling.
static void assemble(std::size_t n)
{
    switch (mode) {
    case GL_TRIANGLES:
    case GL_LINES:
        for (std::size_t i = 0; i < assembledSize(n); ++i)
            put(i);
        break;
    case GL_LINE_STRIP:
    case GL_LINE_LOOP:
        for (std::size_t i = 0; i + 1 < n; ++i)
            put(i), put(i + 1);
        if (mode == GL_LINE_LOOP && n >= 2)
            put(n - 1), put(0);
        break;
    case GL_TRIANGLE_STRIP:
        for (std::size_t i = 0; i + 2 < n; ++i)
            i % 2 == 0 ? triangle(i, i + 1, i + 2) : triangle(i + 1, i, i + 2);
        break;
    case GL_QUADS:
        for (std::size_t i = 0; i + 3 < n; i += 4)
            triangle(i, i + 1, i + 2), triangle(i, i + 2, i + 3);
        break;
    case GL_QUAD_STRIP:  // quad i is (2i, 2i+1, 2i+3, 2i+2)
        for (std::size_t i = 0; i + 3 < n; i += 2)
            triangle(i, i + 1, i + 3), triangle(i, i + 3, i + 2);
        break;
    default:  // fans and polygons
        for (std::size_t i = 1; i + 1 < n; ++i)
            triangle(0, i, i + 1);
        break;
    }
}

// ---- immediate mode --------------------------------------------------------

void glBegin(GLenum primitiveMode)
{
    if (qvRecord(ListOp::Begin, static_cast<GLfloat>(primitiveMode)))
        return;
    mode = primitiveMode;
    primitive.clear();
}

void glEnd()
{
    if (qvRecord(ListOp::End))
        return;
    const std::size_t size = assembledSize(primitive.size());
    if (size == 0)
        return;
    const Kind kind = kindOf(mode);
    if (kind != frameKind)
        qvFlush();
    frameKind = kind;
    if (frame.size() + size > kFrameVertices) {
        qvFlush();
        frame.clear();
        drawn = 0;
    }
    if (size > kFrameVertices)
        return;  // more than the buffer holds: no primitive of the game's comes near
    assemble(primitive.size());
}

void glVertex3f(GLfloat x, GLfloat y, GLfloat z)
{
    const float* m = qvClipMatrix();
    Vertex v;
    for (int row = 0; row < 4; ++row)
        v.clip[row] = m[row] * x + m[4 + row] * y + m[8 + row] * z + m[12 + row];
    std::copy_n(colourBytes, 4, v.colour);
    v.s = texS;
    v.t = texT;
    primitive.push_back(v);
}

void glVertex3fv(const GLfloat* v) { glVertex3f(v[0], v[1], v[2]); }

void glVertex2f(GLfloat x, GLfloat y)
{
    if (qvRecord(ListOp::Vertex, x, y))
        return;
    glVertex3f(x, y, 0);
}

void glVertex2d(GLdouble x, GLdouble y) { glVertex2f(static_cast<GLfloat>(x), static_cast<GLfloat>(y)); }

void glTexCoord2f(GLfloat s, GLfloat t)
{
    if (qvRecord(ListOp::TexCoord, s, t))
        return;
    texS = s;
    texT = t;
}

void glTexCoord2fv(const GLfloat* st) { glTexCoord2f(st[0], st[1]); }
void glTexCoord2d(GLdouble s, GLdouble t) { glTexCoord2f(static_cast<GLfloat>(s), static_cast<GLfloat>(t)); }

// Kept as given (glGet reads it back) and as the bytes the vertices carry.
void glColor4f(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha)
{
    const GLfloat given[4] = {red, green, blue, alpha};
    for (int i = 0; i < 4; ++i) {
        colour[i] = given[i];
        colourBytes[i] = static_cast<unsigned char>(std::lround(std::clamp(given[i], 0.0f, 1.0f) * 255));
    }
}

void qvCurrentColour(GLfloat out[4]) { std::copy_n(colour, 4, out); }
