#include "fake_platform.h"

#include "app/app.h"

#include <tuple>

static void press(unsigned char key) { keyPressed(key, 123, 456); }

using KeyboardTest = GameTest;

TEST_F(KeyboardTest, SpaceStartsAGameOnTheTitleScreenThenFires)
{
    newGame();
    game.showAimLines = true;

    press(' ');
    EXPECT_FALSE(game.titleScreen);
    EXPECT_EQ(game.population, 100);
    EXPECT_EQ(game.spawnInterval, 5000.0f);
    EXPECT_FALSE(game.showAimLines);
    EXPECT_TRUE(game.shots.empty());
    EXPECT_EQ(output(), "");

    press(' ');
    ASSERT_EQ(game.shots.size(), 1u);
    EXPECT_EQ(game.shots[0].position, game.camera.eye);
    EXPECT_EQ(game.shots[0].direction, game.camera.back);
    EXPECT_EQ(game.shots[0].radius, 0.5f);
    EXPECT_EQ(output(), "eye: 43 31.75 -83 -102.4 67.47 131.6\n");
    EXPECT_TRUE(everyLineFlushed());
    EXPECT_EQ(fake.redisplays, 2);

    game.population = 0;  // after game over space still fires, without limit
    for (int i = 0; i < 4; ++i)
        press(' ');
    EXPECT_EQ(game.shots.size(), 5u);
    EXPECT_FALSE(game.titleScreen);
}

TEST_F(KeyboardTest, RShowsTheTitleAndSaysSoEveryTime)
{
    restartGame();
    game.score = 25;
    game.population = 60;
    game.spawnInterval = 4000;
    game.shots.push_back(Shot{});
    game.showAimLines = true;
    game.applyLook = false;

    press('r');  // the title pose; aim lines, look flag, score and shots kept
    EXPECT_TRUE(game.titleScreen);
    EXPECT_EQ(game.camera.eye, (Vec3{-271, 102, 406.7f}));
    EXPECT_EQ(std::tuple(game.showAimLines, game.applyLook, game.spawnInterval, game.score, game.population,
                         game.shots.size()),
              std::tuple(true, false, 500.0f, 25, 60, 1u));

    game.spawnInterval = 480;
    game.applyLook = true;
    press('r');
    EXPECT_EQ(game.spawnInterval, 500.0f);
    EXPECT_TRUE(game.applyLook);
    EXPECT_EQ(output(), "Restarting game\nRestarting game\n");
    EXPECT_TRUE(everyLineFlushed());

    press(' ');  // after r, space starts a new game rather than firing
    EXPECT_EQ(game.score, 0);
    EXPECT_EQ(game.population, 100);
    EXPECT_EQ(game.shots.size(), 1u);
}

TEST_F(KeyboardTest, AimLinesToggleInAnyPhase)
{
    newGame();
    press('l');
    EXPECT_TRUE(game.showAimLines);
    press('l');
    EXPECT_FALSE(game.showAimLines);
    press('l');
    press(' ');  // the restart turns them off
    EXPECT_FALSE(game.showAimLines);
}

TEST_F(KeyboardTest, OtherKeysOnlyAskForAFrame)
{
    restartGame();
    const Vec3 eye = game.camera.eye;
    const unsigned char keys[] = {'S', 'W', 'L', 'R', 'x', '+', '\r', 200};
    for (unsigned char key : keys)
        press(key);
    EXPECT_EQ(std::tuple(fake.redisplays, game.flightSpeed, game.showAimLines, game.titleScreen, game.shots.size(),
                         output(), fake.exits.size()),
              std::tuple(8, 0.0f, false, false, 0u, "", 0u));
    EXPECT_EQ(game.camera.eye, eye);
}

TEST_F(KeyboardTest, QuitEndsWithStatusZeroWithoutAFrame)
{
    newGame();
    for (unsigned char key : {'q', 'Q'}) {
        EXPECT_THROW(press(key), ExitCalled);
    }
    EXPECT_EQ(fake.exits, (std::vector<int>{0, 0}));
    EXPECT_EQ(fake.redisplays, 0);
}
