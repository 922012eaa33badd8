#include "render/frame.h"

#include "core/platform.h"
#include "effects/missile_model.h"
#include "effects/particles.h"
#include "effects/shot_sprite.h"
#include "game/combat.h"
#include "game/passes.h"
#include "game/planet.h"
#include "game/state.h"
#include "game/view.h"
#include "render/hud.h"
#include "render/sky.h"

#include <GL/glu.h>

// Positional lights fixed in the world, so they are placed after the camera.
constexpr GLfloat kLight0Position[] = {0, 10, 0, 1};
constexpr GLfloat kLight1Position[] = {15, 10, -10, 1};
// Both lights share these colours.
constexpr GLfloat kLightAmbient[] = {0.99f, 0.99f, 0.99f, 1.0f};
constexpr GLfloat kLightDiffuse[] = {0.64f, 0.64f, 0.64f, 1.0f};
constexpr GLfloat kLightSpecular[] = {0.64f, 0.64f, 0.64f, 1.0f};

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

void setupLighting()
{
    for (GLenum light : {GL_LIGHT0, GL_LIGHT1}) {
        glEnable(light);
        glLightfv(light, GL_DIFFUSE, kLightDiffuse);
        glLightfv(light, GL_AMBIENT, kLightAmbient);
        glLightfv(light, GL_SPECULAR, kLightSpecular);
        glShadeModel(GL_FLAT);
    }
}

void setViewport(int width, int height)
{
    const std::optional<Projection> projection = projectionFor(width, height);
    if (!projection)
        return;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(projection->fieldOfView, projection->aspect, projection->nearPlane, projection->farPlane);
    glMatrixMode(GL_MODELVIEW);
    glViewport(0, 0, width, height);
}
