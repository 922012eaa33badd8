#include "records/particles.h"

#include "core/random.h"

// x is offset by 26, y and z by 25: the spread leans slightly toward -x.
Vec3 randomVelocity(int (*random)())
{
    Vec3 v;
    const int rx = random();
    v.x = static_cast<float>((rx % 50 - 26) * 10);
    const int ry = random();
    v.y = static_cast<float>((ry % 50 - 25) * 10);
    const int rz = random();
    v.z = static_cast<float>((rz % 50 - 25) * 10);
    return v;
}

float randomFade(int (*random)(), float base)
{
    const int r = random();
    return static_cast<float>(r % 100) / 1000.0f + base;
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
        p.fade = randomFade(gameRand, 0.0001f);
        p.velocity = randomVelocity(gameRand);
        p.position = at;
        p.acceleration = acceleration;
        particles.push_back(p);
    }
}
