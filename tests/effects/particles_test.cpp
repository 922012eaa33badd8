// Particle emitters without a GL context: creation, the per-frame rules and
// the order of the random draws.
#include "core/random.h"
#include "effects/particles.h"
#include "fake_platform.h"
#include "particle_reference.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

using ParticlesTest = RandomFromOne;

// ---- creation --------------------------------------------------------------

TEST_F(ParticlesTest, CreationDrawsFadeThenVelocityXYZPerParticle)
{
    const Vec3 at{1, 2, 3};
    const Vec3 acceleration{0, 0, -100};
    const ParticleEmitter e(2, at, acceleration);

    ASSERT_EQ(e.particles.size(), 2u);
    // 16838 % 100 = 38; 5758 % 50 = 8, 10113 % 50 = 13, 17515 % 50 = 15
    const Particle& a = e.particles[0];
    EXPECT_FLOAT_EQ(a.fade, 0.0381f);
    EXPECT_EQ(a.velocity, (Vec3{-180, -120, -100}));
    EXPECT_FLOAT_EQ(a.life, 1.0f);
    EXPECT_EQ(a.position, at);
    EXPECT_EQ(a.acceleration, acceleration);
    EXPECT_FALSE(a.reborn);
    EXPECT_EQ(gameRand(), 16212) << "four draws for each particle, no more";
}

// ---- the rules of one frame ------------------------------------------------

// A scripted random source for the rules: hands out the listed values in
// order and counts the draws.
std::vector<int> script;
std::size_t scriptNext = 0;

int scripted()
{
    return scriptNext < script.size() ? script[scriptNext++] : 0;
}

void runScript(std::vector<int> values)
{
    script = std::move(values);
    scriptNext = 0;
}

Particle particle(float life, float fade, bool reborn, Vec3 position = {}, Vec3 velocity = {},
                  Vec3 acceleration = {})
{
    Particle p;
    p.life = life;
    p.fade = fade;
    p.reborn = reborn;
    p.position = position;
    p.velocity = velocity;
    p.acceleration = acceleration;
    return p;
}

std::vector<ParticleSprite> step(ParticleEmitter& e, const ParticleKind& kind, const Vec3& at = {})
{
    std::vector<ParticleSprite> drawn;
    stepParticles(e, kind, at, drawn, scripted);
    return drawn;
}

TEST_F(ParticlesTest, EmptyEmitterDrawsNeitherARandomValueNorASprite)
{
    ParticleEmitter none(0, Vec3{4, 5, 6}, Vec3{});
    const ParticleEmitter negative(-3, Vec3{}, Vec3{});
    EXPECT_TRUE(none.particles.empty() && negative.particles.empty());
    EXPECT_EQ(none.position, (Vec3{4, 5, 6}));
    std::vector<ParticleSprite> drawn;
    stepParticles(none, kExplosionParticles, Vec3{}, drawn);
    stepParticles(none, kTrailParticles, Vec3{}, drawn);
    EXPECT_TRUE(drawn.empty());
    EXPECT_EQ(gameRand(), 16838);
}

// The explosion's own rules are pinned against the literal routine below;
// the trail divides by 200000 and picks among its four images.
TEST_F(ParticlesTest, TrailMovesByVelocityOverItsDivisorThenAccelerates)
{
    ParticleEmitter trail;
    trail.particles = {particle(1, 0.25f, false, {0, 0, 0}, {-2000, 400, 100}, {0, 0, -100})};
    runScript({7});
    EXPECT_EQ(step(trail, kTrailParticles)[0].slot, 11u);  // 8 + 7 mod 4
    EXPECT_TRUE(vecNear(trail.particles[0].position, {-0.01f, 0.002f, 0.0005f}, 1e-8f));
    EXPECT_FLOAT_EQ(trail.particles[0].velocity.z, 0.0f);
}

TEST_F(ParticlesTest, LifeOfExactlyZeroIsNotReborn)
{
    ParticleEmitter e;
    e.particles = {particle(0.5f, 0.5f, false)};
    runScript({0});
    step(e, kExplosionParticles);
    ASSERT_EQ(e.particles.size(), 1u);
    EXPECT_EQ(e.particles[0].life, 0.0f);
    EXPECT_FALSE(e.particles[0].reborn);
    EXPECT_EQ(scriptNext, 1u) << "only the texture was drawn";

    e.particles[0] = particle(0.5f, 0.5f, true);  // a second life goes on at 0.0 too
    runScript({0});
    step(e, kExplosionParticles);
    EXPECT_EQ(e.particles.size(), 1u);
}

// Per particle: the texture's value, then on rebirth fade, x, y, z.
TEST_F(ParticlesTest, RebirthDrawsFadeThenVelocityAfterTheTexture)
{
    const Vec3 origin{7, 8, 9};
    ParticleEmitter e;
    e.position = origin;
    e.particles = {particle(0.01f, 0.02f, false, {1, 1, 1}, {}, {0, -0.3f, 0}),
                   particle(1, 0.1f, false), particle(0.01f, 0.02f, false)};
    runScript({2, 57, 10, 20, 30, 1, 0, 99, 49, 0, 0});
    const auto drawn = step(e, kExplosionParticles, Vec3{100, 100, 100});

    ASSERT_EQ(drawn.size(), 3u);
    EXPECT_EQ(drawn[0].slot, 14u);
    EXPECT_EQ(drawn[1].slot, 13u);
    EXPECT_EQ(drawn[2].slot, 12u);
    const Particle& a = e.particles[0];
    EXPECT_TRUE(a.reborn);
    EXPECT_FLOAT_EQ(a.fade, 0.058f);
    EXPECT_EQ(a.velocity, (Vec3{-160, -50, 50}));
    EXPECT_EQ(a.life, 1.0f);
    EXPECT_EQ(a.position, origin) << "explosions are reborn at their own point";
    EXPECT_EQ(a.acceleration, (Vec3{0, -0.3f, 0}));
    EXPECT_FALSE(e.particles[1].reborn);
    EXPECT_FLOAT_EQ(e.particles[2].fade, 0.1f);
    EXPECT_EQ(e.particles[2].velocity, (Vec3{230, -250, -250}));
    EXPECT_EQ(scriptNext, 11u);

    ParticleEmitter trail;
    trail.position = origin;
    trail.particles = {particle(0.01f, 0.02f, true)};
    runScript({3, 57, 10, 20, 30});
    const auto trailDrawn = step(trail, kTrailParticles, Vec3{100, 200, 300});
    EXPECT_EQ(trailDrawn[0].slot, 11u);
    ASSERT_EQ(trail.particles.size(), 1u) << "trail particles are reborn for ever";
    EXPECT_FLOAT_EQ(trail.particles[0].fade, 0.05701f);
    EXPECT_EQ(trail.particles[0].life, 2.0f);
    EXPECT_EQ(trail.particles[0].position, (Vec3{100, 200, 300})) << "reborn at the missile";
    EXPECT_EQ(trail.particles[0].velocity, (Vec3{-160, -50, 50}));
}

// ---- whole emitters from the shared generator ------------------------------

TEST_F(ParticlesTest, TrailKeepsItsEightHundredParticlesFollowingTheMissile)
{
    ParticleEmitter trail(800, Vec3{0, 0, 800}, Vec3{0, 0, -100});
    std::vector<ParticleSprite> drawn;
    Vec3 missile{0, 0, 800};
    for (int frame = 0; frame < 300; ++frame) {
        drawn.clear();
        stepParticles(trail, kTrailParticles, missile, drawn);
        ASSERT_EQ(drawn.size(), 800u);
        ASSERT_EQ(trail.particles.size(), 800u);
        missile.z -= 1;
    }
    int reborn = 0;
    for (const Particle& p : trail.particles)
        reborn += p.reborn;
    EXPECT_GT(reborn, 400) << "fades of 0.0001 to 0.0991: most lives end within 300 frames";
}

// One explosion to its end against the literal routine that erases one
// particle at a time: the same particles, sprites and random draws each frame.
TEST_F(ParticlesTest, ExplosionBurnsOutExactlyAsErasingOneAtATime)
{
    ParticleEmitter batched(1500, Vec3{10, 20, 30}, Vec3{0, -0.3f, 0});
    ParticleEmitter literal = batched;
    std::vector<ParticleSprite> drawn, expected;
    int frames = 0;
    while (!batched.particles.empty() && frames < 20000) {
        const std::uint32_t before = randomState();
        drawn.clear();
        stepParticles(batched, kExplosionParticles, Vec3{}, drawn);
        const std::uint32_t after = randomState();
        setRandomState(before);
        expected.clear();
        referenceFrame(literal, true, Vec3{}, [&](unsigned slot, const Vec3& c) { expected.push_back({slot, c}); });
        ASSERT_EQ(randomState(), after) << "frame " << frames;
        ASSERT_TRUE(sameParticles(batched, literal)) << "frame " << frames;
        ASSERT_EQ(drawn.size(), expected.size());
        for (std::size_t i = 0; i < drawn.size(); ++i)
            ASSERT_TRUE(drawn[i].slot == expected[i].slot && drawn[i].center == expected[i].center);
        ++frames;
    }
    EXPECT_TRUE(batched.particles.empty());
    EXPECT_GT(frames, 100);
}

}  // namespace
