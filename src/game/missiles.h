// Missiles: spawned far out, they fly straight at the planet's centre.
#pragma once

#include "effects/particles.h"
#include "game/vec3.h"

#include <memory>

// ---- types -----------------------------------------------------------------

struct Missile {
    Vec3  start;                              // spawn point; never changes
    float lastStepTime = 0;                   // ms, clock at the last flight step
    float progress = 0;                       // path parameter, 0 at start, 1 at the target
    std::unique_ptr<ParticleEmitter> trail;   // the missile's own smoke trail
    Vec3  target{-50, 50, 50};                // the planet's centre
    float radius = 5.0f;                      // collision radius for shots
    Vec3  position;                           // start + progress * direction, one step behind
    Vec3  direction;                          // target - start, not normalised
};

// ---- functions -------------------------------------------------------------

// Spawn timer, run on every idle tick.
void spawnTick();
