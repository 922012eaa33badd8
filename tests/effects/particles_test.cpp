// Particle emitters without a GL context: creation, the per-frame rules and
// the order of the random draws.
#include "core/random.h"
#include "effects/particles.h"

#include <gtest/gtest.h>

namespace {

// Starts every test from the generator's first value; its sequence from
// state 1 is 16838, 5758, 10113, 17515, 31051, 5627, 23010, 7419, ...
class ParticlesTest : public ::testing::Test {
protected:
    void SetUp() override { saved_ = randomState(); setRandomState(1); }
    void TearDown() override { setRandomState(saved_); }
    std::uint32_t saved_ = 1;
};

// ---- creation --------------------------------------------------------------

TEST_F(ParticlesTest, CreationDrawsFadeThenVelocityXYZPerParticle)
{
    const Vec3 at{1, 2, 3};
    const Vec3 acceleration{0, 0, -100};
    const ParticleEmitter e(2, at, acceleration);

    ASSERT_EQ(e.particles.size(), 2u);
    EXPECT_EQ(e.position, at);
    // 16838 % 100 = 38; 5758 % 50 = 8, 10113 % 50 = 13, 17515 % 50 = 15
    const Particle& a = e.particles[0];
    EXPECT_FLOAT_EQ(a.fade, 0.0381f);
    EXPECT_EQ(a.velocity, (Vec3{-180, -120, -100}));
    EXPECT_FLOAT_EQ(a.life, 1.0f);
    EXPECT_EQ(a.position, at);
    EXPECT_EQ(a.acceleration, acceleration);
    EXPECT_FALSE(a.reborn);
    // 31051 % 100 = 51; 5627 % 50 = 27, 23010 % 50 = 10, 7419 % 50 = 19
    const Particle& b = e.particles[1];
    EXPECT_FLOAT_EQ(b.fade, 0.0511f);
    EXPECT_EQ(b.velocity, (Vec3{10, -150, -60}));
    EXPECT_EQ(gameRand(), 16212) << "eight draws, no more";
}

TEST_F(ParticlesTest, CountBelowOneLeavesTheEmitterEmptyWithoutDrawing)
{
    const ParticleEmitter none(0, Vec3{4, 5, 6}, Vec3{});
    const ParticleEmitter negative(-3, Vec3{}, Vec3{});
    EXPECT_TRUE(none.particles.empty());
    EXPECT_EQ(none.position, (Vec3{4, 5, 6}));
    EXPECT_TRUE(negative.particles.empty());
    EXPECT_EQ(gameRand(), 16838);
}

}  // namespace
