// The browser build's quadrics, gluLookAt and solid cube against Debian's
// libGLU and freeglut. Both sides' GL calls land in the recorder defined
// here (the executable's symbols win over libGL's), so no context is needed.
#define QUORVANE_GL_COMPAT_SOURCE  // the real names, not the web build's stand-ins
#include "gl_compat.h"

#include <GL/freeglut_ext.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdarg>
#include <functional>
#include <vector>

// ---- recorder --------------------------------------------------------------

struct Vertex { std::array<float, 8> v; };  // position, normal, texture coordinate
struct Primitive { GLenum mode; std::vector<Vertex> vertices; };

static std::vector<Primitive> drawn;
static float normal[3], tex[2];
static bool carried;          // GLU's GL keeps the last normal and coordinate; the web's does not
static double matrix[16];     // column-major, as GL keeps it
static const void* arrays[2]; // positions and normals of glDrawArrays and glDrawElements

static void forget() { normal[0] = normal[1] = normal[2] = tex[0] = tex[1] = NAN; }
static std::vector<Primitive> record(bool carry, const std::function<void()>& draw)
{
    drawn.clear();
    carried = carry;
    forget();
    draw();
    return std::move(drawn);
}

void glBegin(GLenum mode) { drawn.push_back({mode == GL_QUAD_STRIP ? GLenum(GL_TRIANGLE_STRIP) : mode, {}}); }
void glEnd() {}
void glNormal3f(GLfloat x, GLfloat y, GLfloat z) { normal[0] = x, normal[1] = y, normal[2] = z; }
void glNormal3fv(const GLfloat* n) { glNormal3f(n[0], n[1], n[2]); }
void glTexCoord2f(GLfloat s, GLfloat t) { tex[0] = s, tex[1] = t; }
void glVertex3f(GLfloat x, GLfloat y, GLfloat z)
{
    drawn.back().vertices.push_back({{x, y, z, normal[0], normal[1], normal[2], tex[0], tex[1]}});
    if (!carried)
        forget();
}
void glVertex3fv(const GLfloat* p) { glVertex3f(p[0], p[1], p[2]); }

void glMultMatrixd(const GLdouble* m)
{
    double r[16] = {};
    for (int i = 0; i < 16; ++i)
        for (int k = 0; k < 4; ++k)
            r[i] += matrix[k * 4 + i % 4] * m[i / 4 * 4 + k];
    std::copy(r, r + 16, matrix);
}
void glMultMatrixf(const GLfloat* m) { double d[16]; std::copy(m, m + 16, d); glMultMatrixd(d); }
void glTranslated(GLdouble x, GLdouble y, GLdouble z)
{
    const double m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1};
    glMultMatrixd(m);
}
void glTranslatef(GLfloat x, GLfloat y, GLfloat z) { glTranslated(x, y, z); }

// freeglut draws its solids from client arrays of floats, three to a vertex
void glEnableClientState(GLenum) {}
void glDisableClientState(GLenum) {}
void glVertexPointer(GLint, GLenum, GLsizei, const GLvoid* p) { arrays[0] = p; }
void glNormalPointer(GLenum, GLsizei, const GLvoid* p) { arrays[1] = p; }
void glDrawArrays(GLenum mode, GLint first, GLsizei count)
{
    glBegin(mode);
    for (GLint i = first; i < first + count; ++i) {
        glNormal3fv(static_cast<const GLfloat*>(arrays[1]) + 3 * i);
        glVertex3fv(static_cast<const GLfloat*>(arrays[0]) + 3 * i);
    }
}
void glDrawElements(GLenum mode, GLsizei count, GLenum, const GLvoid* indices)
{
    glBegin(mode);
    for (GLsizei i = 0; i < count; ++i) {
        const GLushort k = static_cast<const GLushort*>(indices)[i];
        glNormal3fv(static_cast<const GLfloat*>(arrays[1]) + 3 * k);
        glVertex3fv(static_cast<const GLfloat*>(arrays[0]) + 3 * k);
    }
}

// GLU computes in float: a few units in the last place of the shape's size
// (positions) or of 1 (normals, texture coordinates). A misplaced vertex is
// off by a whole stack or slice, 1/40 of the size at least.
static void expectSame(const std::vector<Primitive>& glu, const std::vector<Primitive>& ours, double size,
                       const char* what, int components = 8)
{
    ASSERT_EQ(glu.size(), ours.size()) << what;
    for (std::size_t i = 0; i < glu.size(); ++i) {
        ASSERT_EQ(glu[i].mode, ours[i].mode) << what << " primitive " << i;
        ASSERT_EQ(glu[i].vertices.size(), ours[i].vertices.size()) << what << " primitive " << i;
        for (std::size_t j = 0; j < glu[i].vertices.size(); ++j)
            for (int k = 0; k < components; ++k)
                ASSERT_NEAR(glu[i].vertices[j].v[k], ours[i].vertices[j].v[k], 1e-5 * (k < 3 ? size : 1))
                    << what << " primitive " << i << " vertex " << j << " component " << k;
    }
}

// ---- tests -------------------------------------------------------------------

// Every quadric the game draws, with the game's settings: filled, smooth, textured.
TEST(WebQuadrics, GameQuadricsEmitGlusVerticesNormalsAndTextureCoordinates)
{
    struct Shape { const char* what; double base, top, height; int slices, stacks; };  // no height: a sphere
    static constexpr Shape kShapes[] = {
        {"stars", 800, 0, 0, 20, 20},         {"nebula", 600, 0, 0, 20, 20},
        {"planet", 25, 0, 0, 40, 40},         {"clouds", 25.1, 0, 0, 40, 40},
        {"gas giant", 125, 0, 0, 40, 40},     {"atmosphere", 127, 0, 0, 40, 40},
        {"missile nose", 0.5, 0, 1, 10, 10}, {"missile body", 0.5, 0.5, 5, 10, 10},
    };
    GLUquadric* glu = gluNewQuadric();
    GLUquadric* ours = qvNewQuadric();
    gluQuadricNormals(glu, GLU_SMOOTH), qvQuadricNormals(ours, GLU_SMOOTH);
    gluQuadricTexture(glu, GL_TRUE), qvQuadricTexture(ours, GL_TRUE);
    for (const Shape& s : kShapes) {
        const auto expected = record(true, [&] {
            s.height ? gluCylinder(glu, s.base, s.top, s.height, s.slices, s.stacks) : gluSphere(glu, s.base, s.slices, s.stacks);
        });
        const auto actual = record(false, [&] {
            s.height ? qvCylinder(ours, s.base, s.top, s.height, s.slices, s.stacks) : qvSphere(ours, s.base, s.slices, s.stacks);
        });
        expectSame(expected, actual, std::max(s.base, s.height), s.what);
    }
    gluDeleteQuadric(glu);
}

// Cameras away from the origin, the last looking almost straight down.
TEST(WebQuadrics, LookAtMakesGlusMatrix)
{
    static constexpr double kPoses[][9] = {
        {43, 31.75, -83, -50, 50, 50, 0, 1, 0},
        {-210, -95, 140, 12, 60, -170, 0, 1, 0},
        {-50, 230, 50, -50.2, 50, 50.3, 0, 1, 0},
    };
    for (const auto& p : kPoses) {
        double glu[16], ours[16];
        for (double* m : {glu, ours}) {
            std::fill(matrix, matrix + 16, 0);
            matrix[0] = matrix[5] = matrix[10] = matrix[15] = 1;
            (m == glu ? gluLookAt : qvLookAt)(p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7], p[8]);
            std::copy(matrix, matrix + 16, m);
        }
        const double eye = std::hypot(p[0], p[1], p[2]);
        for (int i = 0; i < 16; ++i)
            EXPECT_NEAR(glu[i], ours[i], 1e-5 * (i >= 12 ? eye : 1)) << "pose " << p[0] << " element " << i;
    }
}

// freeglut draws nothing before glutInit unless an error handler takes its
// complaint; then it draws from client arrays. No texture coordinates.
TEST(WebQuadrics, SolidCubeDrawsGlutsTrianglesAndNormals)
{
    glutInitErrorFunc([](const char*, va_list) {});
    const auto expected = record(true, [] { glutSolidCube(2.0); });
    const auto actual = record(false, [] { qvSolidCube(2.0); });
    expectSame(expected, actual, 2, "cube", 6);
}
