// The particle records: an emitter is a point and the particles it owns.
// The rules that move them and the drawing live in effects/.
#pragma once

#include "core/vec3.h"

#include <vector>

// ---- types -----------------------------------------------------------------

struct Particle {
    float life = 1.0f;   // remaining life; 1 at creation, less fade every frame
    float fade = 0;      // life lost per frame
    Vec3  position;      // world units
    Vec3  velocity;      // per frame the position moves by velocity / the kind's divisor
    Vec3  acceleration;  // added to velocity every frame
    bool  reborn = false;
};

struct ParticleEmitter {
    Vec3                  position;   // fixed at creation
    std::vector<Particle> particles;  // live particles, in order

    ParticleEmitter() = default;
    // count particles at position, each drawing its fade, then its velocity
    // x, y, z; fewer than one leaves the emitter empty.
    ParticleEmitter(int count, const Vec3& position, const Vec3& acceleration);
};

// ---- functions -------------------------------------------------------------

// The random parts of a new life, drawn from `random` in this order.
float randomFade(int (*random)(), float base);  // (r mod 100) / 1000 + base
Vec3  randomVelocity(int (*random)());          // x, then y, then z
