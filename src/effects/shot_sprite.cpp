#include "effects/shot_sprite.h"

#include "game/shots.h"

// Placeholder body: the sprite is being written.
void drawShot(const Shot&) {}
