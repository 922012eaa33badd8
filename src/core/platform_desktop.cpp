// The desktop's platform: GLUT's clock and window, GLX's swap interval and
// X's display.
#include "core/platform.h"

#include <GL/glut.h>
#include <GL/glx.h>

#include <cstdlib>
#include <cstring>
#include <iostream>

// ---- functions -------------------------------------------------------------

static int glutElapsedMs() { return glutGet(GLUT_ELAPSED_TIME); }

// Through whichever swap-control extension the driver has; none: as it is.
static void glxSwapInterval(int frames)
{
    Display* display = glXGetCurrentDisplay();
    const GLXDrawable drawable = glXGetCurrentDrawable();
    if (!display || !drawable)
        return;
    const char* extensions = glXQueryExtensionsString(display, DefaultScreen(display));
    const auto address = [](const char* name) { return glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name)); };
    if (extensions && std::strstr(extensions, "GLX_EXT_swap_control")) {
        using SwapInterval = void (*)(Display*, GLXDrawable, int);
        reinterpret_cast<SwapInterval>(address("glXSwapIntervalEXT"))(display, drawable, frames);
    } else if (extensions && std::strstr(extensions, "GLX_MESA_swap_control")) {
        using SwapInterval = int (*)(unsigned);
        reinterpret_cast<SwapInterval>(address("glXSwapIntervalMESA"))(static_cast<unsigned>(frames));
    }
}

// The X display comes from DISPLAY or from GLUT's own `-display name` option.
static bool xDisplay(int argc, char* const* argv)
{
    for (int i = 0; i < argc; ++i)
        if (std::strcmp(argv[i], "-display") == 0)
            return true;
    const char* display = std::getenv("DISPLAY");
    return display != nullptr && display[0] != '\0';
}

static void exitProcess(int status)
{
    std::cout.flush();
    std::exit(status);
}

// ---- state -----------------------------------------------------------------

Platform platform = {
    glutElapsedMs, glutWarpPointer, glutPostRedisplay, glutSwapBuffers, glxSwapInterval, xDisplay, exitProcess,
};
