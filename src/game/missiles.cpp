#include "game/missiles.h"

#include "core/random.h"
#include "core/trig.h"
#include "game/events.h"
#include "game/state.h"

#include <cassert>
#include <cmath>
#include <iostream>

constexpr double kTwoPi = 6.283185307179586;
constexpr float  kSpawnRadiusXY = 825;     // the ellipsoid's semi-axes along x and y
constexpr float  kSpawnRadiusZ = 800;      // and along z: squeezed, not a sphere
constexpr double kIntervalShrink = 1.25;   // ms per spawn event, times spawnStep
constexpr std::size_t kMaxMissiles = 7;
constexpr int    kTrailParticleCount = 800;
constexpr Vec3   kTrailAcceleration{0, 0, -100};

constexpr double kStepPeriod = 10.0;       // ms; a flight step needs more than this
constexpr double kProgressPerStep = 0.0005;
constexpr int    kExplosionParticleCount = 1500;
constexpr Vec3   kExplosionAcceleration{0, -0.3f, 0};

int newMissileId()
{
    static int last = 0;
    return ++last;
}

Missile::Missile(const Vec3& spawnPoint, std::unique_ptr<ParticleEmitter> smokeTrail)
    : start(spawnPoint), trail(std::move(smokeTrail)), position(spawnPoint), direction(target - spawnPoint)
{
}

// u is uniform, so the points spread evenly over a sphere of radius 825
// before its z axis is squeezed to 800. The z draw comes first.
Vec3 randomSpawnPoint()
{
    const int zDraw = gameRand();
    const float u = static_cast<float>(2 * (zDraw / static_cast<double>(kRandomMax)) - 1);
    const int angleDraw = gameRand();
    const float phi = static_cast<float>(angleDraw / static_cast<double>(kRandomMax) * kTwoPi);
    const float s = std::sqrt(1 - u * u);
    return {kSpawnRadiusXY * s * exactCos(phi), kSpawnRadiusXY * s * exactSin(phi), kSpawnRadiusZ * u};
}

// The interval shrinks and the line is written on every spawn event, even
// when seven missiles are alive and none is made.
void spawnTick()
{
    const int elapsed = game.currentTime - game.lastSpawnTime;
    if (!(static_cast<float>(elapsed) > game.spawnInterval))
        return;

    const Vec3 p = randomSpawnPoint();
    game.spawnInterval = static_cast<float>(game.spawnInterval - game.spawnStep * kIntervalShrink);
    game.lastSpawnTime = game.currentTime;
    std::cout << "Spawning Missile at: " << p.x << ' ' << p.y << ' ' << p.z << std::endl;

    if (game.missiles.size() >= kMaxMissiles)
        return;
    auto trail = std::make_unique<ParticleEmitter>(kTrailParticleCount, p, kTrailAcceleration);
    game.missiles.emplace_back(p, std::move(trail));
    gameEvents.missileSpawned(game.missiles.back().id, p);
}

// The position comes from the progress before its increment, so the first
// step leaves the missile at its start.
void advanceMissile(Missile& missile)
{
    const float t = static_cast<float>(game.currentTime);
    if (!(t - missile.lastStepTime > kStepPeriod))
        return;
    missile.lastStepTime = t;
    missile.position = missile.start + missile.progress * missile.direction;
    if (!(missile.progress > 1.0))
        missile.progress = static_cast<float>(missile.progress + kProgressPerStep);
}

bool checkPlanetImpact(std::size_t i)
{
    const Missile& missile = game.missiles[i];
    if (distance(missile.position, missile.target) > kPlanetRadius)
        return false;

    gameEvents.missileImpact(missile.id, missile.position);
    explodeMissile(i);
    const int r = gameRand();
    game.population -= 5 + r % 25;
    if (game.population < 0)
        game.population = 0;
    std::cout << game.population << "% of the planet's population remains." << std::endl;
    return true;
}

// Both deaths end here: an impact and a shot hit. The missile's trail goes
// with it; at most seven missiles exist, so the erase stays cheap.
void explodeMissile(std::size_t i)
{
    assert(i < game.missiles.size());
    game.explosions.emplace_back(kExplosionParticleCount, game.missiles[i].position, kExplosionAcceleration);
    game.missiles.erase(game.missiles.begin() + static_cast<std::ptrdiff_t>(i));
}
