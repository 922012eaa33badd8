// The game's only door to GLUT's clock and window system.
//
// Every call the game makes to the clock, the pointer, the redisplay queue,
// the buffer swap or process exit goes through `platform`. The game starts
// with it wired to GLUT; tests swap in a scripted clock and a log of calls,
// then drive the real callbacks directly.
#pragma once

// ---- types -----------------------------------------------------------------

struct Platform {
    int  (*elapsedMs)();                // ms since GLUT was initialised
    void (*warpPointer)(int x, int y);  // window pixels, y down from the top
    void (*postRedisplay)();
    void (*swapBuffers)();
    void (*exitProcess)(int status);    // must not return
};

// ---- state -----------------------------------------------------------------

extern Platform platform;  // GLUT-backed until someone replaces it

// ---- functions -------------------------------------------------------------

inline int  sysElapsedMs()               { return platform.elapsedMs(); }
inline void sysWarpPointer(int x, int y) { platform.warpPointer(x, y); }
inline void sysPostRedisplay()           { platform.postRedisplay(); }
inline void sysSwapBuffers()             { platform.swapBuffers(); }
[[noreturn]] void sysExit(int status);

Platform glutPlatform();
