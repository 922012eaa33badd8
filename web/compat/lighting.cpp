// Fixed-function lighting, evaluated for each vertex the quadrics and the
// cube draw, as GL does it: in eye space, with positional lights placed by
// the modelview of their glLightfv, ambient, diffuse and specular per light
// with attenuation (no spotlights: the game has none), the light model's
// ambient, an infinite viewer, and the material's diffuse alpha. The
// page's GL then draws the lit colours as given; under
// GL_FLAT every triangle takes the colour of its provoking vertex (a
// primitive's last), as GL does.
#define QUORVANE_GL_COMPAT_SOURCE
#define QUORVANE_LIGHTING_SOURCE
#include "gl_compat.h"
#include "lit_vertices.h"

#include <algorithm>
#include <cmath>
#include <vector>

// ---- types -----------------------------------------------------------------

namespace {

struct Vec {
    float x = 0, y = 0, z = 0;
};

struct Light {
    float ambient[4] = {0, 0, 0, 1};
    float diffuse[4] = {0, 0, 0, 1};
    float specular[4] = {0, 0, 0, 1};
    float position[4] = {0, 0, 1, 0};  // eye space, as placed
    float attenuation[3] = {1, 0, 0};  // constant, linear, quadratic
};

struct MaterialState {
    float ambient[4] = {0.2f, 0.2f, 0.2f, 1};
    float diffuse[4] = {0.8f, 0.8f, 0.8f, 1};
    float specular[4] = {0, 0, 0, 1};
    float emission[4] = {0, 0, 0, 1};
    float shininess = 0;
};

struct Vertex {
    Vec   position;  // object space
    Vec   normal;    // object space, the current one at the vertex
    float s = 0, t = 0;
    float colour[4] = {1, 1, 1, 1};
};

constexpr int   kLights = 2;  // the game lights with GL_LIGHT0 and GL_LIGHT1
constexpr float kModelAmbient[3] = {0.2f, 0.2f, 0.2f};

}  // namespace

// ---- state -----------------------------------------------------------------

static Light lights[kLights] = {
    {{0, 0, 0, 1}, {1, 1, 1, 1}, {1, 1, 1, 1}, {0, 0, 1, 0}, {1, 0, 0}},
    {},
};
static MaterialState material;
static GLenum shadeModel = GL_SMOOTH;

static GLenum              primitive = GL_TRIANGLES;
static std::vector<Vertex> vertices;        // of the primitive being drawn
static Vec                 currentNormal{0, 0, 1};
static float               currentS = 0, currentT = 0;
static bool                textured = false;  // the primitive gave texture coordinates

// ---- state calls -----------------------------------------------------------

static void copy4(float* to, const GLfloat* from) { std::copy(from, from + 4, to); }

static void modelview(float m[16]) { glGetFloatv(GL_MODELVIEW_MATRIX, m); }

void qvLightfv(GLenum which, GLenum pname, const GLfloat* params)
{
    if (which < GL_LIGHT0 || which >= GL_LIGHT0 + kLights)
        return;
    Light& light = lights[which - GL_LIGHT0];
    switch (pname) {
    case GL_AMBIENT: copy4(light.ambient, params); break;
    case GL_DIFFUSE: copy4(light.diffuse, params); break;
    case GL_SPECULAR: copy4(light.specular, params); break;
    case GL_CONSTANT_ATTENUATION: light.attenuation[0] = params[0]; break;
    case GL_LINEAR_ATTENUATION: light.attenuation[1] = params[0]; break;
    case GL_QUADRATIC_ATTENUATION: light.attenuation[2] = params[0]; break;
    case GL_POSITION: {
        float m[16];
        modelview(m);
        for (int row = 0; row < 4; ++row)
            light.position[row] = m[row] * params[0] + m[4 + row] * params[1] + m[8 + row] * params[2]
                                  + m[12 + row] * params[3];
        break;
    }
    default: break;
    }
}

// Back faces share the front's material: the game sets both alike.
void qvMaterialfv(GLenum face, GLenum pname, const GLfloat* params)
{
    if (face == GL_BACK)
        return;
    switch (pname) {
    case GL_AMBIENT: copy4(material.ambient, params); break;
    case GL_DIFFUSE: copy4(material.diffuse, params); break;
    case GL_SPECULAR: copy4(material.specular, params); break;
    case GL_EMISSION: copy4(material.emission, params); break;
    case GL_AMBIENT_AND_DIFFUSE:
        copy4(material.ambient, params);
        copy4(material.diffuse, params);
        break;
    case GL_SHININESS: material.shininess = params[0]; break;
    default: break;
    }
}

void qvShadeModel(GLenum mode) { shadeModel = mode; }

// ---- the lighting equation -------------------------------------------------

static float dot(const Vec& a, const Vec& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

static Vec normalized(const Vec& v)
{
    const float length = std::sqrt(dot(v, v));
    return length > 0 ? Vec{v.x / length, v.y / length, v.z / length} : v;
}

// Normals go by the inverse transpose of the modelview's upper 3 x 3. A
// collapsed matrix leaves a zero normal: ambient light only.
static void normalMatrix(const float m[16], float n[9])
{
    const float a = m[0], b = m[4], c = m[8], d = m[1], e = m[5], f = m[9], g = m[2], h = m[6], k = m[10];
    const float cof[9] = {e * k - f * h, -(d * k - f * g), d * h - e * g,
                          -(b * k - c * h), a * k - c * g, -(a * h - b * g),
                          b * f - c * e, -(a * f - c * d), a * e - b * d};
    const float det = a * cof[0] + b * cof[1] + c * cof[2];
    for (int i = 0; i < 9; ++i)
        n[i] = det != 0 ? cof[i] / det : 0;  // row-major: n[3 * row + col]
}

static void lightVertex(Vertex& v, const float m[16], const float nm[9])
{
    const Vec& p = v.position;
    const Vec eye{m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12], m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13],
                  m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14]};
    const Vec& o = v.normal;
    Vec n{nm[0] * o.x + nm[1] * o.y + nm[2] * o.z, nm[3] * o.x + nm[4] * o.y + nm[5] * o.z,
          nm[6] * o.x + nm[7] * o.y + nm[8] * o.z};
    if (qvEnabled(GL_NORMALIZE))
        n = normalized(n);
    float c[3];
    for (int i = 0; i < 3; ++i)
        c[i] = material.emission[i] + material.ambient[i] * kModelAmbient[i];
    for (int index = 0; index < kLights; ++index) {
        if (!qvEnabled(GL_LIGHT0 + index))
            continue;
        const Light& l = lights[index];
        Vec toLight{l.position[0], l.position[1], l.position[2]};
        float attenuation = 1;
        if (l.position[3] != 0) {
            const float w = l.position[3];
            toLight = Vec{toLight.x / w - eye.x, toLight.y / w - eye.y, toLight.z / w - eye.z};
            const float d = std::sqrt(dot(toLight, toLight));
            attenuation = 1 / (l.attenuation[0] + l.attenuation[1] * d + l.attenuation[2] * d * d);
        }
        toLight = normalized(toLight);
        const float diffuse = std::max(dot(n, toLight), 0.0f);
        float specular = 0;
        if (diffuse > 0) {
            const Vec half = normalized(Vec{toLight.x, toLight.y, toLight.z + 1});
            specular = std::pow(std::max(dot(n, half), 0.0f), material.shininess);
        }
        for (int i = 0; i < 3; ++i)
            c[i] += attenuation * (material.ambient[i] * l.ambient[i] + diffuse * material.diffuse[i] * l.diffuse[i]
                                   + specular * material.specular[i] * l.specular[i]);
    }
    for (int i = 0; i < 3; ++i)
        v.colour[i] = std::clamp(c[i], 0.0f, 1.0f);
    v.colour[3] = std::clamp(material.diffuse[3], 0.0f, 1.0f);
}

// ---- drawing ---------------------------------------------------------------

static void emit(const Vertex& v, const float* colour)
{
    if (textured)
        glTexCoord2f(v.s, v.t);
    if (colour)
        glColor4f(colour[0], colour[1], colour[2], colour[3]);
    glVertex3f(v.position.x, v.position.y, v.position.z);
}

// Triangles as GL assembles them, each with its provoking vertex last. A
// quad strip's quad (a, b, c, d) takes d's colour for both its halves.
static void triangles(std::vector<int>& out)
{
    const int n = static_cast<int>(vertices.size());
    auto add = [&out](int a, int b, int c) { out.insert(out.end(), {a, b, c}); };
    switch (primitive) {
    case GL_TRIANGLES:
        for (int i = 0; i + 2 < n; i += 3)
            add(i, i + 1, i + 2);
        break;
    case GL_TRIANGLE_STRIP:
        for (int i = 0; i + 2 < n; ++i)
            i % 2 == 0 ? add(i, i + 1, i + 2) : add(i + 1, i, i + 2);
        break;
    case GL_QUAD_STRIP:
        for (int i = 0; i + 3 < n; i += 2) {
            add(i, i + 1, i + 3);
            add(i + 2, i, i + 3);
        }
        break;
    case GL_QUADS:
        for (int i = 0; i + 3 < n; i += 4) {
            add(i, i + 1, i + 3);
            add(i + 1, i + 2, i + 3);
        }
        break;
    default:  // fans and polygons: a fan's triangle takes its last vertex's colour, a polygon its first's
        for (int i = 1; i + 1 < n; ++i)
            primitive == GL_POLYGON ? add(i, i + 1, 0) : add(0, i, i + 1);
        break;
    }
}

void qvLitBegin(GLenum mode)
{
    primitive = mode;
    vertices.clear();
    textured = false;
}

void qvLitNormal3f(GLfloat x, GLfloat y, GLfloat z) { currentNormal = Vec{x, y, z}; }
void qvLitNormal3fv(const GLfloat* v) { currentNormal = Vec{v[0], v[1], v[2]}; }

void qvLitTexCoord2f(GLfloat s, GLfloat t)
{
    currentS = s;
    currentT = t;
    textured = true;
}

void qvLitVertex3f(GLfloat x, GLfloat y, GLfloat z)
{
    Vertex v;
    v.position = Vec{x, y, z};
    v.normal = currentNormal;
    v.s = currentS;
    v.t = currentT;
    vertices.push_back(v);
}

void qvLitVertex3fv(const GLfloat* v) { qvLitVertex3f(v[0], v[1], v[2]); }

// Unlit, or lit and smooth, a strip stays a strip (a quad strip's vertices
// draw the same as a triangle strip); anything else, and every flat
// primitive, goes as separate triangles. Colours drawn here leave the
// current colour as it was, as lighting leaves GL's.
void qvLitEnd()
{
    const bool lit = qvEnabled(GL_LIGHTING);
    float current[4];
    glGetFloatv(GL_CURRENT_COLOR, current);
    if (lit) {
        float m[16], nm[9];
        modelview(m);
        normalMatrix(m, nm);
        for (Vertex& v : vertices)
            lightVertex(v, m, nm);
    }
    const bool flat = lit && shadeModel == GL_FLAT;
    if (!flat && (primitive == GL_TRIANGLE_STRIP || primitive == GL_QUAD_STRIP)) {
        glBegin(GL_TRIANGLE_STRIP);
        for (const Vertex& v : vertices)
            emit(v, lit ? v.colour : nullptr);
        glEnd();
        glColor4f(current[0], current[1], current[2], current[3]);
        return;
    }
    static std::vector<int> order;  // kept, so that a frame allocates nothing
    order.clear();
    triangles(order);
    glBegin(GL_TRIANGLES);
    for (std::size_t i = 0; i < order.size(); ++i) {
        const Vertex& provoking = vertices[order[i - i % 3 + 2]];
        emit(vertices[order[i]], !lit ? nullptr : flat ? provoking.colour : vertices[order[i]].colour);
    }
    glEnd();
    glColor4f(current[0], current[1], current[2], current[3]);
}
