// The application shell: start-up, the window and the GLUT callbacks.
#pragma once

// ---- constants -------------------------------------------------------------

constexpr int kWindowWidth = 1000;  // pixels; the window the game opens
constexpr int kWindowHeight = 800;  // pixels

// ---- types -----------------------------------------------------------------

// What start-up registers with GLUT. Playing, the game's own callbacks;
// recording and replaying, the layers that log or feed them.
struct GameCallbacks {
    void (*display)();
    void (*reshape)(int width, int height);
    void (*keyboard)(unsigned char key, int x, int y);
    void (*motion)(int x, int y);  // passive: no button held
    void (*idle)();
};

extern const GameCallbacks kGameCallbacks;

// ---- functions -------------------------------------------------------------

// Everything main does before GLUT's main loop: the window, the fixed GL
// state, the title screen, the callbacks and the textures.
void startGame(int argc, char** argv, const GameCallbacks& callbacks = kGameCallbacks);

void setupLighting();

// GLUT callbacks (the display callback lives with the renderer).
void reshapeWindow(int width, int height);
void idleUpdate();
void keyPressed(unsigned char key, int x, int y);
