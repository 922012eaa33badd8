// What happened in the game, for whoever listens (sound). Listeners only
// look: they never change the game's state nor draw from its generator. Every
// entry is a no-op until someone replaces it.
#pragma once

#include "core/vec3.h"

// ---- types -----------------------------------------------------------------

struct GameEvents {
    void (*missileSpawned)(int id, const Vec3& at);            // appended to the missiles
    void (*missileShot)(int id, const Vec3& at);               // missile `id` dies to a shot
    void (*missileImpact)(int id, const Vec3& at);             // missile `id` hits the planet
    void (*missilesCleared)();                                 // a new game empties the list
    void (*shotFired)(const Vec3& eye);
    void (*eyeInsidePlanet)();                                 // every frame it is: the population is wiped out
};

// ---- state -----------------------------------------------------------------

extern GameEvents gameEvents;

// ---- functions -------------------------------------------------------------

GameEvents silentGameEvents();
