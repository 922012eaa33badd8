// The frame's per-element passes over the missile and shot lists. The
// drawing is handed in, so the order of rules and removals is testable
// without a GL context.
#pragma once

#include <functional>

struct Missile;
struct Shot;

// ---- functions -------------------------------------------------------------

// Per missile, in list order: draw, advanceMissile, checkPlanetImpact.
void missilePass(const std::function<void(Missile&)>& draw);

// Per shot, in list order: advanceShot, draw, range test.
void shotPass(const std::function<void(const Shot&)>& draw);
