// The missile model (aim line, trail, lit tube with nose and fins) and the
// orientation both it and the shot sprite use.
#pragma once

#include "core/vec3.h"

#include <GL/gl.h>

struct Missile;

// ---- types -----------------------------------------------------------------

// A front-and-back material: ambient, diffuse, specular RGBA and shininess.
struct Material {
    GLfloat ambient[4];
    GLfloat diffuse[4];
    GLfloat specular[4];
    GLfloat shininess;
};

// ---- constants -------------------------------------------------------------

// Nose and fins; the shot sprite leaves it current too.
constexpr Material kNoseAndFinsMaterial{{0, 0, 0, 1}, {0.5f, 0.5f, 0, 1}, {0.6f, 0.6f, 0.5f, 1}, 0.25f};
constexpr Material kBodyMaterial{{0, 0, 0, 1}, {0.5f, 0, 0.5f, 1}, {0.7f, 0.7f, 0.6f, 1}, 0.25f};

// ---- functions -------------------------------------------------------------

// Scales v in place to unit length. A zero vector stays zero.
void normalize(Vec3& v);

// Multiplies the current matrix by the turn that points model -z along d
// (scaling by |a| = sqrt(d.x^2 + d.z^2) across and |a|^2 along). A zero d
// has no direction: the matrix is left alone and false comes back, so the
// caller draws nothing for that object.
bool faceToward(Vec3 d);

// Sets the material for both faces. Not saved or restored: it lights
// whatever is drawn next with lighting on.
void setMaterial(const Material& material);

// Aim line (when shown), trail (advanced here), then the model, all at the
// missile's position before this frame's flight step.
void drawMissile(Missile& missile);
