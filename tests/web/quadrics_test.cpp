// The browser build's quadrics, gluLookAt and solid cube against Debian's
// libGLU and freeglut. Both sides' GL calls land in the recorder defined
// here (the executable's symbols win over libGL's), so no context is needed.
#define QUORVANE_GL_COMPAT_SOURCE  // the real names, not the web build's stand-ins
#include "gl_compat.h"

#include <GL/freeglut_ext.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <vector>

// ---- recorder --------------------------------------------------------------

// Each vertex: position, normal, texture coordinate. Each glBegin: its mode,
// then zeros, with quad strips counted as triangle strips.
using Vertex = std::array<float, 8>;

static std::vector<Vertex> drawn;
static float normal[3], tex[2];
static bool carried;              // GLU's GL keeps the last normal and coordinate; the web's does not
static double matrix[16];         // column-major, as GL keeps it
static const GLfloat* arrays[2];  // positions and normals that glDrawElements reads

static void forget() { normal[0] = normal[1] = normal[2] = tex[0] = tex[1] = NAN; }
static std::vector<Vertex> record(bool carry, const std::function<void()>& draw)
{
    drawn.clear(), carried = carry, forget(), draw();
    return std::move(drawn);
}

void glBegin(GLenum mode) { drawn.push_back({mode == GL_QUAD_STRIP ? float(GL_TRIANGLE_STRIP) : float(mode)}); }
void glEnd() {}
void glNormal3f(GLfloat x, GLfloat y, GLfloat z) { normal[0] = x, normal[1] = y, normal[2] = z; }
void glNormal3fv(const GLfloat* n) { glNormal3f(n[0], n[1], n[2]); }
void glTexCoord2f(GLfloat s, GLfloat t) { tex[0] = s, tex[1] = t; }
void glVertex3f(GLfloat x, GLfloat y, GLfloat z)
{
    drawn.push_back({x, y, z, normal[0], normal[1], normal[2], tex[0], tex[1]});
    if (!carried)
        forget();
}

void glMultMatrixf(const GLfloat* m)
{
    double r[16] = {};
    for (int i = 0; i < 16; ++i)
        for (int k = 0; k < 4; ++k)
            r[i] += matrix[k * 4 + i % 4] * m[i / 4 * 4 + k];
    std::copy(r, r + 16, matrix);
}
void glTranslated(GLdouble x, GLdouble y, GLdouble z)
{
    for (int i = 0; i < 4; ++i)
        matrix[12 + i] += matrix[i] * x + matrix[4 + i] * y + matrix[8 + i] * z;
}
void glTranslatef(GLfloat x, GLfloat y, GLfloat z) { glTranslated(x, y, z); }

// freeglut draws its solids from client arrays: floats, three to a vertex
void glVertexPointer(GLint, GLenum, GLsizei, const GLvoid* p) { arrays[0] = static_cast<const GLfloat*>(p); }
void glNormalPointer(GLenum, GLsizei, const GLvoid* p) { arrays[1] = static_cast<const GLfloat*>(p); }
void glDrawElements(GLenum mode, GLsizei count, GLenum, const GLvoid* indices)
{
    glBegin(mode);
    for (auto k = static_cast<const GLushort*>(indices); count-- > 0; ++k)
        glNormal3fv(arrays[1] + 3 * *k), glVertex3f(arrays[0][3 * *k], arrays[0][3 * *k + 1], arrays[0][3 * *k + 2]);
}

// GLU computes in float: a few units in the last place of the shape's size
// (positions) or of 1 (normals, texture coordinates). A misplaced vertex is
// off by a whole stack or slice, 1/40 of the size at least.
static void expectSame(const std::vector<Vertex>& glu, const std::vector<Vertex>& ours, double size, const char* what,
                       int components = 8)
{
    ASSERT_EQ(glu.size(), ours.size()) << what;
    for (std::size_t i = 0; i < glu.size(); ++i)
        for (int k = 0; k < components; ++k)
            ASSERT_NEAR(glu[i][k], ours[i][k], 1e-5 * (k < 3 ? size : 1))
                << what << " entry " << i << " component " << k;
}

// ---- tests -------------------------------------------------------------------

// Every quadric the game draws, with the game's settings: filled, smooth, textured.
TEST(WebQuadrics, GameQuadricsEmitGlusVerticesNormalsAndTextureCoordinates)
{
    struct Shape { const char* what; double base, top, height; int slices, stacks; };  // no height: a sphere
    static constexpr Shape kShapes[] = {
        {"stars", 800, 0, 0, 20, 20},        {"nebula", 600, 0, 0, 20, 20},        {"planet", 25, 0, 0, 40, 40},
        {"clouds", 25.1, 0, 0, 40, 40},      {"gas giant", 125, 0, 0, 40, 40},     {"atmosphere", 127, 0, 0, 40, 40},
        {"missile nose", 0.5, 0, 1, 10, 10}, {"missile body", 0.5, 0.5, 5, 10, 10},
    };
    GLUquadric* quadric[2] = {gluNewQuadric(), qvNewQuadric()};  // GLU's, the web's
    gluQuadricNormals(quadric[0], GLU_SMOOTH), qvQuadricNormals(quadric[1], GLU_SMOOTH);
    gluQuadricTexture(quadric[0], GL_TRUE), qvQuadricTexture(quadric[1], GL_TRUE);
    const decltype(&gluSphere) sphere[2] = {gluSphere, qvSphere};
    const decltype(&gluCylinder) cylinder[2] = {gluCylinder, qvCylinder};
    for (const Shape& s : kShapes) {
        std::vector<Vertex> seen[2];
        for (int web : {0, 1})
            seen[web] = record(!web, [&] {
                s.height ? cylinder[web](quadric[web], s.base, s.top, s.height, s.slices, s.stacks)
                         : sphere[web](quadric[web], s.base, s.slices, s.stacks);
            });
        expectSame(seen[0], seen[1], std::max(s.base, s.height), s.what);
    }
    gluDeleteQuadric(quadric[0]);
}

// Cameras away from the origin, the last looking almost straight down, each
// multiplied onto a matrix other than the identity, so the products' order shows.
TEST(WebQuadrics, LookAtMakesGlusMatrix)
{
    static constexpr double kProjection[16] = {1.2, 0, 0, 0, 0, 1.6, 0, 0, 0.1, -0.2, -1, -1, 0, 0, -0.2, 0};
    static constexpr double kPoses[][9] = {
        {43, 31.75, -83, -50, 50, 50, 0, 1, 0},
        {-210, -95, 140, 12, 60, -170, 0, 1, 0},
        {-50, 230, 50, -50.2, 50, 50.3, 0, 1, 0},
    };
    for (const auto& p : kPoses) {
        double glu[16];
        for (auto lookAt : {gluLookAt, qvLookAt}) {
            std::copy(kProjection, kProjection + 16, matrix);
            lookAt(p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7], p[8]);
            if (lookAt == gluLookAt)
                std::copy(matrix, matrix + 16, glu);
        }
        for (int i = 0; i < 16; ++i)
            EXPECT_NEAR(glu[i], matrix[i], 1e-5 * (i >= 12 ? std::hypot(p[0], p[1], p[2]) : 1))
                << "pose " << p[0] << " element " << i;
    }
}

// freeglut draws nothing before glutInit unless an error handler takes its
// complaint. The cube has no texture coordinates.
TEST(WebQuadrics, SolidCubeDrawsGlutsTrianglesAndNormals)
{
    glutInitErrorFunc([](const char*, va_list) {});
    const auto expected = record(true, [] { glutSolidCube(2.0); });
    expectSame(expected, record(false, [] { qvSolidCube(2.0); }), 2, "cube", 6);
}
