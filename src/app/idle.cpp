#include "app/app.h"
#include "core/platform.h"
#include "game/combat.h"
#include "game/missiles.h"
#include "game/state.h"

constexpr int    kFlightPeriod = 10;   // ms; a step needs more than this
constexpr int    kCombatPeriod = 50;   // ms; an update needs more than this
constexpr double kSpeedLimit = 0.001;  // magnitude of flightSpeed at a flight step
constexpr double kSpinPerStep = 0.05;  // degrees of planet spin per flight step

static void clampFlightSpeed()
{
    // compared in double against the double limit, stored as the float limit
    if (game.flightSpeed > kSpeedLimit)
        game.flightSpeed = static_cast<float>(kSpeedLimit);
    if (game.flightSpeed < -kSpeedLimit)
        game.flightSpeed = static_cast<float>(-kSpeedLimit);
}

static void flightStep()
{
    if (game.currentTime - game.lastMoveTime <= kFlightPeriod)
        return;
    clampFlightSpeed();
    game.camera.move(-game.flightSpeed);
    game.planet.spin += kSpinPerStep;
    game.lastMoveTime = game.currentTime;
}

static void combatTimer()
{
    if (game.currentTime - game.lastCombatTime <= kCombatPeriod)
        return;
    combatUpdate();
    game.lastCombatTime = game.currentTime;
}

// One idle tick. Each timer runs at most once, and missed periods are not
// made up; every tick asks for a frame.
void idleUpdate()
{
    game.currentTime = sysElapsedMs();
    flightStep();
    combatTimer();
    spawnTick();
    sysPostRedisplay();
}
