// Particle emitters: the smoke trail behind every missile and the explosion
// where one is destroyed. Motion counts in displayed frames, not time.
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

// Draw every particle and advance it one frame. An explosion particle dies at
// the end of its second life; a trail particle is reborn at `at` for ever.
void drawExplosion(ParticleEmitter& emitter);
void drawTrail(ParticleEmitter& emitter, const Vec3& at);
