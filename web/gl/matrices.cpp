// The modelview and projection stacks, and what builds their matrices:
// rotation, translation, scaling, glOrtho and gluPerspective, in GL's
// column-major order. The product of the two tops is kept for the vertices.
#include "layer.h"

#include <GL/glu.h>

#include <algorithm>
#include <cmath>

// ---- types -----------------------------------------------------------------

namespace {

constexpr float kIdentity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

struct Stack {
    static constexpr int kDepth = 32;  // GL's least for the modelview
    float matrix[kDepth][16];
    int   top = 0;
    Stack() { std::copy(kIdentity, kIdentity + 16, matrix[0]); }
};

}  // namespace

// ---- state -----------------------------------------------------------------

static Stack  modelview, projection;
static Stack* current = &modelview;
static float  clip[16];          // projection times modelview
static bool   clipStale = true;  // either top changed since clip was made

// ---- functions -------------------------------------------------------------

static float* top() { return current->matrix[current->top]; }

static void changed() { clipStale = true; }

// out = a * b; out may be neither.
static void multiply(const float* a, const float* b, float* out)
{
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row)
            out[col * 4 + row] = a[row] * b[col * 4] + a[4 + row] * b[col * 4 + 1] + a[8 + row] * b[col * 4 + 2]
                                 + a[12 + row] * b[col * 4 + 3];
}

static void multiplyTop(const float* m)
{
    float product[16];
    multiply(top(), m, product);
    std::copy(product, product + 16, top());
    changed();
}

const float* qvClipMatrix()
{
    if (clipStale) {
        multiply(projection.matrix[projection.top], modelview.matrix[modelview.top], clip);
        clipStale = false;
    }
    return clip;
}

void glMatrixMode(GLenum mode)
{
    current = mode == GL_PROJECTION ? &projection : &modelview;
}

void glLoadIdentity()
{
    std::copy(kIdentity, kIdentity + 16, top());
    changed();
}

// A push onto a full stack and a pop of its last matrix do nothing, as GL.
void glPushMatrix()
{
    if (current->top + 1 == Stack::kDepth)
        return;
    std::copy(top(), top() + 16, current->matrix[current->top + 1]);
    ++current->top;
}

void glPopMatrix()
{
    if (current->top == 0)
        return;
    --current->top;
    changed();
}

void glMultMatrixf(const GLfloat* m)
{
    multiplyTop(m);
}

void glTranslatef(GLfloat x, GLfloat y, GLfloat z)
{
    if (qvRecord(ListOp::Translate, x, y, z))
        return;
    float* m = top();
    for (int row = 0; row < 4; ++row)
        m[12 + row] += m[row] * x + m[4 + row] * y + m[8 + row] * z;
    changed();
}

void glScalef(GLfloat x, GLfloat y, GLfloat z)
{
    float* m = top();
    for (int row = 0; row < 4; ++row) {
        m[row] *= x;
        m[4 + row] *= y;
        m[8 + row] *= z;
    }
    changed();
}

// About the axis through the origin, counter-clockwise looking down it.
void glRotatef(GLfloat degrees, GLfloat x, GLfloat y, GLfloat z)
{
    const double length = std::sqrt(double(x) * x + double(y) * y + double(z) * z);
    if (length == 0)
        return;
    const double ax = x / length, ay = y / length, az = z / length;
    const double radians = degrees * M_PI / 180;
    const double c = std::cos(radians), s = std::sin(radians), k = 1 - c;
    const float m[16] = {
        float(ax * ax * k + c),      float(ay * ax * k + az * s), float(ax * az * k - ay * s), 0,
        float(ax * ay * k - az * s), float(ay * ay * k + c),      float(ay * az * k + ax * s), 0,
        float(ax * az * k + ay * s), float(ay * az * k - ax * s), float(az * az * k + c),      0,
        0,                           0,                           0,                           1,
    };
    glMultMatrixf(m);
}

void glOrtho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble near, GLdouble far)
{
    if (left == right || bottom == top || near == far)
        return;
    const float m[16] = {
        float(2 / (right - left)), 0, 0, 0,
        0, float(2 / (top - bottom)), 0, 0,
        0, 0, float(-2 / (far - near)), 0,
        float(-(right + left) / (right - left)), float(-(top + bottom) / (top - bottom)),
        float(-(far + near) / (far - near)), 1,
    };
    glMultMatrixf(m);
}

// As GLU builds it; a degenerate frustum leaves the matrix alone, as GLU does.
void gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble near, GLdouble far)
{
    const double radians = fovy / 2 * M_PI / 180;
    const double depth = far - near;
    const double sine = std::sin(radians);
    if (depth == 0 || sine == 0 || aspect == 0)
        return;
    const double cotangent = std::cos(radians) / sine;
    const float m[16] = {
        float(cotangent / aspect), 0, 0, 0,
        0, float(cotangent), 0, 0,
        0, 0, float(-(far + near) / depth), -1,
        0, 0, float(-2 * near * far / depth), 0,
    };
    glMultMatrixf(m);
}

// The matrices and the current colour are the layer's; the rest is WebGL's.
void glGetFloatv(GLenum pname, GLfloat* params)
{
    switch (pname) {
    case GL_MODELVIEW_MATRIX:
        std::copy_n(modelview.matrix[modelview.top], 16, params);
        return;
    case GL_PROJECTION_MATRIX:
        std::copy_n(projection.matrix[projection.top], 16, params);
        return;
    case GL_CURRENT_COLOR:
        qvCurrentColour(params);
        return;
    default:
        emscripten_glGetFloatv(pname, params);
    }
}
