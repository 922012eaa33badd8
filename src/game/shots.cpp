#include "game/shots.h"

#include "game/events.h"
#include "game/state.h"

#include <iostream>

constexpr float kShotRadius = 0.5f;    // world units
constexpr float kStepFraction = 0.01f; // of direction per frame
constexpr double kRange = 800.0;       // from the origin, about where missiles are born
constexpr Vec3  kOrigin{};

void fireShot()
{
    const Camera& camera = game.camera;
    std::cout << "eye: " << camera.eye.x << ' ' << camera.eye.y << ' ' << camera.eye.z << ' '
              << camera.center.x << ' ' << camera.center.y << ' ' << camera.center.z << std::endl;
    game.shots.push_back(Shot{kShotRadius, camera.eye, camera.back});
    gameEvents.shotFired(camera.eye);
}

// A shot flies against its direction, the way a positive flight speed carries
// the camera; a zero direction (fired before the first mouse look) stays put.
void advanceShot(Shot& shot)
{
    shot.position = shot.position - kStepFraction * shot.direction;
}

bool shotOutOfRange(const Shot& shot)
{
    return !(distance(shot.position, kOrigin) < kRange);
}
