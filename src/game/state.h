// The game's global state, and the two ways of putting it in a known state.
#pragma once

#include "game/missiles.h"
#include "game/planet.h"
#include "game/shots.h"
#include "records/camera.h"
#include "records/particles.h"

#include <vector>

// ---- types -----------------------------------------------------------------

// Values are those before start-up; main sets the window, the title screen
// and the title camera.
struct GameState {
    // window and flags
    int  windowWidth = 0;      // pixels
    int  windowHeight = 0;     // pixels
    bool titleScreen = false;  // mouse look off; space starts a game instead of firing
    bool showAimLines = false; // missiles draw a line to their target
    bool applyLook = true;     // the next pointer event updates the view; never reset

    // player
    Camera camera;
    float  flightSpeed = 0;    // fraction of back flown per flight step; positive is forward
    float  yaw = 0;            // degrees
    float  pitch = 0;          // degrees

    Planet planet;

    int score = 0;             // points
    int population = 0;        // percent; 0 or less is game over

    // spawn timer
    float spawnInterval = 5000;  // ms between spawn events
    int   spawnStep = 1;         // multiplier of the 1.25 ms shrink per spawn

    // clock, never reset by a new game or a restart
    int currentTime = 0;       // ms, read at the start of each idle tick
    int lastMoveTime = 0;      // ms, last flight step
    int lastCombatTime = 0;    // ms, last combat update
    int lastSpawnTime = 0;     // ms, last spawn event

    // object lists, in creation order
    std::vector<Shot>            shots;
    std::vector<ParticleEmitter> explosions;
    std::vector<Missile>         missiles;
};

// ---- state -----------------------------------------------------------------

extern GameState game;

// ---- functions -------------------------------------------------------------

// Title screen: title camera, short spawn interval. Nothing else changes.
void newGame();

// The game as it starts: the title screen, no aim lines, the planet unturned.
void firstTitle();

// Play: play camera, angles and speed zero, missiles and explosions gone,
// score 0, population 100. Shots in flight survive.
void restartGame();
