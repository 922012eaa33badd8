#include "effects/missile_model.h"

#include "game/missiles.h"

// Placeholder bodies: the model is being written.
void normalize(Vec3&) {}

void faceToward(Vec3) {}

void drawMissile(Missile& missile)
{
    if (missile.trail)
        drawTrail(*missile.trail, missile.position);
}
