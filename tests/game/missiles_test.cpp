// Missiles through their callers: the spawn timer in the idle tick, the
// flight step and the planet impact in the frame's missile pass. Expected
// numbers come from the reference generator (state 1: 16838, 5758, ...).
#include "fake_platform.h"

#include "game/passes.h"

#include <cmath>
#include <tuple>

using MissileTest = GameTest;

namespace {

// A missile whose last step left it at `at`, away from its start.
void addMissile(const Vec3& start, float progress, const Vec3& at)
{
    Missile& m = game.missiles.emplace_back(start, nullptr);
    m.progress = progress;
    m.position = at;
}

}  // namespace

// The z draw comes before the angle's; the new missile and its trail sit at
// the spawn point, the missile aimed at the planet's centre.
TEST_F(MissileTest, SpawnsWhenElapsedExceedsTheIntervalAsAFloat)
{
    newGame();    // the title screen's 500 ms
    tickAt(500);  // exactly the interval: nothing
    EXPECT_EQ(output(), "");
    tickAt(501);
    EXPECT_EQ(output(), "Spawning Missile at: 371.044 736.497 22.1931\n");
    ASSERT_EQ(game.missiles.size(), 1u);
    const Missile& m = game.missiles[0];
    EXPECT_EQ(std::tuple(m.position, m.direction, m.trail->position, m.trail->particles[0].acceleration),
              std::tuple(m.start, Vec3{-50 - m.start.x, 50 - m.start.y, 50 - m.start.z}, m.start, Vec3{0, 0, -100}));
    tickAt(501 + 498);  // 498 ms is not more than the 498.75 the interval shrank to
    tickAt(501 + 499);
    game.spawnInterval = -0.75f;  // below zero: due even in the same millisecond
    tickAt(501 + 499);
    EXPECT_EQ(game.missiles.size(), 3u);
}

// Combat runs before the spawn timer in one tick, so a kill frees the
// seventh place for the spawn. With seven alive a due spawn still writes its
// line and shrinks the interval, but makes neither a trail nor a missile.
TEST_F(MissileTest, AtMostSevenAliveCountedAfterTheTicksCombat)
{
    for (int i = 0; i < 7; ++i)
        addMissile({0, 0, 900.0f + i}, 0, {0, 0, 900.0f + i});
    game.missiles[3].position = {10, 20, 30};              // hit where it is, not at its start
    game.shots.push_back(Shot{0.5f, {10, 20, 35.5f}, {}});  // exactly 5.5 away
    game.spawnInterval = 100;
    game.spawnStep = 2;  // shrinks by 2 x 1.25

    tickAt(101);  // the explosion's 6000 draws come before the spawn point's
    EXPECT_EQ(std::tuple(output(), game.missiles.size()),
              std::tuple("Score: 5\nSpawning Missile at: -276.445 -493.421 582.415\n", 7u));
    clearOutput();
    tickAt(199);
    EXPECT_EQ(std::tuple(output(), game.missiles.size(), game.spawnInterval, gameRand()),
              std::tuple("Spawning Missile at: -528.235 -553.467 -299.301\n", 7u, 95.0f, 20977));
}

// Each step needs more than 10 ms and puts the missile where the progress
// before it says; the progress adds 0.0005 rounded to a float every step,
// and stops growing once above 1 (at exactly 1 it grows once more).
TEST_F(MissileTest, FlightStepsAccumulateProgressInFloats)
{
    Missile& m = game.missiles.emplace_back(Vec3{950, 50, 50}, nullptr);  // direction (-1000, 0, 0)
    for (int step = 1; step <= 2000; ++step) {
        game.currentTime = 20 * step - 10;
        advanceMissile(m);  // 10 ms after the last step: nothing
        game.currentTime = 20 * step;
        advanceMissile(m);
    }
    // 1.0000187, not 2000 x 0.0005; the position from 0.9995187, the progress before the step
    EXPECT_EQ(std::tuple(m.progress, m.position.x), std::tuple(0x1.00013ap+0f, -49.5186768f));

    m.progress = 1.0f;
    for (int step = 1; step <= 3; ++step) {
        game.currentTime += 11;
        advanceMissile(m);
    }
    EXPECT_EQ(std::tuple(m.progress, m.position), std::tuple(1.0005f, Vec3{950 - 1.0005f * 1000, 50, 50}));
}

// Impacts are measured from where this frame's step put the missile, after
// it was drawn where the last step left it: exactly 25 from the centre is an
// impact. Neighbours strike in one frame in list order; the rules run on the
// title screen, each explosion's 6000 draws come before its population loss,
// and the population stops at 0 but still reports.
TEST_F(MissileTest, ImpactsAtUpToTwentyFiveAfterTheStepInListOrder)
{
    newGame();
    game.population = 20;
    game.currentTime = 11;
    addMissile({50, 50, 50}, std::nextafter(0.75f, 0.0f), {1, 2, 3});  // steps to 25.000006 from the centre
    addMissile({50, 50, 50}, 0.75f, {4, 5, 6});                         // steps to (-25, 50, 50)
    addMissile({-50, 50, 75}, 0, {7, 8, 9});
    addMissile({-50, 50, 60}, 0, {0, 1, 2});

    std::vector<Vec3> drawn;
    missilePass([&](Missile& m) { drawn.push_back(m.position); });
    EXPECT_EQ(drawn, (std::vector<Vec3>{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {0, 1, 2}}));
    EXPECT_EQ(output(), "4% of the planet's population remains.\n0% of the planet's population remains.\n"
                        "0% of the planet's population remains.\n");  // losses 5 + 28311 mod 25, then 9 and 16
    ASSERT_EQ(std::tuple(game.population, game.missiles.size(), game.explosions.size()), std::tuple(0, 1u, 3u));
    const ParticleEmitter* e = game.explosions.data();
    EXPECT_EQ(std::tuple(e[0].position, e[1].position, e[2].position, e[0].particles[0].acceleration),
              std::tuple(Vec3{-25, 50, 50}, Vec3{-50, 50, 75}, Vec3{-50, 50, 60}, Vec3{0, -0.3f, 0}));
}
