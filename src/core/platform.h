// The game's only door to the clock and the window system.
//
// Every call the game makes to the clock, the pointer, the redisplay queue,
// the buffer swap, the swap interval, the display check or process exit goes
// through `platform`. Each platform fills the same table from a file of its
// own (the desktop's: platform_desktop.cpp, on GLUT and GLX; the page's lives
// with the browser build); tests swap in a scripted clock and a log of calls,
// then drive the real callbacks directly.
#pragma once

// ---- types -----------------------------------------------------------------

struct Platform {
    int  (*elapsedMs)();                // ms since the window system was initialised
    void (*warpPointer)(int x, int y);  // window pixels, y down from the top
    void (*postRedisplay)();
    void (*swapBuffers)();
    void (*setSwapInterval)(int frames);  // 0: swap without waiting for the screen, where allowed
    // Whether a window can open: the window system's own arguments (such as
    // GLUT's `-display NAME`) may name the display.
    bool (*haveDisplay)(int argc, char* const* argv);
    void (*exitProcess)(int status);    // must not return
};

// ---- state -----------------------------------------------------------------

// Defined, filled with the platform's own functions, by this build's
// platform file; tests and playback replace entries.
extern Platform platform;

// ---- functions -------------------------------------------------------------

inline int  sysElapsedMs()               { return platform.elapsedMs(); }
inline void sysWarpPointer(int x, int y) { platform.warpPointer(x, y); }
inline void sysPostRedisplay()           { platform.postRedisplay(); }
inline void sysSwapBuffers()             { platform.swapBuffers(); }
[[noreturn]] void sysExit(int status);
