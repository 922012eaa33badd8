#include "game/flight.h"

#include "game/combat.h"
#include "game/missiles.h"
#include "game/shots.h"
#include "game/state.h"

#include <iostream>

// ---- functions -------------------------------------------------------------

void speedUp() { game.flightSpeed += kSpeedPerKey; }
void slowDown() { game.flightSpeed -= kSpeedPerKey; }

void spaceBar()
{
    if (!game.titleScreen) {
        fireShot();
        return;
    }
    game.titleScreen = false;
    restartGame();
}

void toggleAimLines() { game.showAimLines = !game.showAimLines; }

void backToTitle()
{
    newGame();
    std::cout << "Restarting game" << std::endl;
}

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

void gameTick(int nowMs)
{
    game.currentTime = nowMs;
    flightStep();
    combatTimer();
    spawnTick();
}
