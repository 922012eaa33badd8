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

// Both lights share these colours; the frame places them in the world.
constexpr GLfloat kLightAmbient[] = {0.99f, 0.99f, 0.99f, 1.0f};
constexpr GLfloat kLightDiffuse[] = {0.64f, 0.64f, 0.64f, 1.0f};
constexpr GLfloat kLightSpecular[] = {0.64f, 0.64f, 0.64f, 1.0f};

constexpr double kFieldOfView = 60.0;  // degrees, vertical
constexpr double kNearPlane = 1.0;     // world units
constexpr double kFarPlane = 1500.0;   // world units

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
    game.showAimLines = false;
    newGame();
    sysWarpPointer(game.windowWidth / 2, game.windowHeight / 2);
    game.planet = Planet{0};
    game.titleScreen = true;
    registerCallbacks(callbacks);
    reshapeWindow(game.windowWidth, game.windowHeight);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_NORMALIZE);
    glEnable(GL_LIGHTING);
    loadAllTextures();  // after the font and before the quadrics
    createQuadrics();
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

// GLUT reshape callback. A minimised window reports a size of 0: the size is
// kept, but the projection and viewport stay as they were rather than
// dividing by zero.
void reshapeWindow(int width, int height)
{
    game.windowWidth = width;
    game.windowHeight = height;
    if (width > 0 && height > 0) {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(kFieldOfView, static_cast<double>(width) / height, kNearPlane, kFarPlane);
        glMatrixMode(GL_MODELVIEW);
        glViewport(0, 0, width, height);
    }
    sysPostRedisplay();
}
