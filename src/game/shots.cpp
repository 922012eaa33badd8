#include "game/shots.h"

#include "game/state.h"

#include <iostream>

void fireShot()
{
    const Camera& camera = game.camera;
    std::cout << "eye: " << camera.eye.x << ' ' << camera.eye.y << ' ' << camera.eye.z << ' '
              << camera.center.x << ' ' << camera.center.y << ' ' << camera.center.z << std::endl;
    game.shots.push_back(Shot{0.5f, camera.eye, camera.back});
}

// Placeholder bodies: flight and range are being written.
void advanceShot(Shot&) {}

bool checkShotRange(std::size_t) { return false; }
