#include "game/missiles.h"

#include "game/state.h"

// Placeholder bodies: the missile rules are being written.
Missile::Missile(const Vec3& spawnPoint, std::unique_ptr<ParticleEmitter> smokeTrail)
    : start(spawnPoint), trail(std::move(smokeTrail)), position(spawnPoint), direction(target - spawnPoint)
{
}

Vec3 randomSpawnPoint() { return {}; }

void spawnTick() {}

void advanceMissile(Missile&) {}

bool checkPlanetImpact(std::size_t) { return false; }

void explodeMissile(std::size_t i)
{
    game.missiles.erase(game.missiles.begin() + static_cast<std::ptrdiff_t>(i));
}
