// The defended planet: where it is, how big it is drawn and hit, and its spin.
#pragma once

#include "core/vec3.h"

// ---- constants -------------------------------------------------------------

constexpr Vec3  kPlanetCentre{-50, 50, 50};  // every missile's target
constexpr float kPlanetRadius = 25;          // drawn radius and impact distance

// ---- types -----------------------------------------------------------------

struct Planet {
    float spin = 0;  // degrees about the vertical axis; never wrapped
};
