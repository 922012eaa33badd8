#include "fake_platform.h"

#include <cmath>

using StateTest = GameTest;

static float distanceFromOrigin(const Vec3& v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }

TEST_F(StateTest, NewGameShowsTheTitleAndKeepsEverythingElse)
{
    game.score = 35;
    game.population = 42;
    game.flightSpeed = 0.0005f;
    game.yaw = 12;
    game.pitch = -7;
    game.spawnStep = 3;
    game.lastSpawnTime = 9000;
    game.shots.push_back(Shot{});
    game.explosions.push_back(ParticleEmitter{});
    game.missiles.push_back(Missile{});

    newGame();

    EXPECT_TRUE(game.titleScreen);
    EXPECT_EQ(game.spawnInterval, 500.0f);
    EXPECT_EQ(game.camera.eye, (Vec3{-271, 102, 406.7f}));
    EXPECT_EQ(game.camera.center, (Vec3{-102.4f, 58.57f, 135.89f}));
    EXPECT_EQ(game.camera.back, (Vec3{}));
    EXPECT_EQ(game.score, 35);
    EXPECT_EQ(game.population, 42);
    EXPECT_EQ(game.flightSpeed, 0.0005f);
    EXPECT_EQ(game.yaw, 12.0f);
    EXPECT_EQ(game.pitch, -7.0f);
    EXPECT_EQ(game.spawnStep, 3);
    EXPECT_EQ(game.lastSpawnTime, 9000);
    EXPECT_EQ(game.shots.size(), 1u);
    EXPECT_EQ(game.explosions.size(), 1u);
    EXPECT_EQ(game.missiles.size(), 1u);
}

TEST_F(StateTest, RestartResetsPlayButKeepsShotsLookFlagSpinClockAndTitleFlag)
{
    game.showAimLines = true;
    game.applyLook = false;
    game.titleScreen = true;  // only the space key clears it
    game.yaw = 30;
    game.pitch = 40;
    game.spawnStep = 4;
    game.spawnInterval = 12;
    game.flightSpeed = -0.001f;
    game.score = 50;
    game.population = 0;
    game.planet.spin = 123.5f;
    game.currentTime = 7000;
    game.lastMoveTime = 6990;
    game.lastCombatTime = 6980;
    game.lastSpawnTime = 6500;
    game.shots.push_back(Shot{0.5f, {1, 2, 3}, {4, 5, 6}});
    game.explosions.resize(2);
    game.missiles.resize(3);
    game.missiles[0].trail = std::make_unique<ParticleEmitter>();

    restartGame();

    EXPECT_FALSE(game.showAimLines);
    EXPECT_EQ(game.camera.eye, (Vec3{43, 31.75f, -83}));
    EXPECT_EQ(game.camera.center, (Vec3{-102.4f, 67.47f, 131.6f}));
    EXPECT_EQ(game.yaw, 0.0f);
    EXPECT_EQ(game.pitch, 0.0f);
    EXPECT_EQ(game.spawnStep, 1);
    EXPECT_EQ(game.spawnInterval, 5000.0f);
    EXPECT_TRUE(game.missiles.empty());
    EXPECT_TRUE(game.explosions.empty());
    EXPECT_EQ(game.flightSpeed, 0.0f);
    EXPECT_EQ(game.population, 100);
    EXPECT_EQ(game.score, 0);

    ASSERT_EQ(game.shots.size(), 1u);
    EXPECT_EQ(game.shots[0].position, (Vec3{1, 2, 3}));
    EXPECT_FALSE(game.applyLook);
    EXPECT_TRUE(game.titleScreen);
    EXPECT_EQ(game.planet.spin, 123.5f);
    EXPECT_EQ(game.currentTime, 7000);
    EXPECT_EQ(game.lastMoveTime, 6990);
    EXPECT_EQ(game.lastCombatTime, 6980);
    EXPECT_EQ(game.lastSpawnTime, 6500);
}

// Both poses look at points of the look sphere, so the first view update
// does not make the look point jump far.
TEST_F(StateTest, PoseLookPointsLieOnTheLookSphere)
{
    newGame();
    EXPECT_NEAR(distanceFromOrigin(game.camera.center), 180.0f, 0.2f);
    EXPECT_NEAR(distanceFromOrigin(game.camera.eye), 499.0f, 1.0f);
    restartGame();
    EXPECT_NEAR(distanceFromOrigin(game.camera.center), 180.0f, 0.2f);
    EXPECT_NEAR(distanceFromOrigin(game.camera.eye), 99.0f, 1.0f);
}
