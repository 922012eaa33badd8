// Display lists, the enable-bit stack, texture names and frame reads.
#define QUORVANE_GL_COMPAT_SOURCE
#include "gl_compat.h"

#include <cstdio>
#include <functional>
#include <map>
#include <vector>

// ---- types -----------------------------------------------------------------

namespace {

using Call = std::function<void()>;

// The caps the game turns on and off; an enable-bit pop restores these and
// leaves the shade model and blend function alone, as GL does.
constexpr GLenum kTrackedCaps[] = {GL_DEPTH_TEST, GL_BLEND, GL_TEXTURE_2D, GL_LIGHTING, GL_LIGHT0,
                                   GL_LIGHT1,     GL_NORMALIZE, GL_CULL_FACE, GL_COLOR_MATERIAL};

struct EnableBits {
    std::map<GLenum, bool> on;  // cap -> enabled
    bool saved = false;         // the push asked for the enable bit
};

}  // namespace

// ---- state -----------------------------------------------------------------

static std::map<GLuint, std::vector<Call>> lists;  // list name -> its calls
static std::vector<Call>* openList = nullptr;          // the list being compiled
static GLuint nextList = 1;
static GLuint listBase = 0;

static std::map<GLenum, bool> enabled;             // every cap starts off
static std::vector<EnableBits> attribStack;

static std::map<GLuint, GLuint> textureNames;      // the game's name -> WebGL's

// ---- functions -------------------------------------------------------------

// Records the call while a list is open, else makes it.
static void run(const Call& call)
{
    if (openList)
        openList->push_back(call);
    else
        call();
}

GLuint qvGenLists(GLsizei range)
{
    const GLuint first = nextList;
    nextList += static_cast<GLuint>(range);
    return first;
}

void qvNewList(GLuint list, GLenum)
{
    openList = &lists[list];
    openList->clear();
}

void qvEndList() { openList = nullptr; }
void qvListBase(GLuint base) { listBase = base; }

void qvCallLists(GLsizei count, GLenum type, const GLvoid* names)
{
    if (type != GL_UNSIGNED_BYTE)
        return;
    const auto* bytes = static_cast<const unsigned char*>(names);
    for (GLsizei i = 0; i < count; ++i) {
        const auto found = lists.find(listBase + bytes[i]);
        if (found == lists.end())
            continue;
        for (const Call& call : found->second)
            call();
    }
}

void qvBegin(GLenum mode) { run([=] { glBegin(mode); }); }
void qvEnd() { run([] { glEnd(); }); }
void qvTexCoord2f(GLfloat s, GLfloat t) { run([=] { glTexCoord2f(s, t); }); }
void qvVertex2f(GLfloat x, GLfloat y) { run([=] { glVertex2f(x, y); }); }
void qvTranslatef(GLfloat x, GLfloat y, GLfloat z) { run([=] { glTranslatef(x, y, z); }); }

// Lighting is compat/lighting.cpp's: the emulation's own never turns on.
static bool lightingCap(GLenum cap) { return cap == GL_LIGHTING || (cap >= GL_LIGHT0 && cap <= GL_LIGHT7); }

void qvEnable(GLenum cap)
{
    enabled[cap] = true;
    if (!lightingCap(cap))
        glEnable(cap);
}

void qvDisable(GLenum cap)
{
    enabled[cap] = false;
    if (!lightingCap(cap))
        glDisable(cap);
}

bool qvEnabled(GLenum cap)
{
    const auto found = enabled.find(cap);
    return found != enabled.end() && found->second;
}

void qvPushAttrib(GLbitfield mask)
{
    EnableBits bits;
    bits.saved = (mask & GL_ENABLE_BIT) != 0;
    for (GLenum cap : kTrackedCaps)
        bits.on[cap] = enabled[cap];
    attribStack.push_back(bits);
}

void qvPopAttrib()
{
    if (attribStack.empty())
        return;
    const EnableBits bits = attribStack.back();
    attribStack.pop_back();
    if (!bits.saved)
        return;
    for (const auto& [cap, on] : bits.on)
        if (enabled[cap] != on)
            on ? qvEnable(cap) : qvDisable(cap);
}

void qvBindTexture(GLenum target, GLuint name)
{
    if (name == 0)
        return glBindTexture(target, 0);
    GLuint& real = textureNames[name];
    if (real == 0)
        glGenTextures(1, &real);
    glBindTexture(target, real);
}

// A bare component count (3 or 4) is not a format WebGL takes.
void qvTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height, GLint border,
                  GLenum format, GLenum type, const GLvoid* pixels)
{
    if (internalFormat == 3)
        internalFormat = GL_RGB;
    if (internalFormat == 4)
        internalFormat = GL_RGBA;
    glTexImage2D(target, level, internalFormat, width, height, border, format, type, pixels);
}

void qvReadBuffer(GLenum) {}  // the back buffer is the only one there is

void qvReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type, GLvoid* pixels)
{
    if (format != GL_RGB || type != GL_UNSIGNED_BYTE)
        return glReadPixels(x, y, width, height, format, type, pixels);
    GLint alignment = 4;
    glGetIntegerv(GL_PACK_ALIGNMENT, &alignment);
    std::vector<unsigned char> rgba(static_cast<std::size_t>(width) * height * 4);
    glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    const std::size_t stride = (rowBytes + alignment - 1) / alignment * alignment;
    auto* out = static_cast<unsigned char*>(pixels);
    for (GLsizei row = 0; row < height; ++row)
        for (GLsizei col = 0; col < width; ++col)
            for (int c = 0; c < 3; ++c)
                out[row * stride + col * 3 + c] = rgba[(static_cast<std::size_t>(row) * width + col) * 4 + c];
}

void qvHint(GLenum, GLenum) {}  // WebGL knows neither hint the game gives
