#include "fake_platform.h"

#include "app/app.h"

// A play camera that has looked once, so flight steps move its eye.
class IdleTest : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        restartGame();
        game.camera.updateView(0, 0);
        back_ = game.camera.back;
        eye_ = game.camera.eye;
    }
    Vec3 back_, eye_;
};

TEST_F(IdleTest, FlightStepNeedsMoreThanTenMilliseconds)
{
    game.flightSpeed = 0.0005f;
    game.lastMoveTime = 1000;

    tickAt(1010);
    EXPECT_EQ(game.camera.eye, eye_);
    EXPECT_EQ(game.planet.spin, 0.0f);
    EXPECT_EQ(game.lastMoveTime, 1000);

    tickAt(1011);
    EXPECT_EQ(game.camera.eye, eye_ + -0.0005f * back_);
    EXPECT_EQ(game.planet.spin, 0.05f);
    EXPECT_EQ(game.lastMoveTime, 1011);
    EXPECT_EQ(game.flightSpeed, 0.0005f);
    EXPECT_EQ(fake.redisplays, 2);  // every tick asks for a frame
}

TEST_F(IdleTest, SpeedIsLimitedOnlyAtAFlightStep)
{
    game.lastMoveTime = 100;
    game.flightSpeed = 0.002f;
    tickAt(105);
    EXPECT_EQ(game.flightSpeed, 0.002f);

    tickAt(111);
    EXPECT_EQ(game.flightSpeed, 0.001f);
    EXPECT_EQ(game.camera.eye, eye_ + -0.001f * back_);

    game.flightSpeed = -0.002f;
    tickAt(122);
    EXPECT_EQ(game.flightSpeed, -0.001f);
    EXPECT_EQ(game.camera.eye, eye_ + -0.001f * back_ + 0.001f * back_);
}

TEST_F(IdleTest, HundredSpeedKeysPassTheLimitUntilTheNextStep)
{
    game.lastMoveTime = 100;
    for (int i = 0; i < 99; ++i)
        keyPressed('w', 0, 0);
    EXPECT_LT(game.flightSpeed, 0.001);
    const float below = game.flightSpeed;
    tickAt(111);
    EXPECT_EQ(game.flightSpeed, below);

    keyPressed('w', 0, 0);
    EXPECT_GT(game.flightSpeed, 0.001f);  // the single-precision sum ends above the limit
    tickAt(122);
    EXPECT_EQ(game.flightSpeed, 0.001f);
}

TEST_F(IdleTest, FreshCameraMovesOnlyItsLookPoint)
{
    newGame();
    const Camera title = game.camera;
    game.flightSpeed = 0.001f;
    tickAt(11);
    EXPECT_EQ(game.camera.eye, title.eye);
    EXPECT_EQ(game.camera.center.x, title.center.x - 0.001f);
    EXPECT_EQ(game.camera.center.z, title.center.z - 0.001f);
}

TEST_F(IdleTest, ALongPauseRunsEachTimerOnceWithoutCatchingUp)
{
    tickAt(60);  // the first tick runs the flight step and the combat update at once
    EXPECT_EQ(game.lastMoveTime, 60);
    EXPECT_EQ(game.lastCombatTime, 60);
    EXPECT_EQ(game.planet.spin, 0.05f);

    tickAt(2060);
    EXPECT_EQ(game.planet.spin, static_cast<float>(0.05f + 0.05));
    EXPECT_EQ(game.lastMoveTime, 2060);
    EXPECT_EQ(game.lastCombatTime, 2060);
    EXPECT_EQ(game.currentTime, 2060);
}

TEST_F(IdleTest, CombatUpdateNeedsMoreThanFiftyMilliseconds)
{
    game.lastCombatTime = 200;
    tickAt(250);
    EXPECT_EQ(game.lastCombatTime, 200);
    tickAt(251);
    EXPECT_EQ(game.lastCombatTime, 251);
}

TEST_F(IdleTest, TimersRunOnTheTitleScreenAndSpinIsNeverWrapped)
{
    newGame();
    game.planet.spin = 359.98f;
    tickAt(11);
    tickAt(22);
    EXPECT_GT(game.planet.spin, 360.0f);
    EXPECT_EQ(game.lastMoveTime, 22);
}
