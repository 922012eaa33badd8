// Particle emitters without GL: creation from the shared generator, and one
// frame's rules with a scripted random source and the drawn sprites recorded.
#include "effects/particles.h"
#include "fake_platform.h"

#include <tuple>

namespace {

using ParticlesTest = GameTest;

std::vector<int> script;  // the values a frame draws, in order
std::size_t scriptNext = 0;

int scripted() { return scriptNext < script.size() ? script[scriptNext++] : 0; }

// 16838 mod 100 = 38; 5758 mod 50 = 8, 10113 mod 50 = 13, 17515 mod 50 = 15.
TEST_F(ParticlesTest, CreationDrawsFadeThenVelocityXYZForEachParticle)
{
    EXPECT_TRUE(ParticleEmitter(-3, Vec3{}, Vec3{}).particles.empty());
    const ParticleEmitter e(2, Vec3{1, 2, 3}, Vec3{0, 0, -100});
    ASSERT_EQ(e.particles.size(), 2u);
    const Particle& a = e.particles[0];
    EXPECT_EQ(std::tuple(a.life, a.fade, a.reborn, a.velocity, a.position, a.acceleration),
              std::tuple(1.0f, 0.038f + 0.0001f, false, Vec3{-180, -120, -100}, Vec3{1, 2, 3}, Vec3{0, 0, -100}));
    EXPECT_EQ(gameRand(), 16212) << "four draws for each particle, no more";
}

// Either kind draws a particle where it was, with an image of its set, then
// moves it by velocity over the kind's divisor and accelerates it. Below 0 a
// life ends (exactly 0 still lives): a first life makes way for a second, an
// explosion's at its own point with life 1, a trail's at the missile with
// life 2; the image's value comes first, then fade, x, y, z. A later life
// ending removes an explosion particle, neighbours too, in the frame that
// drew it; a trail particle is reborn for ever.
TEST_F(ParticlesTest, EachKindMovesAndIsRebornByItsOwnRules)
{
    using Kind = std::tuple<const ParticleKind*, unsigned, Vec3, Vec3, float, float, std::size_t>;
    for (auto [kind, slot, moved, rebornAt, life, fade, left] :
         {Kind{&kExplosionParticles, 13, {4, 6.2f, 7.1f}, {7, 8, 9}, 1.0f, 0.057f + 0.001f, 4},
          Kind{&kTrailParticles, 11, {4.97f, 6.006f, 7.003f}, {100, 200, 300}, 2.0f, 0.057f + 0.00001f, 6}}) {
        ParticleEmitter e;
        e.position = {7, 8, 9};
        e.particles = {{1, 0.25f, {5, 6, 7}, {-6000, 1200, 600}, {0, 0, -100}, false},
                       {0.01f, 0.02f, {}, {}, {0, -0.3f, 0}, false}, {0.01f, 0.02f, {}, {}, {}, true},
                       {0.01f, 0.02f, {}, {}, {}, true}, {0.5f, 0.5f, {}, {}, {}, false},
                       {0.5f, 0.5f, {}, {}, {}, true}};
        script = {7, 2, 57, 10, 20, 30};  // images 12 + 7 mod 3, 8 + 7 mod 4
        scriptNext = 0;
        std::vector<ParticleSprite> drawn;
        stepParticles(e, *kind, {100, 200, 300}, drawn, scripted);
        ASSERT_EQ(std::tuple(drawn.size(), e.particles.size()), std::tuple(6u, left));
        EXPECT_EQ(std::tuple(drawn[0].slot, drawn[0].center), std::tuple(slot, Vec3{5, 6, 7}));
        EXPECT_TRUE(vecNear(e.particles[0].position, moved, 1e-6f));
        EXPECT_EQ(std::tuple(e.particles[0].velocity.z, e.particles[0].life), std::tuple(500.0f, 0.75f));
        const Particle& p = e.particles[1];
        EXPECT_EQ(std::tuple(p.reborn, p.life, p.fade, p.position, p.velocity, p.acceleration),
                  std::tuple(true, life, fade, rebornAt, Vec3{-160, -50, 50}, Vec3{0, -0.3f, 0}));
        const Particle& q = e.particles[left - 2];
        EXPECT_EQ(std::tuple(q.life, q.reborn, e.particles[left - 1].life), std::tuple(0.0f, false, 0.0f));
    }
}

}  // namespace
