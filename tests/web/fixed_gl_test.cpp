// The page's fixed-function GL, on the desktop: its WebGL calls land in the
// recorder defined here, which keeps what each draw would draw (decoded
// through the attribute layout the layer set up), so no browser is needed.
#include "layer.h"

#include <GL/glu.h>
#include <GL/glut.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <vector>

// ---- recorder --------------------------------------------------------------

namespace {

struct Drawn {
    std::array<float, 4> clip;
    std::array<float, 4> colour;
    float                s, t;
};

struct Draw {
    GLenum              mode;
    GLuint              program, texture;
    bool                blend;
    std::vector<Drawn>  vertices;
};

struct Layout {
    long offset = 0;
    int  stride = 0;
};

}  // namespace

static std::vector<unsigned char> bufferBytes(1 << 24);
static Layout                     layout[3];
static std::vector<Draw>          draws;
static std::vector<GLenum>        webglCaps;  // every cap WebGL was asked to turn on
static GLuint                     program, texture, nextName = 1;
static bool                       blend;

extern "C" {
void emscripten_glEnable(GLenum cap) { webglCaps.push_back(cap), blend |= cap == GL_BLEND; }
void emscripten_glDisable(GLenum cap) { blend &= cap != GL_BLEND; }
void emscripten_glBlendFunc(GLenum, GLenum) {}
void emscripten_glViewport(GLint, GLint, GLsizei, GLsizei) {}
void emscripten_glClear(GLbitfield) {}
void emscripten_glGenTextures(GLsizei, GLuint* names) { *names = 100 + nextName++; }
void emscripten_glBindTexture(GLenum, GLuint name) { texture = name; }
void emscripten_glTexImage2D(GLenum, GLint, GLint, GLsizei, GLsizei, GLint, GLenum, GLenum, const void*) {}
void emscripten_glTexParameteri(GLenum, GLenum, GLint) {}
void emscripten_glReadPixels(GLint, GLint, GLsizei, GLsizei, GLenum, GLenum, void*) {}
void emscripten_glGetIntegerv(GLenum, GLint* params) { *params = 4; }
void emscripten_glGetFloatv(GLenum, GLfloat*) {}
GLuint emscripten_glCreateShader(GLenum) { return nextName++; }
void emscripten_glShaderSource(GLuint, GLsizei, const char* const*, const GLint*) {}
void emscripten_glCompileShader(GLuint) {}
void emscripten_glGetShaderiv(GLuint, GLenum, GLint* ok) { *ok = GL_TRUE; }
void emscripten_glGetShaderInfoLog(GLuint, GLsizei, GLsizei*, char*) {}
GLuint emscripten_glCreateProgram() { return nextName++; }
void emscripten_glAttachShader(GLuint, GLuint) {}
void emscripten_glBindAttribLocation(GLuint, GLuint, const char*) {}
void emscripten_glLinkProgram(GLuint) {}
void emscripten_glUseProgram(GLuint name) { program = name; }
GLint emscripten_glGetUniformLocation(GLuint, const char*) { return 0; }
void emscripten_glUniform1i(GLint, GLint) {}
void emscripten_glGenBuffers(GLsizei, GLuint* names) { *names = nextName++; }
void emscripten_glBindBuffer(GLenum, GLuint) {}
void emscripten_glBufferData(GLenum, long, const void*, GLenum) {}
void emscripten_glBufferSubData(GLenum, long offset, long size, const void* data)
{
    std::memcpy(&bufferBytes[static_cast<std::size_t>(offset)], data, static_cast<std::size_t>(size));
}
void emscripten_glVertexAttribPointer(GLuint index, GLint, GLenum, GLboolean, GLsizei stride, const void* at)
{
    layout[index] = Layout{static_cast<long>(reinterpret_cast<std::size_t>(at)), stride};
}
void emscripten_glEnableVertexAttribArray(GLuint) {}
void emscripten_glDrawArrays(GLenum mode, GLint first, GLsizei count)
{
    Draw draw{mode, program, texture, blend, {}};
    for (GLint i = first; i < first + count; ++i) {
        const auto at = [i](int attribute) { return &bufferBytes[layout[attribute].offset + i * layout[attribute].stride]; };
        Drawn v{};
        std::memcpy(v.clip.data(), at(0), 16);
        for (int c = 0; c < 4; ++c)
            v.colour[c] = at(1)[c] / 255.0f;
        std::memcpy(&v.s, at(2), 8);
        draw.vertices.push_back(v);
    }
    draws.push_back(draw);
}
}

// One frame's draws, from a clean start of the matrices.
template <typename Draw_>
static std::vector<Draw> frame(Draw_ drawing)
{
    draws.clear();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    drawing();
    glutSwapBuffers();
    return std::move(draws);
}

// Twice the signed area of a triangle as the window sees it.
static float area(const Drawn& a, const Drawn& b, const Drawn& c)
{
    const auto x = [](const Drawn& v) { return v.clip[0] / v.clip[3]; };
    const auto y = [](const Drawn& v) { return v.clip[1] / v.clip[3]; };
    return (x(b) - x(a)) * (y(c) - y(a)) - (x(c) - x(a)) * (y(b) - y(a));
}

// ---- tests -----------------------------------------------------------------

// A counter-clockwise ring of six points off the origin, given as each kind
// of primitive: every triangle WebGL gets is counter-clockwise, so culling
// keeps them all, and together they cover what GL would fill.
TEST(FixedGl, PrimitivesBecomeTrianglesWoundAsGiven)
{
    const float ring[6][2] = {{3, 1}, {5, 2}, {6, 4}, {5, 6}, {3, 7}, {2, 4}};  // convex, area 15
    const auto given = [&](GLenum mode, std::initializer_list<int> order) {
        return frame([&] {
            glOrtho(-10, 10, -10, 10, -1, 1);
            glBegin(mode);
            for (int i : order)
                glVertex2f(ring[i][0], ring[i][1]);
            glEnd();
        });
    };
    const struct {
        GLenum                     mode;
        std::initializer_list<int> order;
        float                      filled;  // in units of the ortho square
    } cases[] = {
        {GL_POLYGON, {0, 1, 2, 3, 4, 5}, 15},        {GL_TRIANGLE_FAN, {0, 1, 2, 3, 4, 5}, 15},
        {GL_TRIANGLE_STRIP, {0, 1, 5, 2, 4, 3}, 15}, {GL_QUAD_STRIP, {0, 1, 5, 2, 4, 3}, 15},
        {GL_QUADS, {0, 1, 2, 5, 5, 2, 3, 4}, 15},    {GL_TRIANGLES, {0, 1, 2, 0, 2, 3, 0}, 6},
    };
    for (const auto& c : cases) {
        const std::vector<Draw> drawn = given(c.mode, c.order);
        ASSERT_EQ(drawn.size(), 1u) << c.mode;
        ASSERT_EQ(drawn[0].mode, GLenum(GL_TRIANGLES)) << c.mode;
        const auto& v = drawn[0].vertices;
        float total = 0;
        for (std::size_t i = 0; i + 2 < v.size(); i += 3) {
            EXPECT_GT(area(v[i], v[i + 1], v[i + 2]), 0) << c.mode << " triangle " << i / 3;
            total += area(v[i], v[i + 1], v[i + 2]) / 2 * 100;  // back from clip units
        }
        EXPECT_NEAR(total, c.filled, 1e-3) << c.mode;
    }
    const std::vector<Draw> loop = given(GL_LINE_LOOP, {0, 1, 2});
    ASSERT_EQ(loop.size(), 1u);
    EXPECT_EQ(loop[0].mode, GLenum(GL_LINES));
    EXPECT_EQ(loop[0].vertices.size(), 6u);
}

// The game's camera: a point straight ahead lands in the middle, one at the
// top of the field of view on the top edge, one at its side on the side
// edge (twice as wide), the near and far planes at the depth range's ends; a
// quarter turn about z after a stretch along x takes x to y, in the eye's
// frame; a popped matrix is forgotten.
TEST(FixedGl, MatricesPlaceVerticesAsGlDoes)
{
    const float up = 40 * std::tan(float(M_PI) / 6);  // 60 degrees of view, 40 units ahead
    const std::vector<Draw> drawn = frame([&] {
        glMatrixMode(GL_PROJECTION);
        gluPerspective(60, 2, 10, 110);
        glMatrixMode(GL_MODELVIEW);
        glTranslatef(5, -3, 20);  // the eye at (-5, 3, -20), looking down -z
        glPushMatrix();
        glRotatef(90, 0, 0, 1);
        glScalef(2, 1, 1);
        glBegin(GL_LINES);
        glVertex3f((up + 3) / 2, 5, -60);
        glVertex3f(1.5f, 5, -60);
        glEnd();
        glPopMatrix();
        glBegin(GL_LINES);
        glVertex3f(-5, 3 + up, -60);
        glVertex3f(-5 + 2 * up, 3, -60);
        glVertex3f(-5, 3, -30);
        glVertex3f(-5, 3, -130);
        glEnd();
    });
    ASSERT_EQ(drawn.size(), 1u);
    const auto& v = drawn[0].vertices;
    ASSERT_EQ(v.size(), 6u);
    const float expected[6][3] = {{0, 1, NAN}, {0, 0, NAN}, {0, 1, NAN}, {1, 0, NAN}, {0, 0, -1}, {0, 0, 1}};
    for (int i = 0; i < 6; ++i)
        for (int axis = 0; axis < 3; ++axis) {
            if (std::isnan(expected[i][axis]))
                continue;
            EXPECT_NEAR(v[i].clip[axis] / v[i].clip[3], expected[i][axis], 1e-5) << i << " " << axis;
        }
}

// One draw for each run of the same state, whatever the matrices and
// colours do between primitives; a new texture, blending or the end of
// texturing each start a run. Texturing and lighting are the layer's own:
// WebGL never hears of them, and the enable bit comes back on a pop.
TEST(FixedGl, RunsOfOneStateDrawOnce)
{
    const auto square = [](float x) {
        glPushMatrix();
        glTranslatef(x, 2, 0);
        glBegin(GL_QUADS);
        glVertex2f(0, 0), glVertex2f(1, 0), glVertex2f(1, 1), glVertex2f(0, 1);
        glEnd();
        glPopMatrix();
    };
    webglCaps.clear();
    const std::vector<Draw> drawn = frame([&] {
        glOrtho(-10, 10, -10, 10, -1, 1);
        glBindTexture(GL_TEXTURE_2D, 7);
        glPushAttrib(GL_ENABLE_BIT);
        glEnable(GL_TEXTURE_2D);
        glEnable(GL_LIGHTING);
        glColor4f(1, 1, 1, 1);
        square(3);
        glColor4f(1, 0, 0, 0.5f);
        square(5);
        glBindTexture(GL_TEXTURE_2D, 8);
        square(7);
        glEnable(GL_BLEND);
        square(-3);
        glPopAttrib();
        square(-5);
    });
    ASSERT_EQ(drawn.size(), 4u);
    EXPECT_EQ(drawn[0].vertices.size(), 12u);
    EXPECT_NEAR(drawn[0].vertices[0].clip[0], 0.3f, 1e-6);
    EXPECT_NEAR(drawn[0].vertices[6].clip[0], 0.5f, 1e-6);
    EXPECT_EQ(drawn[0].vertices[5].colour, (std::array<float, 4>{1, 1, 1, 1}));
    EXPECT_EQ(drawn[0].vertices[6].colour, (std::array<float, 4>{1, 0, 0, 128 / 255.0f}));
    EXPECT_EQ(drawn[0].program, drawn[1].program);
    EXPECT_NE(drawn[0].texture, drawn[1].texture);
    EXPECT_FALSE(drawn[1].blend);
    EXPECT_TRUE(drawn[2].blend);
    EXPECT_FALSE(drawn[3].blend);
    EXPECT_NE(drawn[3].program, drawn[2].program);
    EXPECT_FALSE(qvEnabled(GL_TEXTURE_2D) || qvEnabled(GL_LIGHTING));
    for (GLenum cap : webglCaps)
        EXPECT_EQ(cap, GLenum(GL_BLEND));
}

// The font's lists: compiling draws nothing; each call of a glyph draws it
// and moves the next one along by the glyph's advance.
TEST(FixedGl, ListsReplayTheirCallsAndTranslations)
{
    const std::vector<Draw> drawn = frame([] {
        glOrtho(-10, 10, -10, 10, -1, 1);
        const GLuint base = glGenLists(4);
        glNewList(base + 2, GL_COMPILE);
        glBegin(GL_TRIANGLE_STRIP);
        glTexCoord2f(0.25f, 0.75f), glVertex2f(1, 1), glVertex2f(0, 1), glVertex2f(1, 0);
        glEnd();
        glTranslatef(3, 0, 0);
        glEndList();
        glutSwapBuffers();  // a list drawn as it compiles would be a draw of its own
        glListBase(base);
        glTranslatef(-2, 4, 0);
        glCallLists(3, GL_UNSIGNED_BYTE, "\2\3\2");  // the middle name's list is empty
    });
    ASSERT_EQ(drawn.size(), 1u);
    const auto& v = drawn[0].vertices;
    ASSERT_EQ(v.size(), 6u);
    EXPECT_NEAR(v[0].clip[0], -0.1f, 1e-6);
    EXPECT_NEAR(v[0].clip[1], 0.5f, 1e-6);
    EXPECT_NEAR(v[3].clip[0], 0.2f, 1e-6);
    EXPECT_EQ(v[4].s, 0.25f);
    EXPECT_EQ(v[4].t, 0.75f);
}
