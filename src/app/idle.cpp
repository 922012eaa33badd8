#include "app/app.h"
#include "core/platform.h"
#include "game/flight.h"

// GLUT idle callback: one tick of the game at the clock's time; every tick
// asks for a frame.
void idleUpdate()
{
    gameTick(sysElapsedMs());
    sysPostRedisplay();
}
