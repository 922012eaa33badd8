#include "game/passes.h"

#include "game/list_pass.h"
#include "game/missiles.h"
#include "game/shots.h"
#include "game/state.h"

// Drawn at the position from before this frame's step, then moved, then
// tested. An impact removes missile i, and the next one, now at i, is
// handled in the same frame.
void missilePass(const std::function<void(Missile&)>& draw)
{
    std::size_t i = 0;
    while (i < game.missiles.size()) {
        draw(game.missiles[i]);
        advanceMissile(game.missiles[i]);
        if (!checkPlanetImpact(i))
            ++i;
    }
}

// Unlike missiles, a shot is moved before it is drawn.
void shotPass(const std::function<void(const Shot&)>& draw)
{
    passAndCompact(game.shots, [&](Shot& shot) {
        advanceShot(shot);
        draw(shot);
        return shotOutOfRange(shot);
    });
}
