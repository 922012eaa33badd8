// The game's one source of random numbers.
//
// Every draw in the game (spawn points, population losses, particles) comes
// from this generator, in the order the game makes them. It is the portable
// reference rand of the C standard: 15-bit values, state 1 at start, never
// seeded, so every run on every machine sees the same sequence. The
// platform's rand is not used: glibc's reaches 2^31-1, and the spawn formula
// needs values from 0 to 32767.
#pragma once

#include <cstdint>

constexpr int kRandomMax = 32767;

int gameRand();  // 0 to kRandomMax inclusive

// Tests save and restore the generator around scripted draws.
std::uint32_t randomState();
void setRandomState(std::uint32_t state);
