// The flight and combat timers of the idle tick: a flight step every more
// than 10 ms, combat every more than 50, no catching up; the speed keys.
#include "fake_platform.h"

#include "game/flight.h"

#include <tuple>

using FlightTest = GameTest;

// The speed is limited only at a flight step; a positive speed flies the
// eye toward the look point along back as of the last view update. The
// combat update runs after more than 50 ms.
TEST_F(FlightTest, TimersNeedMoreThanTheirPeriodAndNeverCatchUp)
{
    restartGame();
    game.camera.updateView(0, 0);
    const Vec3 eye = game.camera.eye, back = game.camera.back;
    game.flightSpeed = 0.002f;
    gameTick(60);  // the first tick: a flight step and a combat update at once
    EXPECT_EQ(std::tuple(game.flightSpeed, game.camera.eye, game.lastMoveTime, game.lastCombatTime, game.planet.spin),
              std::tuple(0.001f, eye + -0.001f * back, 60, 60, 0.05f));
    game.flightSpeed = -0.002f;
    gameTick(70);  // exactly 10 ms: nothing moves and nothing is limited
    EXPECT_EQ(std::tuple(game.flightSpeed, game.planet.spin, game.lastMoveTime), std::tuple(-0.002f, 0.05f, 60));
    gameTick(110);  // exactly 50 ms: a flight step but no combat
    EXPECT_EQ(std::tuple(game.flightSpeed, game.lastMoveTime, game.lastCombatTime), std::tuple(-0.001f, 110, 60));
    gameTick(2110);  // after two seconds: one step, one combat update
    EXPECT_EQ(std::tuple(game.camera.eye, game.lastMoveTime, game.lastCombatTime, game.planet.spin),
              std::tuple(eye + -0.001f * back + 0.001f * back + 0.001f * back, 2110, 2110,
                         float(float(0.05f + 0.05) + 0.05)));
}

// Each key adds the double 0.00001 to the widened speed and rounds the sum to
// a float. Summed that way, 100 presses from 0 give 0x1.0624e6p-10
// (0.0010000005), just above the float limit 0x1.0624dep-10, until the next
// flight step; 100 presses from either limit toward the other leave
// 0x1.2a238ep-31 short of 0, where float steps would leave 0x1.2ap-31.
TEST_F(FlightTest, HundredSpeedKeysPassTheLimitUntilTheNextStep)
{
    for (int i = 0; i < 100; ++i)
        speedUp();
    EXPECT_EQ(game.flightSpeed, 0x1.0624e6p-10f);
    gameTick(11);
    EXPECT_EQ(game.flightSpeed, 0x1.0624dep-10f);
    for (auto [step, from, to] : {std::tuple{&slowDown, 0x1.0624dep-10f, -0x1.2a238ep-31f},
                                   {&speedUp, -0x1.0624dep-10f, 0x1.2a238ep-31f}}) {
        game.flightSpeed = from;
        for (int i = 0; i < 100; ++i)
            step();
        EXPECT_EQ(game.flightSpeed, to);
    }
}

// A fresh camera has no back yet: on the title screen flight moves only its
// look point, by the step itself on every axis. The spin is never wrapped.
TEST_F(FlightTest, TitleCameraFlightMovesOnlyTheLookPoint)
{
    newGame();
    const Camera title = game.camera;
    game.flightSpeed = 0.001f;
    game.planet.spin = 359.98f;
    gameTick(11);
    gameTick(22);
    EXPECT_EQ(std::tuple(game.camera.eye, game.camera.center),
              std::tuple(title.eye, Vec3{title.center.x - 0.001f - 0.001f, title.center.y - 0.001f - 0.001f,
                                         title.center.z - 0.001f - 0.001f}));
    EXPECT_GT(game.planet.spin, 360.0f);
}
