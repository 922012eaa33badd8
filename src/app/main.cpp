// Quorvane: defend the planet from the missiles that fly at it.
#include "app/app.h"
#include "assets/texture_root.h"

#include <GL/glut.h>

#include <cstdlib>
#include <cstring>
#include <iostream>

// The X display comes from DISPLAY or from GLUT's own `-display name` option.
static bool haveDisplay(int argc, char** argv)
{
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "-display") == 0)
            return true;
    const char* display = std::getenv("DISPLAY");
    return display != nullptr && display[0] != '\0';
}

int main(int argc, char** argv)
{
    if (!haveDisplay(argc, argv)) {
        std::cerr << "quorvane: no X display (DISPLAY is not set); run it on a desktop, "
                     "or without one: xvfb-run -a -s '-screen 0 1280x1024x24' ./build/quorvane\n";
        return 1;
    }
    enterTextureRoot();  // none found: the loader names the missing file
    startGame(argc, argv);
    glutMainLoop();
    return 0;
}
