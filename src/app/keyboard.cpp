#include "app/app.h"
#include "core/platform.h"
#include "game/flight.h"

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
        slowDown();
        break;
    case '=':
    case 'w':
        speedUp();
        break;
    case 'q':
    case 'Q':
        sysExit(0);
    case 'l':
        toggleAimLines();
        break;
    case 'r':
        backToTitle();
        break;
    default:
        break;
    }
    sysPostRedisplay();
}
