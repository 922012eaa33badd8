// The player's controls and the clock's timers: the flight speed and its
// limit, the space bar, and what one idle tick runs.
#pragma once

// ---- constants -------------------------------------------------------------

constexpr int    kFlightPeriod = 10;    // ms; a flight step needs more than this
constexpr int    kCombatPeriod = 50;    // ms; a combat update needs more than this
constexpr double kSpeedLimit = 0.001;   // magnitude of flightSpeed at a flight step
constexpr double kSpeedPerKey = 0.00001;
constexpr double kSpinPerStep = 0.05;   // degrees of planet spin per flight step

// ---- functions -------------------------------------------------------------

// One speed key: the double step added to the widened speed, the sum rounded
// to a float. Limited at the next flight step, not here.
void speedUp();
void slowDown();

// The space bar: on the title screen it starts a game without firing; in
// play (game over included) it fires.
void spaceBar();

// Shows or hides the missiles' aim lines.
void toggleAimLines();

// Back to the title screen (a new game), saying so every time.
void backToTitle();

// One idle tick at `nowMs`: a flight step and a combat update when more than
// their periods have passed since their last run (missed periods are not
// made up), then the spawn timer.
void gameTick(int nowMs);
