// Combat: shots against missiles, the crash into the planet, and the
// explosions' life cycle. Score and population change only here, on a
// planet impact and on restart.
#pragma once

#include "records/particles.h"

#include <functional>

// ---- functions -------------------------------------------------------------

// Run by the idle update every more than 50 ms: every shot against every
// missile; each hit explodes the missile and scores 5.
void combatUpdate();

// The eye within 25.5 of the planet's centre wipes out the population.
// `beforeCrash` runs first (the frame turns its colour red there). Returns
// whether the eye crashed.
bool checkPlanetCrash(const std::function<void()>& beforeCrash);

// Every explosion once, in order: `drawAndAdvance` (the particle routine),
// then retirement of an explosion whose particles are all gone.
void updateExplosions(const std::function<void(ParticleEmitter&)>& drawAndAdvance);
