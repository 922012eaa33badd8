// Shots: fired from the eye along the view, they fly until 800 units out.
#pragma once

#include "core/vec3.h"

// ---- types -----------------------------------------------------------------

struct Shot {
    float radius = 0.5f;  // collision radius, world units
    Vec3  position;       // the eye at firing, then one step per frame
    Vec3  direction;      // the camera's back at firing; the shot flies against it
};

// ---- functions -------------------------------------------------------------

// Space bar during play: writes the "eye: " line and appends a shot.
void fireShot();

// One frame's flight step; no time check.
void advanceShot(Shot& shot);

// Whether the shot lies 800 or more units from the origin.
bool shotOutOfRange(const Shot& shot);
