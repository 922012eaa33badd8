#include "fake_platform.h"

#include <tuple>

using StateTest = GameTest;

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
    EXPECT_EQ(std::tuple(game.score, game.population, game.flightSpeed, game.yaw, game.pitch, game.spawnStep,
                         game.lastSpawnTime, game.shots.size(), game.explosions.size(), game.missiles.size()),
              std::tuple(35, 42, 0.0005f, 12.0f, -7.0f, 3, 9000, 1u, 1u, 1u));
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

    EXPECT_EQ(game.camera.eye, (Vec3{43, 31.75f, -83}));
    EXPECT_EQ(game.camera.center, (Vec3{-102.4f, 67.47f, 131.6f}));
    EXPECT_EQ(std::tuple(game.showAimLines, game.yaw, game.pitch, game.spawnStep, game.spawnInterval,
                         game.missiles.size(), game.explosions.size(), game.flightSpeed, game.population, game.score),
              std::tuple(false, 0.0f, 0.0f, 1, 5000.0f, 0u, 0u, 0.0f, 100, 0));

    ASSERT_EQ(game.shots.size(), 1u);
    EXPECT_EQ(game.shots[0].position, (Vec3{1, 2, 3}));
    EXPECT_EQ(std::tuple(game.applyLook, game.titleScreen, game.planet.spin, game.currentTime, game.lastMoveTime,
                         game.lastCombatTime, game.lastSpawnTime),
              std::tuple(false, true, 123.5f, 7000, 6990, 6980, 6500));
}
