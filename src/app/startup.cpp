#include "app/app.h"
#include "core/platform.h"
#include "core/quadrics.h"
#include "assets/textures.h"
#include "camera/mouse_look.h"
#include "game/state.h"
#include "render/frame.h"
#include "render/hud.h"
#include "sound/soundtrack.h"

#include <GL/glut.h>

GLUquadric* sphereQuadric = nullptr;
GLUquadric* missileQuadric = nullptr;

static void openWindow(int argc, char** argv)
{
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(kWindowWidth, kWindowHeight);
    game.windowHeight = kWindowHeight;
    game.windowWidth = kWindowWidth;
    glutInitWindowPosition(0, 0);
    glutCreateWindow("Quorvane");
}

// The frame, then what it sounds like.
static void showFrame()
{
    displayFrame();
    soundtrackFrame();
}

const GameCallbacks kGameCallbacks = {showFrame, reshapeWindow, keyPressed, mouseMoved, idleUpdate};

static void registerCallbacks(const GameCallbacks& callbacks)
{
    glutDisplayFunc(callbacks.display);
    glutReshapeFunc(callbacks.reshape);
    glutKeyboardFunc(callbacks.keyboard);
    glutSetCursor(GLUT_CURSOR_NONE);
    glutPassiveMotionFunc(callbacks.motion);
    glutIdleFunc(callbacks.idle);
}

static void createQuadrics()
{
    sphereQuadric = gluNewQuadric();
    gluQuadricDrawStyle(sphereQuadric, GLU_FILL);
    gluQuadricNormals(sphereQuadric, GLU_SMOOTH);
    gluQuadricTexture(sphereQuadric, GL_TRUE);

    missileQuadric = gluNewQuadric();
    gluQuadricNormals(missileQuadric, GLU_SMOOTH);
    gluQuadricTexture(missileQuadric, GL_TRUE);
}

void startGame(int argc, char** argv, const GameCallbacks& callbacks)
{
    openWindow(argc, argv);
    buildFont();  // leaves 2D texturing on with the font bound
    glClearColor(0, 0, 0, 1);
    setupLighting();
    firstTitle();
    sysWarpPointer(game.windowWidth / 2, game.windowHeight / 2);
    registerCallbacks(callbacks);
    reshapeWindow(game.windowWidth, game.windowHeight);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_NORMALIZE);
    glEnable(GL_LIGHTING);
    loadAllTextures();  // after the font and before the quadrics
    createQuadrics();
}

// GLUT reshape callback. A minimised window reports a size of 0: the size is
// kept, the view stays as it was.
void reshapeWindow(int width, int height)
{
    game.windowWidth = width;
    game.windowHeight = height;
    setViewport(width, height);
    sysPostRedisplay();
}
