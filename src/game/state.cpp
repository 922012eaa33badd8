#include "game/state.h"

#include "game/events.h"

GameState game;

// Camera poses: eye first, then look point.
static Camera titleCamera() { return Camera(-271, 102, 406.7f, -102.4f, 58.57f, 135.89f); }
static Camera playCamera() { return Camera(43, 31.75f, -83, -102.4f, 67.47f, 131.6f); }

void newGame()
{
    game.camera = titleCamera();
    game.spawnInterval = 500.0f;
    game.titleScreen = true;
}

void firstTitle()
{
    game.showAimLines = false;
    newGame();
    game.planet = Planet{0};
}

void restartGame()
{
    game.showAimLines = false;
    game.camera = playCamera();
    game.yaw = 0;
    game.pitch = 0;
    game.spawnStep = 1;
    game.spawnInterval = 5000.0f;
    game.missiles.clear();   // each missile releases its trail
    gameEvents.missilesCleared();
    game.explosions.clear();
    game.flightSpeed = 0;
    game.population = 100;
    game.score = 0;
}
