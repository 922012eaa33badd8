#include "render/frame.h"

#include "app/platform.h"
#include "game/state.h"

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

void displayFrame()
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glPushMatrix();
    lookThroughCamera(game.camera);
    placeLights();
    // sky, planet, then the missile, shot, crash and explosion passes
    glPopMatrix();
    // overlay: title images or the heads-up display
    sysSwapBuffers();
}
