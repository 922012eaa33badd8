// Missiles: the spawn timer, the spawn ellipsoid, the flight step and the
// planet impact. Expected numbers are worked out by hand from the reference
// generator (state 1: 16838, 5758, 10113, ...).
#include "fake_platform.h"

#include "core/random.h"
#include "game/passes.h"

#include <cmath>
#include <type_traits>
#include <vector>

using MissileTest = GameTest;

namespace {

// The generator's n-th value from state 1, 1-based (worked out by hand):
// an emitter of n particles makes 4 n draws.
constexpr int kThirdDraw = 10113;
constexpr int kDraw3203 = 31445;   // after two spawn draws and an 800-particle trail
constexpr int kDraw6001 = 28311;   // after a 1500-particle explosion: loss 5 + 11

// The first spawn point: u = 2 * 16838 / 32767 - 1 = 0.0277413,
// phi = 5758 / 32767 * 2 pi = 1.10412 rad, s = sqrt(1 - u^2) = 0.999615.
const Vec3 kFirstSpawn{371.044f, 736.497f, 22.1931f};
const Vec3 kSecondSpawn{-744.314f, -164.076f, -306.186f};  // from 10113 and 17515

const Vec3 kTarget{-50, 50, 50};

void addMissile(const Vec3& start) { game.missiles.emplace_back(start, nullptr); }

void recordNothing(Missile&) {}

}  // namespace

// A trail is owned by exactly one missile: copying would free it twice.
static_assert(!std::is_copy_constructible_v<Missile>);
static_assert(std::is_nothrow_move_constructible_v<Missile>);

TEST_F(MissileTest, SpawnsOnlyWhenElapsedExceedsTheIntervalAsAFloat)
{
    game.spawnInterval = 500;

    tickAt(500);  // exactly the interval: nothing
    EXPECT_EQ(output(), "");
    EXPECT_TRUE(game.missiles.empty());
    EXPECT_EQ(game.spawnInterval, 500.0f);

    tickAt(501);
    EXPECT_EQ(output(), "Spawning Missile at: 371.044 736.497 22.1931\n");
    EXPECT_EQ(game.spawnInterval, 498.75f);
    EXPECT_EQ(game.lastSpawnTime, 501);
    ASSERT_EQ(game.missiles.size(), 1u);
    const Missile& m = game.missiles[0];
    EXPECT_TRUE(vecNear(m.start, kFirstSpawn, 1e-3f));
    EXPECT_EQ(m.position, m.start);
    EXPECT_EQ(m.direction, kTarget - m.start);
    ASSERT_NE(m.trail, nullptr);
    EXPECT_EQ(m.trail->position, m.start);
    EXPECT_EQ(m.trail->particles[0].acceleration, (Vec3{0, 0, -100}));
    EXPECT_EQ(gameRand(), kDraw3203);  // z, angle, then the trail's 3200 draws

    // 498 ms is not more than 498.75: an integer comparison would differ
    clearOutput();
    setRandomState(1);
    tickAt(501 + 498);
    EXPECT_EQ(output(), "");
    tickAt(501 + 499);
    EXPECT_EQ(output(), "Spawning Missile at: 371.044 736.497 22.1931\n");
    EXPECT_EQ(game.spawnInterval, 497.5f);

    // an interval below zero spawns even on a second tick in the same ms
    clearOutput();
    game.spawnInterval = -0.75f;
    tickAt(1000);
    EXPECT_NE(output(), "");
    EXPECT_EQ(game.spawnInterval, -2.0f);
}

TEST_F(MissileTest, SevenAliveStillWriteTheLineAndShrinkTheIntervalButMakeNothing)
{
    for (int i = 0; i < 7; ++i)
        addMissile({0, 0, 900.0f + i});
    game.spawnInterval = 100;
    game.spawnStep = 2;  // shrinks by 2 * 1.25

    game.currentTime = 101;
    spawnTick();

    EXPECT_EQ(output(), "Spawning Missile at: 371.044 736.497 22.1931\n");
    EXPECT_EQ(game.spawnInterval, 97.5f);
    EXPECT_EQ(game.lastSpawnTime, 101);
    EXPECT_EQ(game.missiles.size(), 7u);
    EXPECT_EQ(gameRand(), kThirdDraw);  // only the spawn point's two draws
}

// The first two points pin the order of draws: z before the angle
// (swapped, the first point would be (-625.584, -54.6593, -518.839)).
TEST_F(MissileTest, SpawnPointsLieOnTheSqueezedEllipsoid)
{
    EXPECT_TRUE(vecNear(randomSpawnPoint(), kFirstSpawn, 1e-3f));
    EXPECT_TRUE(vecNear(randomSpawnPoint(), kSecondSpawn, 1e-3f));
    for (int i = 0; i < 2000; ++i) {
        const Vec3 p = randomSpawnPoint();
        ASSERT_LE(std::fabs(p.z), 800.0f);
        const double u = p.z / 800.0;
        EXPECT_NEAR(double(p.x) * p.x + double(p.y) * p.y, 825.0 * 825.0 * (1 - u * u), 0.5);
    }
}

TEST_F(MissileTest, FlightStepsNeedMoreThanTenMillisecondsUseTheOldProgressAndStopPastOne)
{
    addMissile({950, 50, 50});  // direction (-1000, 0, 0)
    Missile& m = game.missiles[0];

    game.currentTime = 11;
    advanceMissile(m);  // the first step leaves it at its start
    EXPECT_EQ(m.position, (Vec3{950, 50, 50}));
    EXPECT_EQ(m.progress, 0.0005f);
    EXPECT_EQ(m.lastStepTime, 11.0f);

    game.currentTime = 21;
    advanceMissile(m);
    EXPECT_EQ(m.progress, 0.0005f);

    game.currentTime = 22;
    advanceMissile(m);
    EXPECT_EQ(m.position, (Vec3{949.5f, 50, 50}));
    EXPECT_EQ(m.progress, 0.001f);
    EXPECT_EQ(m.lastStepTime, 22.0f);

    // Progress at exactly one grows once more, then stops.
    m.progress = 1.0f;
    game.currentTime = 100;
    advanceMissile(m);
    EXPECT_EQ(m.position, kTarget);
    EXPECT_EQ(m.progress, 1.0005f);

    game.currentTime = 200;
    advanceMissile(m);
    const Vec3 beyond{950 - 1.0005f * 1000, 50, 50};
    EXPECT_EQ(m.position, beyond);
    game.currentTime = 300;
    advanceMissile(m);
    EXPECT_EQ(m.progress, 1.0005f);
    EXPECT_EQ(m.position, beyond);
}

TEST_F(MissileTest, ImpactAtExactlyTwentyFiveExplodesAndChargesThePopulation)
{
    game.population = 100;
    game.currentTime = 11;
    addMissile({-50, 50, std::nextafter(75.0f, 100.0f)});  // just outside
    addMissile({-35, 70, 50});                             // 15-20-25: exactly 25

    missilePass(recordNothing);

    ASSERT_EQ(game.missiles.size(), 1u);
    EXPECT_EQ(game.missiles[0].start.z, std::nextafter(75.0f, 100.0f));
    ASSERT_EQ(game.explosions.size(), 1u);
    EXPECT_EQ(game.explosions[0].position, (Vec3{-35, 70, 50}));
    EXPECT_EQ(game.explosions[0].particles[0].acceleration, (Vec3{0, -0.3f, 0}));
    // the explosion's 6000 draws come before the population's
    EXPECT_EQ(game.population, 100 - (5 + kDraw6001 % 25));
    EXPECT_EQ(output(), "84% of the planet's population remains.\n");
}

TEST_F(MissileTest, NeighboursExplodeInOneFrameInListOrder)
{
    game.population = 100;
    game.currentTime = 11;
    addMissile({-50, 50, 75});
    addMissile({-50, 50, 25});
    addMissile({500, 0, 0});

    std::vector<Vec3> drawn;
    missilePass([&](Missile& m) { drawn.push_back(m.start); });

    EXPECT_EQ(drawn, (std::vector<Vec3>{{-50, 50, 75}, {-50, 50, 25}, {500, 0, 0}}));
    ASSERT_EQ(game.missiles.size(), 1u);
    EXPECT_EQ(game.missiles[0].start, (Vec3{500, 0, 0}));
    ASSERT_EQ(game.explosions.size(), 2u);
    EXPECT_EQ(game.explosions[0].position, (Vec3{-50, 50, 75}));
    EXPECT_EQ(game.explosions[1].position, (Vec3{-50, 50, 25}));
    // 100 - (5 + 28311 % 25) = 84, then 84 - (5 + 24679 % 25) = 75
    EXPECT_EQ(output(), "84% of the planet's population remains.\n75% of the planet's population remains.\n");
    EXPECT_EQ(game.population, 75);
}

TEST_F(MissileTest, PopulationStopsAtZero)
{
    game.population = 3;
    game.currentTime = 11;
    addMissile({-50, 50, 75});
    addMissile({-50, 50, 25});
    missilePass(recordNothing);
    EXPECT_EQ(output(), "0% of the planet's population remains.\n0% of the planet's population remains.\n");
    EXPECT_EQ(game.population, 0);
}

// Removing a missile slides the later ones down with their own trails.
TEST_F(MissileTest, ExplodingMovesTheLaterMissilesWithTheirTrails)
{
    std::vector<const ParticleEmitter*> trails;
    for (int i = 0; i < 7; ++i) {
        game.missiles.emplace_back(Vec3{0, 0, 900.0f + i}, std::make_unique<ParticleEmitter>());
        trails.push_back(game.missiles.back().trail.get());
    }
    game.missiles[1].position = {1, 2, 3};

    explodeMissile(1);

    ASSERT_EQ(game.missiles.size(), 6u);
    EXPECT_EQ(game.missiles[0].trail.get(), trails[0]);
    for (std::size_t i = 1; i < 6; ++i)
        EXPECT_EQ(game.missiles[i].trail.get(), trails[i + 1]);
    ASSERT_EQ(game.explosions.size(), 1u);
    EXPECT_EQ(game.explosions[0].position, (Vec3{1, 2, 3}));
}
