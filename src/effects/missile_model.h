// The missile model (aim line, trail, lit tube with nose and fins) and the
// orientation both it and the shot sprite use.
#pragma once

#include "core/vec3.h"

struct Missile;

// ---- functions -------------------------------------------------------------

// Scales v in place to unit length.
void normalize(Vec3& v);

// Multiplies the current matrix by the turn that points model -z along d
// (scaling by |a| = sqrt(d.x^2 + d.z^2) across and |a|^2 along).
void faceToward(Vec3 d);

// Aim line (when shown), trail (advanced here), then the model, all at the
// missile's position before this frame's flight step.
void drawMissile(Missile& missile);
