// The other half of the platform seam: what the window system calls the game
// with. Start-up registers one such table with GLUT; recording and replaying
// wrap the game's own table in one that logs or feeds it.
#pragma once

// ---- types -----------------------------------------------------------------

struct GameCallbacks {
    void (*display)();
    void (*reshape)(int width, int height);  // pixels
    void (*keyboard)(unsigned char key, int x, int y);
    void (*motion)(int x, int y);  // passive: no button held; window pixels, y down
    void (*idle)();
};
