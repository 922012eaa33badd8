// The per-frame particle routine written out literally, one particle at a
// time and one erase per removal, as the reference the game's batched rules
// are compared against. `draw` is called with each particle's texture slot
// and centre before its move, just where the routine draws it.
#pragma once

#include "core/random.h"
#include "effects/particles.h"

#include <algorithm>
#include <cstddef>

template <typename Draw>
void referenceFrame(ParticleEmitter& e, bool explosion, const Vec3& at, Draw draw)
{
    const float divisor = explosion ? 6000.0f : 200000.0f;
    std::size_t i = 0;
    while (i < e.particles.size()) {
        Particle& p = e.particles[i];
        const int r = gameRand();
        draw(explosion ? 12u + unsigned(r % 3) : 8u + unsigned(r % 4), p.position);
        for (float Vec3::*axis : {&Vec3::x, &Vec3::y, &Vec3::z})
            p.position.*axis += p.velocity.*axis / divisor;
        p.velocity = p.velocity + p.acceleration;
        p.life -= p.fade;
        if (p.life < 0) {
            if (explosion && p.reborn) {
                e.particles.erase(e.particles.begin() + std::ptrdiff_t(i));
                continue;
            }
            p.reborn = true;
            p.life = explosion ? 1.0f : 2.0f;
            p.fade = float(gameRand() % 100) / 1000.0f + (explosion ? 0.001f : 0.00001f);
            p.position = explosion ? e.position : at;
            for (float Vec3::*axis : {&Vec3::x, &Vec3::y, &Vec3::z})  // one draw each, x first
                p.velocity.*axis = float((gameRand() % 50 - (axis == &Vec3::x ? 26 : 25)) * 10);
        }
        ++i;
    }
}

inline bool sameParticles(const ParticleEmitter& a, const ParticleEmitter& b)
{
    return std::equal(a.particles.begin(), a.particles.end(), b.particles.begin(), b.particles.end(),
                      [](const Particle& p, const Particle& q) {
                          return p.life == q.life && p.fade == q.fade && p.position == q.position &&
                                 p.velocity == q.velocity && p.acceleration == q.acceleration &&
                                 p.reborn == q.reborn;
                      });
}
