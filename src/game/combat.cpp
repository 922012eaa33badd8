#include "game/combat.h"

#include "game/events.h"
#include "game/list_pass.h"
#include "game/missiles.h"
#include "game/planet.h"
#include "game/state.h"

#include <iostream>

constexpr int    kPointsPerKill = 5;
constexpr double kCrashDistance = 25.5;  // a little beyond the drawn radius of 25

// After a hit j stays: the missile that moved into slot j meets this shot
// next. The shot itself flies on and may kill again.
static void shotAgainstMissiles(const Shot& shot)
{
    std::size_t j = 0;
    while (j < game.missiles.size()) {
        const Missile& missile = game.missiles[j];
        if (missile.radius + shot.radius < distance(shot.position, missile.position)) {
            ++j;
            continue;
        }
        gameEvents.missileShot(missile.id, missile.position);
        explodeMissile(j);
        game.score += kPointsPerKill;
        std::cout << "Score: " << game.score << std::endl;
    }
}

void combatUpdate()
{
    for (const Shot& shot : game.shots)
        shotAgainstMissiles(shot);
}

bool checkPlanetCrash(const std::function<void()>& beforeCrash)
{
    if (distance(game.camera.eye, kPlanetCentre) > kCrashDistance)
        return false;
    beforeCrash();
    gameEvents.eyeInsidePlanet();
    game.population = 0;
    return true;
}

void updateExplosions(const std::function<void(ParticleEmitter&)>& drawAndAdvance)
{
    passAndCompact(game.explosions, [&](ParticleEmitter& explosion) {
        drawAndAdvance(explosion);
        return explosion.particles.empty();
    });
}
