#include "app/app.h"
#include "core/platform.h"
#include "game/shots.h"
#include "game/state.h"

#include <iostream>

constexpr double kSpeedPerKey = 0.00001;

static void spaceBar()
{
    if (!game.titleScreen) {
        fireShot();
        return;
    }
    game.titleScreen = false;
    restartGame();
}

// GLUT keyboard callback. Letters are case-sensitive; the pointer position
// is not used. Every key but quit asks for a frame, even one that does nothing.
void keyPressed(unsigned char key, int, int)
{
    switch (key) {
    case ' ':
        spaceBar();
        break;
    case '-':
    case 's':
        game.flightSpeed -= kSpeedPerKey;  // limited at the next flight step, not here
        break;
    case '=':
    case 'w':
        game.flightSpeed += kSpeedPerKey;
        break;
    case 'q':
    case 'Q':
        sysExit(0);
    case 'l':
        game.showAimLines = !game.showAimLines;
        break;
    case 'r':
        newGame();
        std::cout << "Restarting game" << std::endl;
        break;
    default:
        break;
    }
    sysPostRedisplay();
}
