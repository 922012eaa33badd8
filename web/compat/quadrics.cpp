// GLU's sphere and cylinder, gluLookAt and GLUT's solid cube.
//
// The quadrics follow GLU's layout: slices around z, stacks along it, the
// texture's s running backwards around and t along. Each pair of a strip
// starts where GLU starts it (the sphere's ring nearer -z, the cylinder's
// nearer its base), so the triangles split and wind as GLU's do. GLU draws
// quad strips; a quad strip's vertices in the same order draw the same as a
// triangle strip. Every vertex carries its own normal and texture coordinate.
#define QUORVANE_GL_COMPAT_SOURCE
#include "gl_compat.h"
#ifdef __EMSCRIPTEN__
#include "lit_vertices.h"  // lit here, not by the page's GL
#endif

#include <cmath>
#include <vector>

// ---- types -----------------------------------------------------------------

struct GLUquadric {
    bool textured = false;
    bool normals = true;  // GLU_SMOOTH, the default
};

namespace {

struct Ring {
    std::vector<float> sin, cos;  // per slice, 0..slices, the last equal to the first
};

}  // namespace

// ---- state -----------------------------------------------------------------

static std::vector<GLUquadric> quadrics(4);  // the game makes two
static std::size_t madeQuadrics = 0;

// ---- functions -------------------------------------------------------------

GLUquadric* qvNewQuadric()
{
    if (madeQuadrics == quadrics.size())
        return nullptr;
    return &quadrics[madeQuadrics++];
}

void qvQuadricDrawStyle(GLUquadric*, GLenum) {}  // the game fills every quadric
void qvQuadricNormals(GLUquadric* quadric, GLenum normals)
{
    if (quadric)
        quadric->normals = normals != GLU_NONE;
}
void qvQuadricTexture(GLUquadric* quadric, GLboolean texture)
{
    if (quadric)
        quadric->textured = texture != GL_FALSE;
}

// One ring, refilled for each quadric, so that a frame allocates nothing.
static const Ring& ring(int slices)
{
    static Ring r;
    r.sin.clear();
    r.cos.clear();
    for (int i = 0; i <= slices; ++i) {
        const double angle = i == slices ? 0.0 : 2 * M_PI * i / slices;
        r.sin.push_back(static_cast<float>(std::sin(angle)));
        r.cos.push_back(static_cast<float>(std::cos(angle)));
    }
    return r;
}

static void vertex(const GLUquadric& q, float nx, float ny, float nz, float s, float t, float x, float y, float z)
{
    if (q.normals)
        glNormal3f(nx, ny, nz);
    if (q.textured)
        glTexCoord2f(s, t);
    glVertex3f(x, y, z);
}

void qvSphere(GLUquadric* quadric, GLdouble radius, GLint slices, GLint stacks)
{
    if (!quadric || slices < 2 || stacks < 1)
        return;
    const Ring& around = ring(slices);
    const auto r = static_cast<float>(radius);
    for (int j = 0; j < stacks; ++j) {
        const double a0 = M_PI * j / stacks, a1 = M_PI * (j + 1) / stacks;
        const float s0 = static_cast<float>(std::sin(a0)), c0 = static_cast<float>(std::cos(a0));
        const float s1 = j + 1 == stacks ? 0.0f : static_cast<float>(std::sin(a1));
        const float c1 = static_cast<float>(std::cos(a1));
        const float t0 = 1 - static_cast<float>(j) / stacks, t1 = 1 - static_cast<float>(j + 1) / stacks;
        glBegin(GL_TRIANGLE_STRIP);
        for (int i = 0; i <= slices; ++i) {
            const float s = 1 - static_cast<float>(i) / slices;
            const float sx = around.sin[i], cy = around.cos[i];
            vertex(*quadric, sx * s1, cy * s1, c1, s, t1, r * sx * s1, r * cy * s1, r * c1);
            vertex(*quadric, sx * s0, cy * s0, c0, s, t0, r * sx * s0, r * cy * s0, r * c0);
        }
        glEnd();
    }
}

void qvCylinder(GLUquadric* quadric, GLdouble base, GLdouble top, GLdouble height, GLint slices, GLint stacks)
{
    if (!quadric || slices < 2 || stacks < 1)
        return;
    const Ring& around = ring(slices);
    const double slope = base - top;
    const double length = std::sqrt(slope * slope + height * height);
    const auto nz = static_cast<float>(slope / length), nxy = static_cast<float>(height / length);
    for (int j = 0; j < stacks; ++j) {
        const auto z0 = static_cast<float>(j * height / stacks), z1 = static_cast<float>((j + 1) * height / stacks);
        const auto r0 = static_cast<float>(base - slope * j / stacks);
        const auto r1 = static_cast<float>(base - slope * (j + 1) / stacks);
        const float t0 = static_cast<float>(j) / stacks, t1 = static_cast<float>(j + 1) / stacks;
        glBegin(GL_TRIANGLE_STRIP);
        for (int i = 0; i <= slices; ++i) {
            const float s = 1 - static_cast<float>(i) / slices;
            const float sx = around.sin[i], cy = around.cos[i];
            vertex(*quadric, nxy * sx, nxy * cy, nz, s, t0, r0 * sx, r0 * cy, z0);
            vertex(*quadric, nxy * sx, nxy * cy, nz, s, t1, r1 * sx, r1 * cy, z1);
        }
        glEnd();
    }
}

// The camera, as GLU builds it.
void qvLookAt(GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centerX, GLdouble centerY, GLdouble centerZ,
              GLdouble upX, GLdouble upY, GLdouble upZ)
{
    double f[3] = {centerX - eyeX, centerY - eyeY, centerZ - eyeZ};
    const double fl = std::sqrt(f[0] * f[0] + f[1] * f[1] + f[2] * f[2]);
    if (fl == 0)
        return;
    for (double& v : f)
        v /= fl;
    double s[3] = {f[1] * upZ - f[2] * upY, f[2] * upX - f[0] * upZ, f[0] * upY - f[1] * upX};
    const double sl = std::sqrt(s[0] * s[0] + s[1] * s[1] + s[2] * s[2]);
    if (sl == 0)
        return;
    for (double& v : s)
        v /= sl;
    const double u[3] = {s[1] * f[2] - s[2] * f[1], s[2] * f[0] - s[0] * f[2], s[0] * f[1] - s[1] * f[0]};
    const GLfloat m[16] = {
        static_cast<GLfloat>(s[0]), static_cast<GLfloat>(u[0]), static_cast<GLfloat>(-f[0]), 0,
        static_cast<GLfloat>(s[1]), static_cast<GLfloat>(u[1]), static_cast<GLfloat>(-f[1]), 0,
        static_cast<GLfloat>(s[2]), static_cast<GLfloat>(u[2]), static_cast<GLfloat>(-f[2]), 0,
        0, 0, 0, 1,
    };
    glMultMatrixf(m);
    glTranslatef(static_cast<GLfloat>(-eyeX), static_cast<GLfloat>(-eyeY), static_cast<GLfloat>(-eyeZ));
}

// Six faces in GLUT's order, each an outward normal and four corners (signs
// of the half size) cut into two triangles along the first corner's diagonal.
void qvSolidCube(GLdouble size)
{
    static constexpr float kFaces[6][5][3] = {
        {{0, 0, 1}, {1, 1, 1}, {-1, 1, 1}, {-1, -1, 1}, {1, -1, 1}},
        {{1, 0, 0}, {1, 1, 1}, {1, -1, 1}, {1, -1, -1}, {1, 1, -1}},
        {{0, 1, 0}, {1, 1, 1}, {1, 1, -1}, {-1, 1, -1}, {-1, 1, 1}},
        {{-1, 0, 0}, {-1, 1, 1}, {-1, 1, -1}, {-1, -1, -1}, {-1, -1, 1}},
        {{0, -1, 0}, {-1, -1, -1}, {1, -1, -1}, {1, -1, 1}, {-1, -1, 1}},
        {{0, 0, -1}, {1, -1, -1}, {-1, -1, -1}, {-1, 1, -1}, {1, 1, -1}},
    };
    const auto h = static_cast<float>(size / 2);
    glBegin(GL_TRIANGLES);
    for (const auto& face : kFaces) {
        for (int k : {1, 2, 3, 1, 3, 4}) {
            glNormal3fv(face[0]);
            glVertex3f(h * face[k][0], h * face[k][1], h * face[k][2]);
        }
    }
    glEnd();
}
