// Missiles: spawned far out, they fly straight at the planet's centre.
#pragma once

#include "core/vec3.h"
#include "game/planet.h"
#include "records/particles.h"

#include <cstddef>
#include <memory>

// ---- types -----------------------------------------------------------------

// Every missile made gets the next one; moves keep it. It follows a missile
// while the list closes up around it, and is no part of the game's state.
int newMissileId();

struct Missile {
    int   id = newMissileId();
    Vec3  start;                              // spawn point; never changes
    float lastStepTime = 0;                   // ms, clock at the last flight step
    float progress = 0;                       // path parameter, 0 at start, 1 at the target
    std::unique_ptr<ParticleEmitter> trail;   // the missile's own smoke trail
    Vec3  target = kPlanetCentre;             // the planet's centre
    float radius = 5.0f;                      // collision radius for shots
    Vec3  position;                           // start + progress * direction, one step behind
    Vec3  direction;                          // target - start, not normalised

    Missile() = default;
    Missile(const Vec3& spawnPoint, std::unique_ptr<ParticleEmitter> smokeTrail);
};

// ---- functions -------------------------------------------------------------

// A point on the spawn ellipsoid about the origin (825 across, 800 along z).
Vec3 randomSpawnPoint();

// Spawn timer, run on every idle tick.
void spawnTick();

// One flight step, at most one per more than 10 ms of clock.
void advanceMissile(Missile& missile);

// Missile i against the planet after its flight step. Returns true when it
// exploded and left the list (the next missile now sits at i).
bool checkPlanetImpact(std::size_t i);

// Appends an explosion at missile i and removes missile i with its trail.
void explodeMissile(std::size_t i);
