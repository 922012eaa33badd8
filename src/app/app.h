// The application shell: start-up, the window and the GLUT callbacks.
#pragma once

// ---- functions -------------------------------------------------------------

// Everything main does before GLUT's main loop: the window, the fixed GL
// state, the title screen, the callbacks and the textures.
void startGame(int argc, char** argv);

void setupLighting();

// GLUT callbacks (the display callback lives with the renderer).
void reshapeWindow(int width, int height);
void idleUpdate();
void keyPressed(unsigned char key, int x, int y);
