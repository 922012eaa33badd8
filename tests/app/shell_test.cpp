// The application shell's callbacks. The keyboard, and through it the title
// screen, the new game and the restart: every key but quit asks for a frame.
// (The idle tick's clock is the game tests', its frames test_gl_loop's.)
#include "fake_platform.h"

#include "app/app.h"
#include "game/flight.h"

#include <tuple>

using KeyboardTest = GameTest;

static void press(unsigned char key) { keyPressed(key, 123, 456); }

// `r` shows the title and says so, every time; space there starts play
// without firing, then fires from the eye against back, with no limit.
// Each key changes only its own part of the state.
TEST_F(KeyboardTest, RShowsTheTitleSpaceThereStartsPlayThenFires)
{
    game = {.titleScreen = false, .showAimLines = true, .applyLook = false, .camera = {}, .flightSpeed = -0.0005f,
            .yaw = 12, .pitch = -7, .planet = {123.5f}, .score = 35, .population = 42, .spawnInterval = 12,
            .spawnStep = 3, .currentTime = 7000, .lastMoveTime = 6990, .lastCombatTime = 6980, .lastSpawnTime = 6500,
            .shots = {Shot{}}, .explosions = std::vector<ParticleEmitter>(2), .missiles = std::vector<Missile>(3)};
    const auto keptByNewGame = [] {
        return std::tuple(game.score, game.population, game.flightSpeed, game.yaw, game.pitch, game.spawnStep,
                          game.showAimLines, game.shots.size(), game.explosions.size(), game.missiles.size());
    };
    const auto keptByRestart = [] {
        return std::tuple(game.applyLook, game.planet.spin, game.currentTime, game.lastMoveTime, game.lastCombatTime,
                          game.lastSpawnTime, game.shots.size());
    };
    const auto beforeR = keptByNewGame();
    press('r');
    game.spawnInterval = 480;
    press('r');
    EXPECT_EQ(std::tuple(game.titleScreen, game.spawnInterval, game.camera.eye, game.camera.center),
              std::tuple(true, 500.0f, Vec3{-271, 102, 406.7f}, Vec3{-102.4f, 58.57f, 135.89f}));
    EXPECT_EQ(keptByNewGame(), beforeR);

    const auto beforeSpace = keptByRestart();
    press(' ');
    EXPECT_EQ(std::tuple(game.titleScreen, game.camera.eye, game.camera.center),
              std::tuple(false, Vec3{43, 31.75f, -83}, Vec3{-102.4f, 67.47f, 131.6f}));
    EXPECT_EQ(std::tuple(game.showAimLines, game.yaw, game.pitch, game.spawnStep, game.spawnInterval,
                         game.missiles.size(), game.explosions.size(), game.flightSpeed, game.population, game.score),
              std::tuple(false, 0.0f, 0.0f, 1, 5000.0f, 0u, 0u, 0.0f, 100, 0));
    EXPECT_EQ(keptByRestart(), beforeSpace);
    EXPECT_EQ(std::tuple(output(), fake.redisplays), std::tuple("Restarting game\nRestarting game\n", 3));

    clearOutput();
    game.camera.back = {4, -5, 6};
    game.population = 0;  // game over
    press(' ');
    press(' ');
    EXPECT_EQ(output(), "eye: 43 31.75 -83 -102.4 67.47 131.6\neye: 43 31.75 -83 -102.4 67.47 131.6\n");
    ASSERT_EQ(game.shots.size(), 3u);
    EXPECT_EQ(std::tuple(game.shots[2].position, game.shots[2].direction, game.shots[2].radius),
              std::tuple(Vec3{43, 31.75f, -83}, Vec3{4, -5, 6}, 0.5f));
}

// `l` toggles the aim lines; upper-case letters and other keys only ask for
// a frame; q and Q end the process with status 0 and no frame.
TEST_F(KeyboardTest, LTogglesOtherKeysOnlyAskForAFrameQuitEnds)
{
    press('l');
    EXPECT_TRUE(game.showAimLines);
    for (unsigned char key : {'l', 'S', 'W', 'L', 'R', 'x', '+', '\r', '\xC8'})
        press(key);
    EXPECT_EQ(std::tuple(fake.redisplays, game.flightSpeed, game.showAimLines, game.titleScreen, game.shots.size(),
                         output()),
              std::tuple(10, 0.0f, false, false, 0u, ""));
    for (unsigned char key : {'q', 'Q'})
        EXPECT_THROW(press(key), ExitCalled);
    EXPECT_EQ(std::tuple(fake.exits, fake.redisplays), std::tuple(std::vector<int>{0, 0}, 10));
}

// w and = speed up by one step, s and - slow down by one.
TEST_F(KeyboardTest, SpeedKeysStepTheFlightSpeed)
{
    press('w');
    press('=');
    const float twice = game.flightSpeed;
    press('s');
    press('-');
    EXPECT_EQ(twice, static_cast<float>(static_cast<float>(kSpeedPerKey) + kSpeedPerKey));
    EXPECT_NEAR(game.flightSpeed, 0.0f, 1e-12f);
}
