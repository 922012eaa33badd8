#include "game/passes.h"

#include "game/missiles.h"
#include "game/shots.h"
#include "game/state.h"

// Placeholder bodies: the passes are being written.
void missilePass(const std::function<void(Missile&)>& draw)
{
    for (Missile& missile : game.missiles)
        draw(missile);
}

void shotPass(const std::function<void(const Shot&)>& draw)
{
    for (const Shot& shot : game.shots)
        draw(shot);
}
