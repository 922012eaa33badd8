// The application shell: start-up, the window and the GLUT callbacks.
#pragma once

#include "core/callbacks.h"

// ---- constants -------------------------------------------------------------

constexpr int kWindowWidth = 1000;  // pixels; the window the game opens
constexpr int kWindowHeight = 800;  // pixels

// ---- state -----------------------------------------------------------------

// The game's own callbacks: what start-up registers when playing, and what
// recording and replaying hand the events to.
extern const GameCallbacks kGameCallbacks;

// ---- functions -------------------------------------------------------------

// Everything main does before GLUT's main loop: the window, the fixed GL
// state, the title screen, the callbacks and the textures.
void startGame(int argc, char** argv, const GameCallbacks& callbacks = kGameCallbacks);

// GLUT callbacks (the display callback lives with the renderer).
void reshapeWindow(int width, int height);
void idleUpdate();
void keyPressed(unsigned char key, int x, int y);
