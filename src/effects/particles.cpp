#include "effects/particles.h"

#include "assets/textures.h"

// ---- state -----------------------------------------------------------------

const ParticleKind kExplosionParticles = {
    .firstSlot = TEX_BLAST_0,
    .slotCount = 3,
    .halfSize = 0.9f,
    .divisor = 6000.0f,
    .rebirthLife = 1.0f,
    .rebirthFade = 0.001f,
    .diesAfterRebirth = true,
    .rebirthAtEmitter = true,
};

const ParticleKind kTrailParticles = {
    .firstSlot = TEX_TRAIL_0,
    .slotCount = 4,
    .halfSize = 0.5f,
    .divisor = 200000.0f,
    .rebirthLife = 2.0f,
    .rebirthFade = 0.00001f,
    .diesAfterRebirth = false,
    .rebirthAtEmitter = false,
};

// ---- per frame -------------------------------------------------------------

static void rebirth(Particle& p, const ParticleKind& kind, const Vec3& at, int (*random)())
{
    p.reborn = true;
    p.life = kind.rebirthLife;
    p.fade = randomFade(random, kind.rebirthFade);
    p.position = at;
    p.velocity = randomVelocity(random);
}

// Returns false when the particle's last life is over.
static bool advanceParticle(Particle& p, const ParticleKind& kind, const Vec3& at, int (*random)())
{
    p.position.x += p.velocity.x / kind.divisor;
    p.position.y += p.velocity.y / kind.divisor;
    p.position.z += p.velocity.z / kind.divisor;
    p.velocity = p.velocity + p.acceleration;
    p.life -= p.fade;
    if (p.life < 0.0f) {  // exactly 0 still lives
        if (p.reborn && kind.diesAfterRebirth) {
            return false;
        }
        rebirth(p, kind, at, random);
    }
    return true;
}

// Survivors slide down over the removed in the same walk, so removing many
// particles costs one pass, not one shift of the list per removal.
void stepParticles(ParticleEmitter& emitter, const ParticleKind& kind, const Vec3& missileAt,
                   std::vector<ParticleSprite>& drawn, int (*random)())
{
    const Vec3 rebirthAt = kind.rebirthAtEmitter ? emitter.position : missileAt;
    std::vector<Particle>& list = emitter.particles;
    std::size_t kept = 0;
    for (std::size_t i = 0; i < list.size(); i++) {
        Particle& p = list[i];
        const int r = random();
        drawn.push_back({kind.firstSlot + static_cast<unsigned>(r % kind.slotCount), p.position});
        if (!advanceParticle(p, kind, rebirthAt, random)) {
            continue;
        }
        if (kept != i) {
            list[kept] = p;
        }
        kept++;
    }
    list.resize(kept);
}
