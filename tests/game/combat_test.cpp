// Shots, combat, the crash and the explosions, through the idle tick and the
// frame's list passes with recording drawers.
#include "fake_platform.h"

#include "game/combat.h"
#include "game/passes.h"

#include <cmath>
#include <tuple>

using CombatTest = GameTest;

static void addShot(const Vec3& at, const Vec3& direction = {})
{
    game.shots.push_back(Shot{0.5f, at, direction});
}

// A shot steps by 0.01 of its direction every frame, rounded to floats every
// frame, and is drawn after its step; at 800.0 or more from the origin it
// leaves, neighbours in the same frame.
TEST_F(CombatTest, ShotsStepInFloatsEveryFrameAndLeaveAtEightHundred)
{
    addShot({810, 0, 0}, {1000, 0, 0});    // to (800, 0, 0)
    addShot({480, 650, 0}, {0, 1000, 0});  // to (480, 640, 0): 800 too
    addShot({0, 0, std::nextafter(800.0f, 0.0f)});
    addShot({10, 20, 30}, {-3.3f, 1.7f, 33.3f});
    std::vector<Vec3> drawn;
    for (int frame = 0; frame < 100; ++frame)
        shotPass([&](const Shot& s) { drawn.push_back(s.position); });
    ASSERT_EQ(game.shots.size(), 2u);
    EXPECT_EQ(std::tuple(drawn[0], drawn[1], game.shots[0].position.z),
              std::tuple(Vec3{800, 0, 0}, Vec3{480, 640, 0}, std::nextafter(800.0f, 0.0f)));
    EXPECT_EQ(game.shots[1].position, (Vec3{13.2999992f, 18.2999802f, -3.3000133f}));  // not (13.3, 18.3, -3.3)
}

// A hit needs at most 5.5 between a shot and where a missile is; the missile
// in slot j is tested before the one that moves into it, and the shot flies
// on. After game over kills still score.
TEST_F(CombatTest, HitsAtUpToFiveAndAHalfNeighboursFirstToLast)
{
    addShot({0, 0, 0});
    addShot({100, 0, 0});
    for (Vec3 at : {Vec3{5.5f, 0, 0}, {0, -5.5f, 0}, {std::nextafter(5.5f, 6.0f), 0, 0}, {100, 0, 3}})
        game.missiles.emplace_back(Vec3{0, 0, 900}, nullptr).position = at;
    tickAt(51);
    EXPECT_EQ(output(), "Score: 5\nScore: 10\nScore: 15\n");
    ASSERT_EQ(std::tuple(game.explosions.size(), game.missiles.size(), game.shots.size()), std::tuple(3u, 1u, 2u));
    const ParticleEmitter* e = game.explosions.data();
    EXPECT_EQ(std::tuple(e[0].position, e[1].position, e[2].position),
              std::tuple(Vec3{5.5f, 0, 0}, Vec3{0, -5.5f, 0}, Vec3{100, 0, 3}));
}

// The eye within 25.5 of the planet's centre empties the population; the
// frame's colour change comes first.
TEST_F(CombatTest, CrashAtExactlyTwentyFiveAndAHalf)
{
    game.population = 60;
    std::vector<int> populationAtCall;
    const auto record = [&] { populationAtCall.push_back(game.population); };
    game.camera.eye = {-50, 50, std::nextafter(75.5f, 80.0f)};
    EXPECT_FALSE(checkPlanetCrash(record));
    game.camera.eye = {-50, 50, 75.5f};
    EXPECT_TRUE(checkPlanetCrash(record));
    EXPECT_EQ(std::tuple(populationAtCall, game.population), std::tuple(std::vector<int>{60}, 0));
}

// Each explosion is drawn once a frame and leaves in the frame its last
// particle goes, neighbours too, an empty one after its first frame.
TEST_F(CombatTest, ExplosionsLeaveInTheFrameTheirParticlesRunOut)
{
    for (int count : {1, 1, 2, 0, 3})
        game.explosions.emplace_back().particles.resize(count);
    std::vector<std::size_t> drawn;
    for (int frame = 0; frame < 2; ++frame)
        updateExplosions([&](ParticleEmitter& e) {
            drawn.push_back(e.particles.size());
            e.particles.resize(e.particles.size() - (e.particles.empty() ? 0 : 1));
        });
    EXPECT_EQ(drawn, (std::vector<std::size_t>{1, 1, 2, 0, 3, 1, 2}));
    EXPECT_EQ(game.explosions.size(), 1u);
}
