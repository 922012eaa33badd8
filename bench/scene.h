// The frame benchmark's scenes: played through the game's own functions on
// a scripted clock, then held fixed from frame to frame.
#pragma once

#include "records/camera.h"
#include "effects/particles.h"
#include "game/shots.h"

#include <cstdint>
#include <vector>

// ---- types -----------------------------------------------------------------

// What a frame changes, saved once, put back before every timed frame: every
// frame then draws the same scene. The clock stands still, so missiles keep
// their places.
struct Scene {
    std::vector<ParticleEmitter> trails;  // one per missile, in list order
    std::vector<ParticleEmitter> explosions;
    std::vector<Shot>            shots;
    Camera                       camera;
    std::uint32_t                random = 1;
    int                          population = 0;
    int                          score = 0;
};

// ---- state -----------------------------------------------------------------

extern int builtDirectly;  // scene parts the game's rules did not make

// ---- functions -------------------------------------------------------------

// Starts the game in its window on the scripted clock.
void startTheGame(char* name);

// A busy moment of play, with the explosions far out or around the planet,
// and the title screen; both leave the game in them.
void playHeavyScene(bool nearPlanet);
void playLightScene();

// The game's current scene, and putting it back.
Scene capture();
void  restore(const Scene& s);
