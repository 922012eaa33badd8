#include "core/platform.h"

#include <GL/glut.h>

#include <cstdlib>
#include <iostream>

static int glutElapsedMs() { return glutGet(GLUT_ELAPSED_TIME); }

static void exitProcess(int status)
{
    std::cout.flush();
    std::exit(status);
}

static constexpr Platform kGlutPlatform = {
    glutElapsedMs, glutWarpPointer, glutPostRedisplay, glutSwapBuffers, exitProcess,
};

Platform platform = kGlutPlatform;

Platform glutPlatform() { return kGlutPlatform; }

void sysExit(int status)
{
    platform.exitProcess(status);
    std::abort();  // a replacement exitProcess returned: a broken seam
}
