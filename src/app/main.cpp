// Quorvane: defend the planet from the missiles that fly at it.
#include "app/app.h"
#include "assets/texture_root.h"

#include <GL/glut.h>

#include <cstdlib>
#include <iostream>

static bool haveDisplay()
{
    const char* display = std::getenv("DISPLAY");
    return display != nullptr && display[0] != '\0';
}

int main(int argc, char** argv)
{
    if (!haveDisplay()) {
        std::cerr << "quorvane: no X display (DISPLAY is not set); run it on a desktop, "
                     "or without one: xvfb-run -a -s '-screen 0 1280x1024x24' ./build/quorvane\n";
        return 1;
    }
    enterTextureRoot();  // none found: the loader names the missing file
    startGame(argc, argv);
    glutMainLoop();
    return 0;
}
