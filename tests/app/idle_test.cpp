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
    game.lastMoveTime = game.lastCombatTime = game.lastSpawnTime = 1000;

    tickAt(1010);  // no timer is due, yet the tick asks for a frame
    EXPECT_EQ(game.camera.eye, eye_);
    EXPECT_EQ(game.planet.spin, 0.0f);
    EXPECT_EQ(game.lastMoveTime, 1000);
    EXPECT_EQ(fake.redisplays, 1);

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

// Each key adds the double 0.00001 to the widened speed and rounds the sum to
// a float. Summed that way, 99 presses from 0 give 0x1.0385dp-10
// (0.00099000055), 100 give 0x1.0624e6p-10 (0.0010000005), just above the
// float limit 0x1.0624dep-10; 100 presses of s from the limit then leave
// -0x1.2a238ep-31, where a float step would leave -0x1.2ap-31.
TEST_F(IdleTest, HundredSpeedKeysPassTheLimitUntilTheNextStep)
{
    game.lastMoveTime = 100;
    for (int i = 0; i < 99; ++i)
        keyPressed(i % 2 ? '=' : 'w', 0, 0);
    EXPECT_EQ(game.flightSpeed, 0x1.0385dp-10f);
    tickAt(111);
    EXPECT_EQ(game.flightSpeed, 0x1.0385dp-10f);

    keyPressed('w', 0, 0);
    EXPECT_EQ(game.flightSpeed, 0x1.0624e6p-10f);
    tickAt(122);
    EXPECT_EQ(game.flightSpeed, 0x1.0624dep-10f);

    for (int i = 0; i < 100; ++i)
        keyPressed(i % 2 ? '-' : 's', 0, 0);
    EXPECT_EQ(game.flightSpeed, -0x1.2a238ep-31f);
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

// On the title screen the timers run too: the fresh camera moves only its
// look point, and the spin is never wrapped.
TEST_F(IdleTest, TitleScreenFlightMovesOnlyTheLookPointAndSpinIsNeverWrapped)
{
    newGame();
    const Camera title = game.camera;
    game.flightSpeed = 0.001f;
    game.planet.spin = 359.98f;
    tickAt(11);
    EXPECT_EQ(game.camera.eye, title.eye);
    EXPECT_EQ(game.camera.center.x, title.center.x - 0.001f);
    EXPECT_EQ(game.camera.center.z, title.center.z - 0.001f);
    tickAt(22);
    EXPECT_GT(game.planet.spin, 360.0f);
    EXPECT_EQ(game.lastMoveTime, 22);
}
