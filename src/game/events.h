// What happened in the game, for whoever listens (sound). Listeners only
// look: they never change the game's state nor draw from its generator. Every
// entry is a no-op until someone replaces it.
#pragma once

#include "core/vec3.h"

#include <cstddef>

// ---- types -----------------------------------------------------------------

struct GameEvents {
    void (*missileSpawned)(const Vec3& at);                    // appended to the missiles
    void (*missileShot)(std::size_t index, const Vec3& at);    // missile `index` dies to a shot
    void (*missileImpact)(std::size_t index, const Vec3& at);  // missile `index` hits the planet
    void (*missilesCleared)();                                 // a new game empties the list
    void (*shotFired)(const Vec3& eye);
    void (*eyeInsidePlanet)();                                 // every frame it is: the population is wiped out
};

// ---- state -----------------------------------------------------------------

extern GameEvents gameEvents;

// ---- functions -------------------------------------------------------------

GameEvents silentGameEvents();
