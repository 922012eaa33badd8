// The page's platform: GLUT's clock and redisplay as emscripten provides
// them, the page's virtual pointer, and the canvas as the display.
#include "core/platform.h"

#include <GL/glut.h>
#include <emscripten.h>

#include <cstdlib>
#include <iostream>

// ---- functions -------------------------------------------------------------

static int glutElapsedMs() { return glutGet(GLUT_ELAPSED_TIME); }

// A page cannot move the pointer: it keeps a virtual one, puts it back in the
// middle and delivers the motion that X would deliver for the warp.
EM_JS(void, pageWarpPointer, (int x, int y), {
    if (Module.warpPointer)
        Module.warpPointer(x, y);
});

// A page draws when the browser asks: there is no interval to set.
static void browserSwapInterval(int) {}

// The canvas is there before the game starts.
static bool canvasDisplay(int, char* const*) { return true; }

static void exitProcess(int status)
{
    std::cout.flush();
    std::exit(status);
}

// ---- state -----------------------------------------------------------------

Platform platform = {
    glutElapsedMs, pageWarpPointer, glutPostRedisplay, glutSwapBuffers, browserSwapInterval, canvasDisplay,
    exitProcess,
};
