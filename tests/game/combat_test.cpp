// Shots, combat, the crash and the explosions, with the frame's list passes
// driven by recording lambdas instead of drawing.
#include "fake_platform.h"

#include "app/app.h"
#include "game/combat.h"
#include "game/passes.h"

#include <cmath>
#include <vector>

using CombatTest = GameTest;

namespace {

void addMissile(const Vec3& at)
{
    game.missiles.emplace_back(at, nullptr);
}

void addShot(const Vec3& at, const Vec3& direction = {})
{
    game.shots.push_back(Shot{0.5f, at, direction});
}

ParticleEmitter explosionWith(std::size_t particles, float x)
{
    ParticleEmitter e;
    e.position = {x, 0, 0};
    e.particles.resize(particles);
    return e;
}

}  // namespace

TEST_F(CombatTest, ShotFiredBeforeAnyMouseLookNeverMoves)
{
    game.camera = Camera(10, 20, 30, 0, 0, 0);  // back is still zero
    keyPressed(' ', 0, 0);
    EXPECT_EQ(output(), "eye: 10 20 30 0 0 0\n");

    for (int frame = 0; frame < 100; ++frame)
        shotPass([](const Shot&) {});

    ASSERT_EQ(game.shots.size(), 1u);
    EXPECT_EQ(game.shots[0].position, (Vec3{10, 20, 30}));
}

// Shots move before they are drawn, and leave at 800.0 or more from the
// origin; neighbours leaving in one frame both go in that frame.
TEST_F(CombatTest, ShotPassMovesDrawsAndDropsShotsAtEightHundred)
{
    const float justInside = std::nextafter(800.0f, 0.0f);
    addShot({810, 0, 0}, {1000, 0, 0});    // to (800, 0, 0)
    addShot({480, 650, 0}, {0, 1000, 0});  // to (480, 640, 0): also exactly 800
    addShot({0, 0, justInside});
    addShot({1, 2, 3}, {-100, 0, 0});      // to (2, 2, 3)

    std::vector<Vec3> drawn;
    shotPass([&](const Shot& s) { drawn.push_back(s.position); });

    EXPECT_EQ(drawn, (std::vector<Vec3>{{800, 0, 0}, {480, 640, 0}, {0, 0, justInside}, {2, 2, 3}}));
    ASSERT_EQ(game.shots.size(), 2u);
    EXPECT_EQ(game.shots[0].position, (Vec3{0, 0, justInside}));
    EXPECT_EQ(game.shots[1].position, (Vec3{2, 2, 3}));
    EXPECT_EQ(game.shots[1].direction, (Vec3{-100, 0, 0}));
}

// Missiles are drawn where the previous step left them, then stepped.
TEST_F(CombatTest, MissilePassDrawsBeforeTheStep)
{
    addMissile({950, 50, 50});
    game.missiles[0].progress = 0.5f;
    game.currentTime = 11;

    std::vector<Vec3> drawn;
    missilePass([&](Missile& m) { drawn.push_back(m.position); });

    EXPECT_EQ(drawn, (std::vector<Vec3>{{950, 50, 50}}));
    EXPECT_EQ(game.missiles[0].position, (Vec3{450, 50, 50}));
}

TEST_F(CombatTest, HitAtExactlyTheRadiiSumAndNeighboursBothFall)
{
    game.population = 0;  // after game over kills still count
    addShot({0, 0, 0});
    addMissile({5.5f, 0, 0});
    addMissile({0, -5.5f, 0});
    addMissile({std::nextafter(5.5f, 6.0f), 0, 0});
    addShot({100, 0, 0});
    addMissile({100, 0, 3});

    tickAt(51);  // the first combat update

    EXPECT_EQ(output(), "Score: 5\nScore: 10\nScore: 15\n");
    EXPECT_EQ(game.score, 15);
    ASSERT_EQ(game.missiles.size(), 1u);
    EXPECT_EQ(game.missiles[0].position.x, std::nextafter(5.5f, 6.0f));
    ASSERT_EQ(game.explosions.size(), 3u);
    EXPECT_EQ(game.explosions[0].position, (Vec3{5.5f, 0, 0}));
    EXPECT_EQ(game.explosions[1].position, (Vec3{0, -5.5f, 0}));
    EXPECT_EQ(game.explosions[2].position, (Vec3{100, 0, 3}));
    EXPECT_EQ(game.shots.size(), 2u);  // shots fly on

    clearOutput();
    tickAt(101);  // exactly 50 ms later: no update
    game.shots[1].position = game.missiles[0].position;
    tickAt(102);
    EXPECT_EQ(output(), "Score: 20\n");
    EXPECT_TRUE(game.missiles.empty());
}

TEST_F(CombatTest, CrashAtExactlyTwentyFiveAndAHalfCallsTheFrameFirst)
{
    game.population = 60;
    std::vector<int> populationAtCall;
    const auto record = [&] { populationAtCall.push_back(game.population); };

    game.camera = Camera(-50, 50, std::nextafter(75.5f, 80.0f), 0, 0, 0);
    EXPECT_FALSE(checkPlanetCrash(record));
    EXPECT_EQ(game.population, 60);

    game.camera = Camera(-50, 50, 75.5f, 0, 0, 0);
    EXPECT_TRUE(checkPlanetCrash(record));
    EXPECT_EQ(populationAtCall, std::vector<int>{60});
    EXPECT_EQ(game.population, 0);
    EXPECT_EQ(output(), "");
}

// Each explosion is drawn once per frame; those left without particles go
// in that frame, neighbours included, and an empty one after its first frame.
TEST_F(CombatTest, ExplosionsRetireInTheFrameTheirParticlesRunOut)
{
    game.explosions.push_back(explosionWith(1, 0));
    game.explosions.push_back(explosionWith(1, 1));
    game.explosions.push_back(explosionWith(2, 2));
    game.explosions.push_back(explosionWith(0, 3));
    game.explosions.push_back(explosionWith(3, 4));

    std::vector<float> drawn;
    const auto burnOne = [&](ParticleEmitter& e) {
        drawn.push_back(e.position.x);
        if (!e.particles.empty())
            e.particles.pop_back();
    };
    updateExplosions(burnOne);

    EXPECT_EQ(drawn, (std::vector<float>{0, 1, 2, 3, 4}));
    ASSERT_EQ(game.explosions.size(), 2u);
    EXPECT_EQ(game.explosions[0].position.x, 2.0f);
    EXPECT_EQ(game.explosions[0].particles.size(), 1u);
    EXPECT_EQ(game.explosions[1].position.x, 4.0f);
    EXPECT_EQ(game.explosions[1].particles.size(), 2u);

    updateExplosions(burnOne);
    ASSERT_EQ(game.explosions.size(), 1u);
    EXPECT_EQ(game.explosions[0].position.x, 4.0f);
}
