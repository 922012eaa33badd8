#include "effects/particles.h"

#include "core/random.h"

// ---- creation --------------------------------------------------------------

// x is offset by 26, y and z by 25: the spread leans slightly toward -x.
static Vec3 randomVelocity()
{
    Vec3 v;
    const int rx = gameRand();
    v.x = static_cast<float>((rx % 50 - 26) * 10);
    const int ry = gameRand();
    v.y = static_cast<float>((ry % 50 - 25) * 10);
    const int rz = gameRand();
    v.z = static_cast<float>((rz % 50 - 25) * 10);
    return v;
}

ParticleEmitter::ParticleEmitter(int count, const Vec3& at, const Vec3& acceleration)
    : position(at)
{
    if (count < 1) {
        return;
    }
    particles.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; i++) {
        Particle p;
        const int r = gameRand();
        p.fade = static_cast<float>(r % 100) / 1000.0f + 0.0001f;
        p.velocity = randomVelocity();
        p.position = at;
        p.acceleration = acceleration;
        particles.push_back(p);
    }
}

// ---- per frame -------------------------------------------------------------

// Placeholder bodies: the per-frame rules and their drawing are being written.
void drawExplosion(ParticleEmitter& emitter) { emitter.particles.clear(); }

void drawTrail(ParticleEmitter&, const Vec3&) {}
