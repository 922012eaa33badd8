// Caps, the enable-bit stack, blending, the viewport, textures under the
// game's own names, and reading the frame back.
#include "layer.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <vector>

// ---- types -----------------------------------------------------------------

namespace {

// The caps the game turns on and off. Texturing, lighting, the lights,
// normalising and colour material are the layer's alone; WebGL has the rest.
constexpr GLenum kCaps[] = {GL_DEPTH_TEST, GL_BLEND,     GL_CULL_FACE,     GL_TEXTURE_2D, GL_LIGHTING,
                            GL_LIGHT0,     GL_LIGHT1,    GL_NORMALIZE,     GL_COLOR_MATERIAL};
constexpr std::size_t kWebGLCaps = 3;  // the first three
constexpr std::size_t kDrawnCaps = 4;  // those that change how gathered vertices draw
constexpr std::size_t kCapCount = std::size(kCaps);

// A pop restores the caps, and leaves the shade model and blend function
// alone, as GL does for the enable bit.
struct Saved {
    bool enableBit = false;  // the push asked for it
    bool on[kCapCount] = {};
};

constexpr int kAttribDepth = 16;  // GL's least

}  // namespace

// ---- state -----------------------------------------------------------------

static bool  enabled[kCapCount];  // every cap starts off
static Saved attribStack[kAttribDepth];
static int   attribDepth = 0;

static GLenum blendSource = GL_ONE, blendDestination = GL_ZERO;
static GLint  viewport[4];
static bool   viewportSet = false;  // until then WebGL's own is the window's

static std::map<GLuint, GLuint> textureNames;  // the game's name -> WebGL's
static GLuint                   boundTexture = 0;  // WebGL's

// ---- caps ------------------------------------------------------------------

static int indexOf(GLenum cap)
{
    for (std::size_t i = 0; i < kCapCount; ++i)
        if (kCaps[i] == cap)
            return static_cast<int>(i);
    return -1;
}

// A cap the layer does not know goes to WebGL, which says so if it does not
// know it either.
static void setCap(GLenum cap, bool on)
{
    const int i = indexOf(cap);
    if (i >= 0 && enabled[i] == on)
        return;
    if (i < 0 || static_cast<std::size_t>(i) < kDrawnCaps)
        qvFlush();
    if (i >= 0)
        enabled[i] = on;
    if (i < 0 || static_cast<std::size_t>(i) < kWebGLCaps)
        on ? emscripten_glEnable(cap) : emscripten_glDisable(cap);
}

void glEnable(GLenum cap) { setCap(cap, true); }
void glDisable(GLenum cap) { setCap(cap, false); }

bool qvEnabled(GLenum cap)
{
    const int i = indexOf(cap);
    return i >= 0 && enabled[i];
}

// A push past the stack's depth is refused, and so its pop pops the one
// before, as in GL.
void glPushAttrib(GLbitfield mask)
{
    if (attribDepth == kAttribDepth)
        return;
    Saved& saved = attribStack[attribDepth++];
    saved.enableBit = (mask & GL_ENABLE_BIT) != 0;
    std::copy(std::begin(enabled), std::end(enabled), saved.on);
}

void glPopAttrib()
{
    if (attribDepth == 0)
        return;
    const Saved& saved = attribStack[--attribDepth];
    if (!saved.enableBit)
        return;
    for (std::size_t i = 0; i < kCapCount; ++i)
        setCap(kCaps[i], saved.on[i]);
}

// ---- what WebGL keeps, once what is gathered is drawn ----------------------

void glBlendFunc(GLenum source, GLenum destination)
{
    if (source == blendSource && destination == blendDestination)
        return;
    qvFlush();
    blendSource = source;
    blendDestination = destination;
    emscripten_glBlendFunc(source, destination);
}

void glViewport(GLint x, GLint y, GLsizei width, GLsizei height)
{
    qvFlush();
    viewport[0] = x, viewport[1] = y, viewport[2] = width, viewport[3] = height;
    viewportSet = true;
    emscripten_glViewport(x, y, width, height);
}

// The overlay asks for the viewport every frame; WebGL would answer with a
// new array each time, garbage for the page to collect.
void glGetIntegerv(GLenum pname, GLint* params)
{
    if (pname == GL_VIEWPORT && viewportSet)
        return static_cast<void>(std::copy_n(viewport, 4, params));
    emscripten_glGetIntegerv(pname, params);
}

void glClear(GLbitfield mask)
{
    qvFlush();
    emscripten_glClear(mask);
}

void glHint(GLenum, GLenum) {}  // WebGL knows neither hint the game gives

// ---- textures --------------------------------------------------------------

// WebGL draws only with names it made itself.
void glBindTexture(GLenum target, GLuint name)
{
    GLuint real = 0;
    if (name != 0) {
        GLuint& made = textureNames[name];
        if (made == 0)
            emscripten_glGenTextures(1, &made);
        real = made;
    }
    if (real == boundTexture)
        return;
    qvFlush();
    boundTexture = real;
    emscripten_glBindTexture(target, real);
}

// A bare component count (3 or 4) is not a format WebGL takes.
void glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height, GLint border,
                  GLenum format, GLenum type, const GLvoid* pixels)
{
    qvFlush();
    if (internalFormat == 3)
        internalFormat = GL_RGB;
    if (internalFormat == 4)
        internalFormat = GL_RGBA;
    emscripten_glTexImage2D(target, level, internalFormat, width, height, border, format, type, pixels);
}

void glTexParameteri(GLenum target, GLenum pname, GLint param)
{
    qvFlush();
    emscripten_glTexParameteri(target, pname, param);
}

// ---- reading the frame -----------------------------------------------------

void glReadBuffer(GLenum) {}  // the back buffer is the only one there is

// WebGL reads RGBA only: RGB rows are cut from it at the pack alignment.
void glReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type, GLvoid* pixels)
{
    qvFlush();
    if (format != GL_RGB || type != GL_UNSIGNED_BYTE)
        return emscripten_glReadPixels(x, y, width, height, format, type, pixels);
    GLint alignment = 4;
    emscripten_glGetIntegerv(GL_PACK_ALIGNMENT, &alignment);
    std::vector<unsigned char> rgba(static_cast<std::size_t>(width) * height * 4);
    emscripten_glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    const std::size_t stride = (rowBytes + alignment - 1) / alignment * alignment;
    auto* out = static_cast<unsigned char*>(pixels);
    for (GLsizei row = 0; row < height; ++row)
        for (GLsizei col = 0; col < width; ++col)
            for (int c = 0; c < 3; ++c)
                out[row * stride + col * 3 + c] = rgba[(static_cast<std::size_t>(row) * width + col) * 4 + c];
}
