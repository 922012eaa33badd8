// The game's window, small and deaf, for long scripted runs: the game still
// draws 1000 x 800 when a recording says so, but only the corner that fits
// is filled, and GLUT's own events never reach the game.
#pragma once

#include "app/app.h"
#include "core/platform.h"

#include <GL/freeglut.h>

inline void startInSmallWindow(char* name)
{
    static char* argv[] = {name, nullptr};
    static constexpr GameCallbacks none = {
        [] {}, [](int, int) {}, [](unsigned char, int, int) {}, [](int, int) {}, [] {},
    };
    platform.warpPointer = [](int, int) {};
    platform.postRedisplay = [] {};
    startGame(1, argv, none);
    glutReshapeWindow(160, 128);
    for (int i = 0; i < 20; ++i)
        glutMainLoopEvent();
}
