#include "game/combat.h"

void combatUpdate()
{
    // No missiles yet, so no shot can hit anything: the rules arrive with them.
}
