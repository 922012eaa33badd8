#include "game/combat.h"

#include "game/state.h"

// Placeholder bodies: the combat rules are being written.
void combatUpdate() {}

bool checkPlanetCrash(const std::function<void()>&) { return false; }

void updateExplosions(const std::function<void(ParticleEmitter&)>& drawAndAdvance)
{
    for (ParticleEmitter& explosion : game.explosions)
        drawAndAdvance(explosion);
}
