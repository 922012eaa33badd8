#include "core/random.h"

static std::uint32_t next = 1;

int gameRand()
{
    next = next * 1103515245u + 12345u;
    return static_cast<int>((next / 65536u) % 32768u);
}

std::uint32_t randomState() { return next; }

void setRandomState(std::uint32_t state) { next = state; }
