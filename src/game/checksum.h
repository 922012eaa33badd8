// A checksum of the whole game state, so a replay can tell that it still
// follows the game it replays.
#pragma once

#include <cstdint>

// ---- functions -------------------------------------------------------------

// Hashes every field of the game state field by field (the lists with their
// trails and explosions, every particle, the clock and timers, the camera)
// and the random generator's state. Floats count by their bits.
std::uint64_t stateChecksum();
