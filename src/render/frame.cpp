#include "render/frame.h"

#include "core/platform.h"
#include "effects/missile_model.h"
#include "effects/particles.h"
#include "effects/shot_sprite.h"
#include "game/combat.h"
#include "game/passes.h"
#include "game/planet.h"
#include "game/state.h"
#include "render/hud.h"
#include "render/sky.h"

#include <GL/glu.h>

// Positional lights fixed in the world, so they are placed after the camera.
constexpr GLfloat kLight0Position[] = {0, 10, 0, 1};
constexpr GLfloat kLight1Position[] = {15, 10, -10, 1};

static void lookThroughCamera(const Camera& camera)
{
    gluLookAt(camera.eye.x, camera.eye.y, camera.eye.z,
              camera.center.x, camera.center.y, camera.center.z,
              camera.up.x, camera.up.y, camera.up.z);
}

static void placeLights()
{
    glLightfv(GL_LIGHT0, GL_POSITION, kLight0Position);
    glLightfv(GL_LIGHT1, GL_POSITION, kLight1Position);
}

// A crash tints everything unlit red from now on: nothing sets it back.
static void setCrashColour() { glColor4f(1, 0, 0, 0.8f); }

// GLUT display callback: the scene from the camera with the per-frame rules
// of every list, then the flat overlay.
void displayFrame()
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glPushMatrix();
    lookThroughCamera(game.camera);
    placeLights();
    drawSky();
    drawPlanet(kPlanetRadius, kPlanetCentre.x, kPlanetCentre.y, kPlanetCentre.z);
    missilePass(drawMissile);
    shotPass(drawShot);
    checkPlanetCrash(setCrashColour);
    updateExplosions(drawExplosion);
    glPopMatrix();
    drawOverlay();
    sysSwapBuffers();
}
