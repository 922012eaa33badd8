#include "game/missiles.h"

void spawnTick()
{
    // Missiles do not exist yet: the spawn timer arrives with them.
}
