// The application shell's callbacks. The keyboard, and through it the title
// screen, the new game and the restart: every key but quit asks for a frame.
// The idle tick: a flight step every more than 10 ms, combat every more than
// 50, no catching up, and a frame asked for on every tick.
#include "fake_platform.h"

#include "app/app.h"

#include <tuple>

using KeyboardTest = GameTest;
using IdleTest = GameTest;

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

// The speed is limited only at a flight step; a positive speed flies the
// eye toward the look point along back as of the last view update. The
// combat update runs after more than 50 ms.
TEST_F(IdleTest, TimersNeedMoreThanTheirPeriodAndNeverCatchUp)
{
    restartGame();
    game.camera.updateView(0, 0);
    const Vec3 eye = game.camera.eye, back = game.camera.back;
    game.flightSpeed = 0.002f;
    tickAt(60);  // the first tick: a flight step and a combat update at once
    EXPECT_EQ(std::tuple(game.flightSpeed, game.camera.eye, game.lastMoveTime, game.lastCombatTime, game.planet.spin),
              std::tuple(0.001f, eye + -0.001f * back, 60, 60, 0.05f));
    game.flightSpeed = -0.002f;
    tickAt(70);  // exactly 10 ms: nothing moves and nothing is limited
    EXPECT_EQ(std::tuple(game.flightSpeed, game.planet.spin, game.lastMoveTime), std::tuple(-0.002f, 0.05f, 60));
    tickAt(110);  // exactly 50 ms: a flight step but no combat
    EXPECT_EQ(std::tuple(game.flightSpeed, game.lastMoveTime, game.lastCombatTime), std::tuple(-0.001f, 110, 60));
    tickAt(2110);  // after two seconds: one step, one combat update
    EXPECT_EQ(std::tuple(game.camera.eye, game.lastMoveTime, game.lastCombatTime, game.planet.spin, fake.redisplays),
              std::tuple(eye + -0.001f * back + 0.001f * back + 0.001f * back, 2110, 2110,
                         float(float(0.05f + 0.05) + 0.05), 4));
}

// Each key adds the double 0.00001 to the widened speed and rounds the sum to
// a float. Summed that way, 100 presses from 0 give 0x1.0624e6p-10
// (0.0010000005), just above the float limit 0x1.0624dep-10, until the next
// flight step; 100 presses from either limit toward the other leave
// 0x1.2a238ep-31 short of 0, where float steps would leave 0x1.2ap-31.
TEST_F(IdleTest, HundredSpeedKeysPassTheLimitUntilTheNextStep)
{
    for (int i = 0; i < 100; ++i)
        keyPressed(i % 2 ? '=' : 'w', 0, 0);
    EXPECT_EQ(game.flightSpeed, 0x1.0624e6p-10f);
    tickAt(11);
    EXPECT_EQ(game.flightSpeed, 0x1.0624dep-10f);
    for (auto [key, other, from, to] : {std::tuple{'s', '-', 0x1.0624dep-10f, -0x1.2a238ep-31f},
                                        {'w', '=', -0x1.0624dep-10f, 0x1.2a238ep-31f}}) {
        game.flightSpeed = from;
        for (int i = 0; i < 100; ++i)
            keyPressed(i % 2 ? key : other, 0, 0);
        EXPECT_EQ(game.flightSpeed, to);
    }
}

// A fresh camera has no back yet: on the title screen flight moves only its
// look point, by the step itself on every axis. The spin is never wrapped.
TEST_F(IdleTest, TitleCameraFlightMovesOnlyTheLookPoint)
{
    newGame();
    const Camera title = game.camera;
    game.flightSpeed = 0.001f;
    game.planet.spin = 359.98f;
    tickAt(11);
    tickAt(22);
    EXPECT_EQ(std::tuple(game.camera.eye, game.camera.center),
              std::tuple(title.eye, Vec3{title.center.x - 0.001f - 0.001f, title.center.y - 0.001f - 0.001f,
                                         title.center.z - 0.001f - 0.001f}));
    EXPECT_GT(game.planet.spin, 360.0f);
}
